#pragma once
// "Einstellungen": the settings dialog. Its controls show the settings and its handlers change
// them at once; closing the dialog writes the settings file.

#include <QDialog>

#include <functional>

class FileDialogs;
class LanguageTexts;
class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
struct MeasurementData;
struct Settings;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    SettingsDialog(Settings& settings, MeasurementData& data, const LanguageTexts& texts,
                   FileDialogs& dialogs, QWidget* parent = nullptr);

    // What the dialog asks of the main window: the percentile menus' actions, taking up a new way
    // of drawing exceedances and the settings writer (run when the dialog hides).
    std::function<void(int)> LowerPercentileChosen;
    std::function<void(int)> UpperPercentileChosen;
    std::function<void()> AboveLimitStyleChosen;
    std::function<void()> WriteSettings;

    // Event handlers, named for what the user did.
    void OnShow();
    void OnHide();
    void PkwLengthUpClick();
    void PkwLengthDownClick();
    void LkwLengthUpClick();
    void LkwLengthDownClick();
    void LzLengthUpClick();
    void LzLengthDownClick();
    void MedianCalculationClick(int index);
    void LowerPercentileClick(int index);
    void UpperPercentileClick(int index);
    void LimitDisplayClick(int index);
    void ChooseDataPath();
    void ChooseCardPath();
    void DataPathEdited();
    void CardPathEdited();
    void FreeFlowGapEdited();
    void ThresholdsEdited();

    // True while a statistics field holds an entry that was refused; the dialog then stays open.
    bool HasRefusedEntry() const;

    QTabWidget* pages = nullptr;
    QGroupBox* dataPathBox = nullptr; // data path
    QLineEdit* dataPathEdit = nullptr;
    QPushButton* dataPathButton = nullptr;
    QGroupBox* cardPathBox = nullptr; // card path
    QLineEdit* cardPathEdit = nullptr;
    QPushButton* cardPathButton = nullptr;
    QLineEdit* pkwLengthEdit = nullptr;
    QLineEdit* lkwLengthEdit = nullptr;
    QLineEdit* lzLengthEdit = nullptr;
    QToolButton* pkwLengthUpButton = nullptr;
    QToolButton* pkwLengthDownButton = nullptr;
    QToolButton* lkwLengthUpButton = nullptr;
    QToolButton* lkwLengthDownButton = nullptr;
    QToolButton* lzLengthUpButton = nullptr;
    QToolButton* lzLengthDownButton = nullptr;
    QLabel* pkwLabel = nullptr;
    QLabel* lkwLabel = nullptr;
    QLabel* lzLabel = nullptr;
    QGroupBox* lowerPercentileBox = nullptr;
    QGroupBox* medianCalculationBox = nullptr;
    QGroupBox* upperPercentileBox = nullptr;
    QGroupBox* limitDisplayBox = nullptr;
    QButtonGroup* lowerPercentileButtons = nullptr;
    QButtonGroup* medianCalculationButtons = nullptr;
    QButtonGroup* upperPercentileButtons = nullptr;
    QButtonGroup* limitDisplayButtons = nullptr;
    QLabel* freeFlowGapLabel = nullptr;
    QLineEdit* freeFlowGapEdit = nullptr;
    QLabel* thresholdsLabel = nullptr;
    QLineEdit* thresholdsEdit = nullptr;
    QLabel* refusedEntryLabel = nullptr; // why an entry was refused; hidden while all are valid

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* CreatePathPage();
    QWidget* CreateLengthPage();
    QWidget* CreateCalculationPage();
    QWidget* CreateDisplayPage();
    QWidget* CreateStatisticsPage();
    void ShowRefusedEntries();
    void ShowStatisticsPageWithRefusedEntry();
    void ShowLengths();
    void LengthsChanged();
    QString ChooseFolder(const QString& current);

    Settings& settings_;
    MeasurementData& data_;
    const LanguageTexts& texts_;
    FileDialogs& dialogs_;
    bool freeFlowGapRefused_ = false;
    bool thresholdsRefused_ = false;
};
