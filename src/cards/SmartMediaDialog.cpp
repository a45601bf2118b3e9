#include "cards/SmartMediaDialog.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "cards/CardCommon.h"
#include "cards/QtCardSerialPort.h"
#include "ui/QtText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int PollInterval = 500; // ms
} // namespace

SmartMediaDialog::SmartMediaDialog(MeasurementData& data, Settings&, const LanguageTexts& texts,
                                   QWidget* parent)
    : QDialog(parent), data_(data), texts_(texts), port_(std::make_unique<QtCardSerialPort>()) {
    setObjectName("smartMediaDialog");
    setModal(true);

    portLabel = new QLabel(this);
    portLabel->setObjectName("portLabel");
    portChoice = new QComboBox(this);
    portChoice->setObjectName("portChoice");
    portChoice->setMinimumContentsLength(14);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName("statusLabel");
    startLineLabel = new QLabel(this);
    startLineLabel->setObjectName("startLineLabel");
    for (QLabel* line : {statusLabel, startLineLabel})
        line->setMinimumWidth(fontMetrics().horizontalAdvance(QString(40, QChar('x'))));
    progressBar = new QProgressBar(this);
    progressBar->setObjectName("progressBar");
    progressBar->setRange(0, 1);
    progressBar->setValue(0);
    readButton = new QPushButton(this);
    readButton->setObjectName("readButton");
    readButton->setEnabled(false);
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName("cancelButton");
    cancelButton->setEnabled(false);
    pollTimer = new QTimer(this);
    pollTimer->setObjectName("pollTimer");
    pollTimer->setSingleShot(true); // started again at the end of each poll
    pollTimer->setInterval(PollInterval);

    auto* port = new QHBoxLayout;
    port->addWidget(portLabel);
    port->addWidget(portChoice, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(readButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(port);
    layout->addWidget(statusLabel);
    layout->addWidget(startLineLabel);
    layout->addWidget(progressBar);
    layout->addLayout(buttons);

    connect(portChoice, &QComboBox::activated, this, [this] { PortChosen(); });
    connect(pollTimer, &QTimer::timeout, this, &SmartMediaDialog::PollTimerElapsed);
    connect(readButton, &QPushButton::clicked, this, &SmartMediaDialog::ReadClick);
    connect(cancelButton, &QPushButton::clicked, this, &SmartMediaDialog::CancelClick);
}

SmartMediaDialog::~SmartMediaDialog() = default;

void SmartMediaDialog::UsePort(std::unique_ptr<CardSerialPort> port, QStringList portNames) {
    port_ = std::move(port);
    portNames_ = std::move(portNames);
}

double SmartMediaDialog::Today() const {
    return today_.value_or(static_cast<double>(QDate(1899, 12, 30).daysTo(QDate::currentDate())));
}

void SmartMediaDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        OnShow();
}

void SmartMediaDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        OnHide();
}

// While reading, closing the window aborts the read first; the dialog closes when it has ended.
void SmartMediaDialog::reject() {
    if (reading_) {
        CancelClick();
        return;
    }
    QDialog::reject();
}

bool SmartMediaDialog::OpenPort(const QString& name, bool raiseLines) {
    if (!port_->Open(name.toStdString()))
        return false;
    if (raiseLines)
        RaiseControlLines(*port_);
    return true;
}

