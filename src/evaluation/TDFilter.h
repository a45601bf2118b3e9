#pragma once
// "Datenfilter": the non-modal record filter dialog. It reads its controls, calls the filter
// functions of Filter.h and shows their results; the main window (a ListHost) shows the list.

#include "evaluation/Filter.h"

#include "evaluation/ListToolDialog.h"

class ClickableLabel;
class LanguageTexts;
class ListHost;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TDFilter : public ListToolDialog {
    Q_OBJECT
public:
    TDFilter(MeasurementData& data, const LanguageTexts& texts, ListHost& host, QWidget* parent = nullptr);

    // Event handlers, named after the form's controls and events.
    void FormShow() override;
    void FormActivate() override;
    void FormHide() override;
    void Label_StartClick();
    void Label_StopClick();
    void MarkierenClick();
    void LoeschenClick();
    void Dat_Mark_EraseClick();
    void Dat_Mark_UseClick();
    void UpdateFilterButtons();
    // A mark was set or cleared in the list while the dialog is open: counter and buttons follow.
    void MarkedCountChanged();
    // Takes the texts of the language now loaded.
    void ApplyTexts();

    FilterRun Run() const { return run_; }

    QLabel* Label_Gesch = nullptr;
    QComboBox* Bed_Gesch = nullptr;
    QLineEdit* Wert_Gesch = nullptr;
    QLabel* Label_Laenge = nullptr;
    QComboBox* Bed_Laenge = nullptr;
    QLineEdit* Wert_Laenge = nullptr;
    QLabel* Label_Richt = nullptr;
    QComboBox* Bed_Richt = nullptr;
    QLabel* Label_Anzahl = nullptr;
    QPushButton* Markieren = nullptr;
    QPushButton* Loeschen = nullptr;
    QPushButton* Dat_Mark_Erase = nullptr;
    QPushButton* Dat_Mark_Use = nullptr;

private:
    void SetTexts();
    void ShowRunNumbers();
    // What the commands that change the working set do afterwards.
    void WorkingSetChanged();
    void ShowError(const std::exception& error);

    MeasurementData& data_;
    const LanguageTexts& texts_;
    ListHost& host_;
    FilterRun run_;
};
