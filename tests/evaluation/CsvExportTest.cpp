#include "evaluation/CsvExport.h"
#include "CsvReadBack.h"
#include "EvaluationTestData.h"
#include "base/CoreError.h"
#include "data/CsvWriter.h"
#include "data/DataFileWriter.h"
#include "evaluation/IntervalList.h"
#include "evaluation/Summary.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr double Millisecond = 1.0 / 86400000;

MeasurementData MixedVehicles() {
    MeasurementData data;
    data.DataMode = DataMode::SingleVehicle;
    AddVehicle(data, At(9, 0, 0, 22), 48, 4, '1');
    AddVehicle(data, At(9, 0, 0, 25) + 250 * Millisecond, 61, 9, '2');
    AddVehicle(data, At(9, 0, 0, 27), 30, 0, '1'); // too short: not counted, but starts no new gap
    AddVehicle(data, At(9, 0, 1, 0), 55, 13, '1');
    AddVehicle(data, At(9, 0, 1, 5), 44, 5, 'x');  // no direction
    AddVehicle(data, At(9, 0, 0, 59), 52, 4, '2'); // earlier than its predecessor
    data.WorkVehicles[4].Marked = 1;
    data.LoadedCount = data.WorkVehicleCount;
    return data;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const CsvRow* FindFigure(const std::vector<CsvRow>& rows, std::string_view direction, std::string_view cls,
                         std::string_view figure) {
    for (const CsvRow& row : rows)
        if (row[0] == direction && row[1] == cls && row[2] == figure)
            return &row;
    return nullptr;
}

std::string Number(const std::optional<double>& v) {
    CsvWriter w(CsvStyle::Plain);
    w.Number(v);
    return w.Bytes();
}

// The 85th percentile of some speeds as the overview computes it from their speed classes.
std::string V85Text(const std::vector<int>& speeds) {
    long long classes[SpeedClassCount + 1] = {};
    for (int v : speeds)
        classes[SpeedClass(v)] += 1;
    return Number(std::round(static_cast<double>(PercentileSpeed(classes, 85)) * 10) / 10);
}

// A folder of its own per test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() / ("korvelan-csv-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, ignored);
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

CsvExportRequest Request(CsvStyle style = CsvStyle::Plain) {
    CsvExportRequest request;
    request.Style = style;
    request.Source = DataPackageSource{"Messung 1.LNG", std::string(64, 'a')};
    request.ProgramVersion = "4.01.03";
    return request;
}
} // namespace

TEST(CsvWriter, QuotesOnlyWhatNeedsItAndEndsRowsWithCrLf) {
    CsvWriter w(CsvStyle::Plain);
    w.Text("plain");
    w.Text("a,b");
    w.Text("say \"hi\"");
    w.Text("two\r\nlines");
    w.Empty();
    w.EndRow();
    EXPECT_EQ(w.Bytes(), "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\r\n");
    const auto rows = ReadCsv(w.Bytes(), ',');
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (CsvRow{"plain", "a,b", "say \"hi\"", "two\r\nlines", ""}));
}

TEST(CsvWriter, SpreadsheetStyleHasMarkSemicolonsCommaDecimalsAndGermanTimes) {
    CsvWriter w(CsvStyle::Spreadsheet);
    w.Number(0.125);
    w.Text("a;b");
    w.Text("a,b");
    w.DateTime(At(9, 0, 0, 22), false);
    w.DateTime(At(9, 0, 0, 22) + 7 * Millisecond, true);
    w.Date(At(9, 13, 0));
    w.EndRow();
    EXPECT_EQ(w.Bytes(), "\xEF\xBB\xBF"
                         "0,125;\"a;b\";a,b;09.03.2026 00:00:22;09.03.2026 00:00:22,007;09.03.2026\r\n");

    CsvWriter plain(CsvStyle::Plain);
    plain.Number(0.1 + 0.2); // the shortest text that reads back as the same double
    plain.Number(-1.5);
    plain.DateTime(At(9, 0, 0, 22) + 7 * Millisecond, true);
    plain.Date(At(9, 13, 0));
    plain.Number(std::nan(""));
    plain.EndRow();
    EXPECT_EQ(plain.Bytes(), "0.30000000000000004,-1.5,2026-03-09T00:00:22.007,2026-03-09,\r\n");
}

