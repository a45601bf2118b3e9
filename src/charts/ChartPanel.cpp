#include "charts/ChartPanel.h"

#include "charts/ChartBarIcons.h"
#include "charts/ChartPicture.h"
#include "charts/ChartWidget.h"
#include "charts/StatisticsCharts.h"
#include "charts/TGrafik_Opt.h"
#include "data/CoreError.h"
#include "evaluation/Grafik_enable.h"
#include "lang/LanguageTexts.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QMessageBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* NewButton(QToolBar* bar, const char* name, const char* caption, const QIcon& icon,
                       bool checkable, QAction** action = nullptr) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromUtf8(caption));
    button->setAccessibleName(QString::fromUtf8(caption));
    button->setIcon(icon);
    button->setCheckable(checkable);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    QAction* added = bar->addWidget(button);
    if (action)
        *action = added;
    return button;
}

QString PercentText(int percent) {
    return QStringLiteral("V%1").arg(percent, 2, 10, QLatin1Char('0'));
}

} // namespace

ChartPanel::ChartPanel(MeasurementData& data, const Settings& settings, const LanguageTexts& texts,
                       ViewSelections& selections, QWidget* parent)
    : QWidget(parent), data_(data), settings_(settings), texts_(texts), selections_(selections) {
    setObjectName(QStringLiteral("ChartPanel"));
    CreateToolBar();
    Diag = new ChartWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(GrafikBar);
    layout->addWidget(Diag, 1);
    Grafik_Opt = new TGrafik_Opt(
        scale_, *Diag, texts_, [this] { DrawSelectedChart(); }, this);
    connect(Diag, &ChartWidget::DiagClick, this, [this] { DiagClick(); });
    SetPercentiles(selections_.LowerPercentile, selections_.UpperPercentile, {}, {});
    ApplyTexts();
}

