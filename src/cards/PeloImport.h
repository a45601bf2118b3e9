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

// Speed classes f..l that a "VC" block with the parameters a and b (km/h) spreads over.
struct SpeedClassRange {
    int First = 1;
    int Last = 1;
};
SpeedClassRange VcClassRange(int a, int b);

// Adds v to the PKW speed classes of the range of direction 1: equal shares, the remainder to
// the last classes (10 over three classes gives 3, 3, 4).
void SpreadOverSpeedClasses(IntervalRecord& record, SpeedClassRange range, std::int32_t v);

// The block codes that are read, and what the others are.
enum class PeloCode { QT, VT, QL, PercentL, VC, LC, Other };

// One processed block: where its values go and the values of intervals 1, 2, ...
struct PeloBlock {
    PeloCode Code = PeloCode::Other;
    SpeedClassRange Classes; // "VC"
    int CodeIndex = 0;       // "LC": k, the block's number among the "LC" blocks
    std::vector<std::int32_t> Values;
};

// A parsed file, kept compact (the values, not interval records) until it is committed.
struct PeloImport {
    double Start = 0;      // start of interval 1, from the first processed block
    int IntervalCount = 0; // the most values of any processed block
    std::vector<PeloBlock> Blocks;
    std::vector<std::int32_t> Codes; // the category code of each "LC" block, in order
};

// Stores a value of the block in an interval of direction 1.
void StoreBlockValue(IntervalRecord& record, const PeloBlock& block, std::int32_t v);

// Throws CoreError (with the line number) for parameters that are not hexadecimal, a start that
// is no date, more values than MaxIntervals or more than 20 "LC" blocks.
PeloImport ParsePeloFile(std::string_view text);

// Replaces the measurement by the imported intervals (DataMode Imported, working copy made):
// every interval is cleared and dated, then the blocks store their values in file order, so
// "QT", "VT", "QL" and "%L" overwrite their slot and "VC" and "LC" add to theirs.
void CommitPeloImport(MeasurementData& data, const PeloImport& import);

// Reads, parses and commits the file.
void ImportPeloFile(MeasurementData& data, const std::string& path);
