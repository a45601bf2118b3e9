#pragma once
// The minimum-length buttons of the settings dialog: each press changes one threshold by 1 m and
// then restores PKW < LKW < LZ by pushing the neighbours; the smallest values are 0, 1 and 2 m.

#include "data/MeasurementData.h"

void PkwLengthUp(LengthThresholds& t);
void PkwLengthDown(LengthThresholds& t);
void LkwLengthUp(LengthThresholds& t);
void LkwLengthDown(LengthThresholds& t);
void LzLengthUp(LengthThresholds& t);
void LzLengthDown(LengthThresholds& t);

// After a length press: single-vehicle data must be counted into intervals again with the new
// classes; interval data keep their intervals.
void MarkRebuildAfterLengthChange(MeasurementData& data);
