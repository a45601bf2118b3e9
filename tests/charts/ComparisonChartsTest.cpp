// The comparison charts and the comparison report's pages, on measurements the tests build with a
// known difference.

#include "charts/ComparisonReport.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "evaluation/EvaluationTestData.h"
#include "lang/LanguageFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

LanguageTexts GermanTexts() {
    LanguageTexts texts;
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/deutsch.cty", texts);
    return texts;
}

// Three days from 2026-03-02 with `perHour` vehicles in every hour `fromHour`..23, speeds
// base + 0..19 km/h, every fifth a LKW, alternating directions.
std::unique_ptr<MeasurementData> Vehicles(int base, int perHour, int fromHour = 0) {
    auto data = std::make_unique<MeasurementData>();
    data->DataMode = DataMode::SingleVehicle;
    for (int day = 2; day <= 4; ++day)
        for (int hour = fromHour; hour < 24; ++hour)
            for (int i = 0; i < perHour; ++i)
                AddVehicle(*data, At(day, hour, i * 60 / perHour), base + (i * 7) % 20, i % 5 == 0 ? 10 : 4,
                           i % 2 == 0 ? '1' : '2');
    return data;
}

// One day of 5-minute intervals, each with vehicles in speed classes 8 and 10 (direction 1).
std::unique_ptr<MeasurementData> Intervals(int classShift) {
    auto data = std::make_unique<MeasurementData>();
    data->DataMode = DataMode::Interval;
    for (int i = 0; i < 288; ++i) {
        IntervalRecord& r = AddBaseInterval(*data, At(2, 0, 0) + i / 288.0);
        CountInto(r, 1, VehicleClass::Pkw, 8 + classShift, 1);
        CountInto(r, 1, VehicleClass::Pkw, 10 + classShift, 3);
    }
    return data;
}

ComparisonSettings WithLimit(int limit = 50) {
    ComparisonSettings settings;
    settings.Statistics.Limit = limit;
    settings.Resamples = 200;
    return settings;
}

const ChartLine& LineNamed(const ChartDescription& chart, const std::string& name) {
    const auto found = std::find_if(chart.Lines.begin(), chart.Lines.end(),
                                    [&](const ChartLine& line) { return line.Name == name; });
    EXPECT_NE(found, chart.Lines.end()) << name;
    return *found;
}

bool Rising(const std::vector<ChartPoint>& points) {
    for (std::size_t i = 1; i < points.size(); ++i)
        if (points[i].X <= points[i - 1].X || points[i].Y < points[i - 1].Y)
            return false;
    return !points.empty() && points.front().Y == 0 && points.back().Y == 100;
}

std::string AllTexts(const ReportPage& page) {
    std::string all = page.Title + "\n";
    for (const ReportBlock& block : page.Blocks) {
        for (const std::string& line : block.Lines)
            all += line + "\n";
        for (const auto& row : block.Table.Rows)
            for (const std::string& cell : row)
                all += cell + "|";
    }
    return all;
}

class ComparisonChartsTest : public ::testing::Test {
protected:
    LanguageTexts texts = GermanTexts();
    LocaleFormat german = GermanLocaleFormat();
    const ComparedFile beforeFile{"vorher.lng", "Hauptstraße"};
    const ComparedFile afterFile{"nachher.lng", "Hauptstraße"};

    ComparisonResult Compare(const MeasurementData& before, const MeasurementData& after,
                             const ComparisonSettings& settings = WithLimit()) {
        return CompareAndDraw(before, after, settings, beforeFile, afterFile, texts, german);
    }
};

} // namespace

TEST(ComparisonCurves, SingleVehiclesRunFromBelowTheSlowestToTheFastest) {
    ComparisonChartSide side;
    side.Speeds[30] = 1;
    side.Speeds[40] = 3;
    const std::vector<ChartPoint> curve = CumulativeCurve(side);
    ASSERT_EQ(curve.size(), 12u); // 29, then 30..40
    EXPECT_EQ(curve.front().X, 29);
    EXPECT_EQ(curve[1].Y, 25);
    EXPECT_EQ(curve[10].Y, 25); // 39 km/h: still only the one at 30
    EXPECT_TRUE(Rising(curve));
    EXPECT_TRUE(CumulativeCurve(ComparisonChartSide{}).empty());
}

