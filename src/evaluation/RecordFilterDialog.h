#pragma once
// "Datenfilter": the non-modal record filter dialog. It reads its controls, calls the filter
// functions of Filter.h and shows their results; the main window (a ListHost) shows the list.

#include "evaluation/RecordFilter.h"

#include "evaluation/ListToolDialog.h"

class ClickableLabel;
class LanguageTexts;
class ListHost;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class RecordFilterDialog : public ListToolDialog {
    Q_OBJECT
public:
    RecordFilterDialog(MeasurementData& data, const LanguageTexts& texts, ListHost& host,
                       QWidget* parent = nullptr);

    // Event handlers, named for what the user did.
    void OnShow() override;
    void OnActivate() override;
    void OnHide() override;
    void StartLabelClick();
    void StopLabelClick();
    void MarkClick();
    void ClearMarksClick();
    void EraseMarkedClick();
    void UseMarkedClick();
    void UpdateFilterButtons();
    // A mark was set or cleared in the list while the dialog is open: counter and buttons follow.
    void MarkedCountChanged();
    // Takes the texts of the language now loaded.
    void ApplyTexts();

    FilterRun Run() const { return run_; }

    QLabel* speedLabel = nullptr;
    QComboBox* speedComparison = nullptr;
    QLineEdit* speedValue = nullptr;
    QLabel* lengthLabel = nullptr;
    QComboBox* lengthComparison = nullptr;
    QLineEdit* lengthValue = nullptr;
    QLabel* directionLabel = nullptr;
    QComboBox* directionChoice = nullptr;
    QLabel* markedCountLabel = nullptr;
    QPushButton* markButton = nullptr;
    QPushButton* clearMarksButton = nullptr;
    QPushButton* eraseMarkedButton = nullptr;
    QPushButton* useMarkedButton = nullptr;

private:
    void SetTexts();
    void ShowRunNumbers();
    // What the commands that change the working set do afterwards.
    void WorkingSetChanged();

    MeasurementData& data_;
    const LanguageTexts& texts_;
    ListHost& host_;
    FilterRun run_;
};
