#include "evaluation/TDFilter.h"

#include "data/CoreError.h"
#include "evaluation/ClickableLabel.h"
#include "evaluation/ListHost.h"
#include "lang/LanguageTexts.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QComboBox* NewComboBox(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentIndex(0);
    return box;
}

QLineEdit* NewValueField(QWidget* parent, const char* name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setMaxLength(6);
    field->setAlignment(Qt::AlignRight);
    field->setMaximumWidth(field->fontMetrics().horizontalAdvance("0000000") + 12);
    return field;
}

QPushButton* NewButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}
} // namespace

TDFilter::TDFilter(MeasurementData& data, const LanguageTexts& texts, ListHost& host, QWidget* parent)
    : ListToolDialog(parent), data_(data), texts_(texts), host_(host) {
    setObjectName("DFilter");
    setModal(false);

    const QStringList comparisons{" ", ">", "=", "<"};
    Label_Gesch = new QLabel(this);
    Label_Gesch->setObjectName("Label_Gesch");
    Bed_Gesch = NewComboBox(this, "Bed_Gesch", comparisons);
    Wert_Gesch = NewValueField(this, "Wert_Gesch");
    Label_Laenge = new QLabel(this);
    Label_Laenge->setObjectName("Label_Laenge");
    Bed_Laenge = NewComboBox(this, "Bed_Laenge", comparisons);
    Wert_Laenge = NewValueField(this, "Wert_Laenge");
    Label_Richt = new QLabel(this);
    Label_Richt->setObjectName("Label_Richt");
    Bed_Richt = NewComboBox(this, "Bed_Richt", {"<=>", "==>", "<=="});
    Label_Gesch->setBuddy(Bed_Gesch);
    Label_Laenge->setBuddy(Bed_Laenge);
    Label_Richt->setBuddy(Bed_Richt);

    CreateRunControls();
    Label_Anzahl = new QLabel(this);
    Label_Anzahl->setObjectName("Label_Anzahl");
    Label_Anzahl->setAlignment(Qt::AlignCenter);

    Markieren = NewButton(this, "Markieren");
    Loeschen = NewButton(this, "Loeschen");
    Dat_Mark_Erase = NewButton(this, "Dat_Mark_Erase");
    Dat_Mark_Use = NewButton(this, "Dat_Mark_Use");

    auto* conditions = new QGridLayout;
    conditions->setHorizontalSpacing(8);
    conditions->setVerticalSpacing(6);
    conditions->addWidget(Label_Gesch, 0, 0);
    conditions->addWidget(Bed_Gesch, 0, 1);
    conditions->addWidget(Wert_Gesch, 0, 2);
    conditions->addWidget(new QLabel("km/h", this), 0, 3);
    conditions->addWidget(Label_Laenge, 1, 0);
    conditions->addWidget(Bed_Laenge, 1, 1);
    conditions->addWidget(Wert_Laenge, 1, 2);
    conditions->addWidget(new QLabel("m", this), 1, 3);
    conditions->addWidget(Label_Richt, 2, 0);
    conditions->addWidget(Bed_Richt, 2, 1);
    conditions->setColumnStretch(0, 1);

    auto* run = new QGridLayout;
    run->setHorizontalSpacing(12);
    run->addWidget(Label_Start, 0, 0);
    run->addWidget(Start_Nr, 0, 1);
    run->addWidget(Label_Stop, 1, 0);
    run->addWidget(Stop_Nr, 1, 1);
    run->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addLayout(conditions);
    layout->addLayout(run);
    layout->addWidget(Label_Anzahl);
    layout->addWidget(Markieren);
    layout->addWidget(Dat_Mark_Erase);
    layout->addWidget(Dat_Mark_Use);
    layout->addWidget(Loeschen);

    connect(Label_Start, &ClickableLabel::clicked, this, &TDFilter::Label_StartClick);
    connect(Label_Stop, &ClickableLabel::clicked, this, &TDFilter::Label_StopClick);
    connect(Markieren, &QPushButton::clicked, this, &TDFilter::MarkierenClick);
    connect(Loeschen, &QPushButton::clicked, this, &TDFilter::LoeschenClick);
    connect(Dat_Mark_Erase, &QPushButton::clicked, this, &TDFilter::Dat_Mark_EraseClick);
    connect(Dat_Mark_Use, &QPushButton::clicked, this, &TDFilter::Dat_Mark_UseClick);

    SetTexts();
}

