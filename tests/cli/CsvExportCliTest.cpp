// korvelan2-cli export --format csv on measurements written by the tests: every table read back
// and checked against the list and the statistics.

#include "../evaluation/CsvReadBack.h"
#include "CliTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace fs = std::filesystem;

namespace {
using Json = nlohmann::json;

// Monday 2 March 23:00 to Thursday 5 March 01:00.
std::vector<VehicleRecord> FewDays() {
    return {Vehicle(2026, 3, 2, 23, 0, 0, 50, 4, '1'),  Vehicle(2026, 3, 3, 8, 0, 0, 60, 4, '1'),
            Vehicle(2026, 3, 3, 8, 0, 10, 40, 10, '2'), Vehicle(2026, 3, 3, 8, 20, 0, 70, 4, '1'),
            Vehicle(2026, 3, 4, 12, 0, 0, 55, 13, '2'), Vehicle(2026, 3, 5, 1, 0, 0, 45, 4, '1')};
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<CsvRow> ExportRows(const fs::path& data, const std::string& view, const fs::path& out,
                               std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {"export", data.string(), "--format", "csv",
                                          "--view", view,          "-o",       out.string()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const CliResult result = RunCli(arguments);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Err, "");
    return ReadRectangularCsv(ReadFile(out), ',');
}
} // namespace

TEST(CsvExportCli, VehicleRowsAreTheListsRecords) {
    const auto folder = TestFolder("csv-vehicles");
    const auto vehicles = FewDays();
    const auto file = WriteVehicles(folder / "few.lng", vehicles);
    const auto rows = ExportRows(file, "vehicles", folder / "vehicles.csv", {"--mark", "speed>65"});
    ASSERT_EQ(rows.size(), 1 + vehicles.size());
    for (std::size_t i = 0; i < vehicles.size(); ++i) {
        EXPECT_EQ(rows[i + 1][1], std::to_string(vehicles[i].Speed));
        EXPECT_EQ(rows[i + 1][2], std::to_string(vehicles[i].Length));
        EXPECT_EQ(rows[i + 1][3], std::string(1, vehicles[i].Direction));
        EXPECT_EQ(rows[i + 1][6], vehicles[i].Speed > 65 ? "true" : "false");
    }
    EXPECT_EQ(rows[1][0], "2026-03-02T23:00:00");
    EXPECT_EQ(rows[3][4], "lkw");
    EXPECT_EQ(rows[4][5], "1200"); // 08:00:00 to 08:20:00 in direction 1

    const Json package = Json::parse(ReadFile(folder / "vehicles.datapackage.json"));
    EXPECT_EQ(package["sources"][0]["path"], "few.lng");
    EXPECT_EQ(package["sources"][0]["sha256"].get<std::string>().size(), 64u);
    EXPECT_EQ(package["resources"][0]["path"], "vehicles.csv");
}

TEST(CsvExportCli, StatisticsTablesAgreeWithStatsJson) {
    const auto folder = TestFolder("csv-stats");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const CliResult statsRun = RunCli({"stats", file.string(), "--json", "--thresholds", "40,60"});
    ASSERT_EQ(statsRun.ExitCode, 0) << statsRun.Err;
    const Json stats = Json::parse(statsRun.Out);

    const auto days = ExportRows(file, "days", folder / "days.csv");
    ASSERT_EQ(days.size(), 1 + stats["days"].size());
    for (std::size_t i = 0; i < stats["days"].size(); ++i) {
        EXPECT_EQ(days[i + 1][0], stats["days"][i]["date"]);
        EXPECT_EQ(days[i + 1][5], std::to_string(stats["days"][i]["n"]["both"].get<int>()));
    }

    const auto figures = ExportRows(file, "stats", folder / "stats.csv", {"--limit", "50"});
    const auto find = [&](const std::string& direction, const std::string& figure) -> const CsvRow& {
        for (const CsvRow& row : figures)
            if (row[0] == direction && row[1] == "all" && row[2] == figure)
                return row;
        throw std::runtime_error("no row " + figure);
    };
    EXPECT_EQ(find("1", "v85")[4], "70");
    EXPECT_EQ(find("both", "v50")[5], "40");
    EXPECT_EQ(find("both", "v50")[6], "70");
    EXPECT_EQ(find("both", "adt_all")[4], "2");

    const auto profile = ExportRows(file, "profile", folder / "profile.csv");
    EXPECT_EQ(profile.size(), 1u + 5 * 24);
    EXPECT_EQ(profile[1 + 8][4], "1.5"); // workdays 08:00: 3 vehicles over 2 complete days

    const auto intervals = ExportRows(file, "intervals", folder / "intervals.csv", {"--minutes", "60"});
    long long total = 0;
    for (std::size_t i = 1; i < intervals.size(); ++i)
        total += std::stoll(intervals[i][1]) + std::stoll(intervals[i][8]);
    EXPECT_EQ(total, 6);
}

TEST(CsvExportCli, SpreadsheetStyleAndRefusals) {
    const auto folder = TestFolder("csv-excel");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const CliResult excel = RunCli({"export", file.string(), "--format", "csv", "--view", "vehicles", "-o",
                                    (folder / "v.csv").string(), "--excel"});
    ASSERT_EQ(excel.ExitCode, 0) << excel.Err;
    const std::string bytes = ReadFile(folder / "v.csv");
    ASSERT_EQ(bytes.rfind("\xEF\xBB\xBF", 0), 0u);
    const auto rows = ReadRectangularCsv(std::string_view(bytes).substr(3), ';');
    EXPECT_EQ(rows[1][0], "02.03.2026 23:00:00");

    // The ASCII export stays the default and takes only its own views.
    EXPECT_EQ(RunCli({"export", file.string(), "--view", "days", "-o", (folder / "a.asc").string()}).ExitCode,
              2);
    EXPECT_EQ(
        RunCli({"export", file.string(), "--view", "vehicles", "-o", (folder / "a.asc").string(), "--excel"})
            .ExitCode,
        2);
    EXPECT_EQ(RunCli({"export", file.string(), "--format", "csv", "--view", "summary", "-o",
                      (folder / "s.csv").string()})
                  .ExitCode,
              2);
    EXPECT_FALSE(fs::exists(folder / "a.asc"));

    // An unwritable target: a clear message, no file.
    const CliResult unwritable = RunCli({"export", file.string(), "--format", "csv", "--view", "days", "-o",
                                         (folder / "missing" / "d.csv").string()});
    EXPECT_NE(unwritable.ExitCode, 0);
    EXPECT_NE(unwritable.Err.find("d.csv"), std::string::npos) << unwritable.Err;
    EXPECT_FALSE(fs::exists(folder / "missing"));
}
