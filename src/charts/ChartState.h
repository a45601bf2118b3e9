#pragma once
// The Y scaling state that the chart views and the chart options dialog share for the program run:
// the "auto" choices and the step in use, separately for count charts and speed charts.

#include <array>

// The left axis always runs from 0 to one of these steps (1-based indexes in the program).
inline constexpr std::array<int, 14> CountScaleSteps{5,    10,   20,   50,    100,   200,   500,
                                                     1000, 2000, 5000, 10000, 20000, 50000, 100000};
inline constexpr std::array<int, 8> SpeedScaleSteps{40, 60, 80, 100, 120, 150, 200, 250};
inline constexpr int CountScaleStepCount = static_cast<int>(CountScaleSteps.size());
inline constexpr int SpeedScaleStepCount = static_cast<int>(SpeedScaleSteps.size());

// Data above the last step grows the axis through further steps in the same rhythm: 200000,
// 500000, 1000000 ... vehicles and 300, 400, 500 ... km/h. The highest indexes hold every count and
// speed that 32-bit records can carry.
inline constexpr int MaxCountScaleIndex = CountScaleStepCount + 3 * 13; // 10^18 vehicles
inline constexpr int MaxSpeedScaleIndex = 21474850;                     // above 2^31 km/h

struct ChartScaleState {
    bool AutoCountScale = true; // `countAutoScale` checked
    bool AutoSpeedScale = true; // `speedAutoScale` checked
    int CountScaleIndex = 0;    // 1.. once a count chart was drawn; 0 before
    int SpeedScaleIndex = 0;    // 1.. once a speed chart was drawn; 0 before
    // The highest step the manual step buttons offer: the table's last step, or the grown step
    // that the last drawn chart needed.
    int CountScaleTopIndex = CountScaleStepCount;
    int SpeedScaleTopIndex = SpeedScaleStepCount;
    int ChartAxisKind = 1; // of the chart on display: 1 counts, 2 speeds
};

// The step of a 1-based index, grown steps included; the index is clamped to 1..Max (index 0 reads
// as the first step).
double CountScaleStep(int index);
double SpeedScaleStep(int index);

// The smallest index whose step holds the value.
int CountScaleIndexFor(double largest);
int SpeedScaleIndexFor(double largest);

// Entering the chart mode: both scales automatic again.
void SetAutomaticScaling(ChartScaleState& state);

// The manual step buttons of the chart options dialog: index + delta, from the first step up to
// the top index (or the index in use, when that lies higher).
void StepCountScale(ChartScaleState& state, int delta);
void StepSpeedScale(ChartScaleState& state, int delta);
