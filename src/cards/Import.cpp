#include "cards/Import.h"

#include "cards/CardCommon.h"
#include "data/DateTime.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {
constexpr int ValueStep = 4; // 3 value columns and one separator

enum class BlockCode { QT, VT, QL, PercentL, VC, LC, Other };

BlockCode CodeOf(std::string_view header) {
    const std::string_view code = header.size() >= 59 ? header.substr(57, 2) : std::string_view{};
    if (code == "QT")
        return BlockCode::QT;
    if (code == "VT")
        return BlockCode::VT;
    if (code == "QL")
        return BlockCode::QL;
    if (code == "%L")
        return BlockCode::PercentL;
    if (code == "VC")
        return BlockCode::VC;
    if (code == "LC")
        return BlockCode::LC;
    return BlockCode::Other;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The two hexadecimal digits at column (1-based) of a header line.
int HexParameter(std::string_view header, int column, int lineNumber) {
    const auto at = static_cast<std::size_t>(column - 1);
    const int high = at + 1 < header.size() ? HexDigit(header[at]) : -1;
    const int low = at + 1 < header.size() ? HexDigit(header[at + 1]) : -1;
    if (high < 0 || low < 0)
        throw CardError(CardText::PeloBadParameter, std::to_string(lineNumber));
    return high * 16 + low;
}

int RightTrimmedLength(std::string_view line) {
    std::size_t n = line.size();
    while (n > 0 && (line[n - 1] == ' ' || line[n - 1] == '\t'))
        --n;
    return static_cast<int>(n);
}

double StartOf(std::string_view header, int lineNumber) {
    const auto start = TryEncodeDateTime(2000 + DecimalField(header, 28, 29), DecimalField(header, 33, 34),
                                         DecimalField(header, 38, 39), DecimalField(header, 43, 44),
                                         DecimalField(header, 48, 49), 0);
    if (!start)
        throw CardError(CardText::PeloBadStart, std::to_string(lineNumber));
    return *start;
}

// Where a processed block puts its values.
struct BlockTarget {
    BlockCode Code = BlockCode::Other;
    SpeedClassRange Classes;
    int CodeIndex = 0; // k of an "LC" block
};

void Store(IntervalRecord& record, const BlockTarget& target, std::int32_t v) {
    switch (target.Code) {
    case BlockCode::QT:
        record.Slots[Slot::Total].Dir1 = v;
        break;
    case BlockCode::VT:
        record.Slots[Slot::MeanSpeed].Dir1 = v;
        break;
    case BlockCode::QL:
        record.Slots[Slot::HeavyTotal].Dir1 = v;
        break;
    case BlockCode::PercentL:
        record.Slots[Slot::HeavyShareFlag].Dir1 = v;
        break;
    case BlockCode::VC:
        SpreadOverSpeedClasses(record, target.Classes, v);
        break;
    case BlockCode::LC:
        record.Slots[Slot::GapClasses + target.CodeIndex].Dir1 += v;
        break;
    case BlockCode::Other:
        break;
    }
}
} // namespace

SpeedClassRange VcClassRange(int a, int b) {
    const auto limit = [](int k) { return std::clamp(k, 1, SpeedClassCount); };
    return SpeedClassRange{limit((a + 5) / 5 - 2), limit((b + 4) / 5 - 2)};
}

void SpreadOverSpeedClasses(IntervalRecord& record, SpeedClassRange range, std::int32_t v) {
    for (int i = range.First; i <= range.Last; ++i) {
        const std::int32_t share = v / (range.Last - i + 1);
        record.PkwSpeedClasses(i).Dir1 += share;
        v -= share;
    }
}

PeloImport ParsePeloFile(std::string_view text) {
    PeloImport import;
    const auto lines = SplitLines(text);
    if (lines.empty())
        return import;
    int blocks = DecimalField(lines[0], 76, 80);
    std::optional<double> start;
    std::size_t header = 0;
    while (blocks > 0 && header < lines.size()) {
        const std::string_view headerLine = lines[header];
        const int headerNumber = static_cast<int>(header) + 1;
        const int dataLines = std::max(0, DecimalField(headerLine, 71, 74));
        std::size_t next = header + 1;

        BlockTarget target;
        target.Code = CodeOf(headerLine);
        if (target.Code == BlockCode::Other) {
            next += static_cast<std::size_t>(dataLines); // a block of another code: its data are not ours
        } else {
            if (!start)
                start = StartOf(headerLine, headerNumber);
            if (target.Code == BlockCode::VC)
                target.Classes = VcClassRange(HexParameter(headerLine, 1, headerNumber),
                                              HexParameter(headerLine, 3, headerNumber));
            if (target.Code == BlockCode::LC) {
                if (static_cast<int>(import.Codes.size()) >= MaxImportCodes)
                    throw CardError(CardText::PeloTooManyLcBlocks, std::to_string(headerNumber));
                import.Codes.push_back(HexParameter(headerLine, 3, headerNumber));
                target.CodeIndex = static_cast<int>(import.Codes.size());
            }

            int n = 1;
            for (int used = 0; used < dataLines && next < lines.size(); ++used, ++next) {
                const std::string_view line = lines[next];
                if (IsBlankLine(line))
                    continue;
                // Trailing blanks only: a line may begin with a blank field and still hold values.
                const int length = RightTrimmedLength(line);
                for (int p = 1;; p += ValueStep) {
                    if (n > MaxIntervals)
                        throw CardError(CardText::PeloTooManyValues, std::to_string(next + 1));
                    if (n > static_cast<int>(import.Intervals.size())) {
                        // The first block to reach an interval clears it and gives it its start.
                        IntervalRecord record{};
                        record.StartTime = IncMinute(*start, 5LL * (n - 1));
                        import.Intervals.push_back(record);
                    }
                    Store(import.Intervals[static_cast<std::size_t>(n - 1)], target,
                          DecimalField(line, p, p + 2));
                    ++n;
                    if (length < p + ValueStep)
                        break;
                }
            }
        }
        --blocks;
        header = next;
    }
    return import;
}

void CommitPeloImport(MeasurementData& data, const PeloImport& import) {
    const int count = static_cast<int>(import.Intervals.size());
    data.Intervals.EnsureSize(count);
    if (count > 0)
        std::memcpy(static_cast<void*>(data.Intervals.data()), import.Intervals.data(),
                    import.Intervals.size() * sizeof(IntervalRecord));
    data.IntervalCount = count;
    std::fill(std::begin(data.ImportCodes), std::end(data.ImportCodes), 0);
    for (std::size_t k = 0; k < import.Codes.size(); ++k)
        data.ImportCodes[k + 1] = import.Codes[k];
    data.ImportCodeCount = static_cast<std::int32_t>(import.Codes.size());
    // Nothing of a previous vehicle measurement belongs to the imported one.
    data.LoadedCount = count;
    data.WorkVehicleCount = 0;
    data.MarkedCount = 0;
    data.IntervalRebuildPending = 0;
    data.IntervalListTop = 1;
    data.ChartOffset = 0;
    data.DataMode = DataMode::Imported;
    CopyIntervalsToWork(data);
}

void ImportPeloFile(MeasurementData& data, const std::string& path) {
    const std::string text = ReadFileBytes(path);
    CommitPeloImport(data, ParsePeloFile(text));
}
