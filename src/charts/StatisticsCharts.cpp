#include "charts/StatisticsCharts.h"

#include "base/LanguageTexts.h"
#include "data/TextFormat.h"

#include <algorithm>

namespace {

// Direction group indexes (0: direction 1, 1: direction 2) that a view shows.
std::vector<int> ShownDirections(int directionSelection, bool directionTwoExists) {
    const int d = NormalizedDirection(directionSelection);
    if (d == 1 || (d == 3 && !directionTwoExists))
        return {0};
    if (d == 2)
        return {1};
    return {0, 1};
}

std::string DirectionName(const LanguageTexts& texts, int directionIndex) {
    return texts[directionIndex == 0 ? StatisticsChartText::Direction1 : StatisticsChartText::Direction2];
}

ChartDescription NewStatisticsChart(const ChartViewContext& context, int axisKind) {
    ChartDescription chart;
    chart.AxisKind = axisKind;
    chart.RightAxisVisible = false;
    context.Scale.ChartAxisKind = axisKind;
    return chart;
}

int SpeedAt(const std::optional<double>& speed) {
    return static_cast<int>(speed.value_or(0));
}

} // namespace

Rgb DirectionColour(int direction) {
    return direction == 2 ? Rgb{230, 140, 20} : Rgb{40, 100, 200};
}

Rgb HeavyShareColour() {
    return Rgb{150, 20, 60};
}

double HeavyShareScaleMax(double largestPercent) {
    for (double step : {5.0, 10.0, 20.0, 25.0, 50.0})
        if (largestPercent <= step)
            return step;
    return 100;
}

ChartDescription AverageDayView(const ChartViewContext& context, const TrafficStatistics& statistics,
                                ProfileDays days, int direction) {
    const auto& texts = context.Texts;
    ChartDescription chart = NewStatisticsChart(context, 1);
    chart.Arrangement = BarArrangement::SideBySide;
    const DayGroup group = days == ProfileDays::Workdays ? DayGroup::Workdays : DayGroup::Weekend;
    const auto& profile = statistics.Profile[static_cast<std::size_t>(group)];

    double largest = 0;
    for (int d : ShownDirections(direction, !statistics.Imported)) {
        ChartSeries series{{}, DirectionColour(d + 1), DirectionName(texts, d)};
        for (const ProfileHour& hour : profile)
            series.Values.push_back(hour.Mean[d].value_or(0));
        largest = std::max(largest, *std::max_element(series.Values.begin(), series.Values.end()));
        chart.Series.push_back(std::move(series));
    }
    chart.LeftAxisMax = ScaleCountAxis(context.Scale, largest);
    chart.ValueSeriesColour = DirectionColour(1);

    ChartLine heavy{texts[StatisticsChartText::HeavyShare], HeavyShareColour(), true, {}};
    double largestShare = 0;
    for (int h = 0; h < 24; ++h)
        if (const auto share = profile[static_cast<std::size_t>(h)].HeavyShare) {
            heavy.Points.push_back({static_cast<double>(h), 100 * *share});
            largestShare = std::max(largestShare, 100 * *share);
        }
    chart.RightScale = ChartScale{0, HeavyShareScaleMax(largestShare)};
    chart.RightScaleTitle = texts[StatisticsChartText::HeavySharePercent];
    if (!heavy.Points.empty())
        chart.Lines.push_back(std::move(heavy));

    for (int h = 0; h < 24; ++h)
        chart.Labels.push_back(IntToStr(h));
    chart.Title = texts[days == ProfileDays::Workdays ? StatisticsChartText::WorkdaysTitle
                                                      : StatisticsChartText::WeekendTitle];
    chart.LeftAxisTitle = texts[StatisticsChartText::VehiclesPerHour];
    chart.BottomAxisTitle = texts[StatisticsChartText::Hour];
    chart.Foot = DistributionFootLines(context, direction);
    const int completeDays = statistics.Adt[days == ProfileDays::Workdays ? 1 : 2].Days;
    chart.Foot.back() += "   " + (completeDays > 0 ? Format(texts[StatisticsChartText::CompleteDays],
                                                            {completeDays}, context.Locale)
                                                   : texts[StatisticsChartText::NoCompleteDay]);
    return chart;
}

