#include "settings/SettingsDialog.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/MeasurementData.h"
#include "settings/LengthThresholdSteps.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "ui/FileDialogs.h"
#include "ui/QtText.h"

#include <QButtonGroup>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

// Texts of the statistics page.
constexpr int FreeFlowGapCaption = 577;
constexpr int ThresholdsCaption = 578;
constexpr int FreeFlowGapRefused = 579;
constexpr int ThresholdsRefused = 580;
constexpr int StatisticsPage = 581;
constexpr int StatisticsPageIndex = 4;

QToolButton* ArrowButton(QWidget* parent, const char* name, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(22, 13);
    return button;
}

QButtonGroup* RadioGroup(QGroupBox* box, const QStringList& items, int columns, const char* prefix) {
    auto* group = new QButtonGroup(box);
    auto* layout = new QGridLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(QStringLiteral("%1%2").arg(QString::fromLatin1(prefix)).arg(i));
        radio->setAccessibleName(items[i]);
        group->addButton(radio, i);
        layout->addWidget(radio, i / columns, i % columns);
    }
    return group;
}

void SetRadioTexts(QButtonGroup* group, const QStringList& items) {
    for (int i = 0; i < items.size(); ++i)
        if (QAbstractButton* button = group->button(i)) {
            button->setText(items[i]);
            button->setAccessibleName(items[i]);
        }
}

void Select(QButtonGroup* group, int index) {
    if (QAbstractButton* button = group->button(index))
        button->setChecked(true);
}

} // namespace

