#pragma once
// Pieces that the card readers and the foreign-file import share: the
// tolerant decimal fields of device and foreign text files, whole-file reading and the common
// ending of a card read.

#include "base/CoreError.h"
#include "base/TextFiles.h"
#include "data/MeasurementData.h"

#include <string>
#include <string_view>
#include <vector>

// A decimal field as the device's files are read: leading blanks skipped, an optional sign, then
// the digits up to the first other character; nothing numeric gives 0. Columns are 1-based and
// inclusive; columns beyond the end of the line are empty.
int DecimalField(std::string_view line, int firstColumn, int lastColumn);

// The whole file, or CoreError FileUnreadable.
std::string ReadWholeFile(const std::string& path);

// True when the line holds nothing but blanks (or nothing).
bool IsBlankLine(std::string_view line);

// The common ending of a card read once Vehicles[1..LoadedCount] hold the new vehicles: the
// working set becomes a copy of them, intervals are rebuilt from them when next shown, and the
// measurement is single-vehicle data. Intervals of the previous measurement
// are no longer valid and are not counted.
void CompleteCardRead(MeasurementData& data);
