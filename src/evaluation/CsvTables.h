#pragma once
// The open tables of a measurement: the vehicles, the working intervals, the days, the day
// profile and the key figures as CSV with stable English column names. Each column carries
// its type, unit and meaning, so that a description of the files can be written beside them.

#include "data/CsvWriter.h"
#include "data/MeasurementData.h"
#include "evaluation/TrafficStatistics.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Chart is the table of a chart as drawn (see ChartCsv); the others come from the data.
enum class CsvView { Vehicles, Intervals, Days, Profile, Stats, Chart };

// "vehicles", "intervals", "days", "profile", "stats", "chart"; only the first five are read.
std::string_view CsvViewName(CsvView view);
std::optional<CsvView> CsvViewFromName(std::string_view name);

struct CsvColumn {
    std::string Name;
    std::string Type; // string, integer, number, boolean, date, datetime
    std::string Unit; // empty when the column has none
    std::string Description;
};

struct CsvTable {
    CsvView View = CsvView::Vehicles;
    std::vector<CsvColumn> Columns;
    bool Milliseconds = false; // its times carry milliseconds
    std::string Title;         // what the table shows, when its name does not say it
    std::string Bytes;         // header row and rows
};

// The columns of a view (the same for every measurement).
std::vector<CsvColumn> CsvColumnsOf(CsvView view);

// The vehicles: the working vehicles (only those in the range's time span when a range is set),
// in record order. Throws CoreError for interval data, which hold no vehicles.
CsvTable VehicleCsv(const MeasurementData& data, const StatisticsSettings& settings, CsvStyle style);
// The working intervals as the interval list shows them.
// intervalMinutes is their length (5, 15, 30 or 60).
CsvTable IntervalCsv(const MeasurementData& data, const LengthThresholds& lengths, int intervalMinutes,
                     CsvStyle style);
// Tables of the statistics.
CsvTable DayCsv(const TrafficStatistics& statistics, CsvStyle style);
CsvTable ProfileCsv(const TrafficStatistics& statistics, CsvStyle style);
CsvTable KeyFigureCsv(const TrafficStatistics& statistics, CsvStyle style);

// The table of any view but the chart's; the statistics are computed only for the views that need them.
CsvTable BuildCsvTable(CsvView view, const MeasurementData& data, const StatisticsSettings& settings,
                       int intervalMinutes, CsvStyle style);

// Writes the bytes atomically: an unwritable target throws CoreError and leaves no file behind.
void WriteCsvFile(const std::filesystem::path& file, const CsvTable& table);
