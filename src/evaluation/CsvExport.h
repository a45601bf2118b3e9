#pragma once
// Writing the open tables with their description: one table and "NAME.datapackage.json" beside
// it, or every table and "datapackage.json" into a folder of their own.

#include "evaluation/DataPackage.h"

#include <filesystem>
#include <string>

struct CsvExportRequest {
    CsvStyle Style = CsvStyle::Plain;
    StatisticsSettings Settings;
    int IntervalMinutes = 5;
    DataPackageSource Source;
    std::string ProgramVersion;
};

// The selection the tables of the working data rest on.
DataPackageSelection SelectionOf(const MeasurementData& data, const StatisticsSettings& settings,
                                 int intervalMinutes);

// "OUT.csv" → "OUT.datapackage.json" in the same folder.
std::filesystem::path DescriptionPathOf(const std::filesystem::path& csvFile);

// Writes a table to csvFile and its description beside it. Throws CoreError (nothing is left of a
// file that could not be written).
void ExportCsvTable(const std::filesystem::path& csvFile, const CsvTable& table, const MeasurementData& data,
                    const CsvExportRequest& request);

// Writes the table of one view to csvFile and its description beside it. Throws CoreError
// (nothing is left of a file that could not be written).
void ExportCsv(const std::filesystem::path& csvFile, CsvView view, const MeasurementData& data,
               const CsvExportRequest& request);

// Writes every table the data give (vehicles only for single-vehicle data) and "datapackage.json"
// into folder, which is created when missing; a folder that already holds anything is refused
// with CoreError (ProgramMessage::CsvBundleFolderNotEmpty).
void WriteCsvBundle(const std::filesystem::path& folder, const MeasurementData& data,
                    const CsvExportRequest& request);