void SmartMediaDialog::OnShow() {
    setWindowTitle(TextOr(texts_[Text::ReadSmartMediaCard], "SM-Card einlesen"));
    portLabel->setText(TextOr(texts_[Text::PortUsed], "Benutzte Schnittstelle:"));
    readButton->setText(TextOr(texts_[Text::ReadCard], "Einlesen"));
    cancelButton->setText(TextOr(texts_[Text::Cancel], "Abbruch"));
    portLabel->setAccessibleName(portLabel->text());
    portChoice->setAccessibleName(portLabel->text());
    statusLabel->setAccessibleName("Status");
    startLineLabel->setAccessibleName("Start");
    progressBar->setAccessibleName(readButton->text());
    readButton->setAccessibleName(readButton->text());
    cancelButton->setAccessibleName(cancelButton->text());
    statusLabel->clear();
    startLineLabel->clear();
    progressBar->setValue(0);
    readButton->setEnabled(false);
    cancelButton->setEnabled(false);

    portChoice->clear();
    portChoice->addItems(portNames_.value_or(SerialPortNames()));
    portChoice->setEnabled(portChoice->count() > 0);
    if (portChoice->count() == 0) {
        statusLabel->setText(ToQString(CoreError(ProgramMessage::NoSerialPort).Message(texts_)));
        return;
    }
    portChoice->setCurrentIndex(0);
    if (!OpenPort(portChoice->currentText(), true)) {
        errors_.ShowError(ToQString(texts_[Text::PortCannotBeOpened]) + " " + portChoice->currentText());
        return; // no poll until a port is chosen
    }
    pollTimer->start();
}

void SmartMediaDialog::PortChosen() {
    pollTimer->stop();
    if (port_->IsOpen())
        LowerControlLines(*port_);
    port_->Close();
    const QString chosen = portChoice->currentText();
    if (!OpenPort(chosen, true)) {
        errors_.ShowError(ToQString(texts_[Text::PortCannotBeOpened]) + " " + chosen);
        port_->Close();
        if (portChoice->count() > 0)
            OpenPort(portChoice->itemText(0), false);
    }
    port_->Pause(SmartMedia::PollPageWait);
    if (port_->IsOpen())
        pollTimer->start();
}

void SmartMediaDialog::PollTimerElapsed() {
    pollTimer->stop();
    const SmartMediaPoll poll = PollReader(*port_, Today(), texts_);
    statusLabel->setText(ToQString(poll.StatusLine));
    startLineLabel->setText(ToQString(poll.StartLine));
    switch (poll.Status) {
    case SmartMediaPoll::State::NoReply:
    case SmartMediaPoll::State::ReaderError:
    case SmartMediaPoll::State::NoData:
        readButton->setEnabled(false);
        break;
    case SmartMediaPoll::State::NoTimeMarker:
        break; // "Einlesen" keeps its state
    case SmartMediaPoll::State::Ready:
        announcedEntries_ = poll.EntryCount;
        readButton->setEnabled(true);
        break;
    }
    if (isVisible() && !reading_)
        pollTimer->start();
}

void SmartMediaDialog::ReadClick() {
    pollTimer->stop();
    portChoice->setEnabled(false);
    readButton->setEnabled(false);
    cancelButton->setEnabled(true);
    aborted_ = false;
    reading_ = true;
    progressBar->setRange(0, std::max(1, announcedEntries_));
    progressBar->setValue(0);

    SmartMediaReadResult result;
    try {
        result = ReadSmartMediaCard(
            *port_, Today(), texts_,
            [this](const SmartMediaProgress& p) {
                startLineLabel->setText(ToQString(p.RemainingLine));
                progressBar->setValue(
                    std::clamp(progressBar->maximum() - p.Remaining, 0, progressBar->maximum()));
                QCoreApplication::processEvents(); // lets "Abbruch" through
                return aborted_;
            },
            [this](const SmartMediaProgress& p) { statusLabel->setText(ToQString(p.FailedLine)); });
    } catch (const CoreError& error) {
        // Nothing was read: the measurement stays and polling goes on.
        reading_ = false;
        statusLabel->setText(ToQString(error.Message(texts_)));
        cancelButton->setEnabled(false);
        portChoice->setEnabled(true);
        pollTimer->start();
        return;
    }

    reading_ = false;
    SmartMediaReadDone = true;
    CommitSmartMediaRead(data_, result);
    progressBar->setValue(progressBar->maximum());
    errors_.ShowInformation(ToQString(SmartMediaCompletionText(result, texts_)));
    cancelButton->setEnabled(false);
    portChoice->setEnabled(true);
    accept();
}

void SmartMediaDialog::CancelClick() {
    aborted_ = true;
}

void SmartMediaDialog::OnHide() {
    readButton->setEnabled(false);
    pollTimer->stop();
    port_->Close();
}
