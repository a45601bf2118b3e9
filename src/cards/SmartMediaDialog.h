#pragma once
// "SM-Card einlesen": the modal dialog of the SmartMedia card reader. It polls the reader twice
// a second, shows whether a card with data is present and when its measurement started, and
// reads the card page by page into the measurement, with progress and "Abbruch".

#include "cards/CardSerialPort.h"
#include "cards/SmartMediaReader.h"
#include "ui/ErrorDisplay.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class LanguageTexts;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
struct Settings;

class SmartMediaDialog : public QDialog {
    Q_OBJECT
public:
    SmartMediaDialog(MeasurementData& data, Settings& settings, const LanguageTexts& texts,
                     QWidget* parent = nullptr);
    ~SmartMediaDialog() override;

    // Replaces the serial port and the list of ports (tests use a simulated reader).
    void UsePort(std::unique_ptr<CardSerialPort> port, QStringList portNames);
    // The date the card's year rules count from; the system date unless set.
    void SetToday(std::optional<double> today) { today_ = today; }

    // Set to true when a read has finished; the main window clears it before showing the dialog.
    bool SmartMediaReadDone = false;

    // Event handlers, named for what the user did.
    void OnShow();
    void PortChosen();
    void PollTimerElapsed();
    void ReadClick();   // "Einlesen"
    void CancelClick(); // "Abbruch"
    void OnHide();

    QLabel* portLabel = nullptr; // port caption
    QComboBox* portChoice = nullptr;
    QLabel* statusLabel = nullptr;    // status line
    QLabel* startLineLabel = nullptr; // start line
    QProgressBar* progressBar = nullptr;
    QPushButton* readButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QTimer* pollTimer = nullptr;

    // The dialogs the program shows its messages with (real message boxes until then).
    void UseDialogs(FileDialogs& dialogs) { errors_.UseDialogs(dialogs); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

private:
    bool OpenPort(const QString& name, bool raiseLines);
    double Today() const;

    MeasurementData& data_;
    const LanguageTexts& texts_;
    ErrorDisplay errors_{this};
    std::unique_ptr<CardSerialPort> port_;
    std::optional<QStringList> portNames_; // set by UsePort
    std::optional<double> today_;
    int announcedEntries_ = 0;
    bool reading_ = false;
    bool aborted_ = false;
};