std::vector<double> CumulativeShares(const std::array<long long, 256>& counts) {
    long long total = 0;
    for (long long c : counts)
        total += c;
    if (total <= 0)
        return {};
    std::vector<double> shares;
    shares.reserve(counts.size());
    long long seen = 0;
    for (long long c : counts) {
        seen += c;
        shares.push_back(100.0 * static_cast<double>(seen) / static_cast<double>(total));
    }
    return shares;
}

ChartDescription CumulativeSpeedView(const ChartViewContext& context, const TrafficStatistics& statistics,
                                     int direction) {
    const auto& texts = context.Texts;
    ChartDescription chart = NewStatisticsChart(context, PercentAxisKind);
    chart.LeftAxisMax = 100;

    int fastest = statistics.Limit;
    std::string counts;
    for (int d : ShownDirections(direction, true)) {
        const auto& histogram = statistics.SpeedCounts[static_cast<std::size_t>(d)];
        const std::vector<double> shares = CumulativeShares(histogram);
        const SpeedGroupFigures& figures =
            statistics.Groups[static_cast<std::size_t>(d * StatisticsClassCount)]; // class "all"
        if (!counts.empty())
            counts += "   ";
        counts += DirectionName(texts, d) + ": n = " + IntToStr(figures.Count.value_or(0));
        if (shares.empty())
            continue;
        // From just below the slowest vehicle (0 %) to the fastest (100 %).
        const auto first =
            std::find_if(histogram.begin(), histogram.end(), [](long long c) { return c > 0; });
        const auto last =
            std::find_if(histogram.rbegin(), histogram.rend(), [](long long c) { return c > 0; });
        const int slowest = static_cast<int>(first - histogram.begin());
        const int top = 255 - static_cast<int>(last - histogram.rbegin());
        fastest = std::max(fastest, top);
        ChartLine curve{DirectionName(texts, d), DirectionColour(d + 1), false, {}};
        if (slowest > 0)
            curve.Points.push_back({static_cast<double>(slowest - 1), 0});
        for (int v = slowest; v <= top; ++v)
            curve.Points.push_back({static_cast<double>(v), shares[static_cast<std::size_t>(v)]});
        chart.Lines.push_back(std::move(curve));
        for (const auto& [name, speed] : {std::pair{"V50", figures.V50}, std::pair{"V85", figures.V85}})
            if (speed)
                chart.Marks.push_back({{*speed, shares[static_cast<std::size_t>(SpeedAt(speed))]},
                                       std::string(name) + " = " + IntToStr(SpeedAt(speed)),
                                       DirectionColour(d + 1)});
    }
    chart.BottomScale = ChartScale{0, SpeedScaleStep(SpeedScaleIndexFor(fastest + 1))};
    chart.VerticalLine = ChartVerticalLine{
        static_cast<double>(statistics.Limit),
        Format(texts[StatisticsChartText::LimitLabel], {statistics.Limit}, context.Locale), Rgb{255, 0, 0}};
    chart.Title = texts[StatisticsChartText::CumulativeTitle];
    chart.LeftAxisTitle = texts[StatisticsChartText::ShareAtOrBelow];
    chart.BottomAxisTitle = texts[StatisticsChartText::SpeedKmh];
    chart.Foot = DistributionFootLines(context, direction);
    chart.Foot.back() += "   " + counts;
    return chart;
}

bool StatisticsChartOffered(StatisticsChartKind kind, DataMode mode) {
    if (kind == StatisticsChartKind::CumulativeSpeed)
        return mode == DataMode::SingleVehicle;
    return mode != DataMode::None;
}

ChartDescription DrawStatisticsChart(StatisticsChartKind kind, ProfileDays days, int direction,
                                     ChartScaleState& scale, const MeasurementData& data,
                                     const Settings& settings, const ViewSelections& view,
                                     const LanguageTexts& texts, const LocaleFormat& locale) {
    const TrafficStatistics statistics =
        ComputeTrafficStatistics(data, StatisticsSettingsOf(settings, data, view));
    const ChartViewContext context{data, view, texts, locale, scale};
    if (kind == StatisticsChartKind::CumulativeSpeed)
        return CumulativeSpeedView(context, statistics, direction);
    return AverageDayView(context, statistics, days, direction);
}
