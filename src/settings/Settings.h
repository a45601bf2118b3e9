#pragma once
// The persistent preferences, held by the main window (or the CLI run) for the whole run.

#include "data/MeasurementData.h"

#include <cstdint>
#include <string>
#include <vector>

struct Settings {
    std::string LanguageFile = "deutsch.cty";
    bool LanguageSwitchShown = false;
    LengthThresholds Lengths;         // PkwMinLength, LkwMinLength, LzMinLength
    std::int32_t AboveLimitStyle = 0; // 0 line, 1 area
    bool PeloEnabled = false;
    std::int32_t CalcV50 = 0;    // 0 50 % value, 1 mean
    std::int32_t VLowIndex = 2;  // 0..4: V05..V25
    std::int32_t VHighIndex = 2; // 0..4: V75..V95
    std::string DataPath;        // with a trailing separator once LoadConfig has filled it in
    std::string CardPath;
    double FreeFlowGapSeconds = 5;    // statistics: a vehicle this long after its predecessor drives freely
    std::vector<int> SpeedThresholds; // statistics: empty means limit, limit + 10, limit + 20
};

// 5 when exceedances are drawn as areas, else 0.
inline std::int32_t LimitColourShiftOf(const Settings& s) {
    return s.AboveLimitStyle != 0 ? 5 : 0;
}
// The percentages that the two indexes select.
inline int LowerPercentileOf(std::int32_t vLowIndex) {
    return 5 + 5 * vLowIndex;
}
inline int UpperPercentileOf(std::int32_t vHighIndex) {
    return 75 + 5 * vHighIndex;
}
