#pragma once
// The minimum-length buttons of the settings dialog: each press changes one threshold by 1 m and
// then restores PKW < LKW < LZ by pushing the neighbours; the smallest values are 0, 1 and 2 m.

#include "data/MeasurementData.h"

// A record holds lengths of 0..255 m; an LZ threshold of 256 m counts no vehicle as LZ, and
// nothing beyond that changes a count. The thresholds stay within 0..254, 1..255 and 2..256 so
// that stepping never leaves the range of the numbers involved.
inline constexpr std::int32_t LongestLzMinLength = 256;

// The thresholds moved into the range the buttons can step (values from a settings file).
LengthThresholds SteppableLengths(LengthThresholds t);

void PkwLengthUp(LengthThresholds& t);
void PkwLengthDown(LengthThresholds& t);
void LkwLengthUp(LengthThresholds& t);
void LkwLengthDown(LengthThresholds& t);
void LzLengthUp(LengthThresholds& t);
void LzLengthDown(LengthThresholds& t);

// After a length press: single-vehicle data must be counted into intervals again with the new
// classes; interval data keep their intervals.
void MarkRebuildAfterLengthChange(MeasurementData& data);
