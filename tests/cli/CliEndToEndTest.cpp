// korvelan2-cli end to end: measurements written by the tests, whole outputs compared with the
// expected text under tests/cli/expected (read those files: they are the reviewed results).

#include "CliTestSupport.h"

#include "data/DataFileWriter.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {
// One week from Monday 2 March 2026: peaks at 7-9 and 16-18 o'clock, quiet nights, a little more
// traffic each day; every 12th vehicle is a LKW, every 25th a LZ; directions alternate.
std::vector<VehicleRecord> WeekOfTraffic() {
    std::vector<VehicleRecord> vehicles;
    for (int d = 0; d < 7; ++d)
        for (int h = 0; h < 24; ++h) {
            const bool peak = h == 7 || h == 8 || h == 16 || h == 17;
            const int n = (peak ? 20 : (h >= 6 && h < 22 ? 8 : 2)) + d;
            for (int k = 0; k < n; ++k) {
                const int serial = static_cast<int>(vehicles.size());
                const int length = serial % 25 == 24 ? 13 : serial % 12 == 11 ? 9 : 4;
                const int speed = 30 + (d * 7 + h * 3 + k * 11) % 40;
                vehicles.push_back(
                    Vehicle(2026, 3, 2 + d, h, k * 60 / n, 7, speed, length, k % 2 == 0 ? '1' : '2'));
            }
        }
    return vehicles;
}

// One vehicle a minute from 23:47 to 00:13 over the turn of June to July.
std::vector<VehicleRecord> AcrossMidnight() {
    std::vector<VehicleRecord> vehicles;
    for (int m = 0; m < 27; ++m) {
        const int minute = 47 + m;
        const int speed = 35 + (m * 7) % 30;
        const int length = m % 9 == 8 ? 14 : m % 5 == 4 ? 10 : 5;
        vehicles.push_back(
            minute < 60 ? Vehicle(2026, 6, 30, 23, minute, 0, speed, length, m % 3 == 0 ? '2' : '1')
                        : Vehicle(2026, 7, 1, 0, minute - 60, 0, speed, length, m % 3 == 0 ? '2' : '1'));
    }
    return vehicles;
}

// A vehicle every 30 seconds from 23:52:30 on New Year's Eve to 00:07:30.
std::vector<VehicleRecord> AcrossNewYear() {
    std::vector<VehicleRecord> vehicles;
    for (int i = 0; i <= 30; ++i) {
        const int seconds = 23 * 3600 + 52 * 60 + 30 + 30 * i;
        const bool nextYear = seconds >= 24 * 3600;
        const int s = seconds % (24 * 3600);
        vehicles.push_back(
            nextYear ? Vehicle(2026, 1, 1, s / 3600, s / 60 % 60, s % 60, 40 + i, 4 + i % 3, '1')
                     : Vehicle(2025, 12, 31, s / 3600, s / 60 % 60, s % 60, 40 + i, 4 + i % 3, '2'));
    }
    return vehicles;
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        week = WriteVehicles(folder / "week.lng", WeekOfTraffic(), "Hauptstraße Woche");
        midnight = WriteVehicles(folder / "midnight.lng", AcrossMidnight());
        newYear = WriteVehicles(folder / "newyear.lng", AcrossNewYear());
        empty = WriteVehicles(folder / "empty.lng", {});
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Runs the command and compares standard output with the expected file.
    void ExpectOutput(const std::string& expectedName, const std::vector<std::string>& arguments) {
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(result.Out, Expected(expectedName, result.Out)) << "expected/" << expectedName;
    }

    std::filesystem::path folder, week, midnight, newYear, empty;
};
} // namespace

