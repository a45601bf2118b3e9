#include "charts/StatisticsCharts.h"

#include "base/LanguageTexts.h"
#include "lang/LanguageFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>

namespace {

LanguageTexts GermanTexts() {
    LanguageTexts texts;
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/deutsch.cty", texts);
    return texts;
}

class StatisticsChartTest : public ::testing::Test {
protected:
    std::unique_ptr<MeasurementData> data = std::make_unique<MeasurementData>();
    const ViewSelections view{};
    LanguageTexts texts = GermanTexts();
    LocaleFormat german = GermanLocaleFormat();
    ChartScaleState scale;
    TrafficStatistics statistics;

    ChartViewContext Context() { return ChartViewContext{*data, view, texts, german, scale}; }

    // Workdays: hour h holds 10·h vehicles in direction 1 and 5·h in direction 2; 3 complete days.
    void FillWorkdayProfile() {
        auto& profile = statistics.Profile[static_cast<std::size_t>(DayGroup::Workdays)];
        for (int h = 0; h < 24; ++h) {
            profile[static_cast<std::size_t>(h)].Mean[0] = 10.0 * h;
            profile[static_cast<std::size_t>(h)].Mean[1] = 5.0 * h;
            if (h != 3) // no vehicle at 03:00: no share
                profile[static_cast<std::size_t>(h)].HeavyShare = h == 12 ? 0.12 : 0.05;
        }
        statistics.Adt[1].Days = 3;
    }

    // Direction 1: one vehicle at 40, two at 50, one at 60 km/h; direction 2: one at 30.
    void FillSpeeds() {
        statistics.SingleVehicles = true;
        statistics.Limit = 50;
        statistics.Groups.resize(12);
        statistics.SpeedCounts[0][40] = 1;
        statistics.SpeedCounts[0][50] = 2;
        statistics.SpeedCounts[0][60] = 1;
        statistics.SpeedCounts[1][30] = 1;
        statistics.Groups[0].Count = 4;
        statistics.Groups[0].V50 = 50; // rank ⌈4·0.5⌉ = 2
        statistics.Groups[0].V85 = 60; // rank ⌈4·0.85⌉ = 4
        statistics.Groups[4].Count = 1;
        statistics.Groups[4].V50 = 30;
        statistics.Groups[4].V85 = 30;
    }
};

} // namespace

TEST_F(StatisticsChartTest, AverageDayShowsBothDirectionsSideBySideWithTheHeavyShareOnTheRight) {
    FillWorkdayProfile();
    const ChartDescription chart = AverageDayView(Context(), statistics, ProfileDays::Workdays, 3);

    EXPECT_EQ(chart.Arrangement, BarArrangement::SideBySide);
    ASSERT_EQ(chart.Series.size(), 2u);
    EXPECT_EQ(chart.Series[0].Name, "Richtung 1");
    EXPECT_EQ(chart.Series[1].Name, "Richtung 2");
    ASSERT_EQ(chart.Series[0].Values.size(), 24u);
    EXPECT_EQ(chart.Series[0].Values[23], 230);
    EXPECT_EQ(chart.Series[1].Values[7], 35);
    EXPECT_EQ(chart.LeftAxisMax, 500); // the count step holding 230
    ASSERT_EQ(chart.Labels.size(), 24u);
    EXPECT_EQ(chart.Labels.front(), "0");
    EXPECT_EQ(chart.Labels.back(), "23");

    ASSERT_EQ(chart.Lines.size(), 1u);
    const ChartLine& heavy = chart.Lines[0];
    EXPECT_TRUE(heavy.OnRightScale);
    ASSERT_EQ(heavy.Points.size(), 23u); // 03:00 left out
    EXPECT_EQ(heavy.Points[3].X, 4);
    EXPECT_DOUBLE_EQ(heavy.Points[11].Y, 12);
    ASSERT_TRUE(chart.RightScale);
    EXPECT_EQ(chart.RightScale->Max, 20); // 12 % fits the 20 % scale
    EXPECT_EQ(chart.Title, "Mittlerer Tagesgang: Werktage Mo-Fr");
    ASSERT_EQ(chart.Foot.size(), 2u);
    EXPECT_NE(chart.Foot[1].find("3 vollständige Tage"), std::string::npos);
}

TEST_F(StatisticsChartTest, AverageDayFollowsDirectionImportAndMissingDays) {
    FillWorkdayProfile();
    const ChartDescription second = AverageDayView(Context(), statistics, ProfileDays::Workdays, 2);
    ASSERT_EQ(second.Series.size(), 1u);
    EXPECT_EQ(second.Series[0].Values[2], 10);
    EXPECT_EQ(second.Series[0].Colour, DirectionColour(2));

    statistics.Imported = true; // imported data fill direction 1 only
    EXPECT_EQ(AverageDayView(Context(), statistics, ProfileDays::Workdays, 3).Series.size(), 1u);

    const ChartDescription weekend = AverageDayView(Context(), statistics, ProfileDays::Weekend, 3);
    EXPECT_EQ(weekend.Title, "Mittlerer Tagesgang: Wochenende Sa/So");
    EXPECT_EQ(weekend.Series[0].Values, std::vector<double>(24, 0.0));
    EXPECT_TRUE(weekend.Lines.empty());
    EXPECT_NE(weekend.Foot[1].find(texts[StatisticsChartText::NoCompleteDay]), std::string::npos);
}

