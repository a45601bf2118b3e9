#include "cards/CardFileDialog.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/DateTime.h"
#include "ui/ClickableLabel.h"
#include "ui/QtText.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {
const QDate DayZero(1899, 12, 30);
} // namespace

CardFileDialog::CardFileDialog(MeasurementData& data, Settings&, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), data_(data), texts_(texts) {
    setObjectName("cardFileDialog");
    setModal(true);

    startCaption = new QLabel(this);
    startCaption->setObjectName("startCaption");
    recordCountLabel = new QLabel(this);
    recordCountLabel->setObjectName("recordCountLabel");
    startTimeLabel = new ClickableLabel(this);
    startTimeLabel->setObjectName("startTimeLabel");
    startDate = new QDateEdit(this);
    startDate->setObjectName("startDate");
    startDate->setCalendarPopup(true);
    startDate->setDisplayFormat("dd.MM.yyyy");
    startTime = new QTimeEdit(this);
    startTime->setObjectName("startTime");
    startTime->setDisplayFormat("HH:mm:ss");
    readButton = new QPushButton(this);
    readButton->setObjectName("readButton");
    readButton->setDefault(true);
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName("cancelButton");
    appendButton = new QPushButton(this);
    appendButton->setObjectName("appendButton");

    auto* start = new QGridLayout;
    start->addWidget(startCaption, 0, 0, 1, 2);
    start->addWidget(startTimeLabel, 1, 0, 1, 2);
    start->addWidget(startDate, 2, 0);
    start->addWidget(startTime, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readButton);
    buttons->addWidget(appendButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(start);
    layout->addWidget(recordCountLabel);
    layout->addLayout(buttons);

    connect(readButton, &QPushButton::clicked, this, &CardFileDialog::ReadClick);
    connect(cancelButton, &QPushButton::clicked, this, &CardFileDialog::CancelClick);
    connect(appendButton, &QPushButton::clicked, this, &CardFileDialog::AppendClick);
    connect(startTimeLabel, &ClickableLabel::clicked, this, &CardFileDialog::StartTimeLabelClick);
    SetTexts();
}

void CardFileDialog::SetTexts() {
    setWindowTitle("cardFileDialog");
    startCaption->setText(TextOr(texts_[Text::StartTime], "Startzeitpunkt:"));
    readButton->setText(TextOr(texts_[Text::ReadCard], "Einlesen"));
    cancelButton->setText(TextOr(texts_[Text::Cancel], "Abbruch"));
    appendButton->setText(TextOr(texts_[Text::Append], "Hinzufügen"));
    startCaption->setAccessibleName(startCaption->text());
    recordCountLabel->setAccessibleName(TextOr(texts_[Text::NumberOfRecords], "Datensätze"));
    startTimeLabel->setAccessibleName(startCaption->text());
    startDate->setAccessibleName(startCaption->text() + " (Datum)");
    startTime->setAccessibleName(startCaption->text() + " (Zeit)");
    for (QPushButton* button : {readButton, cancelButton, appendButton})
        button->setAccessibleName(button->text());
}

int CardFileDialog::Execute(const QString& fileName) {
    if (!Prepare(fileName))
        return QDialog::Rejected;
    return exec();
}

bool CardFileDialog::Prepare(const QString& fileName) {
    fileName_ = fileName;
    try {
        preview_ = PrepareCardFile(fileName.toStdString(), data_);
    } catch (const CoreError& error) {
        errors_.ShowError(ToQString(error.Message(texts_)));
        return false;
    }
    OnShow();
    return true;
}

void CardFileDialog::OnShow() {
    SetTexts();
    appendButton->setVisible(false);
    recordCountLabel->setText(
        ToQString(texts_[Text::NumberOfRecords] + " " + std::to_string(preview_.Count)));
    if (preview_.Kind == CardFileKind::Text) {
        SetStartFields(preview_.FileStart);
        startTimeLabel->setText(ToQString(FormatDateTime("dd/mm/yyyy  hh:mm:ss", preview_.FileStart)));
        ShowStartFields(false);
        appendButton->setVisible(preview_.AppendOffered);
    } else {
        // A binary file holds no date: the user enters the start.
        SetStartFields(static_cast<double>(DayZero.daysTo(QDate::currentDate())));
        ShowStartFields(true);
    }
}

void CardFileDialog::SetStartFields(double t) {
    const DateTimeParts p = DecodeDateTime(t);
    startDate->setDate(QDate(p.Year, p.Month, p.Day));
    startTime->setTime(QTime(p.Hour, p.Minute, p.Second));
}

void CardFileDialog::ShowStartFields(bool editable) {
    startDate->setVisible(editable);
    startTime->setVisible(editable);
    startTimeLabel->setVisible(!editable);
}

double CardFileDialog::ChosenStart() const {
    const QTime time = startTime->time();
    return static_cast<double>(DayZero.daysTo(startDate->date())) +
           TryEncodeTime(time.hour(), time.minute(), time.second()).value_or(0.0);
}

bool CardFileDialog::Run(const std::function<void()>& read) {
    try {
        read();
    } catch (const CoreError& error) {
        errors_.ShowError(ToQString(error.Message(texts_)));
        return false;
    }
    accept();
    return true;
}

void CardFileDialog::ReadClick() {
    const double start = ChosenStart();
    Run([&] { ReadCardFile(data_, fileName_.toStdString(), preview_, start); });
}

void CardFileDialog::AppendClick() {
    Run([&] { AppendCardFile(data_, fileName_.toStdString(), preview_); });
}

void CardFileDialog::CancelClick() {
    reject();
}

void CardFileDialog::StartTimeLabelClick() {
    ShowStartFields(true);
}