void TDFilter::SetTexts() {
    setWindowTitle(TextOr(texts_[40], "Datenfilter"));
    Label_Gesch->setText(TextOr(texts_[83], "Geschwindigkeit"));
    Label_Laenge->setText(TextOr(texts_[84], "Länge"));
    Label_Richt->setText(TextOr(texts_[85], "Richtung"));
    Label_Start->setText(TextOr(texts_[86], "Satznummer Filter Start:"));
    Label_Stop->setText(TextOr(texts_[87], "Satznummer Filter Stop:"));
    Markieren->setText(TextOr(texts_[88], "Daten markieren"));
    Loeschen->setText(TextOr(texts_[89], "Datenfilter löschen"));
    Dat_Mark_Erase->setText(TextOr(texts_[90], "Markierte Daten löschen"));
    Dat_Mark_Use->setText(TextOr(texts_[91], "Markierte Daten verwenden"));

    const QString speed = Label_Gesch->text();
    const QString length = Label_Laenge->text();
    Label_Gesch->setAccessibleName(speed);
    Bed_Gesch->setAccessibleName(speed);
    Wert_Gesch->setAccessibleName(speed + " (km/h)");
    Label_Laenge->setAccessibleName(length);
    Bed_Laenge->setAccessibleName(length);
    Wert_Laenge->setAccessibleName(length + " (m)");
    Label_Richt->setAccessibleName(Label_Richt->text());
    Bed_Richt->setAccessibleName(Label_Richt->text());
    Label_Start->setAccessibleName(Label_Start->text());
    Label_Stop->setAccessibleName(Label_Stop->text());
    Start_Nr->setAccessibleName(Label_Start->text());
    Stop_Nr->setAccessibleName(Label_Stop->text());
    Label_Anzahl->setAccessibleName(windowTitle());
    for (QPushButton* button : {Markieren, Loeschen, Dat_Mark_Erase, Dat_Mark_Use})
        button->setAccessibleName(button->text());
}

void TDFilter::FormShow() {
    host_.SetMainToolBarVisible(false);
    run_ = WholeWorkingSet(data_);
    UpdateFilterButtons();
    SetTexts();
}

void TDFilter::FormActivate() {
    Label_Anzahl->setText(QString::fromStdString(MarkedCounterText(data_, texts_)));
    ShowRunNumbers();
    // Marks may have changed in the list while the dialog was inactive.
    UpdateFilterButtons();
}

void TDFilter::MarkedCountChanged() {
    Label_Anzahl->setText(QString::fromStdString(MarkedCounterAfterCommand(data_, texts_)));
    UpdateFilterButtons();
}

void TDFilter::ApplyTexts() {
    SetTexts();
    if (isVisible())
        Label_Anzahl->setText(QString::fromStdString(MarkedCounterAfterCommand(data_, texts_)));
}

void TDFilter::FormHide() {
    host_.SetMainToolBarVisible(true);
}

void TDFilter::Label_StartClick() {
    run_ = TakeFilterStart(run_, VehicleRecordAtLine(data_, host_.ListCursorLine()));
    ShowRunNumbers();
}

void TDFilter::Label_StopClick() {
    run_ = TakeFilterStop(run_, VehicleRecordAtLine(data_, host_.ListCursorLine()));
    ShowRunNumbers();
}

void TDFilter::MarkierenClick() {
    try {
        const MarkCondition condition = MarkConditionFromFields(
            Bed_Gesch->currentIndex(), Wert_Gesch->text().toStdString(), Bed_Laenge->currentIndex(),
            Wert_Laenge->text().toStdString(), Bed_Richt->currentIndex());
        MarkVehicles(data_, condition, run_);
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    Label_Anzahl->setText(QString::fromStdString(MarkedCounterAfterCommand(data_, texts_)));
    UpdateFilterButtons();
    host_.RedrawVehiclePage();
}

void TDFilter::LoeschenClick() {
    try {
        ClearVehicleFilter(data_);
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    WorkingSetChanged();
}

void TDFilter::Dat_Mark_EraseClick() {
    try {
        EraseMarkedVehicles(data_);
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    WorkingSetChanged();
}

void TDFilter::Dat_Mark_UseClick() {
    try {
        if (!UseMarkedVehicles(data_))
            return;
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    WorkingSetChanged();
}

void TDFilter::UpdateFilterButtons() {
    const FilterButtonStates states = ::UpdateFilterButtons(data_);
    Markieren->setEnabled(states.Markieren);
    Loeschen->setEnabled(states.Loeschen);
    Dat_Mark_Erase->setEnabled(states.Dat_Mark_Erase);
    Dat_Mark_Use->setEnabled(states.Dat_Mark_Use);
}

void TDFilter::ShowRunNumbers() {
    Start_Nr->setText(QString::number(run_.FilterStart));
    Stop_Nr->setText(QString::number(run_.FilterStop));
}

void TDFilter::WorkingSetChanged() {
    run_ = WholeWorkingSet(data_);
    ShowRunNumbers();
    Label_Anzahl->setText(QString::fromStdString(MarkedCounterAfterCommand(data_, texts_)));
    // The intervals are rebuilt from the new working set as 5-minute intervals.
    host_.SetIntervalFactor(1);
    UpdateFilterButtons();
    host_.ShowVehicleList();
}

void TDFilter::ShowError(const std::exception& error) {
    const auto* coreError = dynamic_cast<const CoreError*>(&error);
    const std::string message = coreError ? coreError->Message(texts_) : std::string(error.what());
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
}
