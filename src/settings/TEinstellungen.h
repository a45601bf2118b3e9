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

class TEinstellungen : public QDialog {
    Q_OBJECT
public:
    TEinstellungen(Settings& settings, MeasurementData& data, const LanguageTexts& texts,
                   FileDialogs& dialogs, QWidget* parent = nullptr);

    // What the dialog asks of the main window: the percentile menus' actions and the settings
    // writer (run when the dialog hides).
    std::function<void(int)> LowerPercentileChosen;
    std::function<void(int)> UpperPercentileChosen;
    std::function<void()> WriteSettings;

    // Event handlers, named after the form's controls and events.
    void FormShow();
    void FormHide();
    void P_up_downUpClick();
    void P_up_downDownClick();
    void L_up_downUpClick();
    void L_up_downDownClick();
    void LZ_up_downUpClick();
    void LZ_up_downDownClick();
    void V50_BerechnungClick(int index);
    void VGroupLowClick(int index);
    void VGroupHighClick(int index);
    void Darstellung_LimitClick(int index);
    void Daten_PfadClick();
    void Card_PfadClick();
    void Edit1Change();
    void Edit2Change();

    QTabWidget* PageControl1 = nullptr;
    QGroupBox* GroupBox1 = nullptr; // data path
    QLineEdit* Edit1 = nullptr;
    QPushButton* Daten_Pfad = nullptr;
    QGroupBox* GroupBox2 = nullptr; // card path
    QLineEdit* Edit2 = nullptr;
    QPushButton* Card_Pfad = nullptr;
    QLineEdit* PKW_Laenge = nullptr;
    QLineEdit* LKW_Laenge = nullptr;
    QLineEdit* LZ_Laenge = nullptr;
    QToolButton* P_up_downUp = nullptr;
    QToolButton* P_up_downDown = nullptr;
    QToolButton* L_up_downUp = nullptr;
    QToolButton* L_up_downDown = nullptr;
    QToolButton* LZ_up_downUp = nullptr;
    QToolButton* LZ_up_downDown = nullptr;
    QLabel* Label_PKW = nullptr;
    QLabel* Label_LKW = nullptr;
    QLabel* Label_LZ = nullptr;
    QGroupBox* VGroupLow = nullptr;
    QGroupBox* V50_Berechnung = nullptr;
    QGroupBox* VGroupHigh = nullptr;
    QGroupBox* Darstellung_Limit = nullptr;
    QButtonGroup* VGroupLowButtons = nullptr;
    QButtonGroup* V50Buttons = nullptr;
    QButtonGroup* VGroupHighButtons = nullptr;
    QButtonGroup* LimitButtons = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* CreatePathPage();
    QWidget* CreateLengthPage();
    QWidget* CreateCalculationPage();
    QWidget* CreateDisplayPage();
    void ShowLengths();
    void LengthsChanged();
    QString ChooseFolder(const QString& current);

    Settings& settings_;
    MeasurementData& data_;
    const LanguageTexts& texts_;
    FileDialogs& dialogs_;
};