TEST_F(Cli, WeekOfTrafficSummariesAndHourList) {
    ExpectOutput("week-overview-limit50.txt", {"summary", week.string(), "--limit", "50"});
    ExpectOutput("week-speed-limit50.txt", {"summary", week.string(), "--kind", "speed", "--limit", "50"});
    ExpectOutput("week-intervals-60.txt", {"intervals", week.string(), "--minutes", "60"});
    ExpectOutput("week-overview-30-v05-v95.txt",
                 {"summary", week.string(), "--minutes", "30", "--lower", "5", "--upper", "95"});

    // Figures a traffic engineer checks first, counted by hand: 192 vehicles on the first day and
    // 24 more on each following day, 1848 in all; 7 * 20 + 7 = 147 vehicles in the last day's peaks.
    const CliResult summary = RunCli({"summary", week.string()});
    EXPECT_NE(summary.Out.find(" 1848 "), std::string::npos);
    EXPECT_NE(summary.Out.find("Zeitraum: 02.03.2026 00:00  -  08.03.2026 23:50"), std::string::npos);
    // Tuesday to Saturday are the complete days: 192 + 24 * d vehicles on day d = 1..5 give an
    // average daily traffic of 264.
    const std::string daily = RunCli({"summary", week.string(), "--kind", "daily"}).Out;
    const std::size_t adt = daily.find("\nalle Tage ");
    ASSERT_NE(adt, std::string::npos) << daily;
    const std::string adtLine = daily.substr(adt + 1, daily.find('\n', adt + 1) - adt - 1);
    EXPECT_EQ(adtLine.substr(22, 6), "     5");
    EXPECT_EQ(adtLine.substr(adtLine.size() - 9), "    264,0");
}

TEST_F(Cli, JoinedIntervalsAcrossMidnightAndNewYear) {
    ExpectOutput("midnight-intervals-5.txt", {"intervals", midnight.string()});
    ExpectOutput("midnight-intervals-15.txt", {"intervals", midnight.string(), "--minutes", "15"});
    ExpectOutput("midnight-intervals-30.txt", {"intervals", midnight.string(), "--minutes", "30"});
    ExpectOutput("midnight-intervals-60.txt", {"intervals", midnight.string(), "--minutes", "60"});
    ExpectOutput("newyear-intervals-5.txt", {"intervals", newYear.string()});
    ExpectOutput("newyear-list.txt", {"list", newYear.string()});

    // 23:45 to 00:10 are six 5-minute intervals; the hour list starts at 23:00 and 00:00.
    const CliResult fifteen = RunCli({"intervals", midnight.string(), "--minutes", "15"});
    EXPECT_NE(fifteen.Out.find("30-06-2026  23:45:00"), std::string::npos);
    EXPECT_NE(fifteen.Out.find("01-07-2026  00:00:00"), std::string::npos);
}

TEST_F(Cli, RangeAndFilterNarrowTheData) {
    // The second day in hours: records 25..48 of the hour list.
    ExpectOutput("week-range-day2.txt", {"summary", week.string(), "--minutes", "60", "--range", "25:48"});
    const CliResult range = RunCli({"intervals", week.string(), "--minutes", "60", "--range", "25:48"});
    EXPECT_NE(range.Out.find(" 000024     03-03-2026  23:00:00"), std::string::npos);
    EXPECT_EQ(range.Out.find(" 000025 "), std::string::npos);

    ExpectOutput("midnight-drop-fast.txt",
                 {"list", midnight.string(), "--mark", "speed>50", "--drop-marked"});
    ExpectOutput("midnight-mark-dir2-long.txt",
                 {"list", midnight.string(), "--mark", "dir=2", "--mark", "length>9"});
    const CliResult kept = RunCli({"intervals", midnight.string(), "--mark", "dir=2", "--keep-marked"});
    EXPECT_EQ(kept.ExitCode, 0);
    // Only direction 2 remains: every direction-1 count is 0.
    std::istringstream lines(kept.Out);
    std::string line;
    int dataLines = 0;
    while (std::getline(lines, line))
        if (line.size() > 60 && line[1] == '0') {
            ++dataLines;
            EXPECT_EQ(line.substr(32, 29), "         0      0     0     0") << line;
        }
    EXPECT_EQ(dataLines, 6);
}

TEST_F(Cli, EmptyMeasurementGivesHeadersZerosAndDashes) {
    ExpectOutput("empty-list.txt", {"list", empty.string()});
    ExpectOutput("empty-intervals.txt", {"intervals", empty.string()});
    ExpectOutput("empty-overview.txt", {"summary", empty.string(), "--limit", "30"});
}