SettingsDialog::SettingsDialog(Settings& settings, MeasurementData& data, const LanguageTexts& texts,
                               FileDialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), data_(data), texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Einstellungen"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    setModal(true);

    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    pages->addTab(CreatePathPage(), QStringLiteral("Pfad"));
    pages->addTab(CreateLengthPage(), QStringLiteral("Fz-Länge"));
    pages->addTab(CreateCalculationPage(), QStringLiteral("V-Berechnung"));
    pages->addTab(CreateDisplayPage(), QStringLiteral("Darstellung"));
    pages->addTab(CreateStatisticsPage(), QStringLiteral("Statistik"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    setMinimumWidth(480);

    connect(dataPathEdit, &QLineEdit::textChanged, this, [this] { DataPathEdited(); });
    connect(cardPathEdit, &QLineEdit::textChanged, this, [this] { CardPathEdited(); });
    connect(dataPathButton, &QPushButton::clicked, this, [this] { ChooseDataPath(); });
    connect(cardPathButton, &QPushButton::clicked, this, [this] { ChooseCardPath(); });
    connect(pkwLengthUpButton, &QToolButton::clicked, this, [this] { PkwLengthUpClick(); });
    connect(pkwLengthDownButton, &QToolButton::clicked, this, [this] { PkwLengthDownClick(); });
    connect(lkwLengthUpButton, &QToolButton::clicked, this, [this] { LkwLengthUpClick(); });
    connect(lkwLengthDownButton, &QToolButton::clicked, this, [this] { LkwLengthDownClick(); });
    connect(lzLengthUpButton, &QToolButton::clicked, this, [this] { LzLengthUpClick(); });
    connect(lzLengthDownButton, &QToolButton::clicked, this, [this] { LzLengthDownClick(); });
    connect(lowerPercentileButtons, &QButtonGroup::idClicked, this,
            [this](int id) { LowerPercentileClick(id); });
    connect(upperPercentileButtons, &QButtonGroup::idClicked, this,
            [this](int id) { UpperPercentileClick(id); });
    connect(medianCalculationButtons, &QButtonGroup::idClicked, this,
            [this](int id) { MedianCalculationClick(id); });
    connect(limitDisplayButtons, &QButtonGroup::idClicked, this, [this](int id) { LimitDisplayClick(id); });
    connect(freeFlowGapEdit, &QLineEdit::textEdited, this, [this] { FreeFlowGapEdited(); });
    connect(thresholdsEdit, &QLineEdit::textEdited, this, [this] { ThresholdsEdited(); });
}

QWidget* SettingsDialog::CreatePathPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(page);
    auto pathBox = [page](const char* boxName, const QString& title, QLineEdit*& edit, const char* editName,
                          QPushButton*& button, const char* buttonName) {
        auto* box = new QGroupBox(title, page);
        box->setObjectName(QString::fromLatin1(boxName));
        auto* row = new QHBoxLayout(box);
        edit = new QLineEdit(box);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setAccessibleName(title);
        button = new QPushButton(QStringLiteral("suchen"), box);
        button->setObjectName(QString::fromLatin1(buttonName));
        button->setAccessibleName(QStringLiteral("suchen: ") + title);
        // Enter in the path field must not open the folder chooser.
        button->setAutoDefault(false);
        row->addWidget(edit, 1);
        row->addWidget(button);
        return box;
    };
    dataPathBox = pathBox("dataPathBox", QStringLiteral("Datenpfad"), dataPathEdit, "dataPathEdit",
                          dataPathButton, "dataPathButton");
    cardPathBox = pathBox("cardPathBox", QStringLiteral("Kartenpfad"), cardPathEdit, "cardPathEdit",
                          cardPathButton, "cardPathButton");
    layout->addWidget(dataPathBox);
    layout->addWidget(cardPathBox);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::CreateLengthPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(12);
    auto row = [&](int r, QLineEdit*& edit, const char* editName, QToolButton*& up, const char* upName,
                   QToolButton*& down, const char* downName, QLabel*& label, const char* labelName,
                   const QString& caption) {
        edit = new QLineEdit(page);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(48);
        edit->setAccessibleName(caption);
        up = ArrowButton(page, upName, Qt::UpArrow);
        down = ArrowButton(page, downName, Qt::DownArrow);
        up->setAccessibleName(caption + QStringLiteral(" +1"));
        down->setAccessibleName(caption + QStringLiteral(" -1"));
        auto* arrows = new QVBoxLayout;
        arrows->setSpacing(0);
        arrows->addWidget(up);
        arrows->addWidget(down);
        label = new QLabel(caption, page);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setBuddy(edit);
        grid->addWidget(edit, r, 0);
        grid->addLayout(arrows, r, 1);
        grid->addWidget(label, r, 2);
    };
    row(0, pkwLengthEdit, "pkwLengthEdit", pkwLengthUpButton, "pkwLengthUpButton", pkwLengthDownButton,
        "pkwLengthDownButton", pkwLabel, "pkwLabel", QStringLiteral("m  Mindestlänge PKW"));
    row(1, lkwLengthEdit, "lkwLengthEdit", lkwLengthUpButton, "lkwLengthUpButton", lkwLengthDownButton,
        "lkwLengthDownButton", lkwLabel, "lkwLabel", QStringLiteral("m  Mindestlänge LKW"));
    row(2, lzLengthEdit, "lzLengthEdit", lzLengthUpButton, "lzLengthUpButton", lzLengthDownButton,
        "lzLengthDownButton", lzLabel, "lzLabel", QStringLiteral("m  Mindestlänge LZ"));
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* SettingsDialog::CreateCalculationPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* layout = new QVBoxLayout(page);
    lowerPercentileBox = new QGroupBox(QStringLiteral("lowerPercentileBox"), page);
    lowerPercentileBox->setObjectName(QStringLiteral("lowerPercentileBox"));
    lowerPercentileButtons =
        RadioGroup(lowerPercentileBox, {"V05", "V10", "V15", "V20", "V25"}, 5, "lowerPercentileBox");
    medianCalculationBox = new QGroupBox(QStringLiteral("V50 - Berechnung"), page);
    medianCalculationBox->setObjectName(QStringLiteral("medianCalculationBox"));
    medianCalculationButtons =
        RadioGroup(medianCalculationBox, {QStringLiteral("50%-Wert"), QStringLiteral("Mittelwert")}, 2,
                   "medianCalculationBox");
    upperPercentileBox = new QGroupBox(QStringLiteral("upperPercentileBox"), page);
    upperPercentileBox->setObjectName(QStringLiteral("upperPercentileBox"));
    upperPercentileButtons =
        RadioGroup(upperPercentileBox, {"V75", "V80", "V85", "V90", "V95"}, 5, "upperPercentileBox");
    layout->addWidget(lowerPercentileBox);
    layout->addWidget(medianCalculationBox);
    layout->addWidget(upperPercentileBox);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::CreateDisplayPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet4"));
    auto* layout = new QVBoxLayout(page);
    limitDisplayBox = new QGroupBox(QStringLiteral("Darstellung Limitüberschreitung"), page);
    limitDisplayBox->setObjectName(QStringLiteral("limitDisplayBox"));
    limitDisplayButtons = RadioGroup(limitDisplayBox, {QStringLiteral("Linie"), QStringLiteral("Fläche")}, 2,
                                     "limitDisplayBox");
    layout->addWidget(limitDisplayBox);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::CreateStatisticsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet5"));
    auto* layout = new QVBoxLayout(page);
    auto field = [page, layout](QLabel*& label, const char* labelName, QLineEdit*& edit, const char* editName,
                                const QString& caption) {
        label = new QLabel(caption, page);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setWordWrap(true);
        edit = new QLineEdit(page);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setAccessibleName(caption);
        label->setBuddy(edit);
        layout->addWidget(label);
        layout->addWidget(edit);
        layout->addSpacing(8);
    };
    field(freeFlowGapLabel, "freeFlowGapLabel", freeFlowGapEdit, "freeFlowGapEdit",
          QStringLiteral("Freifluss-Zeitlücke (s)"));
    field(thresholdsLabel, "thresholdsLabel", thresholdsEdit, "thresholdsEdit",
          QStringLiteral("Geschwindigkeitsschwellen (km/h, durch Komma getrennt, leer: Limit, +10, +20)"));
    freeFlowGapEdit->setMaximumWidth(96);
    refusedEntryLabel = new QLabel(page);
    refusedEntryLabel->setObjectName(QStringLiteral("refusedEntryLabel"));
    refusedEntryLabel->setWordWrap(true);
    refusedEntryLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    refusedEntryLabel->hide();
    layout->addWidget(refusedEntryLabel);
    layout->addStretch();
    return page;
}

