#pragma once
// Reading a measurement from a data file: device raw files ("QVR2.0") and the program's own
// files ("KORVELAN2"). The file is checked completely before anything in memory changes, so a
// file that cannot be read leaves the measurement that was loaded before exactly as it was.

#include "data/MeasurementData.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

enum class DataFileKind { DeviceRaw, Own };

// What a load found, for the fronts that report or display it.
struct LoadInfo {
    DataFileKind FileKind = DataFileKind::Own;
    std::string RecordKind; // the three kind characters of the header, e.g. "LNG" or "SHT"
    std::int32_t Count = 0; // records loaded
    ::DataMode DataMode = ::DataMode::None;
};

inline constexpr std::size_t RawHeaderSize = 150;
inline constexpr std::size_t RawVehicleRecordSize = 8;
inline constexpr std::size_t RawIntervalRecordSize = 190;
inline constexpr std::size_t OwnHeaderSize = 1040;
inline constexpr std::string_view RawMagic = "QVR2.0";
inline constexpr std::string_view OwnMagic = "KORVELAN2";

// Loads the file into data, replacing the measurement and the working copies (the view
// selections stay). Throws CoreError when the file cannot be used; data is then unchanged.
LoadInfo LoadDataFile(const std::filesystem::path& file, MeasurementData& data);

// The same from bytes already in memory; name is used in messages.
LoadInfo LoadDataBytes(std::string_view bytes, std::string_view name, MeasurementData& data);
