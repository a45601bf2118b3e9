#include "data/DataFileLoader.h"

#include "base/CoreError.h"
#include "base/Cp1252.h"
#include "base/FileSystem.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <system_error>

namespace {

// The largest own interval file; every other accepted file is smaller.
constexpr std::size_t LargestUsefulFile = OwnHeaderSize + sizeof(IntervalRecord) * MaxIntervals;

std::uint16_t ReadU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Header text for a message: the bytes as they stand, with control characters made visible.
std::string Printable(std::string_view bytes) {
    std::string text(bytes);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return Cp1252ToUtf8(text);
}

// The first bytes of the file; a shorter file yields fewer bytes and the rest counts as zero.
class Header {
public:
    Header(std::string_view file, std::size_t size) : bytes_(size, '\0') {
        std::copy_n(file.begin(), std::min(size, file.size()), bytes_.begin());
    }
    std::string_view Text(std::size_t offset, std::size_t length) const {
        return std::string_view(bytes_).substr(offset, length);
    }
    unsigned char Byte(std::size_t offset) const { return static_cast<unsigned char>(bytes_[offset]); }
    bool StartsWith(std::string_view magic) const { return std::string_view(bytes_).starts_with(magic); }

    int Number(std::size_t offset, std::size_t length) const {
        const auto field = Text(offset, length);
        const auto value = StrToIntStrict(field);
        if (!value)
            throw CoreError(ProgramMessage::BadHeaderNumber,
                            std::to_string(offset) + " (\"" + Printable(field) + "\")");
        return *value;
    }

private:
    std::string bytes_;
};

int CheckedCount(int count, bool singleVehicle) {
    const int capacity = singleVehicle ? MaxVehicles : MaxIntervals;
    if (count < 0)
        throw CoreError(ProgramMessage::BadHeaderNumber, "12 (" + std::to_string(count) + ")");
    if (count > capacity)
        throw CoreError(ProgramMessage::TooManyRecords, std::to_string(capacity));
    return count;
}

void CheckLength(std::string_view file, std::size_t recordsStart, std::size_t recordSize, int count,
                 std::string_view name) {
    const std::size_t needed = recordsStart + recordSize * static_cast<std::size_t>(count);
    if (count > 0 && file.size() < needed)
        throw CoreError(ProgramMessage::FileTooShort, std::string(name));
}

std::string TwoDigits(int v) {
    return (v < 10 ? "0" : "") + std::to_string(v);
}

std::string DateTimeText(int year, int month, int day, int hour, int minute, int second) {
    return TwoDigits(day) + "." + TwoDigits(month) + "." + std::to_string(year) + " " + TwoDigits(hour) +
           ":" + TwoDigits(minute) + ":" + TwoDigits(second);
}

struct RawStart {
    int Year, Month, Day, Hour, Minute;
};

RawStart ReadRawStart(const Header& h) {
    RawStart s{h.Number(26, 4), h.Number(23, 2), h.Number(20, 2), h.Number(32, 2), h.Number(35, 2)};
    if (!TryEncodeDateTime(s.Year, s.Month, s.Day, s.Hour, s.Minute, 0))
        throw CoreError(ProgramMessage::BadHeaderDate,
                        DateTimeText(s.Year, s.Month, s.Day, s.Hour, s.Minute, 0));
    return s;
}

[[noreturn]] void ThrowBadRecordTime(int n, int year, int month, int day, int hour, int minute, int second) {
    throw CoreError(ProgramMessage::BadRecordTime,
                    std::to_string(n) + " (" + DateTimeText(year, month, day, hour, minute, second) + ")");
}

// The same value as TryEncodeTime for a valid time (milliseconds over milliseconds per day).
double TimeOfDay(int hour, int minute, int second) {
    return static_cast<double>(((hour * 60LL + minute) * 60 + second) * 1000) / 86400000.0;
}

// Raw vehicle records carry no year: it starts at the header's year and advances whenever a
// month is smaller than the month of the last roll-over (initially the header month). The
// first pass only checks the records, the second writes them.
template <bool Write>
void DecodeRawVehicles(const unsigned char* p, int count, const RawStart& start, VehicleRecord* out) {
    int year = start.Year;
    int referenceMonth = start.Month;
    int lastYear = 0, lastMonth = 0, lastDay = 0;
    double date = 0;
    for (int n = 1; n <= count; ++n, p += RawVehicleRecordSize) {
        const int day = p[0], month = p[1], hour = p[2], minute = p[3], second = p[4];
        if (month < referenceMonth) {
            ++year;
            referenceMonth = month;
        }
        if (year != lastYear || month != lastMonth || day != lastDay) [[unlikely]] {
            const auto encoded = TryEncodeDate(year, month, day);
            if (!encoded)
                ThrowBadRecordTime(n, year, month, day, hour, minute, second);
            date = *encoded;
            lastYear = year, lastMonth = month, lastDay = day;
        }
        if constexpr (Write) {
            out[n - 1] = VehicleRecord{date + TimeOfDay(hour, minute, second),
                                       p[5],
                                       p[6],
                                       static_cast<char>(p[7]),
                                       {0, 0},
                                       0,
                                       {0, 0}};
        } else if (hour >= 24 || minute >= 60 || second >= 60) [[unlikely]] {
            ThrowBadRecordTime(n, year, month, day, hour, minute, second);
        }
    }
}

void DecodeRawInterval(const unsigned char* p, double startTime, IntervalRecord& r) {
    std::memset(static_cast<void*>(&r), 0, sizeof r);
    r.StartTime = startTime;
    constexpr VehicleClass classes[] = {VehicleClass::Pkw, VehicleClass::Lkw, VehicleClass::Lz};
    for (int direction = 1; direction <= 2; ++direction) {
        const unsigned char* counts = p + (direction - 1) * 8;
        r.Total()[direction] = ReadU16(counts);
        for (int c = 0; c < 3; ++c) {
            r.ClassCount(classes[c])[direction] = ReadU16(counts + 2 * (c + 1));
            const unsigned char* histogram = p + 16 + ((direction - 1) * 3 + c) * SpeedClassCount;
            for (int k = 1; k <= SpeedClassCount; ++k)
                r.SpeedClasses(classes[c], k)[direction] = histogram[k - 1];
        }
        r.HeavyTotal()[direction] = r.LkwCount()[direction] + r.LzCount()[direction];
        r.HeavyShareFlag()[direction] = HeavyShareFlagOf(r.HeavyTotal()[direction], r.Total()[direction]);
    }
}

void CheckOwnTimes(const char* records, std::size_t recordSize, int count) {
    for (int n = 1; n <= count; ++n) {
        double t;
        std::memcpy(&t, records + static_cast<std::size_t>(n - 1) * recordSize, sizeof t);
        if (!IsStorableDayCount(t)) // anything else in an own file is damage, not a time
            throw CoreError(ProgramMessage::BadRecordTime, std::to_string(n));
    }
}

// The largest value a count slot of an own interval file may hold. No interval of 60 minutes
// comes near it (the device counts at most 65535 per 5 minutes and direction), joining twelve
// such values stays far inside 32 bits, and 60000 of them sum up well inside 64 bits.
constexpr std::int32_t LargestIntervalCount = (1 << 24) - 1;

// Counts, mean and maximum speeds are never negative, and beyond LargestIntervalCount they are
// damage; only the spare slot is the file's own business.
void CheckOwnIntervalCounts(const char* records, int count) {
    for (int n = 1; n <= count; ++n) {
        IntervalRecord r;
        std::memcpy(static_cast<void*>(&r), records + static_cast<std::size_t>(n - 1) * sizeof r, sizeof r);
        for (int slot = 0; slot < Slot::Cleared; ++slot)
            for (const std::int32_t value : {r.Slots[slot].Dir1, r.Slots[slot].Dir2})
                if (value < 0 || value > LargestIntervalCount)
                    throw CoreError(ProgramMessage::BadRecordCount,
                                    std::to_string(n) + " (" + std::to_string(value) + ")");
    }
}

// A mark is a working state of the program that it only ever writes as 0 or 1. Any other byte is
// damage and is read as "not marked", which is how every list, count and command treats it.
void NormaliseMarks(VehicleRecord* vehicles, int count) {
    for (int n = 0; n < count; ++n)
        if (vehicles[n].Marked != 1)
            vehicles[n].Marked = 0;
}

// The device numbers its intervals from the header's start time on; the last one must still lie
// in a year that a file can hold.
void CheckRawIntervalEnd(double startTime, int count) {
    if (count > 0 && !IsStorableDayCount(IncMinute(startTime, 5LL * (count - 1))))
        throw CoreError(ProgramMessage::BadRecordTime, std::to_string(count));
}

// Common end of every load: the measurement is replaced as a whole, so the counts of the other
// kind of data are cleared too and nothing of the previous measurement stays reachable.
void Install(MeasurementData& data, const LoadInfo& info, std::string comment) {
    data.LoadedCount = info.Count;
    data.Comment = std::move(comment);
    data.ImportCodeCount = 0;
    if (info.DataMode == DataMode::SingleVehicle) {
        CopyVehiclesToWork(data);
        data.IntervalCount = 0;
        data.WorkIntervalCount = 0;
        data.IntervalRebuildPending = 1;
    } else {
        data.IntervalCount = info.Count;
        CopyIntervalsToWork(data);
        data.WorkVehicleCount = 0;
        data.MarkedCount = 0;
        data.IntervalRebuildPending = 0;
    }
    data.DataMode = info.DataMode;
    data.VehicleListTop = 1;
    data.IntervalListTop = 1;
}

// Grows the arrays the load will write before anything is written, so that a failing
// allocation also leaves the measurement as it was.
void Reserve(MeasurementData& data, const LoadInfo& info) {
    // The working records are taken from the loaded ones at the end (shared, not copied); letting
    // go of the old ones first keeps the writes below from copying them.
    if (info.DataMode == DataMode::SingleVehicle) {
        data.Vehicles.EnsureSize(info.Count);
        data.WorkVehicles.DropShared();
    } else {
        data.Intervals.EnsureSize(info.Count);
        data.WorkIntervals.DropShared();
    }
}

LoadInfo LoadRawFile(std::string_view file, std::string_view name, const Header& h, MeasurementData& data) {
    LoadInfo info;
    info.FileKind = DataFileKind::DeviceRaw;
    info.RecordKind = Printable(h.Text(9, 3));
    const bool vehicles = h.Text(9, 3) == "LNG";
    info.DataMode = vehicles ? DataMode::SingleVehicle : DataMode::Interval;
    info.Count = CheckedCount(h.Number(12, 6), vehicles);
    const std::size_t commentLength = std::min<std::size_t>(h.Byte(71), MaxCommentLength);
    std::string comment = Cp1252ToUtf8(h.Text(72, commentLength));
    const RawStart start = ReadRawStart(h);
    CheckLength(file, RawHeaderSize, vehicles ? RawVehicleRecordSize : RawIntervalRecordSize, info.Count,
                name);

    const auto* records =
        reinterpret_cast<const unsigned char*>(file.substr(std::min(file.size(), RawHeaderSize)).data());
    if (vehicles) {
        DecodeRawVehicles<false>(records, info.Count, start, nullptr);
        Reserve(data, info);
        DecodeRawVehicles<true>(records, info.Count, start, data.Vehicles.data());
    } else {
        const double startTime =
            *TryEncodeDateTime(start.Year, start.Month, start.Day, start.Hour, start.Minute, 0);
        CheckRawIntervalEnd(startTime, info.Count);
        Reserve(data, info);
        for (int i = 1; i <= info.Count; ++i)
            DecodeRawInterval(records + static_cast<std::size_t>(i - 1) * RawIntervalRecordSize,
                              IncMinute(startTime, 5LL * (i - 1)), data.Intervals[i]);
    }
    Install(data, info, std::move(comment));
    return info;
}

LoadInfo LoadOwnFile(std::string_view file, std::string_view name, const Header& h, MeasurementData& data) {
    LoadInfo info;
    info.FileKind = DataFileKind::Own;
    info.RecordKind = Printable(h.Text(9, 3));
    const bool vehicles = h.Text(9, 3) == "LNG";
    info.DataMode = vehicles ? DataMode::SingleVehicle : DataMode::Interval;
    info.Count = CheckedCount(h.Number(12, 6), vehicles);
    // Own files keep the whole 78-character comment field, trailing spaces included.
    std::string comment = Cp1252ToUtf8(h.Text(18, MaxCommentLength));
    const std::size_t recordSize = vehicles ? sizeof(VehicleRecord) : sizeof(IntervalRecord);
    CheckLength(file, OwnHeaderSize, recordSize, info.Count, name);

    const char* records = file.substr(std::min(file.size(), OwnHeaderSize)).data();
    CheckOwnTimes(records, recordSize, info.Count);
    if (!vehicles)
        CheckOwnIntervalCounts(records, info.Count);
    Reserve(data, info);
    const std::size_t bytes = recordSize * static_cast<std::size_t>(info.Count);
    if (bytes > 0) {
        void* target =
            vehicles ? static_cast<void*>(data.Vehicles.data()) : static_cast<void*>(data.Intervals.data());
        std::memcpy(target, records, bytes);
        if (vehicles)
            NormaliseMarks(data.Vehicles.data(), info.Count);
    }
    Install(data, info, std::move(comment));
    return info;
}

} // namespace

LoadInfo LoadDataBytes(std::string_view bytes, std::string_view name, MeasurementData& data) {
    const Header header(bytes, RawHeaderSize);
    if (header.StartsWith(RawMagic))
        return LoadRawFile(bytes, name, header, data);
    if (header.StartsWith(OwnMagic))
        return LoadOwnFile(bytes, name, header, data);
    throw CoreError(ProgramMessage::NotAKorvelanFile, "");
}

LoadInfo LoadDataFile(const std::filesystem::path& file, MeasurementData& data) {
    // Decoding reads straight from the page cache instead of copying the file into a fresh buffer
    // first. Prefaulting saves a page fault per few pages, but only files of a size the loader can
    // accept are worth it; a large file of another kind is only looked at.
    std::optional<FileSystem::MappedFile> mapped;
    try {
        mapped.emplace(file, LargestUsefulFile);
    } catch (const std::system_error& error) {
        throw CoreError(ProgramMessage::CannotOpen, file.string() + " (" + error.code().message() + ")");
    }
    return LoadDataBytes(mapped->bytes(), file.string(), data);
}
