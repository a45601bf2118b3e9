// korvelan2-cli stats and the two statistics summaries, on measurements written by the tests.

#include "CliTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>

namespace {
using Json = nlohmann::ordered_json; // keeps the order of the keys as printed

// Monday 2 March 23:00 to Thursday 5 March 01:00: Tuesday and Wednesday are complete days.
std::vector<VehicleRecord> FewDays() {
    return {Vehicle(2026, 3, 2, 23, 0, 0, 50, 4, '1'),  Vehicle(2026, 3, 3, 8, 0, 0, 60, 4, '1'),
            Vehicle(2026, 3, 3, 8, 0, 10, 40, 10, '2'), Vehicle(2026, 3, 3, 8, 20, 0, 70, 4, '1'),
            Vehicle(2026, 3, 4, 12, 0, 0, 55, 13, '2'), Vehicle(2026, 3, 5, 1, 0, 0, 45, 4, '1')};
}

Json StatsJson(const std::vector<std::string>& arguments) {
    const CliResult result = RunCli(arguments);
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    return Json::parse(result.Out);
}

const Json& GroupOf(const Json& stats, const std::string& direction, const std::string& cls) {
    for (const Json& g : stats["groups"])
        if (g["direction"] == direction && g["class"] == cls)
            return g;
    throw std::runtime_error("no group " + direction + "/" + cls);
}
} // namespace

TEST(StatsCli, JsonOfSingleVehiclesHoldsTheHandComputedFigures) {
    const auto folder = TestFolder("stats-json");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const Json s = StatsJson({"stats", file.string(), "--json"});

    std::vector<std::string> keys;
    for (const auto& [key, value] : s.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"file", "sha256", "dataMode", "vehicles", "settings", "groups",
                                              "days", "adt", "profile", "hourly", "peakHours", "quality"}));
    EXPECT_EQ(s["file"], "few.lng");
    EXPECT_EQ(s["sha256"].get<std::string>().size(), 64u);
    EXPECT_EQ(s["dataMode"], "vehicles");
    EXPECT_EQ(s["vehicles"], 6);
    EXPECT_EQ(s["settings"]["thresholds"], Json::array({50, 60, 70}));
    EXPECT_EQ(s["settings"]["freeFlowGap"], 5.0);
    ASSERT_EQ(s["groups"].size(), 12u);
    EXPECT_EQ(s["groups"][0]["direction"], "1");
    EXPECT_EQ(s["groups"][11]["class"], "lz");

    const Json& d1 = GroupOf(s, "1", "all");
    EXPECT_EQ(d1["n"], 4);
    EXPECT_EQ(d1["v50"], 50);
    EXPECT_EQ(d1["v85"], 70);
    EXPECT_DOUBLE_EQ(d1["mean"].get<double>(), 56.25);
    EXPECT_NEAR(d1["sd"].get<double>(), 11.08678, 1e-5);
    const Json& both = GroupOf(s, "both", "all");
    EXPECT_EQ(both["v15"], 40);
    EXPECT_EQ(both["v50Ci"], Json::array({40, 70}));
    EXPECT_EQ(both["above"][0]["n"], 3);
    EXPECT_DOUBLE_EQ(both["above"][0]["share"].get<double>(), 0.5);
    EXPECT_EQ(both["above"][2]["n"], 0);
    EXPECT_EQ(both["freeFlow"]["n"], 4);
    EXPECT_EQ(both["freeFlow"]["v85"], 70);
    EXPECT_DOUBLE_EQ(both["freeFlow"]["shareAboveLimit"].get<double>(), 0.75);
    EXPECT_TRUE(GroupOf(s, "2", "pkw")["pace"].is_null());
    EXPECT_EQ(GroupOf(s, "2", "pkw")["n"], 0);

    ASSERT_EQ(s["days"].size(), 4u);
    EXPECT_EQ(s["days"][0]["date"], "2026-03-02");
    EXPECT_EQ(s["days"][0]["weekday"], 1);
    EXPECT_EQ(s["days"][0]["complete"], false);
    EXPECT_EQ(s["days"][1]["complete"], true);
    EXPECT_EQ(s["days"][1]["n"], (Json{{"1", 2}, {"2", 1}, {"both", 3}}));
    EXPECT_EQ(s["days"][1]["heavy"], 1);
    EXPECT_EQ(s["days"][1]["v85"], 70);
    EXPECT_DOUBLE_EQ(s["adt"]["all"]["both"].get<double>(), 2.0);
    EXPECT_EQ(s["adt"]["workdays"]["days"], 2);
    EXPECT_TRUE(s["adt"]["weekend"]["both"].is_null());
    EXPECT_EQ(s["profile"]["workdays"].size(), 24u);
    EXPECT_DOUBLE_EQ(s["profile"]["workdays"][8]["both"].get<double>(), 1.5);
    EXPECT_TRUE(s["profile"]["sunday"][8]["both"].is_null());
    EXPECT_EQ(s["hourly"][8]["n"], 3);

    // Direction 1's morning hour starts at 07:30, the first window holding 08:00 and 08:20.
    ASSERT_GE(s["peakHours"].size(), 2u);
    EXPECT_EQ(
        s["peakHours"][0],
        (Json{{"direction", "1"}, {"part", "am"}, {"start", "2026-03-03T07:30:00"}, {"n", 2}, {"phf", 0.5}}));
    EXPECT_EQ(s["peakHours"][1]["start"], "2026-03-02T23:00:00");

    ASSERT_EQ(s["quality"]["gaps"].size(), 3u);
    EXPECT_EQ(s["quality"]["gaps"][0],
              (Json{{"from", "2026-03-02T23:00:00"}, {"to", "2026-03-03T08:00:00"}, {"minutes", 540.0}}));
    EXPECT_EQ(s["quality"]["outOfOrder"], 0);
}

