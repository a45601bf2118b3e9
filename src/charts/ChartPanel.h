#pragma once
// The chart view of the main window: the chart tool bar `GrafikBar` above the chart `Diag`. The
// tool bar chooses vehicle group, quantity and direction and pages the time views; the buttons are
// enabled as the data allow. Clicking the chart opens the chart options `TGrafik_Opt`.

#include "charts/ChartState.h"
#include "charts/Grafik.h"
#include "data/MeasurementData.h"
#include "settings/Settings.h"

#include <QWidget>

#include <array>
#include <string>

class ChartWidget;
class LanguageTexts;
class QAction;
class QButtonGroup;
class QComboBox;
class QToolBar;
class QToolButton;
class TGrafik_Opt;

class ChartPanel : public QWidget {
    Q_OBJECT
public:
    ChartPanel(MeasurementData& data, const Settings& settings, const LanguageTexts& texts,
               ViewSelections& selections, QWidget* parent = nullptr);

    // Entering the chart view: window at the start, automatic scaling, the quantity buttons for
    // the data, "Anzahl" pressed with its group buttons, drawn.
    void EnterChartView();
    // `DrawSelectedChart`: the chart for the tool bar's state.
    void DrawSelectedChart();
    // Hints (and the length button's visibility) from the texts and settings.
    void ApplyTexts();
    // The percentile choices of the "V1" and "V3" buttons: pictures and hints.
    void SetPercentiles(int lowerPercentile, int upperPercentile, const QString& lowerHint,
                        const QString& upperHint);
    // "alles speichern" in the chart view: the chart as a picture at its size on screen. Throws
    // CoreError (490 unknown type, 491 not written).
    void SavePicture(const std::string& fileName) const;

    // What DrawSelectedChart asks the views for.
    ChartRequest Request() const;
    int ReadVehicleGroup() const;
    int ReadDirectionSelection() const { return selections_.DirectionSelection; }
    ChartScaleState& Scale() { return scale_; }

    // Event handlers, named after their controls.
    void GroupButtonClick();
    void QuantityButtonClick(int quantity);
    void ToolButton60Click();
    void StatisticsViewClick();
    void ScrollChart(int step);
    void DiagClick();

    QToolBar* GrafikBar = nullptr;
    QToolButton* ToolButton39 = nullptr;          // all vehicles, stacked
    QToolButton* ToolButton45 = nullptr;          // sum of all
    QToolButton* ToolButton46 = nullptr;          // PKW
    QToolButton* ToolButton47 = nullptr;          // LKW
    QToolButton* ToolButton48 = nullptr;          // LZ
    QToolButton* ToolButton49 = nullptr;          // LKW + LZ
    QToolButton* ToolButton51 = nullptr;          // speed
    QToolButton* ToolButton52 = nullptr;          // gap
    QToolButton* ToolButton57 = nullptr;          // count
    QToolButton* ToolButton58 = nullptr;          // length
    QToolButton* ToolButton53 = nullptr;          // V1
    QToolButton* ToolButton54 = nullptr;          // V2
    QToolButton* ToolButton55 = nullptr;          // V3
    QToolButton* ToolButton56 = nullptr;          // V4
    QToolButton* ToolButton60 = nullptr;          // direction
    QToolButton* AverageDayButton = nullptr;      // the average day of the statistics
    QToolButton* CumulativeSpeedButton = nullptr; // the cumulative speed distribution
    QComboBox* ProfileDaysChoice = nullptr;       // working days or weekend, for the average day
    std::array<QToolButton*, 6> PagingButtons{};  // ToolButton21 .. ToolButton26
    ChartWidget* Diag = nullptr;
    TGrafik_Opt* Grafik_Opt = nullptr;

signals:
    // A chart was drawn (tests, status).
    void chartDrawn();

private:
    MeasurementData& data_;
    const Settings& settings_;
    const LanguageTexts& texts_;
    ViewSelections& selections_;
    ChartScaleState scale_;
    QButtonGroup* groupButtons_ = nullptr;
    QButtonGroup* quantityButtons_ = nullptr;
    QAction* lengthAction_ = nullptr;
    std::array<QAction*, 6> pagingActions_{};
    QAction* profileDaysAction_ = nullptr;
    bool DrawStatisticsView();

    void CreateToolBar();
    QToolButton* QuantityButton(int quantity) const;
    std::array<QToolButton*, 6> GroupButtonsInTableOrder() const;
    void EnableQuantityButtons();
    void EnableGroupButtons(int quantity);
    void ShowPagingButtons(bool visible);
    void UpdatePagingButtons();
    void UpdateDirectionButton();
    void ShowError(const std::exception& error);
};
