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

struct ChartScaleState {
    bool AutoCountScale = true; // `Sk_auto_Anzahl` checked
    bool AutoSpeedScale = true; // `Sk_auto_Tempo` checked
    int CountScaleIndex = 0;    // 1..14 once a count chart was drawn; 0 before
    int SpeedScaleIndex = 0;    // 1..8 once a speed chart was drawn; 0 before
    int ChartAxisKind = 1;      // of the chart on display: 1 counts, 2 speeds
};

// The step of a 1-based index, the index clamped to its table (index 0 reads as the first step).
int CountScaleStep(int index);
int SpeedScaleStep(int index);

// Entering the chart mode: both scales automatic again.
void SetAutomaticScaling(ChartScaleState& state);

// The manual step buttons of the chart options dialog: index + delta, kept inside the table.
void StepCountScale(ChartScaleState& state, int delta);
void StepSpeedScale(ChartScaleState& state, int delta);
