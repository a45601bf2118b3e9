#include "charts/ComparisonCharts.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "charts/ChartState.h"
#include "charts/StatisticsCharts.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Both = 2;
constexpr int VehiclesLabel = 670; // "Fahrzeuge"

Rgb SideColour(bool after) {
    return after ? Rgb{230, 120, 20} : Rgb{40, 100, 200};
}

std::string SideName(const LanguageTexts& texts, bool after) {
    return texts[after ? ComparisonChartText::After : ComparisonChartText::Before];
}

// The speed classes of the 5-minute intervals of both directions and all classes.
std::array<long long, 256> ClassCounts(const MeasurementData& data) {
    std::array<long long, 256> counts{};
    for (int i = 1; i <= data.IntervalCount; ++i) {
        const IntervalRecord& r = data.Intervals[i];
        for (int dir = 1; dir <= 2; ++dir)
            for (int c = 0; c < 3; ++c)
                for (int k = 1; k <= SpeedClassCount; ++k)
                    counts[static_cast<std::size_t>(k)] +=
                        std::max(0, r.SpeedClasses(static_cast<VehicleClass>(c), k)[dir]);
    }
    return counts;
}

// Upper edge in km/h of a speed class: class k holds 5k + 3 .. 5k + 8.
double ClassUpperEdge(int k) {
    return 5.0 * k + 8;
}

const GroupComparison* BothDirectionsAllClasses(const Comparison& comparison) {
    for (const GroupComparison& group : comparison.Groups)
        if (group.DirectionGroup == Both && group.Class == StatisticsClass::All)
            return &group;
    return nullptr;
}

std::string FootLine(const LanguageTexts& texts, bool after, const ComparedFile& file,
                     const std::optional<std::pair<double, double>>& period, long long vehicles,
                     const LocaleFormat& locale) {
    std::string line = SideName(texts, after) + ": " + file.Name;
    if (period)
        line += "   " + FormatDateTime("dd/mm/yyyy", period->first, locale) + " - " +
                FormatDateTime("dd/mm/yyyy", period->second, locale);
    return line + "   " + IntToStr(vehicles) + " " + texts[VehiclesLabel];
}

std::vector<std::string> FootLines(const Comparison& comparison, const ComparedFile& beforeFile,
                                   const ComparedFile& afterFile, const LanguageTexts& texts,
                                   const LocaleFormat& locale) {
    return {FootLine(texts, false, beforeFile, comparison.PeriodBefore, comparison.VehiclesBefore, locale),
            FootLine(texts, true, afterFile, comparison.PeriodAfter, comparison.VehiclesAfter, locale)};
}

// The share at or below a speed on a curve, read between its points.
double ShareAt(const std::vector<ChartPoint>& curve, double speed) {
    if (curve.empty() || speed < curve.front().X)
        return 0;
    for (std::size_t i = 1; i < curve.size(); ++i)
        if (speed <= curve[i].X) {
            const ChartPoint& a = curve[i - 1];
            const ChartPoint& b = curve[i];
            return b.X == a.X ? b.Y : a.Y + (b.Y - a.Y) * (speed - a.X) / (b.X - a.X);
        }
    return 100;
}

} // namespace

ComparisonChartSide ComparisonChartSideOf(const MeasurementData& data, const StatisticsSettings& settings) {
    StatisticsSettings whole = settings;
    whole.From.reset();
    whole.To.reset();
    const TrafficStatistics statistics = ComputeTrafficStatistics(data, whole);
    ComparisonChartSide side;
    side.ClassBased = data.DataMode != DataMode::SingleVehicle;
    side.Speeds = side.ClassBased ? ClassCounts(data) : statistics.SpeedCounts[Both];
    for (std::size_t h = 0; h < 24; ++h)
        side.HourlyV85[h] = statistics.Hourly[h].V85;
    return side;
}

std::vector<ChartPoint> CumulativeCurve(const ComparisonChartSide& side) {
    std::vector<ChartPoint> curve;
    if (side.ClassBased) {
        long long total = 0;
        for (int k = 1; k <= SpeedClassCount; ++k)
            total += side.Speeds[static_cast<std::size_t>(k)];
        if (total <= 0)
            return curve;
        curve.push_back({ClassUpperEdge(0), 0});
        long long seen = 0;
        for (int k = 1; k <= SpeedClassCount; ++k) {
            seen += side.Speeds[static_cast<std::size_t>(k)];
            curve.push_back(
                {ClassUpperEdge(k), 100.0 * static_cast<double>(seen) / static_cast<double>(total)});
            if (seen == total)
                break;
        }
        return curve;
    }
    const std::vector<double> shares = CumulativeShares(side.Speeds);
    if (shares.empty())
        return curve;
    // From just below the slowest vehicle (0 %) to the fastest (100 %).
    const auto occupied = [](long long c) { return c > 0; };
    const int slowest = static_cast<int>(std::find_if(side.Speeds.begin(), side.Speeds.end(), occupied) -
                                         side.Speeds.begin());
    const int fastest =
        255 - static_cast<int>(std::find_if(side.Speeds.rbegin(), side.Speeds.rend(), occupied) -
                               side.Speeds.rbegin());
    if (slowest > 0)
        curve.push_back({static_cast<double>(slowest - 1), 0});
    for (int v = slowest; v <= fastest; ++v)
        curve.push_back({static_cast<double>(v), shares[static_cast<std::size_t>(v)]});
    return curve;
}

