#pragma once
// The two charts of a comparison of two measurements: the cumulative speed distributions of before
// and after over each other with the limit marked, and V85 by hour of the day for both. Values and
// titles come from here; the chart renderer draws them like every other chart.

#include "charts/ChartDescription.h"
#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"
#include "evaluation/Comparison.h"
#include "evaluation/ComparisonText.h"

#include <array>
#include <optional>
#include <vector>

class LanguageTexts;

// Language-text numbers of the comparison charts, the comparison view and the comparison report.
namespace ComparisonChartText {
inline constexpr int CumulativeTitle = 800;
inline constexpr int HourlyTitle = 801;
inline constexpr int Before = 802; // legend: "vorher"
inline constexpr int After = 803;
inline constexpr int ClassBasedCurve = 804; // foot note of a curve drawn from speed classes
inline constexpr int HourlyV85Axis = 805;
} // namespace ComparisonChartText

// What a chart needs of one side: its speed distribution (both directions, all classes) and the
// hourly V85 of the statistics.
struct ComparisonChartSide {
    bool ClassBased = false;
    // Single vehicles: counted vehicles per whole km/h; interval data: per speed class 1..29.
    std::array<long long, 256> Speeds{};
    std::array<std::optional<double>, 24> HourlyV85{};
};

// The side's figures, with the settings the comparison used (their time range is not used: a
// comparison takes whole measurements).
ComparisonChartSide ComparisonChartSideOf(const MeasurementData& data, const StatisticsSettings& settings);

// Points (km/h, percent at or below) of a side's cumulative distribution; empty without a vehicle.
// Speed classes give one point at each class's upper edge, joined by straight lines as the
// overview's percentiles interpolate them.
std::vector<ChartPoint> CumulativeCurve(const ComparisonChartSide& side);

ChartDescription ComparisonCumulativeChart(const Comparison& comparison, const ComparisonChartSide& before,
                                           const ComparisonChartSide& after, const ComparedFile& beforeFile,
                                           const ComparedFile& afterFile, const LanguageTexts& texts,
                                           const LocaleFormat& locale = SystemLocaleFormat());

ChartDescription ComparisonHourlyV85Chart(const Comparison& comparison, const ComparisonChartSide& before,
                                          const ComparisonChartSide& after, const ComparedFile& beforeFile,
                                          const ComparedFile& afterFile, const LanguageTexts& texts,
                                          const LocaleFormat& locale = SystemLocaleFormat());

// A comparison with everything its views show: the figures, the table lines and the two charts.
struct ComparisonResult {
    Comparison Figures;
    ComparedFile BeforeFile;
    ComparedFile AfterFile;
    std::vector<std::string> Lines;
    ChartDescription Cumulative;
    ChartDescription HourlyV85;
};

// Compares the two measurements and draws both charts; both fronts call this. Throws what
// CompareMeasurements throws.
ComparisonResult CompareAndDraw(const MeasurementData& before, const MeasurementData& after,
                                const ComparisonSettings& settings, const ComparedFile& beforeFile,
                                const ComparedFile& afterFile, const LanguageTexts& texts,
                                const LocaleFormat& locale = SystemLocaleFormat());
