#pragma once
// "MM_SD_Card": the modal dialog that reads a card text or binary file from an MM/SD card. It
// shows the file's record count and start, lets the user change the start, and reads the file
// replacing the measurement ("Einlesen") or, right after it, appending to it ("Hinzufügen").

#include "cards/CardFileReader.h"
#include "ui/ErrorDisplay.h"

#include <QDialog>
#include <QString>

#include <functional>

class ClickableLabel;
class LanguageTexts;
class QDateEdit;
class QLabel;
class QPushButton;
class QTimeEdit;
struct Settings;

class CardFileDialog : public QDialog {
    Q_OBJECT
public:
    CardFileDialog(MeasurementData& data, Settings& settings, const LanguageTexts& texts,
                   QWidget* parent = nullptr);

    // Prepares the dialog for the chosen file and shows it modally. A file that cannot be read,
    // is of no card kind or holds nothing is reported and gives Rejected without showing.
    int Execute(const QString& fileName);
    // The preparation alone (false after reporting a failure).
    bool Prepare(const QString& fileName);

    // Event handlers, named for what the user did.
    void OnShow();
    void ReadClick();           // "Einlesen"
    void CancelClick();         // "Abbruch"
    void AppendClick();         // "Hinzufügen"
    void StartTimeLabelClick(); // the start-time text: show the date and time fields

    // Date field plus time field.
    double ChosenStart() const;

    QLabel* startCaption = nullptr;           // date/time caption
    QLabel* recordCountLabel = nullptr;       // record count
    ClickableLabel* startTimeLabel = nullptr; // start time
    QDateEdit* startDate = nullptr;
    QTimeEdit* startTime = nullptr;
    QPushButton* readButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* appendButton = nullptr;

    // The dialogs the program shows its messages with (real message boxes until then).
    void UseDialogs(FileDialogs& dialogs) { errors_.UseDialogs(dialogs); }

private:
    void SetTexts();
    void SetStartFields(double t);
    void ShowStartFields(bool editable);
    bool Run(const std::function<void()>& read);

    MeasurementData& data_;
    const LanguageTexts& texts_;
    ErrorDisplay errors_{this};
    QString fileName_;
    CardFilePreview preview_;
};