void ChartPanel::CreateToolBar() {
    GrafikBar = new QToolBar(this);
    GrafikBar->setObjectName(QStringLiteral("GrafikBar"));
    GrafikBar->setIconSize(QSize(24, 24));

    groupButtons_ = new QButtonGroup(this);
    ToolButton39 = NewButton(GrafikBar, "ToolButton39", "AlleFahrzeuge",
                             ChartBarIcon(ChartBarPicture::AllVehicles), true);
    ToolButton45 = NewButton(GrafikBar, "ToolButton45", "SummeAllerFahrzeuge",
                             ChartBarIcon(ChartBarPicture::SumOfAll), true);
    ToolButton46 = NewButton(GrafikBar, "ToolButton46", "PKW", ChartBarIcon(ChartBarPicture::Pkw), true);
    ToolButton47 = NewButton(GrafikBar, "ToolButton47", "LKW", ChartBarIcon(ChartBarPicture::Lkw), true);
    ToolButton48 = NewButton(GrafikBar, "ToolButton48", "Lastzug", ChartBarIcon(ChartBarPicture::Lz), true);
    ToolButton49 =
        NewButton(GrafikBar, "ToolButton49", "SummeLKW-LZ", ChartBarIcon(ChartBarPicture::LkwAndLz), true);
    for (QToolButton* b :
         {ToolButton39, ToolButton45, ToolButton46, ToolButton47, ToolButton48, ToolButton49}) {
        groupButtons_->addButton(b);
        connect(b, &QToolButton::clicked, this, [this] { GroupButtonClick(); });
    }
    ToolButton45->setChecked(true);
    GrafikBar->addSeparator();

    quantityButtons_ = new QButtonGroup(this);
    ToolButton51 =
        NewButton(GrafikBar, "ToolButton51", "Geschwindigkeit", ChartBarIcon(ChartBarPicture::Speed), true);
    ToolButton52 = NewButton(GrafikBar, "ToolButton52", "Abstand", ChartBarIcon(ChartBarPicture::Gap), true);
    ToolButton57 = NewButton(GrafikBar, "ToolButton57", "Anzahl", ChartBarIcon(ChartBarPicture::Count), true);
    ToolButton58 = NewButton(GrafikBar, "ToolButton58", "Länge", ChartBarIcon(ChartBarPicture::Length), true,
                             &lengthAction_);
    ToolButton53 = NewButton(GrafikBar, "ToolButton53", "V1", ChartBarTextIcon(PercentText(15)), true);
    ToolButton54 = NewButton(GrafikBar, "ToolButton54", "V2", ChartBarTextIcon(QStringLiteral("V50")), true);
    ToolButton55 = NewButton(GrafikBar, "ToolButton55", "V3", ChartBarTextIcon(PercentText(85)), true);
    ToolButton56 = NewButton(GrafikBar, "ToolButton56", "V4", ChartBarTextIcon(QStringLiteral("Vmax")), true);
    for (int quantity = Quantity::V4; quantity <= Quantity::Geschwindigkeit; ++quantity) {
        QToolButton* b = QuantityButton(quantity);
        quantityButtons_->addButton(b, quantity);
        connect(b, &QToolButton::clicked, this, [this, quantity] { QuantityButtonClick(quantity); });
    }
    ToolButton57->setChecked(true);
    // The statistics views share the quantity buttons' exclusive group, so one view is pressed.
    AverageDayButton =
        NewButton(GrafikBar, "AverageDayButton", "AverageDay", ChartBarTextIcon(QStringLiteral("24h")), true);
    CumulativeSpeedButton = NewButton(GrafikBar, "CumulativeSpeedButton", "Cumulative",
                                      ChartBarTextIcon(QStringLiteral("S%")), true);
    for (QToolButton* b : {AverageDayButton, CumulativeSpeedButton}) {
        quantityButtons_->addButton(b);
        connect(b, &QToolButton::clicked, this, [this] { StatisticsViewClick(); });
    }
    ProfileDaysChoice = new QComboBox(GrafikBar);
    ProfileDaysChoice->setObjectName(QStringLiteral("ProfileDaysChoice"));
    ProfileDaysChoice->addItems({QStringLiteral("Werktage"), QStringLiteral("Wochenende")});
    profileDaysAction_ = GrafikBar->addWidget(ProfileDaysChoice);
    profileDaysAction_->setVisible(false);
    connect(ProfileDaysChoice, &QComboBox::currentIndexChanged, this, [this] { DrawSelectedChart(); });
    GrafikBar->addSeparator();

    ToolButton60 =
        NewButton(GrafikBar, "ToolButton60", "Richtung", ChartBarIcon(ChartBarPicture::DirectionBoth), false);
    connect(ToolButton60, &QToolButton::clicked, this, [this] { ToolButton60Click(); });
    GrafikBar->addSeparator();

    const std::array<std::pair<const char*, ChartBarPicture>, 6> paging{
        {{"ToolButton21", ChartBarPicture::Back24},
         {"ToolButton22", ChartBarPicture::Back6},
         {"ToolButton23", ChartBarPicture::Back1},
         {"ToolButton24", ChartBarPicture::Forward1},
         {"ToolButton25", ChartBarPicture::Forward6},
         {"ToolButton26", ChartBarPicture::Forward24}}};
    for (std::size_t i = 0; i < paging.size(); ++i) {
        PagingButtons[i] = NewButton(GrafikBar, paging[i].first, paging[i].first,
                                     ChartBarIcon(paging[i].second), false, &pagingActions_[i]);
        const int step = PagingSteps[i];
        connect(PagingButtons[i], &QToolButton::clicked, this, [this, step] { ScrollChart(step); });
    }
    ShowPagingButtons(false);
}

QToolButton* ChartPanel::QuantityButton(int quantity) const {
    switch (quantity) {
    case Quantity::V4:
        return ToolButton56;
    case Quantity::V3:
        return ToolButton55;
    case Quantity::V2:
        return ToolButton54;
    case Quantity::V1:
        return ToolButton53;
    case Quantity::Laenge:
        return ToolButton58;
    case Quantity::Anzahl:
        return ToolButton57;
    case Quantity::Abstand:
        return ToolButton52;
    default:
        return ToolButton51;
    }
}

// The group buttons in the order of AllVehicleGroups.
std::array<QToolButton*, 6> ChartPanel::GroupButtonsInTableOrder() const {
    return {ToolButton39, ToolButton45, ToolButton46, ToolButton47, ToolButton48, ToolButton49};
}

