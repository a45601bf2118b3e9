#include "cards/SM_Card.h"

#include "cards/CardCommon.h"
#include "cards/QtCardSerialPort.h"
#include "data/CoreError.h"
#include "lang/LanguageTexts.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int PollInterval = 500; // ms

QString TextOr(const std::string& text, const char* builtIn) {
    return QString::fromStdString(text.empty() ? std::string(builtIn) : text);
}
} // namespace

TSM_Card::TSM_Card(MeasurementData& data, Settings&, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), data_(data), texts_(texts), port_(std::make_unique<QtCardSerialPort>()) {
    setObjectName("SM_Card");
    setModal(true);
    ReportError = [this](const QString& message) { QMessageBox::warning(this, windowTitle(), message); };
    ReportInformation = [this](const QString& message) {
        QMessageBox::information(this, windowTitle(), message);
    };

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setMinimumContentsLength(14);
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    Label3 = new QLabel(this);
    Label3->setObjectName("Label3");
    for (QLabel* line : {Label2, Label3})
        line->setMinimumWidth(fontMetrics().horizontalAdvance(QString(40, QChar('x'))));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    Button1 = new QPushButton(this);
    Button1->setObjectName("Button1");
    Button1->setEnabled(false);
    Button2 = new QPushButton(this);
    Button2->setObjectName("Button2");
    Button2->setEnabled(false);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true); // started again at the end of each poll
    Timer1->setInterval(PollInterval);

    auto* port = new QHBoxLayout;
    port->addWidget(Label1);
    port->addWidget(ComboBox1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(port);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);

    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(Timer1, &QTimer::timeout, this, &TSM_Card::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TSM_Card::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSM_Card::Button2Click);
}

TSM_Card::~TSM_Card() = default;

void TSM_Card::UsePort(std::unique_ptr<CardSerialPort> port, QStringList portNames) {
    port_ = std::move(port);
    portNames_ = std::move(portNames);
}

double TSM_Card::Today() const {
    return today_.value_or(static_cast<double>(QDate(1899, 12, 30).daysTo(QDate::currentDate())));
}

void TSM_Card::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSM_Card::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

// While reading, closing the window aborts the read first; the dialog closes when it has ended.
void TSM_Card::reject() {
    if (reading_) {
        Button2Click();
        return;
    }
    QDialog::reject();
}

bool TSM_Card::OpenPort(const QString& name, bool raiseLines) {
    if (!port_->Open(name.toStdString()))
        return false;
    if (raiseLines)
        RaiseControlLines(*port_);
    return true;
}

void TSM_Card::FormShow() {
    setWindowTitle(TextOr(texts_[240], "SM-Card einlesen"));
    Label1->setText(TextOr(texts_[241], "Benutzte Schnittstelle:"));
    Button1->setText(TextOr(texts_[2], "Einlesen"));
    Button2->setText(TextOr(texts_[4], "Abbruch"));
    Label1->setAccessibleName(Label1->text());
    ComboBox1->setAccessibleName(Label1->text());
    Label2->setAccessibleName("Status");
    Label3->setAccessibleName("Start");
    ProgressBar1->setAccessibleName(Button1->text());
    Button1->setAccessibleName(Button1->text());
    Button2->setAccessibleName(Button2->text());
    Label2->clear();
    Label3->clear();
    ProgressBar1->setValue(0);
    Button1->setEnabled(false);
    Button2->setEnabled(false);

    ComboBox1->clear();
    ComboBox1->addItems(portNames_.value_or(SerialPortNames()));
    ComboBox1->setEnabled(ComboBox1->count() > 0);
    if (ComboBox1->count() == 0) {
        Label2->setText(QString::fromStdString(CardError(CardText::NoSerialPort).Message(texts_)));
        return;
    }
    ComboBox1->setCurrentIndex(0);
    if (!OpenPort(ComboBox1->currentText(), true)) {
        ReportError(QString::fromStdString(texts_[248]) + " " + ComboBox1->currentText());
        return; // no poll until a port is chosen
    }
    Timer1->start();
}

void TSM_Card::ComboBox1Change() {
    Timer1->stop();
    if (port_->IsOpen())
        LowerControlLines(*port_);
    port_->Close();
    const QString chosen = ComboBox1->currentText();
    if (!OpenPort(chosen, true)) {
        ReportError(QString::fromStdString(texts_[248]) + " " + chosen);
        port_->Close();
        if (ComboBox1->count() > 0)
            OpenPort(ComboBox1->itemText(0), false);
    }
    port_->Pause(SmartMedia::PollPageWait);
    if (port_->IsOpen())
        Timer1->start();
}

void TSM_Card::Timer1Timer() {
    Timer1->stop();
    const SmartMediaPoll poll = PollReader(*port_, Today(), texts_);
    Label2->setText(QString::fromStdString(poll.StatusLine));
    Label3->setText(QString::fromStdString(poll.StartLine));
    switch (poll.Status) {
    case SmartMediaPoll::State::NoReply:
    case SmartMediaPoll::State::ReaderError:
    case SmartMediaPoll::State::NoData:
        Button1->setEnabled(false);
        break;
    case SmartMediaPoll::State::NoTimeMarker:
        break; // "Einlesen" keeps its state
    case SmartMediaPoll::State::Ready:
        announcedEntries_ = poll.EntryCount;
        Button1->setEnabled(true);
        break;
    }
    if (isVisible() && !reading_)
        Timer1->start();
}

void TSM_Card::Button1Click() {
    Timer1->stop();
    ComboBox1->setEnabled(false);
    Button1->setEnabled(false);
    Button2->setEnabled(true);
    aborted_ = false;
    reading_ = true;
    ProgressBar1->setRange(0, std::max(1, announcedEntries_));
    ProgressBar1->setValue(0);

    SmartMediaReadResult result;
    try {
        result = ReadSmartMediaCard(
            *port_, Today(), texts_,
            [this](const SmartMediaProgress& p) {
                Label3->setText(QString::fromStdString(p.RemainingLine));
                ProgressBar1->setValue(
                    std::clamp(ProgressBar1->maximum() - p.Remaining, 0, ProgressBar1->maximum()));
                QCoreApplication::processEvents(); // lets "Abbruch" through
                return aborted_;
            },
            [this](const SmartMediaProgress& p) { Label2->setText(QString::fromStdString(p.FailedLine)); });
    } catch (const CoreError& error) {
        // Nothing was read: the measurement stays and polling goes on.
        reading_ = false;
        Label2->setText(QString::fromStdString(error.Message(texts_)));
        Button2->setEnabled(false);
        ComboBox1->setEnabled(true);
        Timer1->start();
        return;
    }

    reading_ = false;
    SmartMediaReadDone = true;
    CommitSmartMediaRead(data_, result);
    ProgressBar1->setValue(ProgressBar1->maximum());
    ReportInformation(QString::fromStdString(SmartMediaCompletionText(result, texts_)));
    Button2->setEnabled(false);
    ComboBox1->setEnabled(true);
    accept();
}

void TSM_Card::Button2Click() {
    aborted_ = true;
}

void TSM_Card::FormHide() {
    Button1->setEnabled(false);
    Timer1->stop();
    port_->Close();
}
