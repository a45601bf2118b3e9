#include "cards/CardFileReader.h"

#include "cards/CardCommon.h"
#include "data/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {
constexpr double CounterUnitsPerDay = 2764800.0; // 32 * 86400
constexpr int RepeatedDetectionUnits = 4;        // less than 0.1 s since the previous block
constexpr long long AppendWindowMs = 8640000;    // 2.4 hours

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::uint8_t ToByte(long long value) {
    return static_cast<std::uint8_t>(std::clamp<long long>(value, 0, 255));
}

// To the nearest whole number, ties to even (the default rounding mode); the long double
// rounding of RoundHalfEven costs more than the rest of a block's conversion.
long long RoundEstimate(float value) {
    return std::lrint(value);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CheckCapacity(long long total) {
    if (total > MaxVehicles)
        throw CoreError(ProgramMessage::CapacityExceeded, std::to_string(MaxVehicles));
}

// A chosen start shifts every time of the file; none may leave the years a data file can hold.
double StorableTime(double t, long long lineOrBlock) {
    if (!IsStorableDayCount(t))
        throw CoreError(ProgramMessage::TimeBeyondCalendar, std::to_string(lineOrBlock));
    return t;
}

void StoreVehicles(MeasurementData& data, int from, const std::vector<VehicleRecord>& vehicles) {
    const int count = static_cast<int>(vehicles.size());
    data.Vehicles.EnsureSize(from - 1 + count);
    if (count > 0)
        std::memcpy(static_cast<void*>(&data.Vehicles[from]), vehicles.data(),
                    vehicles.size() * sizeof(VehicleRecord));
    data.LoadedCount = from - 1 + count;
}
} // namespace

CardFileKind CardFileKindOf(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return CardFileKind::Other;
    std::string extension;
    for (const char c : fileName.substr(dot + 1, 3))
        extension += Lower(c);
    if (extension == "txt")
        return CardFileKind::Text;
    if (extension == "bin")
        return CardFileKind::Binary;
    return CardFileKind::Other;
}

int CardYear(int twoDigits) {
    return twoDigits < 80 ? 2000 + twoDigits : 1900 + twoDigits;
}

CardTextLine ParseCardTextLine(std::string_view line) {
    CardTextLine l;
    l.Day = DecimalField(line, 1, 2);
    l.Month = DecimalField(line, 4, 5);
    l.Year = CardYear(DecimalField(line, 7, 8));
    l.Hour = DecimalField(line, 10, 11);
    l.Minute = DecimalField(line, 13, 14);
    l.Second = DecimalField(line, 16, 17);
    l.Hundredths = DecimalField(line, 19, 20);
    l.Speed = DecimalField(line, 22, 24);
    l.Length = DecimalField(line, 26, 27);
    l.DirectionDigit = DecimalField(line, 29, 29);
    return l;
}

CardBinaryBlock DecodeCardBinaryBlock(std::string_view block) {
    CardBinaryBlock b;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(block[i]); };
    b.Occupancy = byte(0);
    b.Correction = byte(1);
    const std::uint32_t counter =
        static_cast<std::uint32_t>(byte(4)) | static_cast<std::uint32_t>(byte(5)) << 8 |
        static_cast<std::uint32_t>(byte(6)) << 16 | static_cast<std::uint32_t>(byte(7)) << 24;
    b.Counter = static_cast<std::int32_t>(counter);
    return b;
}

void OccupancyRing::Push(int occupancy) {
    ring_[position_] = occupancy;
    position_ = (position_ + 1) % ring_.size();
}

float OccupancyRing::Mean() const {
    int sum = 0;
    for (const int v : ring_)
        sum += v;
    return static_cast<float>(sum) / 10.0f;
}

std::uint8_t OccupancyRing::SpeedEstimate() const {
    return SpeedFromMean(Mean());
}

std::uint8_t OccupancyRing::LengthEstimate(int occupancy) const {
    return LengthFromMean(occupancy, Mean());
}

std::uint8_t SpeedFromMean(float mean) {
    if (mean <= 0.0f)
        return 255; // ten detections without occupancy: as fast as a record can say
    const auto speed = static_cast<float>(4000.0 / mean / 31.25 * 3.6);
    return ToByte(RoundEstimate(speed));
}

std::uint8_t LengthFromMean(int occupancy, float mean) {
    if (mean <= 0.0f)
        return 0;
    const auto length = static_cast<float>(static_cast<double>(occupancy) / mean * 4.0);
    return ToByte(RoundEstimate(length));
}

std::vector<VehicleRecord> ConvertCardText(std::string_view bytes, double fileStart, double start) {
    std::vector<VehicleRecord> vehicles;
    const auto lines = SplitLines(bytes);
    vehicles.reserve(std::min<std::size_t>(lines.size(), MaxVehicles));
    int lineNumber = 0;
    for (const std::string_view line : lines) {
        ++lineNumber;
        if (IsBlankLine(line))
            continue;
        CheckCapacity(static_cast<long long>(vehicles.size()) + 1);
        const CardTextLine l = ParseCardTextLine(line);
        const auto passage =
            TryEncodeDateTime(l.Year, l.Month, l.Day, l.Hour, l.Minute, l.Second, l.Hundredths * 10);
        if (!passage)
            throw CoreError(ProgramMessage::BadCardLine, std::to_string(lineNumber));
        VehicleRecord v{};
        v.Time = StorableTime(*passage - fileStart + start, lineNumber);
        v.Speed = ToByte(l.Speed);
        v.Length = ToByte(l.Length);
        v.Direction = static_cast<char>('1' + l.DirectionDigit);
        v.Marked = 0;
        vehicles.push_back(v);
    }
    return vehicles;
}