void SettingsDialog::OnShow() {
    setWindowTitle(TextOr(texts_[Text::SettingsTitle], "Einstellungen"));
    pages->setTabText(0, TextOr(texts_[Text::FoldersPage], "Pfad"));
    pages->setTabText(1, TextOr(texts_[Text::VehicleLengthPage], "Fz-Länge"));
    pages->setTabText(2, TextOr(texts_[Text::CalculationPage], "V-Berechnung"));
    pages->setTabText(3, TextOr(texts_[Text::DisplayPage], "Darstellung"));
    pages->setTabText(StatisticsPageIndex, TextOr(texts_[StatisticsPage], "Statistik"));
    dataPathBox->setTitle(TextOr(texts_[Text::DataFolder], "Datenpfad"));
    cardPathBox->setTitle(TextOr(texts_[Text::CardFolder], "Kartenpfad"));
    dataPathEdit->setAccessibleName(dataPathBox->title());
    cardPathEdit->setAccessibleName(cardPathBox->title());
    const QString search = TextOr(texts_[Text::Browse], "suchen");
    dataPathButton->setText(search);
    cardPathButton->setText(search);
    dataPathButton->setAccessibleName(search + QStringLiteral(": ") + dataPathBox->title());
    cardPathButton->setAccessibleName(search + QStringLiteral(": ") + cardPathBox->title());
    const struct {
        QLabel* label;
        QLineEdit* edit;
        QToolButton* up;
        QToolButton* down;
        QString text;
    } lengths[] = {{pkwLabel, pkwLengthEdit, pkwLengthUpButton, pkwLengthDownButton,
                    TextOr(texts_[Text::MinimumLengthCar], "m  Mindestlänge PKW")},
                   {lkwLabel, lkwLengthEdit, lkwLengthUpButton, lkwLengthDownButton,
                    TextOr(texts_[Text::MinimumLengthTruck], "m  Mindestlänge LKW")},
                   {lzLabel, lzLengthEdit, lzLengthUpButton, lzLengthDownButton,
                    TextOr(texts_[Text::MinimumLengthTruckWithTrailer], "m  Mindestlänge LZ")}};
    for (const auto& row : lengths) {
        row.label->setText(row.text);
        row.edit->setAccessibleName(row.text);
        row.up->setAccessibleName(row.text + QStringLiteral(" +1"));
        row.down->setAccessibleName(row.text + QStringLiteral(" -1"));
    }
    limitDisplayBox->setTitle(TextOr(texts_[Text::AboveLimitDisplay], "Darstellung Limitüberschreitung"));
    SetRadioTexts(limitDisplayButtons,
                  {TextOr(texts_[Text::Line], "Linie"), TextOr(texts_[Text::Area], "Fläche")});
    medianCalculationBox->setTitle(TextOr(texts_[Text::V50Calculation], "V50 - Berechnung"));
    SetRadioTexts(medianCalculationButtons, {TextOr(texts_[Text::FiftyPercentValue], "50%-Wert"),
                                             TextOr(texts_[Text::Mean], "Mittelwert")});
    lowerPercentileBox->setTitle(TextOr(texts_[Text::LowerPercentile], "lowerPercentileBox"));
    upperPercentileBox->setTitle(TextOr(texts_[Text::UpperPercentile], "upperPercentileBox"));

    Select(limitDisplayButtons, settings_.AboveLimitStyle != 0 ? 1 : 0);
    Select(medianCalculationButtons, settings_.CalcV50 != 0 ? 1 : 0);
    Select(lowerPercentileButtons, settings_.VLowIndex);
    Select(upperPercentileButtons, settings_.VHighIndex);
    ShowLengths();
    dataPathEdit->setText(ToQString(settings_.DataPath));
    cardPathEdit->setText(ToQString(settings_.CardPath));

    freeFlowGapLabel->setText(TextOr(texts_[FreeFlowGapCaption], "Freifluss-Zeitlücke (s)"));
    thresholdsLabel->setText(
        TextOr(texts_[ThresholdsCaption],
               "Geschwindigkeitsschwellen (km/h, durch Komma getrennt, leer: Limit, +10, +20)"));
    freeFlowGapEdit->setAccessibleName(freeFlowGapLabel->text());
    thresholdsEdit->setAccessibleName(thresholdsLabel->text());
    freeFlowGapEdit->setText(ToQString(FreeFlowGapText(settings_.FreeFlowGapSeconds)));
    thresholdsEdit->setText(ToQString(ThresholdsText(settings_.SpeedThresholds)));
    freeFlowGapRefused_ = false;
    thresholdsRefused_ = false;
    ShowRefusedEntries();
}