TEST(VehicleCsv, RowsMatchTheListClassesGapsAndMarks) {
    const MeasurementData data = MixedVehicles();
    const StatisticsSettings settings;
    const CsvTable table = VehicleCsv(data, settings, CsvStyle::Plain);
    EXPECT_TRUE(table.Milliseconds);
    const auto rows = ReadRectangularCsv(table.Bytes, ',');
    ASSERT_EQ(rows.size(), 1u + static_cast<std::size_t>(data.WorkVehicleCount));
    EXPECT_EQ(rows[0], (CsvRow{"time", "speed", "length", "direction", "class", "gap", "marked"}));
    EXPECT_EQ(rows[1], (CsvRow{"2026-03-09T00:00:22.000", "48", "4", "1", "pkw", "", "false"}));
    EXPECT_EQ(rows[2], (CsvRow{"2026-03-09T00:00:25.250", "61", "9", "2", "lkw", "", "false"}));
    EXPECT_EQ(rows[3], (CsvRow{"2026-03-09T00:00:27.000", "30", "0", "1", "", "5", "false"}));
    EXPECT_EQ(rows[4], (CsvRow{"2026-03-09T00:01:00.000", "55", "13", "1", "lz", "33", "true"}));
    EXPECT_EQ(rows[5], (CsvRow{"2026-03-09T00:01:05.000", "44", "5", "", "", "", "false"}));
    EXPECT_EQ(rows[6], (CsvRow{"2026-03-09T00:00:59.000", "52", "4", "2", "pkw", "33.75", "false"}));

    // The vehicles with a class are exactly those the statistics count.
    const TrafficStatistics statistics = ComputeTrafficStatistics(data, settings);
    long long classed = 0;
    for (std::size_t i = 1; i < rows.size(); ++i)
        classed += rows[i][4].empty() ? 0 : 1;
    EXPECT_EQ(classed, statistics.Groups[2 * StatisticsClassCount].Count.value());
}

TEST(VehicleCsv, SpreadsheetStyleWholeSecondsAndRangeAndIntervalData) {
    MeasurementData data = MixedVehicles();
    data.WorkVehicles[2].Time = At(9, 0, 0, 25);
    StatisticsSettings settings;
    const CsvTable table = VehicleCsv(data, settings, CsvStyle::Spreadsheet);
    EXPECT_FALSE(table.Milliseconds);
    ASSERT_EQ(table.Bytes.rfind("\xEF\xBB\xBF", 0), 0u);
    const auto rows = ReadRectangularCsv(std::string_view(table.Bytes).substr(3), ';');
    EXPECT_EQ(rows[6], (CsvRow{"09.03.2026 00:00:59", "52", "4", "2", "pkw", "34", "false"}));

    // A range keeps the vehicles of its time span; gaps start afresh inside it.
    settings.From = At(9, 0, 0, 26);
    settings.To = At(9, 0, 1, 1);
    const auto inRange = ReadRectangularCsv(VehicleCsv(data, settings, CsvStyle::Plain).Bytes, ',');
    ASSERT_EQ(inRange.size(), 4u);
    EXPECT_EQ(inRange[1][0], "2026-03-09T00:00:27");
    EXPECT_EQ(inRange[1][5], "");
    EXPECT_EQ(inRange[3][0], "2026-03-09T00:00:59");
    EXPECT_EQ(inRange[3][5], "");

    MeasurementData intervals;
    intervals.DataMode = DataMode::Interval;
    try {
        VehicleCsv(intervals, settings, CsvStyle::Plain);
        FAIL() << "interval data gave vehicles";
    } catch (const CoreError& e) {
        EXPECT_EQ(e.textNumber(), ProgramMessage::CsvNoVehicles);
    }
}

TEST(IntervalCsv, CountsMeansPercentilesAndMaximaOfTheWorkingIntervals) {
    MeasurementData data;
    data.DataMode = DataMode::SingleVehicle;
    AddVehicle(data, At(9, 0, 0, 22), 48, 4, '1');
    AddVehicle(data, At(9, 0, 0, 25), 61, 9, '2');
    AddVehicle(data, At(9, 0, 0, 27), 30, 0, '1'); // not counted
    AddVehicle(data, At(9, 0, 0, 59), 52, 4, '2');
    AddVehicle(data, At(9, 0, 1, 0), 55, 13, '1');
    AddVehicle(data, At(9, 0, 6, 0), 70, 4, '1');
    BuildFiveMinuteIntervals(data, LengthThresholds{});
    ASSERT_EQ(data.WorkIntervalCount, 2);

    const auto rows =
        ReadRectangularCsv(IntervalCsv(data, LengthThresholds{}, 5, CsvStyle::Plain).Bytes, ',');
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (CsvRow{"start", "dir1_total", "dir1_pkw", "dir1_lkw", "dir1_lz", "dir1_mean_speed",
                               "dir1_v85", "dir1_vmax", "dir2_total", "dir2_pkw", "dir2_lkw", "dir2_lz",
                               "dir2_mean_speed", "dir2_v85", "dir2_vmax"}));
    EXPECT_EQ(rows[1], (CsvRow{"2026-03-09T00:00:00", "2", "1", "0", "1", "51.5", V85Text({48, 55}), "55",
                               "2", "1", "1", "0", "56.5", V85Text({61, 52}), "61"}));
    EXPECT_EQ(rows[2], (CsvRow{"2026-03-09T00:05:00", "1", "1", "0", "0", "70", V85Text({70}), "70", "0", "0",
                               "0", "0", "", "", ""}));

    // Joined to 15 minutes, the means still come from the vehicles.
    AggregateIntervals(data, 3);
    const auto joined =
        ReadRectangularCsv(IntervalCsv(data, LengthThresholds{}, 15, CsvStyle::Plain).Bytes, ',');
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_EQ(joined[1][1], "3");
    EXPECT_EQ(joined[1][5], Number((48.0 + 55 + 70) / 3));
}

