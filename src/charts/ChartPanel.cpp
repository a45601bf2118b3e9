#include "charts/ChartPanel.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "charts/ChartBarIcons.h"
#include "charts/ChartOptionsDialog.h"
#include "charts/ChartPicture.h"
#include "charts/ChartWidget.h"
#include "charts/StatisticsCharts.h"
#include "evaluation/ChartButtonRules.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QMenu>
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

ChartPanel::ChartPanel(const MeasurementData& data, const Settings& settings, const LanguageTexts& texts,
                       ViewSelections& selections, QWidget* parent)
    : QWidget(parent), data_(data), settings_(settings), texts_(texts), selections_(selections) {
    setObjectName(QStringLiteral("ChartPanel"));
    CreateToolBar();
    chartWidget = new ChartWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(chartToolBar);
    layout->addWidget(chartWidget, 1);
    optionsDialog = new ChartOptionsDialog(
        scale_, *chartWidget, texts_, [this] { DrawSelectedChart(); }, this);
    connect(chartWidget, &ChartWidget::ChartClick, this, [this] { ChartClick(); });
    SetPercentiles(selections_.LowerPercentile, selections_.UpperPercentile, {}, {});
    ApplyTexts();
}

void ChartPanel::CreateToolBar() {
    chartToolBar = new QToolBar(this);
    chartToolBar->setObjectName(QStringLiteral("chartToolBar"));
    chartToolBar->setIconSize(QSize(24, 24));

    groupButtons_ = new QButtonGroup(this);
    allVehiclesButton = NewButton(chartToolBar, "allVehiclesButton", "AlleFahrzeuge",
                                  ChartBarIcon(ChartBarPicture::AllVehicles), true);
    sumOfAllButton = NewButton(chartToolBar, "sumOfAllButton", "SummeAllerFahrzeuge",
                               ChartBarIcon(ChartBarPicture::SumOfAll), true);
    pkwButton = NewButton(chartToolBar, "pkwButton", "PKW", ChartBarIcon(ChartBarPicture::Pkw), true);
    lkwButton = NewButton(chartToolBar, "lkwButton", "LKW", ChartBarIcon(ChartBarPicture::Lkw), true);
    lzButton = NewButton(chartToolBar, "lzButton", "Lastzug", ChartBarIcon(ChartBarPicture::Lz), true);
    lkwAndLzButton = NewButton(chartToolBar, "lkwAndLzButton", "SummeLKW-LZ",
                               ChartBarIcon(ChartBarPicture::LkwAndLz), true);
    for (QToolButton* b :
         {allVehiclesButton, sumOfAllButton, pkwButton, lkwButton, lzButton, lkwAndLzButton}) {
        groupButtons_->addButton(b);
        connect(b, &QToolButton::clicked, this, [this] { GroupButtonClick(); });
    }
    sumOfAllButton->setChecked(true);
    chartToolBar->addSeparator();

    quantityButtons_ = new QButtonGroup(this);
    speedButton =
        NewButton(chartToolBar, "speedButton", "Geschwindigkeit", ChartBarIcon(ChartBarPicture::Speed), true);
    gapButton = NewButton(chartToolBar, "gapButton", "Abstand", ChartBarIcon(ChartBarPicture::Gap), true);
    countButton =
        NewButton(chartToolBar, "countButton", "Anzahl", ChartBarIcon(ChartBarPicture::Count), true);
    lengthButton = NewButton(chartToolBar, "lengthButton", "Länge", ChartBarIcon(ChartBarPicture::Length),
                             true, &lengthAction_);
    v1Button = NewButton(chartToolBar, "v1Button", "V1", ChartBarTextIcon(PercentText(15)), true);
    v2Button = NewButton(chartToolBar, "v2Button", "V2", ChartBarTextIcon(QStringLiteral("V50")), true);
    v3Button = NewButton(chartToolBar, "v3Button", "V3", ChartBarTextIcon(PercentText(85)), true);
    v4Button = NewButton(chartToolBar, "v4Button", "V4", ChartBarTextIcon(QStringLiteral("Vmax")), true);
    for (int quantity = Quantity::V4; quantity <= Quantity::Speed; ++quantity) {
        QToolButton* b = QuantityButton(quantity);
        quantityButtons_->addButton(b, quantity);
        connect(b, &QToolButton::clicked, this, [this, quantity] { QuantityButtonClick(quantity); });
    }
    countButton->setChecked(true);
    // The statistics views share the quantity buttons' exclusive group, so one view is pressed.
    AverageDayButton = NewButton(chartToolBar, "AverageDayButton", "AverageDay",
                                 ChartBarTextIcon(QStringLiteral("24h")), true);
    CumulativeSpeedButton = NewButton(chartToolBar, "CumulativeSpeedButton", "Cumulative",
                                      ChartBarTextIcon(QStringLiteral("S%")), true);
    for (QToolButton* b : {AverageDayButton, CumulativeSpeedButton}) {
        quantityButtons_->addButton(b);
        connect(b, &QToolButton::clicked, this, [this] { StatisticsViewClick(); });
    }
    ProfileDaysChoice = new QComboBox(chartToolBar);
    ProfileDaysChoice->setObjectName(QStringLiteral("ProfileDaysChoice"));
    ProfileDaysChoice->addItems({QStringLiteral("Werktage"), QStringLiteral("Wochenende")});
    profileDaysAction_ = chartToolBar->addWidget(ProfileDaysChoice);
    profileDaysAction_->setVisible(false);
    connect(ProfileDaysChoice, &QComboBox::currentIndexChanged, this, [this] { DrawSelectedChart(); });
    chartToolBar->addSeparator();

    directionButton = NewButton(chartToolBar, "directionButton", "Richtung",
                                ChartBarIcon(ChartBarPicture::DirectionBoth), false);
    connect(directionButton, &QToolButton::clicked, this, [this] { DirectionButtonClick(); });
    chartToolBar->addSeparator();

    const std::array<std::pair<const char*, ChartBarPicture>, 6> paging{
        {{"ToolButton21", ChartBarPicture::Back24},
         {"ToolButton22", ChartBarPicture::Back6},
         {"ToolButton23", ChartBarPicture::Back1},
         {"ToolButton24", ChartBarPicture::Forward1},
         {"ToolButton25", ChartBarPicture::Forward6},
         {"ToolButton26", ChartBarPicture::Forward24}}};
    for (std::size_t i = 0; i < paging.size(); ++i) {
        pagingButtons[i] = NewButton(chartToolBar, paging[i].first, paging[i].first,
                                     ChartBarIcon(paging[i].second), false, &pagingActions_[i]);
        const int step = PagingSteps[i];
        connect(pagingButtons[i], &QToolButton::clicked, this, [this, step] { ScrollChart(step); });
    }
    ShowPagingButtons(false);
}