void SettingsDialog::OnHide() {
    if (WriteSettings)
        WriteSettings();
}

void SettingsDialog::ShowLengths() {
    pkwLengthEdit->setText(QString::number(settings_.Lengths.PkwMinLength));
    lkwLengthEdit->setText(QString::number(settings_.Lengths.LkwMinLength));
    lzLengthEdit->setText(QString::number(settings_.Lengths.LzMinLength));
}

void SettingsDialog::LengthsChanged() {
    ShowLengths();
    MarkRebuildAfterLengthChange(data_);
}

void SettingsDialog::PkwLengthUpClick() {
    PkwLengthUp(settings_.Lengths);
    LengthsChanged();
}

void SettingsDialog::PkwLengthDownClick() {
    PkwLengthDown(settings_.Lengths);
    LengthsChanged();
}

void SettingsDialog::LkwLengthUpClick() {
    LkwLengthUp(settings_.Lengths);
    LengthsChanged();
}

void SettingsDialog::LkwLengthDownClick() {
    LkwLengthDown(settings_.Lengths);
    LengthsChanged();
}

void SettingsDialog::LzLengthUpClick() {
    LzLengthUp(settings_.Lengths);
    LengthsChanged();
}

void SettingsDialog::LzLengthDownClick() {
    LzLengthDown(settings_.Lengths);
    LengthsChanged();
}

void SettingsDialog::MedianCalculationClick(int index) {
    settings_.CalcV50 = index;
}