TEST(IntervalCsv, ImportedDataLeaveTheClassesTheyDoNotHoldEmpty) {
    MeasurementData data;
    data.DataMode = DataMode::Imported;
    IntervalRecord& r = AddWorkInterval(data, At(9, 8, 0));
    r.Total().Dir1 = 12;
    r.HeavyTotal().Dir1 = 3;
    r.MeanSpeed().Dir1 = 47;
    r.SpeedClasses(VehicleClass::Pkw, SpeedClass(47)).Dir1 = 12;
    const auto rows =
        ReadRectangularCsv(IntervalCsv(data, LengthThresholds{}, 5, CsvStyle::Plain).Bytes, ',');
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1], (CsvRow{"2026-03-09T08:00:00", "12", "", "3", "", "47",
                               V85Text(std::vector<int>(12, 47)), "", "0", "", "0", "", "", "", ""}));
}

namespace {
// Two full days and part of a third: a day table with complete days, profiles and peak hours.
MeasurementData ThreeDays() {
    MeasurementData data;
    data.DataMode = DataMode::SingleVehicle;
    for (int day = 9; day <= 11; ++day)
        for (int hour = day == 9 ? 18 : 0; hour < (day == 11 ? 9 : 24); ++hour)
            for (int k = 0; k < 1 + hour % 4; ++k)
                AddVehicle(data, At(day, hour, 7 * k, 11 * k), 35 + 3 * hour % 30 + k, k == 2 ? 10 : 4,
                           k % 2 == 0 ? '1' : '2');
    data.LoadedCount = data.WorkVehicleCount;
    return data;
}
} // namespace

