#include "evaluation/RecordFilterDialog.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "evaluation/ListHost.h"
#include "ui/ClickableLabel.h"
#include "ui/QtText.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
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

RecordFilterDialog::RecordFilterDialog(MeasurementData& data, const LanguageTexts& texts, ListHost& host,
                                       QWidget* parent)
    : ListToolDialog(parent), data_(data), texts_(texts), host_(host) {
    setObjectName("filterDialog");
    setModal(false);

    const QStringList comparisons{" ", ">", "=", "<"};
    speedLabel = new QLabel(this);
    speedLabel->setObjectName("speedLabel");
    speedComparison = NewComboBox(this, "speedComparison", comparisons);
    speedValue = NewValueField(this, "speedValue");
    lengthLabel = new QLabel(this);
    lengthLabel->setObjectName("lengthLabel");
    lengthComparison = NewComboBox(this, "lengthComparison", comparisons);
    lengthValue = NewValueField(this, "lengthValue");
    directionLabel = new QLabel(this);
    directionLabel->setObjectName("directionLabel");
    directionChoice = NewComboBox(this, "directionChoice", {"<=>", "==>", "<=="});
    speedLabel->setBuddy(speedComparison);
    lengthLabel->setBuddy(lengthComparison);
    directionLabel->setBuddy(directionChoice);

    CreateRunControls();
    markedCountLabel = new QLabel(this);
    markedCountLabel->setObjectName("markedCountLabel");
    markedCountLabel->setAlignment(Qt::AlignCenter);

    markButton = NewButton(this, "markButton");
    clearMarksButton = NewButton(this, "clearMarksButton");
    eraseMarkedButton = NewButton(this, "eraseMarkedButton");
    useMarkedButton = NewButton(this, "useMarkedButton");

    auto* conditions = new QGridLayout;
    conditions->setHorizontalSpacing(8);
    conditions->setVerticalSpacing(6);
    conditions->addWidget(speedLabel, 0, 0);
    conditions->addWidget(speedComparison, 0, 1);
    conditions->addWidget(speedValue, 0, 2);
    conditions->addWidget(new QLabel("km/h", this), 0, 3);
    conditions->addWidget(lengthLabel, 1, 0);
    conditions->addWidget(lengthComparison, 1, 1);
    conditions->addWidget(lengthValue, 1, 2);
    conditions->addWidget(new QLabel("m", this), 1, 3);
    conditions->addWidget(directionLabel, 2, 0);
    conditions->addWidget(directionChoice, 2, 1);
    conditions->setColumnStretch(0, 1);

    auto* run = new QGridLayout;
    run->setHorizontalSpacing(12);
    run->addWidget(startLabel, 0, 0);
    run->addWidget(startNumberLabel, 0, 1);
    run->addWidget(stopLabel, 1, 0);
    run->addWidget(stopNumberLabel, 1, 1);
    run->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addLayout(conditions);
    layout->addLayout(run);
    layout->addWidget(markedCountLabel);
    layout->addWidget(markButton);
    layout->addWidget(eraseMarkedButton);
    layout->addWidget(useMarkedButton);
    layout->addWidget(clearMarksButton);

    connect(startLabel, &ClickableLabel::clicked, this, &RecordFilterDialog::StartLabelClick);
    connect(stopLabel, &ClickableLabel::clicked, this, &RecordFilterDialog::StopLabelClick);
    connect(markButton, &QPushButton::clicked, this, &RecordFilterDialog::MarkClick);
    connect(clearMarksButton, &QPushButton::clicked, this, &RecordFilterDialog::ClearMarksClick);
    connect(eraseMarkedButton, &QPushButton::clicked, this, &RecordFilterDialog::EraseMarkedClick);
    connect(useMarkedButton, &QPushButton::clicked, this, &RecordFilterDialog::UseMarkedClick);

    SetTexts();
}

