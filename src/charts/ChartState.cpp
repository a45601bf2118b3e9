#include "charts/ChartState.h"

#include <algorithm>
#include <cmath>

double CountScaleStep(int index) {
    index = std::clamp(index, 1, MaxCountScaleIndex);
    if (index <= CountScaleStepCount)
        return CountScaleSteps[static_cast<std::size_t>(index - 1)];
    constexpr double rhythm[] = {2.0, 2.5, 2.0}; // 100000 -> 200000 -> 500000 -> 1000000
    double step = CountScaleSteps.back();
    for (int i = 0; i < index - CountScaleStepCount; ++i)
        step *= rhythm[i % 3];
    return step;
}

double SpeedScaleStep(int index) {
    index = std::clamp(index, 1, MaxSpeedScaleIndex);
    if (index <= SpeedScaleStepCount)
        return SpeedScaleSteps[static_cast<std::size_t>(index - 1)];
    return 100.0 * (index - SpeedScaleStepCount + 2); // 300, 400, ...
}

int CountScaleIndexFor(double largest) {
    int k = 1;
    while (k < MaxCountScaleIndex && CountScaleStep(k) < largest)
        ++k;
    return k;
}

int SpeedScaleIndexFor(double largest) {
    int k = 1;
    while (k < SpeedScaleStepCount && SpeedScaleStep(k) < largest)
        ++k;
    if (k < SpeedScaleStepCount || !(largest > SpeedScaleSteps.back()))
        return k;
    // Whole hundreds above the table, counted rather than stepped through.
    const double hundreds = std::min(std::ceil(largest / 100.0), static_cast<double>(MaxSpeedScaleIndex));
    return std::clamp(static_cast<int>(hundreds) + SpeedScaleStepCount - 2, SpeedScaleStepCount + 1,
                      MaxSpeedScaleIndex);
}

void SetAutomaticScaling(ChartScaleState& state) {
    state.AutoCountScale = true;
    state.AutoSpeedScale = true;
}

void StepCountScale(ChartScaleState& state, int delta) {
    const int top = std::max(state.CountScaleTopIndex, state.CountScaleIndex);
    state.CountScaleIndex = std::clamp(state.CountScaleIndex + delta, 1, std::min(top, MaxCountScaleIndex));
}

void StepSpeedScale(ChartScaleState& state, int delta) {
    const int top = std::max(state.SpeedScaleTopIndex, state.SpeedScaleIndex);
    state.SpeedScaleIndex = std::clamp(state.SpeedScaleIndex + delta, 1, std::min(top, MaxSpeedScaleIndex));
}
