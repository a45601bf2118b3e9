#include "settings/LengthThresholdSteps.h"

#include <algorithm>

LengthThresholds SteppableLengths(LengthThresholds t) {
    t.PkwMinLength = std::clamp(t.PkwMinLength, 0, LongestLzMinLength - 2);
    t.LkwMinLength = std::clamp(t.LkwMinLength, 1, LongestLzMinLength - 1);
    t.LzMinLength = std::clamp(t.LzMinLength, 2, LongestLzMinLength);
    return t;
}

void PkwLengthUp(LengthThresholds& t) {
    if (t.PkwMinLength >= LongestLzMinLength - 2)
        return;
    ++t.PkwMinLength;
    if (t.PkwMinLength >= t.LkwMinLength)
        t.LkwMinLength = t.PkwMinLength + 1;
    if (t.LkwMinLength >= t.LzMinLength)
        t.LzMinLength = t.LkwMinLength + 1;
}

void PkwLengthDown(LengthThresholds& t) {
    --t.PkwMinLength;
    if (t.PkwMinLength <= 0)
        t.PkwMinLength = 0;
}

void LkwLengthUp(LengthThresholds& t) {
    if (t.LkwMinLength >= LongestLzMinLength - 1)
        return;
    ++t.LkwMinLength;
    if (t.LkwMinLength >= t.LzMinLength)
        t.LzMinLength = t.LkwMinLength + 1;
}

void LkwLengthDown(LengthThresholds& t) {
    --t.LkwMinLength;
    if (t.PkwMinLength >= t.LkwMinLength)
        t.PkwMinLength = t.LkwMinLength - 1;
    if (t.PkwMinLength < 0) {
        t.PkwMinLength = 0;
        t.LkwMinLength = 1;
    }
}

void LzLengthUp(LengthThresholds& t) {
    if (t.LzMinLength >= LongestLzMinLength)
        return;
    ++t.LzMinLength;
}

void LzLengthDown(LengthThresholds& t) {
    --t.LzMinLength;
    if (t.LkwMinLength >= t.LzMinLength)
        t.LkwMinLength = t.LzMinLength - 1;
    if (t.PkwMinLength >= t.LkwMinLength)
        t.PkwMinLength = t.LkwMinLength - 1;
    if (t.PkwMinLength < 0) {
        t.PkwMinLength = 0;
        t.LkwMinLength = 1;
        t.LzMinLength = 2;
    }
}

void MarkRebuildAfterLengthChange(MeasurementData& data) {
    if (data.DataMode == DataMode::SingleVehicle)
        data.IntervalRebuildPending = 1;
}