void RecordFilterDialog::SetTexts() {
    setWindowTitle(TextOr(texts_[Text::DataFilter], "Datenfilter"));
    speedLabel->setText(TextOr(texts_[Text::FilterSpeed], "Geschwindigkeit"));
    lengthLabel->setText(TextOr(texts_[Text::FilterLength], "Länge"));
    directionLabel->setText(TextOr(texts_[Text::FilterDirection], "Richtung"));
    startLabel->setText(TextOr(texts_[Text::StartRecordNumber], "Satznummer Filter Start:"));
    stopLabel->setText(TextOr(texts_[Text::StopRecordNumber], "Satznummer Filter Stop:"));
    markButton->setText(TextOr(texts_[Text::MarkData], "Daten markieren"));
    clearMarksButton->setText(TextOr(texts_[Text::ClearFilter], "Datenfilter löschen"));
    eraseMarkedButton->setText(TextOr(texts_[Text::DeleteMarkedData], "Markierte Daten löschen"));
    useMarkedButton->setText(TextOr(texts_[Text::UseMarkedData], "Markierte Daten verwenden"));

    const QString speed = speedLabel->text();
    const QString length = lengthLabel->text();
    speedLabel->setAccessibleName(speed);
    speedComparison->setAccessibleName(speed);
    speedValue->setAccessibleName(speed + " (km/h)");
    lengthLabel->setAccessibleName(length);
    lengthComparison->setAccessibleName(length);
    lengthValue->setAccessibleName(length + " (m)");
    directionLabel->setAccessibleName(directionLabel->text());
    directionChoice->setAccessibleName(directionLabel->text());
    startLabel->setAccessibleName(startLabel->text());
    stopLabel->setAccessibleName(stopLabel->text());
    startNumberLabel->setAccessibleName(startLabel->text());
    stopNumberLabel->setAccessibleName(stopLabel->text());
    markedCountLabel->setAccessibleName(windowTitle());
    for (QPushButton* button : {markButton, clearMarksButton, eraseMarkedButton, useMarkedButton})
        button->setAccessibleName(button->text());
}

void RecordFilterDialog::OnShow() {
    host_.SetMainToolBarVisible(false);
    run_ = WholeWorkingSet(data_);
    UpdateFilterButtons();
    SetTexts();
}

void RecordFilterDialog::OnActivate() {
    markedCountLabel->setText(ToQString(MarkedCounterText(data_, texts_)));
    ShowRunNumbers();
    // Marks may have changed in the list while the dialog was inactive.
    UpdateFilterButtons();
}

void RecordFilterDialog::MarkedCountChanged() {
    markedCountLabel->setText(ToQString(MarkedCounterAfterCommand(data_, texts_)));
    UpdateFilterButtons();
}

void RecordFilterDialog::ApplyTexts() {
    SetTexts();
    if (isVisible())
        markedCountLabel->setText(ToQString(MarkedCounterAfterCommand(data_, texts_)));
}

void RecordFilterDialog::OnHide() {
    host_.SetMainToolBarVisible(true);
}

void RecordFilterDialog::StartLabelClick() {
    run_ = TakeFilterStart(run_, VehicleRecordAtLine(data_, host_.ListCursorLine()));
    ShowRunNumbers();
}

void RecordFilterDialog::StopLabelClick() {
    run_ = TakeFilterStop(run_, VehicleRecordAtLine(data_, host_.ListCursorLine()));
    ShowRunNumbers();
}

void RecordFilterDialog::MarkClick() {
    try {
        const MarkCondition condition =
            MarkConditionFromFields(speedComparison->currentIndex(), speedValue->text().toStdString(),
                                    lengthComparison->currentIndex(), lengthValue->text().toStdString(),
                                    directionChoice->currentIndex());
        MarkVehicles(data_, condition, run_);
    } catch (const std::exception& error) {
        errors_.ShowError(error, texts_);
        return;
    }
    markedCountLabel->setText(ToQString(MarkedCounterAfterCommand(data_, texts_)));
    UpdateFilterButtons();
    host_.RedrawVehiclePage();
}

void RecordFilterDialog::ClearMarksClick() {
    try {
        ClearVehicleFilter(data_);
    } catch (const std::exception& error) {
        errors_.ShowError(error, texts_);
        return;
    }
    WorkingSetChanged();
}

void RecordFilterDialog::EraseMarkedClick() {
    try {
        EraseMarkedVehicles(data_);
    } catch (const std::exception& error) {
        errors_.ShowError(error, texts_);
        return;
    }
    WorkingSetChanged();
}

void RecordFilterDialog::UseMarkedClick() {
    try {
        if (!UseMarkedVehicles(data_))
            return;
    } catch (const std::exception& error) {
        errors_.ShowError(error, texts_);
        return;
    }
    WorkingSetChanged();
}

void RecordFilterDialog::UpdateFilterButtons() {
    const FilterButtonStates states = ::UpdateFilterButtons(data_);
    markButton->setEnabled(states.markButton);
    clearMarksButton->setEnabled(states.clearMarksButton);
    eraseMarkedButton->setEnabled(states.eraseMarkedButton);
    useMarkedButton->setEnabled(states.useMarkedButton);
}

void RecordFilterDialog::ShowRunNumbers() {
    startNumberLabel->setText(QString::number(run_.FilterStart));
    stopNumberLabel->setText(QString::number(run_.FilterStop));
}

void RecordFilterDialog::WorkingSetChanged() {
    run_ = WholeWorkingSet(data_);
    ShowRunNumbers();
    markedCountLabel->setText(ToQString(MarkedCounterAfterCommand(data_, texts_)));
    // The intervals are rebuilt from the new working set as 5-minute intervals.
    host_.SetIntervalFactor(1);
    UpdateFilterButtons();
    host_.ShowVehicleList();
}
