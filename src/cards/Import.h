#pragma once
// Import of Pelo files: foreign 5-minute counts in text blocks. Each block is a header line
// (block code, number of data lines, and in the first processed block the start of the
// measurement) followed by data lines of 3-column values, one per interval. Each block code
// fills one quantity of direction 1. The file is parsed completely before the measurement is
// replaced, so a faulty file leaves the measurement as it was.

#include "data/MeasurementData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct PeloImport {
    std::vector<IntervalRecord> Intervals; // interval n at index n - 1
    std::vector<std::int32_t> Codes;       // the category code of each "LC" block, in order
};

// Speed classes f..l that a "VC" block with the parameters a and b (km/h) spreads over.
struct SpeedClassRange {
    int First = 1;
    int Last = 1;
};
SpeedClassRange VcClassRange(int a, int b);

// Adds v to the PKW speed classes of the range of direction 1: equal shares, the remainder to
// the last classes (10 over three classes gives 3, 3, 4).
void SpreadOverSpeedClasses(IntervalRecord& record, SpeedClassRange range, std::int32_t v);

// Throws CoreError (with the line number) for parameters that are not hexadecimal, a start that
// is no date, more values than MaxIntervals or more than 20 "LC" blocks.
PeloImport ParsePeloFile(std::string_view text);

// Replaces the measurement by the imported intervals (DataMode Imported, working copy made).
void CommitPeloImport(MeasurementData& data, const PeloImport& import);

// Reads, parses and commits the file.
void ImportPeloFile(MeasurementData& data, const std::string& path);
