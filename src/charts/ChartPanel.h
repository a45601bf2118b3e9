#pragma once
// The chart view of the main window: the chart tool bar `chartToolBar` above the chart `chartWidget`. The
// tool bar chooses vehicle group, quantity and direction and pages the time views; the buttons are
// enabled as the data allow. Clicking the chart opens the chart options `ChartOptionsDialog`.

#include "charts/ChartState.h"
#include "charts/ChartViews.h"
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
class QMenu;
class QToolBar;
class QToolButton;
class ChartOptionsDialog;

class ChartPanel : public QWidget {
    Q_OBJECT
public:
    ChartPanel(const MeasurementData& data, const Settings& settings, const LanguageTexts& texts,
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
    // The chart on screen and how it looks, for the exports and the printout.
    const ChartDescription& Chart() const;
    const ChartAppearance& Appearance() const;
    // The "V1" and "V3" buttons offer these menus on the right mouse button.
    void OfferPercentileMenus(QMenu* lowerMenu, QMenu* upperMenu);

    // What DrawSelectedChart asks the views for.
    ChartRequest Request() const;
    int ReadVehicleGroup() const;
    int ReadDirectionSelection() const { return selections_.DirectionSelection; }
    ChartScaleState& Scale() { return scale_; }

    // Event handlers, named for what the user did.
    void GroupButtonClick();
    void QuantityButtonClick(int quantity);
    void DirectionButtonClick();
    void StatisticsViewClick();
    void ScrollChart(int step);
    void ChartClick();

    QToolBar* chartToolBar = nullptr;
    QToolButton* allVehiclesButton = nullptr;     // all vehicles, stacked
    QToolButton* sumOfAllButton = nullptr;        // sum of all
    QToolButton* pkwButton = nullptr;             // PKW
    QToolButton* lkwButton = nullptr;             // LKW
    QToolButton* lzButton = nullptr;              // LZ
    QToolButton* lkwAndLzButton = nullptr;        // LKW + LZ
    QToolButton* speedButton = nullptr;           // speed
    QToolButton* gapButton = nullptr;             // gap
    QToolButton* countButton = nullptr;           // count
    QToolButton* lengthButton = nullptr;          // length
    QToolButton* v1Button = nullptr;              // V1
    QToolButton* v2Button = nullptr;              // V2
    QToolButton* v3Button = nullptr;              // V3
    QToolButton* v4Button = nullptr;              // V4
    QToolButton* directionButton = nullptr;       // direction
    QToolButton* AverageDayButton = nullptr;      // the average day of the statistics
    QToolButton* CumulativeSpeedButton = nullptr; // the cumulative speed distribution
    QComboBox* ProfileDaysChoice = nullptr;       // working days or weekend, for the average day
    std::array<QToolButton*, 6> pagingButtons{};  // ToolButton21 .. ToolButton26
    ChartWidget* chartWidget = nullptr;
    ChartOptionsDialog* optionsDialog = nullptr;

signals:
    // A chart was drawn (tests, status).
    void chartDrawn();

private:
    const MeasurementData& data_;
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