TEST(ComparisonCurves, SpeedClassesEndAtEachClassEdgeAndIgnoreVehiclesWithoutClass) {
    ComparisonChartSide side;
    side.ClassBased = true;
    side.Speeds[2] = 1;  // 13..18 km/h
    side.Speeds[4] = 3;  // 23..28 km/h
    side.Speeds[0] = 50; // no class: not part of the distribution
    const std::vector<ChartPoint> curve = CumulativeCurve(side);
    ASSERT_EQ(curve.size(), 5u); // 8, 13, 18, 23, 28: the curve stops at 100 %
    EXPECT_EQ(curve[1].X, 13);
    EXPECT_EQ(curve[1].Y, 0);
    EXPECT_EQ(curve[2].X, 18);
    EXPECT_EQ(curve[2].Y, 25);
    EXPECT_TRUE(Rising(curve));
}

TEST_F(ComparisonChartsTest, FasterAfterShowsAsTwoCurvesAndHigherHourlyBars) {
    const auto before = Vehicles(40, 12);
    const auto after = Vehicles(45, 12);
    const ComparisonResult result = Compare(*before, *after);

    const ChartDescription& cumulative = result.Cumulative;
    EXPECT_EQ(cumulative.Title, texts[ComparisonChartText::CumulativeTitle]);
    ASSERT_EQ(cumulative.Lines.size(), 2u);
    const ChartLine& b = LineNamed(cumulative, "vorher");
    const ChartLine& a = LineNamed(cumulative, "nachher");
    EXPECT_TRUE(Rising(b.Points));
    EXPECT_TRUE(Rising(a.Points));
    EXPECT_EQ(a.Points.front().X, b.Points.front().X + 5); // the whole curve moved by 5 km/h
    ASSERT_TRUE(cumulative.VerticalLine);
    EXPECT_EQ(cumulative.VerticalLine->X, 50);
    // V85 marked on each curve at the table's figure, 85 % or just above.
    ASSERT_EQ(cumulative.Marks.size(), 2u);
    const ComparedFigure& v85 = *result.Figures.Groups[8].V85; // both directions, all classes
    EXPECT_EQ(cumulative.Marks[0].At.X, v85.Before);
    EXPECT_EQ(cumulative.Marks[1].At.X, v85.After);
    for (const ChartMark& mark : cumulative.Marks)
        EXPECT_TRUE(mark.At.Y >= 85 && mark.At.Y < 95) << mark.At.Y;
    EXPECT_NE(cumulative.Foot[0].find("vorher.lng"), std::string::npos);
    EXPECT_NE(cumulative.Foot[1].find("nachher.lng"), std::string::npos);

    const ChartDescription& hourly = result.HourlyV85;
    EXPECT_EQ(hourly.Arrangement, BarArrangement::SideBySide);
    ASSERT_EQ(hourly.Series.size(), 2u);
    ASSERT_EQ(hourly.Labels.size(), 24u);
    for (int h = 0; h < 24; ++h)
        EXPECT_EQ(hourly.Series[1].Values[static_cast<std::size_t>(h)],
                  hourly.Series[0].Values[static_cast<std::size_t>(h)] + 5);
    EXPECT_EQ(hourly.Limit, 50);
    EXPECT_GE(hourly.LeftAxisMax,
              *std::max_element(hourly.Series[1].Values.begin(), hourly.Series[1].Values.end()));
}

TEST_F(ComparisonChartsTest, HoursWithoutVehiclesAreEmptyBarsAndTheLimitFollowsTheSettings) {
    const auto before = Vehicles(40, 12);
    const auto after = Vehicles(40, 12, 6); // no vehicle before 06:00
    const ComparisonResult result = Compare(*before, *after, WithLimit(30));
    EXPECT_EQ(result.HourlyV85.Series[1].Values[3], 0);
    EXPECT_GT(result.HourlyV85.Series[0].Values[3], 0);
    EXPECT_EQ(result.HourlyV85.Limit, 30);
    EXPECT_EQ(result.Cumulative.VerticalLine->X, 30);
}

