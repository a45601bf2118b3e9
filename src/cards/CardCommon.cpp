#include "cards/CardCommon.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

int DecimalField(std::string_view line, int firstColumn, int lastColumn) {
    if (firstColumn < 1 || lastColumn < firstColumn || static_cast<std::size_t>(firstColumn) > line.size())
        return 0;
    const auto first = static_cast<std::size_t>(firstColumn - 1);
    const std::string_view field = line.substr(first, static_cast<std::size_t>(lastColumn - firstColumn + 1));
    std::size_t i = 0;
    while (i < field.size() && IsBlank(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        negative = field[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = value * 10 + (field[i] - '0');
    // Fields are at most a few columns wide, so the value always fits.
    return static_cast<int>(negative ? -value : value);
}

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        throw CoreError(ProgramMessage::FileUnreadable, path);
    return bytes;
}

bool IsBlankLine(std::string_view line) {
    for (const char c : line)
        if (!IsBlank(c))
            return false;
    return true;
}

void CompleteCardRead(MeasurementData& data) {
    data.IntervalRebuildPending = 1;
    data.IntervalCount = 0;
    data.WorkIntervalCount = 0;
    CopyVehiclesToWork(data); // also counts the marks that appended-to vehicles may carry
    data.VehicleListTop = 1;
    data.DataMode = DataMode::SingleVehicle;
}
