#pragma once
// Helpers for the data-file tests: a private temporary folder and byte builders for device raw
// files and own files.

#include "data/DateTime.h"
#include "data/MeasurementData.h"
#include "support/TestTimes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

class TempFolder {
public:
    TempFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("korvelan-" + std::string(test ? test->name() : "test") + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string TwoDigits(int v) {
    return std::string(1, char('0' + v / 10)) + char('0' + v % 10);
}

// A 150-byte raw header. count is the literal count field (6 characters).
inline std::string RawHeader(const std::string& kind, const std::string& count, const std::string& date,
                             const std::string& time, const std::string& comment, int commentLength = -1) {
    std::string h(150, ' ');
    h.replace(0, 6, "QVR2.0");
    h.replace(9, 3, kind);
    h.replace(12, 6, count);
    h.replace(20, 10, date); // "dd.mm.yyyy"
    h.replace(32, 5, time);  // "hh:mm"
    h[71] = static_cast<char>(commentLength < 0 ? static_cast<int>(comment.size()) : commentLength);
    h.replace(72, comment.size(), comment);
    return h.substr(0, 150);
}

inline std::string RawVehicle(int day, int month, int hour, int minute, int second, int speed, int length,
                              char direction) {
    return {static_cast<char>(day),    static_cast<char>(month),
            static_cast<char>(hour),   static_cast<char>(minute),
            static_cast<char>(second), static_cast<char>(speed),
            static_cast<char>(length), direction};
}

struct RawCounts {
    std::uint16_t Total, Pkw, Lkw, Lz;
};

// A 190-byte raw interval record, optionally with one PKW speed-class count in direction 1.
inline std::string RawInterval(RawCounts d1, RawCounts d2, int pkwSpeedClass = 0, int pkwSpeedCount = 0) {
    std::string r(190, '\0');
    auto put = [&r](std::size_t at, std::uint16_t v) {
        r[at] = static_cast<char>(v & 0xFF);
        r[at + 1] = static_cast<char>(v >> 8);
    };
    const RawCounts both[2] = {d1, d2};
    for (int d = 0; d < 2; ++d) {
        put(8 * d + 0, both[d].Total);
        put(8 * d + 2, both[d].Pkw);
        put(8 * d + 4, both[d].Lkw);
        put(8 * d + 6, both[d].Lz);
    }
    if (pkwSpeedClass > 0)
        r[static_cast<std::size_t>(16 + pkwSpeedClass - 1)] = static_cast<char>(pkwSpeedCount);
    return r;
}

inline VehicleRecord Vehicle(double time, int speed, int length, char direction, int marked = 0) {
    VehicleRecord v{};
    v.Time = time;
    v.Speed = static_cast<std::uint8_t>(speed);
    v.Length = static_cast<std::uint8_t>(length);
    v.Direction = direction;
    v.Marked = static_cast<std::uint8_t>(marked);
    return v;
}

template <typename Record> std::string BytesOf(const Record* records, int count) {
    return std::string(reinterpret_cast<const char*>(records),
                       sizeof(Record) * static_cast<std::size_t>(count));
}
