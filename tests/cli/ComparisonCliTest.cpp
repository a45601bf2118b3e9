// korvelan2-cli compare, on two measurements written by the tests.

#include "CliTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {
using Json = nlohmann::ordered_json; // keeps the order of the keys as printed

// Three days from Monday 2 March 2026, `perHour` vehicles an hour with speeds base + 0..9 km/h,
// every fifth a LKW, every fourth in direction 1.
std::vector<VehicleRecord> ThreeDays(int base, int perHour) {
    std::vector<VehicleRecord> vehicles;
    for (int day = 2; day <= 4; ++day)
        for (int hour = 0; hour < 24; ++hour)
            for (int i = 0; i < perHour; ++i)
                vehicles.push_back(Vehicle(2026, 3, day, hour, i * 60 / perHour, 0, base + (i * 7) % 10,
                                           i % 5 == 0 ? 10 : 4, i % 4 == 0 ? '1' : '2'));
    return vehicles;
}

struct Files {
    std::filesystem::path Before;
    std::filesystem::path After;
};

Files WriteBoth(const std::string& name) {
    const auto folder = TestFolder(name);
    return {WriteVehicles(folder / "vorher.lng", ThreeDays(45, 20), "Hauptstraße vorher"),
            WriteVehicles(folder / "nachher.lng", ThreeDays(40, 16), "Hauptstraße nachher")};
}
} // namespace

TEST(CompareCli, JsonHoldsTheKeysAndTheFigures) {
    const Files f = WriteBoth("compare-json");
    const CliResult result =
        RunCli({"compare", f.Before.string(), f.After.string(), "--json", "--limit", "50"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const Json c = Json::parse(result.Out);

    std::vector<std::string> keys;
    for (const auto& [key, value] : c.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"before", "after", "limit", "thresholds", "classBased", "adt",
                                              "groups"}));
    EXPECT_EQ(c["before"]["file"], "vorher.lng");
    EXPECT_EQ(c["before"]["sha256"].get<std::string>().size(), 64u);
    EXPECT_EQ(c["before"]["vehicles"], 3 * 24 * 20);
    EXPECT_EQ(c["after"]["vehicles"], 3 * 24 * 16);
    EXPECT_EQ(c["limit"], 50);
    EXPECT_EQ(c["thresholds"], Json::array({50, 60, 70}));
    EXPECT_EQ(c["classBased"], false);
    EXPECT_DOUBLE_EQ(c["adt"]["all"]["both"]["before"].get<double>(), 480);
    EXPECT_DOUBLE_EQ(c["adt"]["all"]["both"]["change"].get<double>(), -0.2);
    EXPECT_TRUE(c["adt"]["weekend"]["1"]["change"].is_null());

    ASSERT_EQ(c["groups"].size(), 12u);
    const Json& both = c["groups"][8];
    EXPECT_EQ(both["direction"], "both");
    EXPECT_EQ(both["class"], "all");
    EXPECT_EQ(both["nBefore"], 1440);
    const Json& v85 = both["raw"]["v85"];
    ASSERT_EQ(v85.size(), 6u);
    EXPECT_EQ(v85[0], 53);
    EXPECT_EQ(v85[1], 48);
    EXPECT_EQ(v85[2], -5);
    EXPECT_LE(v85[3].get<double>(), -5);
    EXPECT_GE(v85[4].get<double>(), -5);
    EXPECT_EQ(v85[5], true);
    EXPECT_EQ(both["raw"]["above"][0]["threshold"], 50);
    EXPECT_EQ(both["raw"]["above"][0]["figure"], both["raw"]["shareAboveLimit"]);
    EXPECT_TRUE(both["matched"]["droppedHours"].empty());
    EXPECT_EQ(both["matched"]["v85"][2], -5);

    // A fixed seed: the same files give the same figures.
    EXPECT_EQ(RunCli({"compare", f.Before.string(), f.After.string(), "--json", "--limit", "50"}).Out,
              result.Out);
}

TEST(CompareCli, TextInTheProgramsLanguage) {
    const Files f = WriteBoth("compare-text");
    const CliResult result = RunCli(
        {"compare", f.Before.string(), f.After.string(), "--lang", "deutsch.cty", "--thresholds", "50"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, Expected("compare_de.txt", result.Out));
}

TEST(CompareCli, SwapDirectionsAndTheFilterApplyToTheMeasurements) {
    const Files f = WriteBoth("compare-options");
    const auto json = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments{"compare", f.Before.string(), f.After.string(), "--json"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        const CliResult r = RunCli(arguments);
        EXPECT_EQ(r.ExitCode, 0) << r.Err;
        return Json::parse(r.Out);
    };
    const Json swapped = json({"--swap-directions"});
    const Json plain = json({});
    EXPECT_EQ(swapped["groups"][0]["nAfter"], plain["groups"][4]["nAfter"]);
    EXPECT_EQ(swapped["adt"]["all"]["1"]["after"], plain["adt"]["all"]["2"]["after"]);

    // Keeping only LKW (length ≥ 8 m) on both sides leaves no PKW.
    const Json lkw = json({"--mark", "length>7", "--keep-marked"});
    EXPECT_EQ(lkw["groups"][9]["nBefore"], 0);
    EXPECT_TRUE(lkw["groups"][9]["raw"]["v85"].is_null());
    EXPECT_EQ(lkw["groups"][10]["nBefore"], plain["groups"][10]["nBefore"]);
}

TEST(CompareCli, BadOptionsAreUsageErrorsAndDifferentKindsAnError) {
    const Files f = WriteBoth("compare-bad");
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--range", "1:5"},
                                                {"--free-flow", "-1"},
                                                {"--thresholds", "50,abc"},
                                                {"--limit", "55"},
                                                {"--drop-marked", "--keep-marked"}}) {
        std::vector<std::string> arguments{"compare", f.Before.string(), f.After.string()};
        arguments.insert(arguments.end(), bad.begin(), bad.end());
        const CliResult result = RunCli(arguments);
        EXPECT_EQ(result.ExitCode, 2) << bad[0];
        EXPECT_TRUE(result.Out.empty()) << bad[0];
    }
    EXPECT_NE(RunCli({"compare", f.Before.string(), f.After.string(), "--range", "1:5"}).Err.find("--range"),
              std::string::npos);
    EXPECT_EQ(RunCli({"compare", f.Before.string()}).ExitCode, 2);
    const CliResult missing =
        RunCli({"compare", f.Before.string(), (f.Before.parent_path() / "none.lng").string()});
    EXPECT_EQ(missing.ExitCode, 1);
}
