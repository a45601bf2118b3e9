// korvelan2-cli chart --view profile|cumulative on measurements written by the tests.

#include "CliTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>

namespace {
using Json = nlohmann::json;

// Monday 2 March 23:00 to Thursday 5 March 01:00: Tuesday and Wednesday are complete working days.
std::vector<VehicleRecord> FewDays() {
    return {Vehicle(2026, 3, 2, 23, 0, 0, 50, 4, '1'),  Vehicle(2026, 3, 3, 8, 0, 0, 60, 4, '1'),
            Vehicle(2026, 3, 3, 8, 0, 10, 40, 10, '2'), Vehicle(2026, 3, 3, 8, 20, 0, 70, 4, '1'),
            Vehicle(2026, 3, 4, 12, 0, 0, 55, 13, '2'), Vehicle(2026, 3, 5, 1, 0, 0, 45, 4, '1')};
}

Json ChartJson(const std::vector<std::string>& arguments) {
    const CliResult result = RunCli(arguments);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    return result.ExitCode == 0 ? Json::parse(result.Out) : Json();
}

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
} // namespace

TEST(StatisticsChartCli, ProfileAveragesTheCompleteWorkingDays) {
    const auto folder = TestFolder("chart-profile");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const Json chart =
        ChartJson({"chart", file.string(), "--view", "profile", "--json", "--lang", "english.cty"});
    EXPECT_EQ(chart["title"], "Average day: working days Mon-Fri");
    EXPECT_EQ(chart["bars"], "sideBySide");
    ASSERT_EQ(chart["series"].size(), 2u);
    // 08:00: two vehicles of direction 1 and one of direction 2 on Tuesday, none on Wednesday.
    EXPECT_EQ(chart["series"][0]["values"][8], 1);
    EXPECT_EQ(chart["series"][1]["values"][8], 0.5);
    EXPECT_EQ(chart["series"][1]["values"][12], 0.5);
    EXPECT_EQ(chart["series"][0]["values"][23], 0); // Monday 23:00 lies on a partial day
    EXPECT_EQ(chart["leftAxis"]["max"], 5);

    // The heavy share is the one `stats` gives, in percent, at the hours that have vehicles.
    const CliResult stats = RunCli({"stats", file.string(), "--json"});
    const Json profile = Json::parse(stats.Out)["profile"]["workdays"];
    const Json& line = chart["lines"][0];
    EXPECT_EQ(line["scale"], "right");
    ASSERT_EQ(line["points"].size(), 2u);
    EXPECT_EQ(line["points"][0][0], 8);
    EXPECT_DOUBLE_EQ(line["points"][0][1].get<double>(), 100 * profile[8]["heavyShare"].get<double>());
    EXPECT_EQ(line["points"][1][0], 12);

    const Json weekend =
        ChartJson({"chart", file.string(), "--view", "profile", "--days", "weekend", "--json"});
    EXPECT_EQ(weekend["series"][0]["values"], Json(std::vector<int>(24, 0)));
    EXPECT_FALSE(weekend.contains("lines"));
}

TEST(StatisticsChartCli, CumulativeCurveMarksV50AndV85AtTheirShares) {
    const auto folder = TestFolder("chart-cumulative");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const Json chart = ChartJson(
        {"chart", file.string(), "--view", "cumulative", "--direction", "1", "--json", "--limit", "60"});
    EXPECT_EQ(chart["axisKind"], 3);
    ASSERT_EQ(chart["lines"].size(), 1u);
    const Json& points = chart["lines"][0]["points"];
    // Direction 1 drove 45, 50, 60 and 70 km/h.
    EXPECT_EQ(points.front(), Json::parse("[44, 0]"));
    EXPECT_EQ(points[6], Json::parse("[50, 50]"));
    EXPECT_EQ(points.back(), Json::parse("[70, 100]"));
    ASSERT_EQ(chart["marks"].size(), 2u);
    EXPECT_EQ(chart["marks"][0]["at"], Json::parse("[50, 50]"));
    EXPECT_EQ(chart["marks"][1]["at"], Json::parse("[70, 100]"));
    EXPECT_EQ(chart["marks"][1]["label"], "V85 = 70");
    EXPECT_EQ(chart["verticalLine"]["x"], 60);
    EXPECT_EQ(chart["bottomScale"]["max"], 80);
}

TEST(StatisticsChartCli, BothViewsWriteEveryPictureFormat) {
    const auto folder = TestFolder("chart-statistics-pictures");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    for (const std::string view : {"profile", "cumulative"})
        for (const std::string type : {"png", "bmp", "svg", "pdf", "wmf"}) {
            const auto out = folder / (view + "." + type);
            const CliResult result = RunCli({"chart", file.string(), "--view", view, "--3d", "off", "--size",
                                             "500x320", "-o", out.string()});
            ASSERT_EQ(result.ExitCode, 0) << view << " " << type << ": " << result.Err;
            EXPECT_GT(std::filesystem::file_size(out), 500u) << view << " " << type;
        }
    const std::string svg = FileText(folder / "cumulative.svg");
    EXPECT_NE(svg.find("V85 = 70"), std::string::npos);
    EXPECT_NE(svg.find("<polyline"), std::string::npos);
}

TEST(StatisticsChartCli, ViewsThatDoNotFitAreUsageErrors) {
    const auto folder = TestFolder("chart-statistics-usage");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const auto sht = folder / "few.sht";
    ASSERT_EQ(RunCli({"save", file.string(), "-o", sht.string(), "--view", "intervals"}).ExitCode, 0);

    EXPECT_EQ(RunCli({"chart", sht.string(), "--view", "cumulative", "--json"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"chart", file.string(), "--view", "speed", "--days", "weekend", "--json"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"chart", file.string(), "--view", "profile", "--days", "sunday", "--json"}).ExitCode,
              2);
    EXPECT_EQ(RunCli({"chart", file.string(), "--view", "daily", "--json"}).ExitCode, 2);
    // Interval data have counts, so the average day is drawn from them.
    const Json profile = ChartJson({"chart", sht.string(), "--view", "profile", "--json"});
    EXPECT_EQ(profile["series"][0]["values"][8], 1);
}
