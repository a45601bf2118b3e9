#include "evaluation/CsvExport.h"

#include "base/CoreError.h"
#include "data/DataFileWriter.h"

#include <system_error>

namespace {
std::string DataKindOf(DataMode mode) {
    switch (mode) {
    case DataMode::SingleVehicle:
        return "vehicles";
    case DataMode::Interval:
        return "intervals";
    case DataMode::Imported:
        return "imported intervals";
    case DataMode::None:
        break;
    }
    return "none";
}

std::string CsvFileName(CsvView view) {
    return std::string(CsvViewName(view)) + ".csv";
}

void PrepareEmptyFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (std::filesystem::exists(folder, error)) {
        if (!std::filesystem::is_directory(folder, error) || !std::filesystem::is_empty(folder, error))
            throw CoreError(ProgramMessage::CsvBundleFolderNotEmpty, folder.string());
        return;
    }
    std::filesystem::create_directories(folder, error);
    if (error)
        throw CoreError(ProgramMessage::CannotWrite, folder.string() + " (" + error.message() + ")");
}
} // namespace

DataPackageSelection SelectionOf(const MeasurementData& data, const StatisticsSettings& settings,
                                 int intervalMinutes) {
    const bool vehicles = data.DataMode == DataMode::SingleVehicle;
    DataPackageSelection selection;
    selection.DataKind = DataKindOf(data.DataMode);
    selection.LoadedRecords = vehicles ? data.LoadedCount : data.IntervalCount;
    selection.WorkingRecords = vehicles ? data.WorkVehicleCount : data.WorkIntervalCount;
    selection.IntervalMinutes = intervalMinutes;
    selection.From = settings.From;
    selection.To = settings.To;
    return selection;
}

std::filesystem::path DescriptionPathOf(const std::filesystem::path& csvFile) {
    std::filesystem::path description = csvFile;
    description.replace_filename(csvFile.stem().string() + ".datapackage.json");
    return description;
}

void ExportCsv(const std::filesystem::path& csvFile, CsvView view, const MeasurementData& data,
               const CsvExportRequest& request) {
    ExportCsvTable(csvFile,
                   BuildCsvTable(view, data, request.Settings, request.IntervalMinutes, request.Style), data,
                   request);
}

void ExportCsvTable(const std::filesystem::path& csvFile, const CsvTable& table, const MeasurementData& data,
                    const CsvExportRequest& request) {
    const std::string description =
        DataPackageJson({DataPackageResource{csvFile.filename().string(), &table}}, request.Style,
                        request.Source, request.Settings,
                        SelectionOf(data, request.Settings, request.IntervalMinutes), request.ProgramVersion);
    WriteCsvFile(csvFile, table);
    WriteDataPackage(DescriptionPathOf(csvFile), description);
}

void WriteCsvBundle(const std::filesystem::path& folder, const MeasurementData& data,
                    const CsvExportRequest& request) {
    std::vector<CsvTable> tables;
    if (data.DataMode == DataMode::SingleVehicle)
        tables.push_back(VehicleCsv(data, request.Settings, request.Style));
    tables.push_back(IntervalCsv(data, request.Settings.Lengths, request.IntervalMinutes, request.Style));
    const TrafficStatistics statistics = ComputeTrafficStatistics(data, request.Settings);
    tables.push_back(DayCsv(statistics, request.Style));
    tables.push_back(ProfileCsv(statistics, request.Style));
    tables.push_back(KeyFigureCsv(statistics, request.Style));

    std::vector<DataPackageResource> resources;
    for (const CsvTable& table : tables)
        resources.push_back(DataPackageResource{CsvFileName(table.View), &table});
    const std::string description =
        DataPackageJson(resources, request.Style, request.Source, request.Settings,
                        SelectionOf(data, request.Settings, request.IntervalMinutes), request.ProgramVersion);

    PrepareEmptyFolder(folder);
    for (const CsvTable& table : tables)
        WriteCsvFile(folder / CsvFileName(table.View), table);
    WriteDataPackage(folder / "datapackage.json", description);
}