QToolButton* ChartPanel::QuantityButton(int quantity) const {
    switch (quantity) {
    case Quantity::V4:
        return v4Button;
    case Quantity::V3:
        return v3Button;
    case Quantity::V2:
        return v2Button;
    case Quantity::V1:
        return v1Button;
    case Quantity::Length:
        return lengthButton;
    case Quantity::VehicleCount:
        return countButton;
    case Quantity::Gap:
        return gapButton;
    default:
        return speedButton;
    }
}

// The group buttons in the order of AllVehicleGroups.
std::array<QToolButton*, 6> ChartPanel::GroupButtonsInTableOrder() const {
    return {allVehiclesButton, sumOfAllButton, pkwButton, lkwButton, lzButton, lkwAndLzButton};
}

void ChartPanel::ApplyTexts() {
    const std::array<std::pair<QToolButton*, int>, 13> hints{
        {{allVehiclesButton, Text::AllVehiclesHint},
         {sumOfAllButton, Text::SumOfAllHint},
         {pkwButton, Text::CarsHint},
         {lkwButton, Text::TrucksHint},
         {lzButton, Text::TrucksWithTrailerHint},
         {lkwAndLzButton, Text::TrucksAndTrucksWithTrailerHint},
         {speedButton, Text::SpeedDistributionHint},
         {gapButton, Text::TimeGapDistributionHint},
         {countButton, Text::VehiclesPerIntervalHint},
         {lengthButton, Text::LengthDistributionHint},
         {v2Button, Text::MeanSpeedHint},
         {v4Button, Text::MaximumSpeedHint},
         {directionButton, Text::DirectionCaption}}};
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
    for (std::size_t i = 0; i < pagingButtons.size(); ++i) {
        const std::string& hint = texts_[Text::FirstPagingHint + static_cast<int>(i)];
        if (!hint.empty())
            pagingButtons[i]->setToolTip(QString::fromStdString(hint));
    }
    // The percentile buttons show the texts of the percentiles chosen now.
    const std::string& lower = texts_[Text::FirstLowerPercentileHint + (selections_.LowerPercentile - 5) / 5];
    const std::string& upper =
        texts_[Text::FirstUpperPercentileHint + (selections_.UpperPercentile - 75) / 5];
    if (!lower.empty())
        v1Button->setToolTip(QString::fromStdString(lower));
    if (!upper.empty())
        v3Button->setToolTip(QString::fromStdString(upper));
    // Assistive tools announce every button by its hint, in the language of the texts.
    for (QToolButton* b : chartToolBar->findChildren<QToolButton*>())
        if (!b->toolTip().isEmpty())
            b->setAccessibleName(b->toolTip());
    lengthAction_->setVisible(settings_.PeloEnabled);
}