TEST(StatsCli, OptionsAndRangeChangeTheFigures) {
    const auto folder = TestFolder("stats-options");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const Json s = StatsJson({"stats", file.string(), "--json", "--free-flow", "36000", "--thresholds",
                              "65,45,65", "--limit", "60"});
    EXPECT_EQ(s["settings"]["limit"], 60);
    EXPECT_EQ(s["settings"]["thresholds"], Json::array({45, 65}));
    const Json& both = GroupOf(s, "both", "all");
    EXPECT_EQ(both["above"][0]["n"], 4);
    // Ten hours' gap: only Wednesday's vehicle (28 h after its predecessor) and Thursday's (41 h).
    EXPECT_EQ(both["freeFlow"]["n"], 2);
    EXPECT_DOUBLE_EQ(both["freeFlow"]["shareAboveLimit"].get<double>(), 0.0);

    // The range keeps the hour intervals 9..10 (Tuesday 07:00..09:00 after Monday 23:00).
    const Json ranged = StatsJson({"stats", file.string(), "--json", "--minutes", "60", "--range", "9:10"});
    EXPECT_EQ(ranged["vehicles"], 3);
    EXPECT_EQ(ranged["days"].size(), 1u);
}

TEST(StatsCli, IntervalDataGiveCountsAndClassPercentilesOnly) {
    const auto folder = TestFolder("stats-intervals");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const auto sht = folder / "few.sht";
    ASSERT_EQ(RunCli({"save", file.string(), "-o", sht.string(), "--view", "intervals"}).ExitCode, 0);
    const Json s = StatsJson({"stats", sht.string(), "--json"});
    EXPECT_EQ(s["dataMode"], "intervals");
    EXPECT_EQ(s["vehicles"], 6);
    const Json& both = GroupOf(s, "both", "all");
    EXPECT_EQ(both["n"], 6);
    EXPECT_TRUE(both["v50"].is_number());
    EXPECT_TRUE(both["mean"].is_null());
    EXPECT_TRUE(both["v85Ci"].is_null());
    EXPECT_TRUE(both["above"].is_null());
    EXPECT_TRUE(both["freeFlow"].is_null());
    EXPECT_TRUE(s["quality"]["outOfOrder"].is_null());
    // The intervals run from Monday 23:00 to Thursday 01:00 without a missing one.
    EXPECT_EQ(s["days"][1]["complete"], true);
    EXPECT_EQ(s["adt"]["all"]["days"], 2);
}

TEST(StatsCli, BadOptionsAreUsageErrors) {
    const auto folder = TestFolder("stats-usage");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--free-flow", "0"},
                                                {"--free-flow", "fast"},
                                                {"--thresholds", "50,5x"},
                                                {"--thresholds", "50.5"},
                                                {"--thresholds", ""},
                                                {"--thresholds", "300"}}) {
        std::vector<std::string> arguments{"stats", file.string()};
        arguments.insert(arguments.end(), bad.begin(), bad.end());
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, 2) << bad[0] << " " << bad[1];
        EXPECT_NE(result.Err.find(bad[0]), std::string::npos) << result.Err;
    }
    EXPECT_EQ(RunCli({"summary", file.string(), "--kind", "weekly"}).ExitCode, 2);
}

TEST(StatsCli, KeyFiguresAndDayProfileTextsInGermanAndEnglish) {
    const auto folder = TestFolder("stats-text");
    const auto file = WriteVehicles(folder / "few.lng", FewDays());
    const CliResult stats = RunCli({"stats", file.string(), "--lang", "deutsch.cty"});
    ASSERT_EQ(stats.ExitCode, 0) << stats.Err;
    EXPECT_EQ(stats.Out, Expected("stats_kennwerte_de.txt", stats.Out));
    const CliResult same = RunCli({"summary", file.string(), "--kind", "stats", "--lang", "deutsch.cty"});
    EXPECT_EQ(same.Out, stats.Out);
    const CliResult daily = RunCli({"summary", file.string(), "--kind", "daily", "--lang", "english.cty"});
    ASSERT_EQ(daily.ExitCode, 0) << daily.Err;
    EXPECT_EQ(daily.Out, Expected("stats_daily_en.txt", daily.Out));

    const auto exported = folder / "daily.asc";
    ASSERT_EQ(RunCli({"export", file.string(), "--view", "summary", "--kind", "daily", "-o",
                      exported.string(), "--lang", "english.cty"})
                  .ExitCode,
              0);
    // The export holds the same lines, joined by CR LF (the English text is plain ASCII).
    std::string expected = daily.Out.substr(0, daily.Out.size() - 1);
    for (std::size_t at = expected.find('\n'); at != std::string::npos; at = expected.find('\n', at + 2))
        expected.replace(at, 1, "\r\n");
    std::ifstream in(exported, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written, expected);
}
