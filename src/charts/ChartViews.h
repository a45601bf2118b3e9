#pragma once
// The chart views: from the working intervals and the chart tool bar's state to a filled
// ChartDescription. Distribution views (speed, gap, length over the whole working data) and time
// views (one bar per interval in a window of 24 intervals that the paging buttons move).

#include "base/ViewSelections.h"
#include "charts/ChartDescription.h"
#include "charts/ChartState.h"
#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class LanguageTexts;

// Quantity index of the pressed quantity button of the chart tool bar.
namespace ChartQuantity {
inline constexpr int V4 = 1; // maximum speed
inline constexpr int V3 = 2; // upper percentile
inline constexpr int V2 = 3; // 50 % value or mean speed
inline constexpr int V1 = 4; // lower percentile
inline constexpr int Length = 5;
inline constexpr int Count = 6; // also what no pressed button means
inline constexpr int Gap = 7;
inline constexpr int Speed = 8;
} // namespace ChartQuantity

// Vehicle group of the pressed group button: 0 all vehicles stacked by class, 1 PKW, 2 LKW,
// 3 LZ, 4 LKW + LZ, 5 all vehicles as one sum.
inline constexpr int StackedGroup = 0;
inline constexpr int SumGroup = 5;

inline constexpr int ChartWindowSize = 24; // intervals in the window of the time views

// Everything DrawSelectedChart needs of the tool bars and the settings.
struct ChartRequest {
    int Quantity = ChartQuantity::Count;
    int VehicleGroup = SumGroup;
    int DirectionSelection = 3;     // 3 both, 1, 2
    int LowerPercentile = 15;       // "V1"
    int UpperPercentile = 85;       // "V3"
    int CalcV50 = 0;                // 1: "V2" shows the mean speed, 0: the 50 % value
    bool SingleVehicleData = false; // "V4" shows the measured maximum instead of the estimated one
};

// What every view reads; the scale state is updated by the automatic scaling. The views read the
// speed limit, its display, its colours and the window's offset from the view selections.
struct ChartViewContext {
    const MeasurementData& Data;
    const ViewSelections& View;
    const LanguageTexts& Texts;
    const LocaleFormat& Locale;
    ChartScaleState& Scale;
};

// Redraws the chart for the request: picks the view as the quantity buttons select it.
// Reads `SpeedLimitIndex`, `LimitDisplayOn`, `LimitColourShift` and `ChartOffset` from the view.
ChartDescription DrawSelectedChart(const ChartRequest& request, ChartScaleState& scale,
                                   const MeasurementData& data, const ViewSelections& view,
                                   const LanguageTexts& texts,
                                   const LocaleFormat& locale = SystemLocaleFormat());

// --- colours, directions, scaling -------------------------------------------------------------

// `GroupColour`[index], index 1..10 (6..10: the part above the speed limit).
Rgb GroupColour(int index);
// 1, 2, or 3 (both); anything else reads as 1, as the direction button does.
int NormalizedDirection(int directionSelection);
// "==>", "<==", "<=>".
std::string DirectionSymbol(int directionSelection);
// The next direction of the direction button: both -> 1 -> 2 -> both.
int NextDirectionSelection(int directionSelection);

// The left axis maximum for the largest value to show. In automatic mode the index becomes the
// smallest step that holds the value, grown steps beyond the table included (200000, 500000,
// 1000000 ...; 300, 400, 500 ... km/h), so no bar is cut; in manual mode it stays. Either way the
// manual step buttons then reach up to the step the value needs.
double ScaleCountAxis(ChartScaleState& state, double largest);
double ScaleSpeedAxis(ChartScaleState& state, double largest);

// The speed-limit line on the right axis: visible in speed views while the display is on.
// Limit is the limit in km/h, or nullopt when it lies above the left axis maximum (no line).
void Y2_set(ChartDescription& chart, const ViewSelections& view, const LanguageTexts& texts);

// The two foot lines of the views over the whole working data: the comment, then the time span
// and the direction.
std::vector<std::string> DistributionFootLines(const ChartViewContext& context, int direction);

// --- tables -----------------------------------------------------------------------------------

// Sums over the whole working data, indexed [class][group 1..5][direction 1..3].
struct SpeedClassTotals {
    std::int64_t Count[SpeedClassCount + 1][6][4] = {};
    std::int64_t At(int c, int g, int d) const { return Count[c][g][d]; }
};
// Indexed [class 0..30][direction 1..3].
struct GapClassTotals {
    std::int64_t Count[GapClassCount][4] = {};
    std::int64_t At(int i, int d) const { return Count[i][d]; }
};

SpeedClassTotals BuildSpeedClassTotals(const MeasurementData& data);
GapClassTotals BuildGapClassTotals(const MeasurementData& data);

// One window position: `WorkIntervals`[chartOffset + r]. Positions outside the working data
// hold zeros and InData = false.
struct IntervalWindowRow {
    bool InData = false;
    double StartTime = 0;
    std::int64_t Count[SpeedClassCount + 1][6][4] = {}; // [0 count, 1..29 speed class][group][dir]
    std::int64_t Vmax[6][4] = {};
    std::int64_t Mean10[6][4] = {}; // ten times the mean speed, rounded
};
struct IntervalWindowTable {
    std::vector<IntervalWindowRow> Rows = std::vector<IntervalWindowRow>(ChartWindowSize); // row r at [r - 1]
    const IntervalWindowRow& Row(int r) const { return Rows[static_cast<std::size_t>(r - 1)]; }
};

IntervalWindowTable BuildIntervalWindowTable(const MeasurementData& data, int chartOffset);

// --- views ------------------------------------------------------------------------------------

ChartDescription SpeedDistributionView(const ChartViewContext& context, int group, int direction);
ChartDescription GapDistributionView(const ChartViewContext& context, int direction);
ChartDescription LengthDistributionView(const ChartViewContext& context, int direction);

ChartDescription CountTimeView(const ChartViewContext& context, int group, int direction);
ChartDescription MeanSpeedTimeView(const ChartViewContext& context, int group, int direction);
ChartDescription PercentileTimeView(const ChartViewContext& context, int group, int direction,
                                    float fraction);
ChartDescription EstimatedVmaxTimeView(const ChartViewContext& context, int group, int direction);
ChartDescription MeasuredVmaxTimeView(const ChartViewContext& context, int group, int direction);

// The speed at a fraction of the row's classified vehicles (those in speed classes 1..29),
// interpolated inside its class, to one decimal; 0 without classified vehicles.
double PercentileSpeed(const IntervalWindowRow& row, int group, int direction, float fraction);
// The single-precision fraction of a percentage (0.05f, 0.15f, 0.5f, 0.85f ...).
float PercentileFraction(int percent);

// --- paging of the time views -----------------------------------------------------------------

// Steps of the paging buttons `ToolButton21`..`ToolButton26`.
inline constexpr std::array<int, 6> PagingSteps{-24, -6, -1, 1, 6, 24};

// Enabled state of `ToolButton21`..`ToolButton26`: a step is offered only when the whole window
// stays inside the working data.
struct PagingButtonStates {
    std::array<bool, 6> Enabled{};
};
PagingButtonStates UpdatePagingButtons(int chartOffset, int workIntervalCount);

// The window's offset after a move by step intervals, kept inside the data; the caller updates
// the paging buttons and redraws.
int ScrolledChartOffset(int chartOffset, int workIntervalCount, int step);