TEST_F(Cli, ExportSaveAndInfo) {
    const auto asc = folder / "week.asc";
    ASSERT_EQ(RunCli({"export", midnight.string(), "--view", "vehicles", "-o", asc.string()}).ExitCode, 0);
    const std::string vehicles = ReadBytes(asc);
    EXPECT_EQ(vehicles.substr(0, 30), "30.06.26 23:47:00;00;035;05;1 ");
    EXPECT_EQ(vehicles.substr(30, 2), "\r\n");

    ASSERT_EQ(RunCli({"export", midnight.string(), "--view", "summary", "-o", asc.string()}).ExitCode, 0);
    const std::string summary = ReadBytes(asc);
    EXPECT_EQ(summary.substr(0, 11), "\xDC"
                                     "bersicht\r\n"); // Windows-1252
    EXPECT_NE(summary.substr(summary.size() - 2), "\r\n");

    // Saving the working set after a filter and reading it back.
    const auto saved = folder / "slow.lng";
    ASSERT_EQ(RunCli({"save", midnight.string(), "-o", saved.string(), "--mark", "speed>50", "--drop-marked",
                      "--comment", "nur langsame"})
                  .ExitCode,
              0);
    const CliResult info = RunCli({"info", saved.string()});
    EXPECT_NE(info.Out.find("records: 15\n"), std::string::npos) << info.Out;
    EXPECT_NE(info.Out.find("comment: nur langsame"), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(saved), 1040u + 15u * 16u);
}

TEST_F(Cli, FailuresReportTheirMessageAndExitStatus) {
    const auto text = folder / "notes.txt";
    std::ofstream(text) << "hello";
    const CliResult wrong = RunCli({"list", text.string()});
    EXPECT_EQ(wrong.ExitCode, 1);
    EXPECT_EQ(wrong.Err, "Keine Korvelan - Datei\n");
    EXPECT_EQ(wrong.Out, "");

    EXPECT_EQ(RunCli({"intervals", week.string(), "--minutes", "20"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"intervals", week.string(), "--range", "abc"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"frobnicate"}).ExitCode, 2);
    const CliResult badRange = RunCli({"intervals", week.string(), "--range", "5:99999"});
    EXPECT_EQ(badRange.ExitCode, 1);
    EXPECT_FALSE(badRange.Err.empty());
    const CliResult badMark = RunCli({"list", week.string(), "--mark", "colour=red"});
    EXPECT_EQ(badMark.ExitCode, 1);
    EXPECT_FALSE(badMark.Err.empty());
}

TEST_F(Cli, PercentilesOfIntervalFilesCountOnlyTheClassifiedVehicles) {
    // Two intervals of a device interval file: 11 PKW counted in direction 1, of which only 10 were
    // classified (all at 51..55 km/h); the second interval has one vehicle and no class at all.
    std::vector<IntervalRecord> intervals(2, IntervalRecord{});
    intervals[0].StartTime = *TryEncodeDateTime(2026, 3, 2, 8, 0, 0);
    intervals[1].StartTime = *TryEncodeDateTime(2026, 3, 2, 8, 5, 0);
    intervals[0].Total()[1] = intervals[0].PkwCount()[1] = 11;
    intervals[0].PkwSpeedClasses(9)[1] = 10;
    intervals[0].PkwMaxSpeed()[1] = 55;
    intervals[1].Total()[1] = intervals[1].PkwCount()[1] = 1;
    const auto file = folder / "unclassified.sht";
    WriteIntervalFile(file, "Zaehlstelle", intervals);

    // Over the 10 classified vehicles: V15 48,7, V50 50,5, V85 52,2 (never the 153 of class 29).
    const CliResult summary = RunCli({"summary", file.string()});
    ASSERT_EQ(summary.ExitCode, 0) << summary.Err;
    EXPECT_NE(summary.Out.find("V15                   48,7    48,7     0,0     0,0"), std::string::npos)
        << summary.Out;
    EXPECT_NE(summary.Out.find("V50                   50,5    50,5"), std::string::npos);
    EXPECT_NE(summary.Out.find("V85                   52,2    52,2"), std::string::npos);
    EXPECT_EQ(summary.Out.find("153"), std::string::npos);

    // The V85 chart: 52,3 over the first interval (the chart's single-precision 0.85 lies a little
    // above 0.85), 0 for the interval without classified vehicles; the axis stays at 60.
    const CliResult chart = RunCli({"chart", file.string(), "--view", "v3", "--json"});
    ASSERT_EQ(chart.ExitCode, 0) << chart.Err;
    EXPECT_NE(chart.Out.find("\"valueLabels\":[\"52,3\",\"0\",\" \","), std::string::npos) << chart.Out;
    EXPECT_NE(chart.Out.find("\"max\":60"), std::string::npos) << chart.Out;
}