TEST(StatisticsCsv, DaysProfileAndKeyFiguresMatchTheStatistics) {
    const MeasurementData data = ThreeDays();
    StatisticsSettings settings;
    settings.Thresholds = {40, 60};
    const TrafficStatistics s = ComputeTrafficStatistics(data, settings);

    const auto days = ReadRectangularCsv(DayCsv(s, CsvStyle::Plain).Bytes, ',');
    ASSERT_EQ(days.size(), 1u + s.Days.size());
    ASSERT_EQ(s.Days.size(), 3u);
    EXPECT_EQ(days[1][0], "2026-03-09");
    EXPECT_EQ(days[2], (CsvRow{"2026-03-10", "2", "true", std::to_string(s.Days[1].Count[0]),
                               std::to_string(s.Days[1].Count[1]), std::to_string(s.Days[1].Count[2]),
                               std::to_string(s.Days[1].Heavy), Number(s.Days[1].V85),
                               Number(s.Days[1].ShareAboveLimit)}));
    EXPECT_EQ(days[3][2], "false");

    const auto profile = ReadRectangularCsv(ProfileCsv(s, CsvStyle::Plain).Bytes, ',');
    ASSERT_EQ(profile.size(), 1u + DayGroupCount * 24);
    const ProfileHour& workdayNine = s.Profile[static_cast<int>(DayGroup::Workdays)][9];
    EXPECT_EQ(profile[1 + 9],
              (CsvRow{"workdays", "9", Number(workdayNine.Mean[0]), Number(workdayNine.Mean[1]),
                      Number(workdayNine.Mean[2]), Number(workdayNine.HeavyShare)}));
    EXPECT_EQ(profile[1 + 24 + 9][0], "saturday");
    EXPECT_EQ(profile[1 + 24 + 9][2], ""); // no complete Saturday

    const auto stats = ReadRectangularCsv(KeyFigureCsv(s, CsvStyle::Plain).Bytes, ',');
    const SpeedGroupFigures& both = s.Groups[2 * StatisticsClassCount];
    const CsvRow* v85 = FindFigure(stats, "both", "all", "v85");
    ASSERT_NE(v85, nullptr);
    EXPECT_EQ(*v85, (CsvRow{"both", "all", "v85", "", Number(both.V85), Number(both.V85Interval->Lower),
                            Number(both.V85Interval->Upper), std::to_string(*both.Count), ""}));
    std::vector<std::string> thresholds;
    for (const CsvRow& row : stats)
        if (row[0] == "both" && row[1] == "all" && row[2] == "share_above")
            thresholds.push_back(row[3]);
    EXPECT_EQ(thresholds, (std::vector<std::string>{"40", "60"}));
    const CsvRow* adt = FindFigure(stats, "both", "all", "adt_all");
    ASSERT_NE(adt, nullptr);
    EXPECT_EQ((*adt)[4], Number(s.Adt[0].Mean[2]));
    EXPECT_EQ((*adt)[7], "1"); // one complete day
    const CsvRow* peak = FindFigure(stats, "both", "all", "phf_morning");
    ASSERT_NE(peak, nullptr);
    EXPECT_FALSE((*peak)[8].empty());
    EXPECT_NE(FindFigure(stats, "both", "all", "out_of_order"), nullptr);
    std::vector<CsvRow> gaps;
    for (const CsvRow& row : stats)
        if (row[2] == "gap")
            gaps.push_back(row);
    ASSERT_EQ(gaps.size(), s.Quality.Gaps.size());
    ASSERT_FALSE(gaps.empty());
    EXPECT_EQ(gaps[0][4], Number(s.Quality.Gaps[0].Minutes));
    EXPECT_EQ(FindFigure(stats, "both", "all", "long_gaps")->at(4), std::to_string(gaps.size()));
    // Every group gives the same figures, so the table's rows do not depend on the data.
    for (int g = 0; g < DirectionGroups * StatisticsClassCount; ++g)
        EXPECT_NE(FindFigure(stats,
                             g / 4 == 2   ? "both"
                             : g / 4 == 0 ? "1"
                                          : "2",
                             std::array{"all", "pkw", "lkw", "lz"}[static_cast<std::size_t>(g % 4)],
                             "pace_share"),
                  nullptr);
}

TEST(StatisticsCsv, SpreadsheetNumbersReadBackWithTheirDecimalComma) {
    const TrafficStatistics s = ComputeTrafficStatistics(ThreeDays(), StatisticsSettings{});
    const std::string bytes = ProfileCsv(s, CsvStyle::Spreadsheet).Bytes;
    const auto rows = ReadRectangularCsv(std::string_view(bytes).substr(3), ';');
    const ProfileHour& h = s.Profile[static_cast<int>(DayGroup::All)][18];
    std::string expected = Number(h.Mean[2]);
    std::replace(expected.begin(), expected.end(), '.', ',');
    EXPECT_EQ(rows[1 + 4 * 24 + 18][4], expected);
}

namespace {
// The rules of the data package standard a reader depends on.
void ExpectValidDataPackage(const nlohmann::json& package, const fs::path& folder) {
    const std::regex name("^[a-z0-9._-]+$");
    const std::set<std::string> types = {"string", "integer", "number", "boolean", "date", "datetime"};
    ASSERT_TRUE(package.contains("name"));
    EXPECT_TRUE(std::regex_match(package["name"].get<std::string>(), name));
    ASSERT_TRUE(package["resources"].is_array());
    ASSERT_FALSE(package["resources"].empty());
    std::set<std::string> resourceNames;
    for (const auto& resource : package["resources"]) {
        const std::string resourceName = resource["name"];
        EXPECT_TRUE(std::regex_match(resourceName, name)) << resourceName;
        EXPECT_TRUE(resourceNames.insert(resourceName).second) << "repeated " << resourceName;
        const std::string path = resource["path"];
        EXPECT_FALSE(fs::path(path).is_absolute());
        EXPECT_EQ(path.find(".."), std::string::npos);
        EXPECT_EQ(path.find('\\'), std::string::npos);
        const std::string bytes = ReadFile(folder / path);
        ASSERT_FALSE(bytes.empty()) << path;
        EXPECT_EQ(resource["bytes"].get<std::size_t>(), bytes.size());
        const std::string delimiter = resource["dialect"]["delimiter"];
        const bool mark = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
        const auto rows = ReadRectangularCsv(std::string_view(bytes).substr(mark ? 3 : 0), delimiter[0]);
        const auto& fields = resource["schema"]["fields"];
        ASSERT_EQ(fields.size(), rows[0].size()) << path;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i]["name"], rows[0][i]);
            EXPECT_TRUE(types.count(fields[i]["type"].get<std::string>())) << fields[i]["type"];
            EXPECT_FALSE(fields[i]["description"].get<std::string>().empty());
        }
    }
}
} // namespace

