#include "cards/PeloImport.h"

#include "cards/CardCommon.h"
#include "data/DateTime.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {
constexpr int ValueStep = 4; // 3 value columns and one separator

PeloCode CodeOf(std::string_view header) {
    const std::string_view code = header.size() >= 59 ? header.substr(57, 2) : std::string_view{};
    if (code == "QT")
        return PeloCode::QT;
    if (code == "VT")
        return PeloCode::VT;
    if (code == "QL")
        return PeloCode::QL;
    if (code == "%L")
        return PeloCode::PercentL;
    if (code == "VC")
        return PeloCode::VC;
    if (code == "LC")
        return PeloCode::LC;
    return PeloCode::Other;
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
        throw CoreError(ProgramMessage::PeloBadParameter, std::to_string(lineNumber));
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
        throw CoreError(ProgramMessage::PeloBadStart, std::to_string(lineNumber));
    return *start;
}

} // namespace

SpeedClassRange VcClassRange(int a, int b) {
    const auto limit = [](int k) { return std::clamp(k, 1, SpeedClassCount); };
    return SpeedClassRange{limit((a + 5) / 5 - 2), limit((b + 4) / 5 - 2)};
}

void StoreBlockValue(IntervalRecord& record, const PeloBlock& block, std::int32_t v) {
    switch (block.Code) {
    case PeloCode::QT:
        record.Slots[Slot::Total].Dir1 = v;
        break;
    case PeloCode::VT:
        record.Slots[Slot::MeanSpeed].Dir1 = v;
        break;
    case PeloCode::QL:
        record.Slots[Slot::HeavyTotal].Dir1 = v;
        break;
    case PeloCode::PercentL:
        record.Slots[Slot::HeavyShareFlag].Dir1 = v;
        break;
    case PeloCode::VC:
        SpreadOverSpeedClasses(record, block.Classes, v);
        break;
    case PeloCode::LC:
        record.Slots[Slot::GapClasses + block.CodeIndex].Dir1 += v;
        break;
    case PeloCode::Other:
        break;
    }
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

        PeloBlock block;
        block.Code = CodeOf(headerLine);
        if (block.Code == PeloCode::Other) {
            next += static_cast<std::size_t>(dataLines); // a block of another code: its data are not ours
        } else {
            if (!start)
                start = StartOf(headerLine, headerNumber);
            if (block.Code == PeloCode::VC)
                block.Classes = VcClassRange(HexParameter(headerLine, 1, headerNumber),
                                             HexParameter(headerLine, 3, headerNumber));
            if (block.Code == PeloCode::LC) {
                if (static_cast<int>(import.Codes.size()) >= MaxImportCodes)
                    throw CoreError(ProgramMessage::PeloTooManyLcBlocks, std::to_string(headerNumber));
                import.Codes.push_back(HexParameter(headerLine, 3, headerNumber));
                block.CodeIndex = static_cast<int>(import.Codes.size());
            }

            for (int used = 0; used < dataLines && next < lines.size(); ++used, ++next) {
                const std::string_view line = lines[next];
                if (IsBlankLine(line))
                    continue;
                // Trailing blanks only: a line may begin with a blank field and still hold values.
                const int length = RightTrimmedLength(line);
                for (int p = 1;; p += ValueStep) {
                    if (static_cast<int>(block.Values.size()) >= MaxIntervals)
                        throw CoreError(ProgramMessage::PeloTooManyValues, std::to_string(next + 1));
                    block.Values.push_back(DecimalField(line, p, p + 2));
                    if (length < p + ValueStep)
                        break;
                }
            }
            import.IntervalCount = std::max(import.IntervalCount, static_cast<int>(block.Values.size()));
            import.Blocks.push_back(std::move(block));
        }
        --blocks;
        header = next;
    }
    import.Start = start.value_or(0.0);
    return import;
}

void CommitPeloImport(MeasurementData& data, const PeloImport& import) {
    const int count = import.IntervalCount;
    data.Intervals.EnsureSize(count);
    // Every interval is reached by some block, which clears it and gives it its start first.
    for (int n = 1; n <= count; ++n) {
        IntervalRecord& record = data.Intervals[n];
        std::memset(static_cast<void*>(record.Slots), 0, sizeof record.Slots); // Spare stays 0
        record.StartTime = IncMinute(import.Start, 5LL * (n - 1));
    }
    for (const PeloBlock& block : import.Blocks)
        for (std::size_t i = 0; i < block.Values.size(); ++i)
            StoreBlockValue(data.Intervals[static_cast<int>(i) + 1], block, block.Values[i]);
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
    data.DataMode = DataMode::Imported;
    CopyIntervalsToWork(data);
}

void ImportPeloFile(MeasurementData& data, const std::string& path) {
    const std::string text = ReadWholeFile(path);
    CommitPeloImport(data, ParsePeloFile(text));
}