ChartDescription ComparisonCumulativeChart(const Comparison& comparison, const ComparisonChartSide& before,
                                           const ComparisonChartSide& after, const ComparedFile& beforeFile,
                                           const ComparedFile& afterFile, const LanguageTexts& texts,
                                           const LocaleFormat& locale) {
    ChartDescription chart;
    chart.AxisKind = PercentAxisKind;
    chart.LeftAxisMax = 100;
    const GroupComparison* both = BothDirectionsAllClasses(comparison);
    double slowest = comparison.Limit;
    double fastest = comparison.Limit;
    for (const bool isAfter : {false, true}) {
        ChartLine curve{SideName(texts, isAfter), SideColour(isAfter), false,
                        CumulativeCurve(isAfter ? after : before)};
        if (curve.Points.empty())
            continue;
        slowest = std::min(slowest, curve.Points.front().X);
        fastest = std::max(fastest, curve.Points.back().X);
        if (both != nullptr && both->V85) {
            const double v85 = isAfter ? both->V85->After : both->V85->Before;
            chart.Marks.push_back(
                {{v85, ShareAt(curve.Points, v85)}, "V85 = " + FloatToStr(v85, locale), SideColour(isAfter)});
        }
        chart.Lines.push_back(std::move(curve));
    }
    // Whole tens around both curves and the limit: the difference between the curves is what the
    // chart is for, so the axis does not start at 0 km/h.
    chart.BottomScale =
        ChartScale{std::max(0.0, 10 * std::floor((slowest - 1) / 10)), 10 * std::ceil((fastest + 1) / 10)};
    chart.VerticalLine = ChartVerticalLine{
        static_cast<double>(comparison.Limit),
        Format(texts[StatisticsChartText::LimitLabel], {comparison.Limit}, locale), Rgb{255, 0, 0}};
    chart.Title = texts[ComparisonChartText::CumulativeTitle];
    chart.LeftAxisTitle = texts[StatisticsChartText::ShareAtOrBelow];
    chart.BottomAxisTitle = texts[StatisticsChartText::SpeedKmh];
    chart.Foot = FootLines(comparison, beforeFile, afterFile, texts, locale);
    if (comparison.ClassBased)
        chart.Foot.back() += "   " + texts[ComparisonChartText::ClassBasedCurve];
    return chart;
}

ChartDescription ComparisonHourlyV85Chart(const Comparison& comparison, const ComparisonChartSide& before,
                                          const ComparisonChartSide& after, const ComparedFile& beforeFile,
                                          const ComparedFile& afterFile, const LanguageTexts& texts,
                                          const LocaleFormat& locale) {
    ChartDescription chart;
    chart.AxisKind = 2;
    chart.Arrangement = BarArrangement::SideBySide;
    double fastest = comparison.Limit;
    for (const bool isAfter : {false, true}) {
        ChartSeries series{{}, SideColour(isAfter), SideName(texts, isAfter)};
        for (const std::optional<double>& v85 : (isAfter ? after : before).HourlyV85) {
            series.Values.push_back(v85.value_or(0));
            fastest = std::max(fastest, v85.value_or(0));
        }
        chart.Series.push_back(std::move(series));
    }
    for (int h = 0; h < 24; ++h)
        chart.Labels.push_back(IntToStr(h));
    chart.ValueSeriesColour = SideColour(false);
    chart.LeftAxisMax = SpeedScaleStep(SpeedScaleIndexFor(fastest + 1));
    chart.RightAxisVisible = true;
    chart.Limit = static_cast<double>(comparison.Limit);
    chart.RightAxisTitle = texts[Text::SpeedLimitAxis];
    chart.Title = texts[ComparisonChartText::HourlyTitle];
    chart.LeftAxisTitle = texts[ComparisonChartText::HourlyV85Axis];
    chart.BottomAxisTitle = texts[StatisticsChartText::Hour];
    chart.Foot = FootLines(comparison, beforeFile, afterFile, texts, locale);
    return chart;
}

ComparisonResult CompareAndDraw(const MeasurementData& before, const MeasurementData& after,
                                const ComparisonSettings& settings, const ComparedFile& beforeFile,
                                const ComparedFile& afterFile, const LanguageTexts& texts,
                                const LocaleFormat& locale) {
    ComparisonResult result;
    result.Figures = CompareMeasurements(before, after, settings);
    result.BeforeFile = beforeFile;
    result.AfterFile = afterFile;
    result.Lines = ComparisonLines(result.Figures, beforeFile, afterFile, texts, locale);
    const ComparisonChartSide beforeSide = ComparisonChartSideOf(before, settings.Statistics);
    const ComparisonChartSide afterSide = ComparisonChartSideOf(after, settings.Statistics);
    result.Cumulative = ComparisonCumulativeChart(result.Figures, beforeSide, afterSide, beforeFile,
                                                  afterFile, texts, locale);
    result.HourlyV85 =
        ComparisonHourlyV85Chart(result.Figures, beforeSide, afterSide, beforeFile, afterFile, texts, locale);
    return result;
}