void ChartPanel::ApplyTexts() {
    const std::array<std::pair<QToolButton*, int>, 13> hints{{{ToolButton39, 50},
                                                              {ToolButton45, 51},
                                                              {ToolButton46, 52},
                                                              {ToolButton47, 53},
                                                              {ToolButton48, 54},
                                                              {ToolButton49, 55},
                                                              {ToolButton51, 56},
                                                              {ToolButton52, 57},
                                                              {ToolButton57, 58},
                                                              {ToolButton58, 59},
                                                              {ToolButton54, 65},
                                                              {ToolButton56, 71},
                                                              {ToolButton60, 72}}};
    for (const auto& [button, number] : hints)
        if (!texts_[number].empty())
            button->setToolTip(QString::fromStdString(texts_[number]));
    const std::array<std::pair<QToolButton*, int>, 2> statisticsHints{
        {{AverageDayButton, StatisticsChartText::AverageDayHint},
         {CumulativeSpeedButton, StatisticsChartText::CumulativeHint}}};
    for (const auto& [button, number] : statisticsHints)
        if (!texts_[number].empty())
            button->setToolTip(QString::fromStdString(texts_[number]));
    for (int i = 0; i < 2; ++i)
        if (!texts_[StatisticsChartText::WorkdaysChoice + i].empty())
            ProfileDaysChoice->setItemText(
                i, QString::fromStdString(texts_[StatisticsChartText::WorkdaysChoice + i]));
    for (std::size_t i = 0; i < PagingButtons.size(); ++i) {
        const std::string& hint = texts_[73 + static_cast<int>(i)];
        if (!hint.empty())
            PagingButtons[i]->setToolTip(QString::fromStdString(hint));
    }
    // The percentile buttons show the texts of the percentiles chosen now.
    const std::string& lower = texts_[60 + (selections_.LowerPercentile - 5) / 5];
    const std::string& upper = texts_[66 + (selections_.UpperPercentile - 75) / 5];
    if (!lower.empty())
        ToolButton53->setToolTip(QString::fromStdString(lower));
    if (!upper.empty())
        ToolButton55->setToolTip(QString::fromStdString(upper));
    // Assistive tools announce every button by its hint, in the language of the texts.
    for (QToolButton* b : GrafikBar->findChildren<QToolButton*>())
        if (!b->toolTip().isEmpty())
            b->setAccessibleName(b->toolTip());
    lengthAction_->setVisible(settings_.PeloEnabled);
}

void ChartPanel::SetPercentiles(int lowerPercentile, int upperPercentile, const QString& lowerHint,
                                const QString& upperHint) {
    ToolButton53->setIcon(ChartBarTextIcon(PercentText(lowerPercentile)));
    ToolButton55->setIcon(ChartBarTextIcon(PercentText(upperPercentile)));
    if (!lowerHint.isEmpty())
        ToolButton53->setToolTip(lowerHint);
    if (!upperHint.isEmpty())
        ToolButton55->setToolTip(upperHint);
    for (QToolButton* b : {ToolButton53, ToolButton55})
        if (!b->toolTip().isEmpty())
            b->setAccessibleName(b->toolTip());
}

void ChartPanel::EnableQuantityButtons() {
    const auto enabled = QuantityButtonStates(data_.DataMode);
    for (int quantity = Quantity::V4; quantity <= Quantity::Geschwindigkeit; ++quantity)
        QuantityButton(quantity)->setEnabled(enabled[static_cast<std::size_t>(quantity)]);
    AverageDayButton->setEnabled(StatisticsChartOffered(StatisticsChartKind::AverageDay, data_.DataMode));
    CumulativeSpeedButton->setEnabled(
        StatisticsChartOffered(StatisticsChartKind::CumulativeSpeed, data_.DataMode));
    lengthAction_->setVisible(settings_.PeloEnabled);
}

// The group buttons that fit the quantity; then "SummeAllerFahrzeuge" is pressed.
void ChartPanel::EnableGroupButtons(int quantity) {
    const auto enabled = GroupButtonStates(data_.DataMode, quantity);
    const auto buttons = GroupButtonsInTableOrder();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setEnabled(enabled[i]);
    ToolButton45->setChecked(true);
}

void ChartPanel::EnterChartView() {
    data_.ChartOffset = 0;
    Grafik_Opt->SetAutomaticScaling();
    EnableQuantityButtons();
    ToolButton57->setChecked(true);
    EnableGroupButtons(Quantity::Anzahl);
    UpdateDirectionButton();
    DrawSelectedChart();
}

int ChartPanel::ReadVehicleGroup() const {
    // Tested in the order 45, 46, 47, 48, 49; none of them down means all vehicles stacked.
    const std::array<std::pair<QToolButton*, int>, 5> order{
        {{ToolButton45, 5}, {ToolButton46, 1}, {ToolButton47, 2}, {ToolButton48, 3}, {ToolButton49, 4}}};
    int group = 0;
    for (const auto& [button, value] : order)
        if (button->isChecked())
            group = value;
    return group;
}