std::vector<VehicleRecord> ConvertCardBinary(std::string_view bytes, double start) {
    std::vector<VehicleRecord> vehicles;
    const std::size_t blocks = bytes.size() / CardBinaryBlockSize;
    vehicles.reserve(std::min<std::size_t>(blocks, MaxVehicles));
    OccupancyRing ring;
    long long previousCounter = 0;
    for (std::size_t n = 0; n < blocks; ++n) {
        const CardBinaryBlock b =
            DecodeCardBinaryBlock(bytes.substr(n * CardBinaryBlockSize, CardBinaryBlockSize));
        ring.Push(b.Occupancy);
        const long long units = b.Counter - previousCounter - b.Correction;
        previousCounter = b.Counter;
        if (units < RepeatedDetectionUnits)
            continue; // the same vehicle detected again
        CheckCapacity(static_cast<long long>(vehicles.size()) + 1);
        VehicleRecord v{};
        v.Time = StorableTime(start + static_cast<double>(b.Counter) / CounterUnitsPerDay,
                              static_cast<long long>(n) + 1);
        const float mean = ring.Mean();
        v.Speed = SpeedFromMean(mean);
        v.Length = LengthFromMean(b.Occupancy, mean);
        v.Direction = '1';
        v.Marked = 0;
        vehicles.push_back(v);
    }
    return vehicles;
}

CardFilePreview PrepareCardFileBytes(std::string_view fileName, std::string_view bytes,
                                     const MeasurementData& data) {
    CardFilePreview preview;
    preview.Kind = CardFileKindOf(fileName);
    const std::string name(fileName);
    switch (preview.Kind) {
    case CardFileKind::Other:
        throw CoreError(ProgramMessage::NotACardFile, name);
    case CardFileKind::Binary:
        preview.Count = static_cast<int>(bytes.size() / CardBinaryBlockSize);
        if (preview.Count == 0)
            throw CoreError(ProgramMessage::CardFileEmpty, name);
        return preview;
    case CardFileKind::Text:
        break;
    }

    const auto lines = SplitLines(bytes);
    const std::string_view* first = nullptr;
    int firstNumber = 0;
    for (const std::string_view& line : lines) {
        if (!IsBlankLine(line)) {
            preview.Count += 1;
            if (!first) {
                first = &line;
                firstNumber = static_cast<int>(&line - lines.data()) + 1;
            }
        }
    }
    if (!first)
        throw CoreError(ProgramMessage::CardFileEmpty, name);
    const CardTextLine l = ParseCardTextLine(*first);
    const auto t0 = TryEncodeDateTime(l.Year, l.Month, l.Day, l.Hour, l.Minute, l.Second);
    if (!t0)
        throw CoreError(ProgramMessage::BadCardLine, std::to_string(firstNumber));
    preview.FileStart = *t0;

    // Appending continues a single-vehicle measurement whose last vehicle lies at most 2.4 hours
    // before this file's start (taken in the year of that vehicle; the file's lines carry their own).
    if (data.DataMode == DataMode::SingleVehicle && data.LoadedCount > 0) {
        const double last = data.Vehicles[data.LoadedCount].Time;
        const auto appendStart =
            TryEncodeDateTime(DecodeDateTime(last).Year, l.Month, l.Day, l.Hour, l.Minute, l.Second);
        if (appendStart) {
            const long long after = ToMilliseconds(*appendStart) - ToMilliseconds(last);
            preview.AppendStart = *appendStart;
            preview.AppendOffered = after >= 0 && after < AppendWindowMs;
        }
    }
    return preview;
}

CardFilePreview PrepareCardFile(const std::string& path, const MeasurementData& data) {
    const std::string bytes = ReadWholeFile(path);
    return PrepareCardFileBytes(FileNameOf(path), bytes, data);
}

void ReadCardFile(MeasurementData& data, const std::string& path, const CardFilePreview& preview,
                  double chosenStart) {
    if (preview.Kind == CardFileKind::Other)
        throw CoreError(ProgramMessage::NotACardFile, FileNameOf(path));
    const std::string bytes = ReadWholeFile(path);
    const auto vehicles = preview.Kind == CardFileKind::Text
                              ? ConvertCardText(bytes, preview.FileStart, chosenStart)
                              : ConvertCardBinary(bytes, chosenStart);
    StoreVehicles(data, 1, vehicles);
}

void AppendCardFile(MeasurementData& data, const std::string& path, const CardFilePreview& preview) {
    if (preview.Kind != CardFileKind::Text)
        throw CoreError(ProgramMessage::NotACardFile, FileNameOf(path));
    if (!preview.AppendOffered)
        throw std::logic_error("appending is offered only right after the loaded measurement");
    const std::string bytes = ReadWholeFile(path);
    const auto vehicles = ConvertCardText(bytes, preview.FileStart, preview.AppendStart);
    CheckCapacity(static_cast<long long>(data.LoadedCount) + static_cast<long long>(vehicles.size()));
    StoreVehicles(data, data.LoadedCount + 1, vehicles);
}
