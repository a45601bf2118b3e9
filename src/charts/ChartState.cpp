#include "charts/ChartState.h"

#include <algorithm>

int CountScaleStep(int index) {
    return CountScaleSteps[static_cast<std::size_t>(std::clamp(index, 1, CountScaleStepCount) - 1)];
}

int SpeedScaleStep(int index) {
    return SpeedScaleSteps[static_cast<std::size_t>(std::clamp(index, 1, SpeedScaleStepCount) - 1)];
}

void SetAutomaticScaling(ChartScaleState& state) {
    state.AutoCountScale = true;
    state.AutoSpeedScale = true;
}

void StepCountScale(ChartScaleState& state, int delta) {
    state.CountScaleIndex = std::clamp(state.CountScaleIndex + delta, 1, CountScaleStepCount);
}

void StepSpeedScale(ChartScaleState& state, int delta) {
    state.SpeedScaleIndex = std::clamp(state.SpeedScaleIndex + delta, 1, SpeedScaleStepCount);
}