ChartRequest ChartPanel::Request() const {
    QuantityButtonsDown down;
    down.Geschwindigkeit = ToolButton51->isChecked();
    down.Abstand = ToolButton52->isChecked();
    down.Anzahl = ToolButton57->isChecked();
    down.Laenge = ToolButton58->isChecked();
    down.V1 = ToolButton53->isChecked();
    down.V2 = ToolButton54->isChecked();
    down.V3 = ToolButton55->isChecked();
    down.V4 = ToolButton56->isChecked();
    ChartRequest request;
    request.Quantity = SelectedQuantity(down);
    request.VehicleGroup = ReadVehicleGroup();
    request.DirectionSelection = ReadDirectionSelection();
    request.LowerPercentile = selections_.LowerPercentile;
    request.UpperPercentile = selections_.UpperPercentile;
    request.CalcV50 = settings_.CalcV50;
    // "V4" shows the measured maximum exactly while the vehicle list can be shown.
    request.SingleVehicleData = data_.DataMode == DataMode::SingleVehicle;
    return request;
}

// The statistics views when one of their buttons is pressed; false otherwise.
bool ChartPanel::DrawStatisticsView() {
    const bool averageDay = AverageDayButton->isChecked();
    profileDaysAction_->setVisible(averageDay);
    if (!averageDay && !CumulativeSpeedButton->isChecked())
        return false;
    const auto kind = averageDay ? StatisticsChartKind::AverageDay : StatisticsChartKind::CumulativeSpeed;
    const auto days = ProfileDaysChoice->currentIndex() == 1 ? ProfileDays::Weekend : ProfileDays::Workdays;
    ChartDescription chart = DrawStatisticsChart(kind, days, ReadDirectionSelection(), scale_, data_,
                                                 settings_, selections_, texts_);
    ShowPagingButtons(false);
    Diag->SetChart(std::move(chart));
    emit chartDrawn();
    return true;
}

void ChartPanel::StatisticsViewClick() {
    // The statistics views have no vehicle groups.
    for (QToolButton* b : GroupButtonsInTableOrder())
        b->setEnabled(false);
    DrawSelectedChart();
}

void ChartPanel::DrawSelectedChart() {
    try {
        if (DrawStatisticsView())
            return;
        ChartDescription chart = ::DrawSelectedChart(Request(), scale_, data_, texts_);
        ShowPagingButtons(chart.PagingButtonsVisible);
        Diag->SetChart(std::move(chart));
        emit chartDrawn();
    } catch (const CoreError& error) {
        ShowError(error);
    }
}

void ChartPanel::GroupButtonClick() {
    DrawSelectedChart();
}

void ChartPanel::QuantityButtonClick(int quantity) {
    EnableGroupButtons(quantity);
    DrawSelectedChart();
}

void ChartPanel::ToolButton60Click() {
    selections_.DirectionSelection = NextDirectionSelection(selections_.DirectionSelection);
    UpdateDirectionButton();
    DrawSelectedChart();
}

void ChartPanel::UpdateDirectionButton() {
    const int direction = NormalizedDirection(selections_.DirectionSelection);
    ToolButton60->setIcon(ChartBarIcon(direction == 3   ? ChartBarPicture::DirectionBoth
                                       : direction == 2 ? ChartBarPicture::Direction2
                                                        : ChartBarPicture::Direction1));
    ToolButton60->setAccessibleDescription(QString::fromStdString(DirectionSymbol(direction)));
}

void ChartPanel::ScrollChart(int step) {
    ::ScrollChart(data_, step);
    UpdatePagingButtons();
    DrawSelectedChart();
}

void ChartPanel::ShowPagingButtons(bool visible) {
    for (QAction* action : pagingActions_)
        action->setVisible(visible);
    if (visible)
        UpdatePagingButtons();
}

void ChartPanel::UpdatePagingButtons() {
    const PagingButtonStates states = ::UpdatePagingButtons(data_.ChartOffset, data_.WorkIntervalCount);
    for (std::size_t i = 0; i < PagingButtons.size(); ++i)
        PagingButtons[i]->setEnabled(states.Enabled[i]);
}

void ChartPanel::DiagClick() {
    Grafik_Opt->exec();
}

void ChartPanel::SavePicture(const std::string& fileName) const {
    // The picture has the chart's size on screen; a chart never shown gets a usual size.
    const QSize size = Diag->isVisible() ? Diag->size().expandedTo(QSize(320, 200)) : QSize(1200, 800);
    SaveChartPicture(fileName, Diag->Chart(), Diag->Appearance(), size);
}

void ChartPanel::ShowError(const std::exception& error) {
    const auto* core = dynamic_cast<const CoreError*>(&error);
    const QString text = QString::fromStdString(core ? core->Message(texts_) : std::string(error.what()));
    QMessageBox::warning(this, QStringLiteral("Korvelan II"), text);
}