TEST(CumulativeShares, RunFromTheFirstToTheLastSpeed) {
    std::array<long long, 256> counts{};
    EXPECT_TRUE(CumulativeShares(counts).empty());
    counts[40] = 1;
    counts[50] = 2;
    counts[60] = 1;
    const std::vector<double> shares = CumulativeShares(counts);
    ASSERT_EQ(shares.size(), 256u);
    EXPECT_EQ(shares[39], 0);
    EXPECT_EQ(shares[40], 25);
    EXPECT_EQ(shares[49], 25);
    EXPECT_EQ(shares[50], 75);
    EXPECT_EQ(shares[60], 100);
    EXPECT_EQ(shares[255], 100);
}

TEST_F(StatisticsChartTest, CumulativeCurvesCarryTheirPercentileMarksAndTheLimit) {
    FillSpeeds();
    const ChartDescription chart = CumulativeSpeedView(Context(), statistics, 3);

    EXPECT_EQ(chart.AxisKind, PercentAxisKind);
    EXPECT_EQ(chart.LeftAxisMax, 100);
    EXPECT_TRUE(chart.Series.empty());
    ASSERT_EQ(chart.Lines.size(), 2u);
    const ChartLine& first = chart.Lines[0];
    ASSERT_EQ(first.Points.size(), 22u); // 39 (0 %) and 40 .. 60
    EXPECT_EQ(first.Points.front().X, 39);
    EXPECT_EQ(first.Points.front().Y, 0);
    EXPECT_EQ(first.Points[11].X, 50);
    EXPECT_EQ(first.Points[11].Y, 75);
    EXPECT_EQ(first.Points.back().Y, 100);

    ASSERT_EQ(chart.Marks.size(), 4u);
    EXPECT_EQ(chart.Marks[0].Label, "V50 = 50");
    EXPECT_EQ(chart.Marks[0].At.X, 50);
    EXPECT_EQ(chart.Marks[0].At.Y, 75);
    EXPECT_EQ(chart.Marks[1].Label, "V85 = 60");
    EXPECT_EQ(chart.Marks[1].At.Y, 100);
    EXPECT_EQ(chart.Marks[2].At.X, 30);
    EXPECT_EQ(chart.Marks[2].Colour, DirectionColour(2));

    ASSERT_TRUE(chart.VerticalLine);
    EXPECT_EQ(chart.VerticalLine->X, 50);
    EXPECT_EQ(chart.VerticalLine->Label, "Limit 50 km/h");
    ASSERT_TRUE(chart.BottomScale);
    EXPECT_EQ(chart.BottomScale->Max, 80); // the speed step above 60
    EXPECT_NE(chart.Foot[1].find("Richtung 1: n = 4   Richtung 2: n = 1"), std::string::npos);
}

TEST_F(StatisticsChartTest, CumulativeOfOneDirectionWithoutVehiclesDrawsNoCurve) {
    FillSpeeds();
    statistics.SpeedCounts[1] = {};
    statistics.Groups[4] = SpeedGroupFigures{};
    statistics.Groups[4].Count = 0;
    const ChartDescription chart = CumulativeSpeedView(Context(), statistics, 2);
    EXPECT_TRUE(chart.Lines.empty());
    EXPECT_TRUE(chart.Marks.empty());
    EXPECT_EQ(chart.BottomScale->Max, 60); // the limit still shows
}

TEST_F(StatisticsChartTest, JsonNamesTheAdditionsOnlyWhenAChartUsesThem) {
    const auto plain = nlohmann::json::parse(ChartDescriptionToJson(ChartDescription{}));
    for (const char* key : {"bars", "rightScale", "bottomScale", "lines", "marks", "verticalLine"})
        EXPECT_FALSE(plain.contains(key)) << key;
    EXPECT_FALSE(plain["series"].is_null());

    FillWorkdayProfile();
    const auto profile = nlohmann::json::parse(
        ChartDescriptionToJson(AverageDayView(Context(), statistics, ProfileDays::Workdays, 3)));
    EXPECT_EQ(profile["bars"], "sideBySide");
    EXPECT_EQ(profile["series"][1]["name"], "Richtung 2");
    EXPECT_EQ(profile["rightScale"]["max"], 20);
    EXPECT_EQ(profile["rightScale"]["title"], "Schwerverkehrsanteil %");
    EXPECT_EQ(profile["lines"][0]["scale"], "right");
    EXPECT_EQ(profile["lines"][0]["points"][11], nlohmann::json::parse("[12, 12]"));

    FillSpeeds();
    const auto cumulative =
        nlohmann::json::parse(ChartDescriptionToJson(CumulativeSpeedView(Context(), statistics, 1)));
    EXPECT_EQ(cumulative["axisKind"], 3);
    EXPECT_EQ(cumulative["bottomScale"], nlohmann::json::parse(R"({"min": 0, "max": 80})"));
    EXPECT_EQ(cumulative["marks"][1],
              nlohmann::json::parse(R"({"at": [60, 100], "label": "V85 = 60", "colour": "#2864c8"})"));
    EXPECT_EQ(cumulative["verticalLine"]["x"], 50);
}
