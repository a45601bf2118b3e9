#pragma once
// Reading the single-vehicle log that the measuring device writes to an MM or SD card: the card
// text file (one vehicle per 32-byte line) and the card binary file (16-byte detector blocks from
// which speed and length are estimated). Files are converted completely before the measurement is
// touched, so a file that cannot be read leaves the measurement as it was.

#include "data/MeasurementData.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class CardFileKind { Text, Binary, Other };

// By the first three characters after the last "." of the name, in lower case ("x.TXT", "x.txt2").
CardFileKind CardFileKindOf(std::string_view fileName);

// The columns of a card text line (four-digit year already).
struct CardTextLine {
    int Day = 0;
    int Month = 0;
    int Year = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Hundredths = 0;
    int Speed = 0;
    int Length = 0;
    int DirectionDigit = 0;
};

// Two-digit card years: below 80 are 20xx, from 80 on 19xx.
int CardYear(int twoDigits);
CardTextLine ParseCardTextLine(std::string_view line);

// One detector block of a card binary file.
struct CardBinaryBlock {
    std::uint8_t Occupancy = 0;  // 1/32 s
    std::uint8_t Correction = 0; // 1/32 s, subtracted from the time since the previous block
    std::int32_t Counter = 0;    // 1/32 s since the start of the measurement
};
inline constexpr std::size_t CardBinaryBlockSize = 16;
inline constexpr std::size_t CardTextLineSize = 32;
CardBinaryBlock DecodeCardBinaryBlock(std::string_view block);

// Speed and length estimates from the mean occupancy of the last ten detections: an average
// vehicle is taken to be 4 m long. Values are limited to what a record can hold.
class OccupancyRing {
public:
    OccupancyRing() { ring_.fill(10); }
    void Push(int occupancy);
    float Mean() const;
    std::uint8_t SpeedEstimate() const;               // km/h
    std::uint8_t LengthEstimate(int occupancy) const; // metres

private:
    std::array<int, 10> ring_{};
    std::size_t position_ = 0;
};

std::uint8_t SpeedFromMean(float mean);
std::uint8_t LengthFromMean(int occupancy, float mean);

// What the MM/SD dialog shows before reading.
struct CardFilePreview {
    CardFileKind Kind = CardFileKind::Other;
    int Count = 0;        // vehicles of a text file, blocks of a binary file
    double FileStart = 0; // text files: date and time of the first line, without hundredths
    bool AppendOffered = false;
    double AppendStart = 0; // the file's start with the year of the last loaded vehicle
};

// Throws CoreError for a file that cannot be read, is of no card kind or holds no vehicle.
CardFilePreview PrepareCardFile(const std::string& path, const MeasurementData& data);
CardFilePreview PrepareCardFileBytes(std::string_view fileName, std::string_view bytes,
                                     const MeasurementData& data);

// The vehicles of a card text file, shifted so that the file's start lies at start.
std::vector<VehicleRecord> ConvertCardText(std::string_view bytes, double fileStart, double start);
// The vehicles of a card binary file that starts at start; repeated detections are dropped and an
// incomplete last block is ignored.
std::vector<VehicleRecord> ConvertCardBinary(std::string_view bytes, double start);

// "Einlesen": replaces Vehicles[1..] and LoadedCount by the file's vehicles.
void ReadCardFile(MeasurementData& data, const std::string& path, const CardFilePreview& preview,
                  double chosenStart);
// "Hinzufügen" (text files): appends the file's vehicles, shifted to the append start.
void AppendCardFile(MeasurementData& data, const std::string& path, const CardFilePreview& preview);
