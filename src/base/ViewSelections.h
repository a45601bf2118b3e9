#pragma once
// The choices of the tool bars, menus and settings that decide how a measurement is shown:
// evaluations, charts and summaries read them beside the measurement, which holds only data.

#include <cstdint>

struct ViewSelections {
    int IntervalFactor = 1;      // 1, 3, 6, 12 five-minute records per displayed interval
    int LowerPercentile = 15;    // 5..25
    int UpperPercentile = 85;    // 75..95
    int DirectionSelection = 3;  // 3 both, 1, 2
    int SummaryKind = 1;         // 1 overview, 2 speed table, 3 day profile, 4 key figures
    int SpeedLimitIndex = 5;     // the speed limit in tens of km/h, 1..10
    bool LimitDisplayOn = false; // charts and summaries show the speed limit
    // 5 when the part of a bar above the limit gets its own colour (exceedances drawn as areas), else 0.
    std::int32_t LimitColourShift = 0;
    // Intervals before the first one in the window of the chart's time views; a new measurement,
    // interval length or range starts at 0.
    int ChartOffset = 0;
};
