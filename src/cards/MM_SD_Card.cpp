#include "cards/MM_SD_Card.h"

#include "data/CoreError.h"
#include "data/DateTime.h"
#include "evaluation/ClickableLabel.h"
#include "lang/LanguageTexts.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {
const QDate DayZero(1899, 12, 30);

QString TextOr(const std::string& text, const char* builtIn) {
    return QString::fromStdString(text.empty() ? std::string(builtIn) : text);
}
} // namespace

TMM_SD_Card::TMM_SD_Card(MeasurementData& data, Settings&, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), data_(data), texts_(texts) {
    setObjectName("MM_SD_Card");
    setModal(true);
    ReportError = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    DLabel = new ClickableLabel(this);
    DLabel->setObjectName("DLabel");
    DateTimePicker1 = new QDateEdit(this);
    DateTimePicker1->setObjectName("DateTimePicker1");
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat("dd.MM.yyyy");
    DateTimePicker2 = new QTimeEdit(this);
    DateTimePicker2->setObjectName("DateTimePicker2");
    DateTimePicker2->setDisplayFormat("HH:mm:ss");
    Button1 = new QPushButton(this);
    Button1->setObjectName("Button1");
    Button1->setDefault(true);
    Button2 = new QPushButton(this);
    Button2->setObjectName("Button2");
    Button3 = new QPushButton(this);
    Button3->setObjectName("Button3");

    auto* start = new QGridLayout;
    start->addWidget(Label1, 0, 0, 1, 2);
    start->addWidget(DLabel, 1, 0, 1, 2);
    start->addWidget(DateTimePicker1, 2, 0);
    start->addWidget(DateTimePicker2, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(start);
    layout->addWidget(Label2);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TMM_SD_Card::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TMM_SD_Card::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TMM_SD_Card::Button3Click);
    connect(DLabel, &ClickableLabel::clicked, this, &TMM_SD_Card::DLabelClick);
    SetTexts();
}

void TMM_SD_Card::SetTexts() {
    setWindowTitle("MM_SD_Card");
    Label1->setText(TextOr(texts_[270], "Startzeitpunkt:"));
    Button1->setText(TextOr(texts_[2], "Einlesen"));
    Button2->setText(TextOr(texts_[4], "Abbruch"));
    Button3->setText(TextOr(texts_[5], "Hinzufügen"));
    Label1->setAccessibleName(Label1->text());
    Label2->setAccessibleName(TextOr(texts_[271], "Datensätze"));
    DLabel->setAccessibleName(Label1->text());
    DateTimePicker1->setAccessibleName(Label1->text() + " (Datum)");
    DateTimePicker2->setAccessibleName(Label1->text() + " (Zeit)");
    for (QPushButton* button : {Button1, Button2, Button3})
        button->setAccessibleName(button->text());
}

int TMM_SD_Card::Execute(const QString& fileName) {
    if (!Prepare(fileName))
        return QDialog::Rejected;
    return exec();
}

bool TMM_SD_Card::Prepare(const QString& fileName) {
    fileName_ = fileName;
    try {
        preview_ = PrepareCardFile(fileName.toStdString(), data_);
    } catch (const CoreError& error) {
        ReportError(QString::fromStdString(error.Message(texts_)));
        return false;
    }
    FormShow();
    return true;
}

void TMM_SD_Card::FormShow() {
    SetTexts();
    Button3->setVisible(false);
    Label2->setText(QString::fromStdString(texts_[271] + " " + std::to_string(preview_.Count)));
    if (preview_.Kind == CardFileKind::Text) {
        SetStartFields(preview_.FileStart);
        DLabel->setText(QString::fromStdString(FormatDateTime("dd/mm/yyyy  hh:mm:ss", preview_.FileStart)));
        ShowStartFields(false);
        Button3->setVisible(preview_.AppendOffered);
    } else {
        // A binary file holds no date: the user enters the start.
        SetStartFields(static_cast<double>(DayZero.daysTo(QDate::currentDate())));
        ShowStartFields(true);
    }
}

void TMM_SD_Card::SetStartFields(double t) {
    const DateTimeParts p = DecodeDateTime(t);
    DateTimePicker1->setDate(QDate(p.Year, p.Month, p.Day));
    DateTimePicker2->setTime(QTime(p.Hour, p.Minute, p.Second));
}

void TMM_SD_Card::ShowStartFields(bool editable) {
    DateTimePicker1->setVisible(editable);
    DateTimePicker2->setVisible(editable);
    DLabel->setVisible(!editable);
}

double TMM_SD_Card::ChosenStart() const {
    const QTime time = DateTimePicker2->time();
    return static_cast<double>(DayZero.daysTo(DateTimePicker1->date())) +
           TryEncodeTime(time.hour(), time.minute(), time.second()).value_or(0.0);
}

bool TMM_SD_Card::Run(const std::function<void()>& read) {
    try {
        read();
    } catch (const CoreError& error) {
        ReportError(QString::fromStdString(error.Message(texts_)));
        return false;
    }
    accept();
    return true;
}

void TMM_SD_Card::Button1Click() {
    const double start = ChosenStart();
    Run([&] { ReadCardFile(data_, fileName_.toStdString(), preview_, start); });
}

void TMM_SD_Card::Button3Click() {
    Run([&] { AppendCardFile(data_, fileName_.toStdString(), preview_); });
}

void TMM_SD_Card::Button2Click() {
    reject();
}

void TMM_SD_Card::DLabelClick() {
    ShowStartFields(true);
}