void ChartPanel::SetPercentiles(int lowerPercentile, int upperPercentile, const QString& lowerHint,
                                const QString& upperHint) {
    v1Button->setIcon(ChartBarTextIcon(PercentText(lowerPercentile)));
    v3Button->setIcon(ChartBarTextIcon(PercentText(upperPercentile)));
    if (!lowerHint.isEmpty())
        v1Button->setToolTip(lowerHint);
    if (!upperHint.isEmpty())
        v3Button->setToolTip(upperHint);
    for (QToolButton* b : {v1Button, v3Button})
        if (!b->toolTip().isEmpty())
            b->setAccessibleName(b->toolTip());
}

void ChartPanel::EnableQuantityButtons() {
    const auto enabled = QuantityButtonStates(data_.DataMode);
    for (int quantity = Quantity::V4; quantity <= Quantity::Speed; ++quantity)
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
    sumOfAllButton->setChecked(true);
}

void ChartPanel::EnterChartView() {
    selections_.ChartOffset = 0;
    optionsDialog->SetAutomaticScaling();
    EnableQuantityButtons();
    countButton->setChecked(true);
    EnableGroupButtons(Quantity::VehicleCount);
    UpdateDirectionButton();
    DrawSelectedChart();
}

int ChartPanel::ReadVehicleGroup() const {
    // Tested in the order 45, 46, 47, 48, 49; none of them down means all vehicles stacked.
    const std::array<std::pair<QToolButton*, int>, 5> order{
        {{sumOfAllButton, 5}, {pkwButton, 1}, {lkwButton, 2}, {lzButton, 3}, {lkwAndLzButton, 4}}};
    int group = 0;
    for (const auto& [button, value] : order)
        if (button->isChecked())
            group = value;
    return group;
}

ChartRequest ChartPanel::Request() const {
    QuantityButtonsDown down;
    down.Speed = speedButton->isChecked();
    down.Gap = gapButton->isChecked();
    down.VehicleCount = countButton->isChecked();
    down.Length = lengthButton->isChecked();
    down.V1 = v1Button->isChecked();
    down.V2 = v2Button->isChecked();
    down.V3 = v3Button->isChecked();
    down.V4 = v4Button->isChecked();
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
    chartWidget->SetChart(std::move(chart));
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
        ChartDescription chart = ::DrawSelectedChart(Request(), scale_, data_, selections_, texts_);
        ShowPagingButtons(chart.PagingButtonsVisible);
        chartWidget->SetChart(std::move(chart));
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

void ChartPanel::DirectionButtonClick() {
    selections_.DirectionSelection = NextDirectionSelection(selections_.DirectionSelection);
    UpdateDirectionButton();
    DrawSelectedChart();
}

void ChartPanel::UpdateDirectionButton() {
    const int direction = NormalizedDirection(selections_.DirectionSelection);
    directionButton->setIcon(ChartBarIcon(direction == 3   ? ChartBarPicture::DirectionBoth
                                          : direction == 2 ? ChartBarPicture::Direction2
                                                           : ChartBarPicture::Direction1));
    directionButton->setAccessibleDescription(QString::fromStdString(DirectionSymbol(direction)));
}

void ChartPanel::ScrollChart(int step) {
    selections_.ChartOffset = ScrolledChartOffset(selections_.ChartOffset, data_.WorkIntervalCount, step);
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
    const PagingButtonStates states = ::UpdatePagingButtons(selections_.ChartOffset, data_.WorkIntervalCount);
    for (std::size_t i = 0; i < pagingButtons.size(); ++i)
        pagingButtons[i]->setEnabled(states.Enabled[i]);
}

void ChartPanel::ChartClick() {
    optionsDialog->exec();
}

void ChartPanel::SavePicture(const std::string& fileName) const {
    // The picture has the chart's size on screen; a chart never shown gets a usual size.
    const QSize size =
        chartWidget->isVisible() ? chartWidget->size().expandedTo(QSize(320, 200)) : QSize(1200, 800);
    SaveChartPicture(fileName, chartWidget->Chart(), chartWidget->Appearance(), size);
}

void ChartPanel::ShowError(const std::exception& error) {
    const auto* core = dynamic_cast<const CoreError*>(&error);
    const QString text = QString::fromStdString(core ? core->Message(texts_) : std::string(error.what()));
    QMessageBox::warning(this, QStringLiteral("Korvelan II"), text);
}

const ChartDescription& ChartPanel::Chart() const {
    return chartWidget->Chart();
}

const ChartAppearance& ChartPanel::Appearance() const {
    return chartWidget->Appearance();
}

void ChartPanel::OfferPercentileMenus(QMenu* lowerMenu, QMenu* upperMenu) {
    for (const auto& [button, menu] : {std::pair{v1Button, lowerMenu}, std::pair{v3Button, upperMenu}}) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [button = button, menu = menu](const QPoint& at) { menu->popup(button->mapToGlobal(at)); });
    }
}