void SettingsDialog::LowerPercentileClick(int index) {
    settings_.VLowIndex = index;
    if (LowerPercentileChosen)
        LowerPercentileChosen(index);
}

void SettingsDialog::UpperPercentileClick(int index) {
    settings_.VHighIndex = index;
    if (UpperPercentileChosen)
        UpperPercentileChosen(index);
}

void SettingsDialog::LimitDisplayClick(int index) {
    settings_.AboveLimitStyle = index;
    if (AboveLimitStyleChosen)
        AboveLimitStyleChosen();
}

QString SettingsDialog::ChooseFolder(const QString& current) {
    QString folder = dialogs_.ExistingDirectory(this, TextOr(texts_[Text::Browse], "suchen"), current);
    if (folder.isEmpty())
        return {};
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

void SettingsDialog::ChooseDataPath() {
    const QString folder = ChooseFolder(dataPathEdit->text());
    if (!folder.isEmpty())
        dataPathEdit->setText(folder);
}

void SettingsDialog::ChooseCardPath() {
    const QString folder = ChooseFolder(cardPathEdit->text());
    if (!folder.isEmpty())
        cardPathEdit->setText(folder);
}

void SettingsDialog::DataPathEdited() {
    settings_.DataPath = dataPathEdit->text().toStdString();
}

void SettingsDialog::CardPathEdited() {
    settings_.CardPath = cardPathEdit->text().toStdString();
}

// A valid entry takes effect at once; a refused one leaves the setting as it was, so that only
// values that passed are ever written to the settings file.
void SettingsDialog::FreeFlowGapEdited() {
    const auto gap = FreeFlowGapOfEntry(freeFlowGapEdit->text().toStdString());
    freeFlowGapRefused_ = !gap;
    if (gap)
        settings_.FreeFlowGapSeconds = *gap;
    ShowRefusedEntries();
}

void SettingsDialog::ThresholdsEdited() {
    const auto thresholds = ThresholdsOfEntry(thresholdsEdit->text().toStdString());
    thresholdsRefused_ = !thresholds;
    if (thresholds)
        settings_.SpeedThresholds = *thresholds;
    ShowRefusedEntries();
}

bool SettingsDialog::HasRefusedEntry() const {
    return freeFlowGapRefused_ || thresholdsRefused_;
}

void SettingsDialog::ShowRefusedEntries() {
    QStringList reasons;
    if (freeFlowGapRefused_)
        reasons << TextOr(texts_[FreeFlowGapRefused],
                          "Die Freifluss-Zeitlücke muss eine positive Zahl von Sekunden sein.");
    if (thresholdsRefused_)
        reasons << TextOr(texts_[ThresholdsRefused],
                          "Die Geschwindigkeitsschwellen müssen ganze km/h von 0 bis 255 sein, durch "
                          "Komma getrennt.");
    refusedEntryLabel->setText(reasons.join(QLatin1Char('\n')));
    refusedEntryLabel->setVisible(!reasons.isEmpty());
    refusedEntryLabel->setAccessibleName(refusedEntryLabel->text());
    for (const auto& [edit, refused] :
         {std::pair{freeFlowGapEdit, freeFlowGapRefused_}, std::pair{thresholdsEdit, thresholdsRefused_}}) {
        edit->setStyleSheet(refused ? QStringLiteral("background: #ffe0e0;") : QString());
        edit->setAccessibleDescription(refused ? refusedEntryLabel->text() : QString());
    }
}

void SettingsDialog::ShowStatisticsPageWithRefusedEntry() {
    pages->setCurrentIndex(StatisticsPageIndex);
    QLineEdit* edit = freeFlowGapRefused_ ? freeFlowGapEdit : thresholdsEdit;
    edit->setFocus();
    edit->selectAll();
}

// The dialog does not close over a refused entry: closing would silently drop what the user typed.
void SettingsDialog::done(int result) {
    if (HasRefusedEntry()) {
        ShowStatisticsPageWithRefusedEntry();
        return;
    }
    QDialog::done(result);
}

void SettingsDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        OnShow();
    QDialog::showEvent(event);
}

void SettingsDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        OnHide();
}
