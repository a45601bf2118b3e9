#pragma once
// The description written beside the open tables: a Frictionless Data Package whose resources
// carry a Table Schema each (every column's type, unit and meaning), with the source file and
// its SHA-256 and the settings and selection the figures rest on, so that a reader can check or
// redo every figure.

#include "evaluation/CsvTables.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct DataPackageSource {
    std::string FileName; // the data file, card file or imported file the data came from
    std::string Sha256;
};

// What the tables hold of the loaded data.
struct DataPackageSelection {
    std::string DataKind; // "vehicles", "intervals" or "imported intervals"
    long long LoadedRecords = 0;
    long long WorkingRecords = 0; // after filter, marks and range
    int IntervalMinutes = 5;
    std::optional<double> From; // the range's time span, none: all
    std::optional<double> To;
};

struct DataPackageResource {
    std::string Path; // relative to the description, "/" separated
    const CsvTable* Table = nullptr;
};

// The data package as JSON text. Resource and package names follow the standard's rules
// (lower-case letters, digits, "-", "_", ".").
std::string DataPackageJson(const std::vector<DataPackageResource>& resources, CsvStyle style,
                            const DataPackageSource& source, const StatisticsSettings& settings,
                            const DataPackageSelection& selection, std::string_view programVersion);

// A name the standard accepts made from any text ("Messung 3.LNG" → "messung-3.lng").
std::string DataPackageName(std::string_view text);

// Writes the description atomically.
void WriteDataPackage(const std::filesystem::path& file, const std::string& json);