TEST(DataPackage, DescribesTheExportedTableWithSourceSettingsAndSelection) {
    TempFolder folder;
    const MeasurementData data = MixedVehicles();
    CsvExportRequest request = Request(CsvStyle::Spreadsheet);
    request.Settings.Limit = 30;
    request.Settings.FreeFlowGapSeconds = 4.5;
    const fs::path csv = folder.path() / "Fahrzeuge 1.csv";
    ExportCsv(csv, CsvView::Vehicles, data, request);

    const auto package = nlohmann::json::parse(ReadFile(folder.path() / "Fahrzeuge 1.datapackage.json"));
    ExpectValidDataPackage(package, folder.path());
    EXPECT_EQ(package["name"], "messung-1.lng");
    EXPECT_EQ(package["sources"][0]["path"], "Messung 1.LNG");
    EXPECT_EQ(package["sources"][0]["sha256"], std::string(64, 'a'));
    EXPECT_EQ(package["programVersion"], "4.01.03");
    EXPECT_EQ(package["measurement"]["speedLimit"], 30);
    EXPECT_EQ(package["measurement"]["thresholds"], nlohmann::json::array({30, 40, 50}));
    EXPECT_EQ(package["measurement"]["freeFlowGap"], 4.5);
    EXPECT_EQ(package["measurement"]["selection"]["workingRecords"], 6);
    const auto& resource = package["resources"][0];
    EXPECT_EQ(resource["path"], "Fahrzeuge 1.csv");
    EXPECT_EQ(resource["dialect"]["delimiter"], ";");
    EXPECT_EQ(resource["schema"]["fields"][0]["format"], "%d.%m.%Y %H:%M:%S,%f");
    EXPECT_EQ(resource["schema"]["fields"][5]["decimalChar"], ",");
    EXPECT_EQ(resource["schema"]["fields"][1]["unit"], "km/h");
}

TEST(DataPackage, BundleWritesEveryTableIntoANewFolderAndRefusesAFullOne) {
    TempFolder folder;
    const MeasurementData data = ThreeDays();
    const fs::path bundle = folder.path() / "neu" / "bundle";
    WriteCsvBundle(bundle, data, Request());
    const auto package = nlohmann::json::parse(ReadFile(bundle / "datapackage.json"));
    ExpectValidDataPackage(package, bundle);
    std::vector<std::string> names;
    for (const auto& resource : package["resources"])
        names.push_back(resource["name"]);
    EXPECT_EQ(names, (std::vector<std::string>{"vehicles", "intervals", "days", "profile", "stats"}));
    EXPECT_EQ(package["resources"][0]["schema"]["fields"][0]["format"], "default");

    try {
        WriteCsvBundle(bundle, data, Request());
        FAIL() << "a full folder was written into";
    } catch (const CoreError& e) {
        EXPECT_EQ(e.textNumber(), ProgramMessage::CsvBundleFolderNotEmpty);
    }
}

TEST(CsvExport, AnUnwritableTargetLeavesNoFileBehind) {
    TempFolder folder;
    // A folder in the target's place: the table is written beside it and cannot replace it.
    const fs::path occupied = folder.path() / "out.csv";
    fs::create_directories(occupied / "inside");
    try {
        ExportCsv(occupied, CsvView::Vehicles, MixedVehicles(), Request());
        FAIL() << "replaced a folder";
    } catch (const CoreError& e) {
        EXPECT_EQ(e.textNumber(), ProgramMessage::CannotWrite);
        EXPECT_NE(std::string(e.what()).find("out.csv"), std::string::npos);
    }
    std::vector<fs::path> left;
    for (const auto& entry : fs::directory_iterator(folder.path()))
        left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<fs::path>{"out.csv"});

    // A file where a folder should be.
    std::ofstream(folder.path() / "plain") << "x";
    EXPECT_THROW(ExportCsv(folder.path() / "plain" / "out.csv", CsvView::Days, MixedVehicles(), Request()),
                 CoreError);
    EXPECT_THROW(WriteCsvBundle(folder.path() / "plain" / "bundle", MixedVehicles(), Request()), CoreError);
}