TEST_F(ComparisonChartsTest, IntervalDataDrawCurvesFromTheSpeedClassesWithTheClassPercentile) {
    const auto before = Intervals(0);
    const auto after = Intervals(1);
    const ComparisonResult result = Compare(*before, *after);
    ASSERT_TRUE(result.Figures.ClassBased);
    ASSERT_EQ(result.Cumulative.Lines.size(), 2u);
    EXPECT_EQ(LineNamed(result.Cumulative, "vorher").Points.back().X, 58); // upper edge of class 10
    ASSERT_EQ(result.Cumulative.Marks.size(), 2u);
    // The interpolated class percentile lies where the straight pieces reach 85 %.
    for (const ChartMark& mark : result.Cumulative.Marks)
        EXPECT_NEAR(mark.At.Y, 85, 0.5) << mark.Label;
    EXPECT_NE(result.Cumulative.Foot.back().find(texts[ComparisonChartText::ClassBasedCurve]),
              std::string::npos);
}

TEST_F(ComparisonChartsTest, DifferentKindsAreRefused) {
    const auto vehicles = Vehicles(40, 2);
    const auto intervals = Intervals(0);
    EXPECT_THROW(Compare(*vehicles, *intervals), CoreError);
}

TEST_F(ComparisonChartsTest, ReportNamesBothFilesOnEveryPageAndHoldsBothTables) {
    const auto before = Vehicles(40, 12);
    const auto after = Vehicles(45, 12, 6);
    const ComparisonResult result = Compare(*before, *after);
    ComparisonReportRequest request;
    request.Site = "Lindenallee";
    request.BeforeSha256 = std::string(64, 'a');
    request.AfterSha256 = std::string(64, 'b');
    request.ProgramVersion = "4.01.03";
    request.ReportDate = At(9, 0, 0);
    const ReportDocument report = BuildComparisonReport(result, LengthThresholds{}, request, texts, german);

    EXPECT_EQ(report.Header, "Lindenallee");
    ASSERT_EQ(report.Footer.size(), 2u);
    EXPECT_NE(report.Footer[0].find("vorher: vorher.lng   SHA-256: " + request.BeforeSha256),
              std::string::npos);
    EXPECT_NE(report.Footer[1].find("nachher: nachher.lng   SHA-256: " + request.AfterSha256),
              std::string::npos);
    EXPECT_NE(report.Footer[1].find("4.01.03"), std::string::npos);
    ASSERT_EQ(report.Pages.size(), 5u);

    const std::string title = AllTexts(report.Pages[0]);
    const std::vector<std::string> onTitlePage{"vorher.lng",        "nachher.lng", request.BeforeSha256,
                                               request.AfterSha256, "09.03.2026",  "50 km/h"};
    for (const std::string& expected : onTitlePage)
        EXPECT_NE(title.find(expected), std::string::npos) << expected;

    const std::string raw = AllTexts(report.Pages[2]);
    const std::string matched = AllTexts(report.Pages[3]);
    EXPECT_NE(raw.find("V85 freier Verkehr"), std::string::npos);
    EXPECT_EQ(matched.find("V85 freier Verkehr"), std::string::npos);
    EXPECT_NE(raw.find("+5"), std::string::npos);
    EXPECT_NE(raw.find(texts[ComparisonText::Clear]), std::string::npos);
    // The hours only the measurement before has are named on the matched page.
    EXPECT_NE(matched.find("00-01, 01-02"), std::string::npos) << matched;
    EXPECT_TRUE(report.Pages[2].Landscape);

    ASSERT_EQ(report.Pages[4].Blocks.size(), 2u);
    EXPECT_EQ(report.Pages[4].Blocks[0].Chart.Title, result.Cumulative.Title);
    EXPECT_EQ(report.Pages[4].Blocks[1].Chart.Title, result.HourlyV85.Title);
}

TEST_F(ComparisonChartsTest, ASideWithoutVehiclesDrawsOnlyTheOtherAndStillReports) {
    const auto before = Vehicles(40, 12);
    auto after = std::make_unique<MeasurementData>();
    after->DataMode = DataMode::SingleVehicle;
    const ComparisonResult result = Compare(*before, *after);
    ASSERT_EQ(result.Cumulative.Lines.size(), 1u);
    EXPECT_EQ(result.Cumulative.Lines[0].Name, "vorher");
    EXPECT_TRUE(result.Cumulative.Marks.empty()); // no V85 difference without vehicles after
    const auto& afterBars = result.HourlyV85.Series[1].Values;
    EXPECT_TRUE(std::all_of(afterBars.begin(), afterBars.end(), [](double v) { return v == 0; }));
    const ReportDocument report = BuildComparisonReport(result, LengthThresholds{}, {}, texts, german);
    EXPECT_NE(AllTexts(report.Pages[2]).find(texts[ComparisonText::NoVehiclesOnASide]), std::string::npos);
}
