#include "charts/ChartViews.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::array<Rgb, 10> GroupColours{{
    {255, 96, 96},   // PKW
    {240, 240, 128}, // LKW
    {128, 176, 255}, // LZ
    {144, 240, 128}, // LKW + LZ
    {255, 255, 255}, // all vehicles
    {224, 80, 80},   // the same, above the limit
    {208, 208, 96},
    {96, 144, 208},
    {112, 208, 96},
    {224, 224, 224},
}};

constexpr int PkwGroup = 1;
constexpr int LkwGroup = 2;
constexpr int LzGroup = 3;
constexpr int HeavyGroup = 4;

constexpr int SpeedLabelCount = SpeedClassCount; // one bar per speed class
constexpr int LengthBarCount = 15;

// Views that show one group: the stacked group has no single value, it reads as the sum.
int SingleGroup(int group) {
    return group >= PkwGroup && group <= SumGroup ? group : SumGroup;
}
int AnyGroup(int group) {
    return group >= StackedGroup && group <= SumGroup ? group : SumGroup;
}

// The speed a class stands for.
constexpr int ClassSpeed(int k) {
    return 5 * k + 8;
}

// Records of the working intervals that may be read.
int ReadableWorkIntervals(const MeasurementData& data) {
    return std::clamp(data.WorkIntervalCount, 0, data.WorkIntervals.allocated());
}

std::string GroupName(const LanguageTexts& texts, int group) {
    switch (group) {
    case 0:
        return texts[Text::AllVehicles];
    case 1:
        return texts[Text::Cars];
    case 2:
        return texts[Text::Trucks];
    case 3:
        return texts[Text::TrucksWithTrailer];
    case 4:
        return texts[Text::TrucksAndTrucksWithTrailer];
    default:
        return texts[Text::SumOfAllVehicles];
    }
}

double Largest(const std::vector<double>& values) {
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

ChartSeries MakeSeries(std::vector<double> values, int colourIndex) {
    return ChartSeries{std::move(values), GroupColour(colourIndex)};
}

std::vector<std::string> CountLabels(const std::vector<double>& values) {
    std::vector<std::string> labels;
    labels.reserve(values.size());
    for (double v : values)
        labels.push_back(IntToStr(static_cast<long long>(v)));
    return labels;
}

std::vector<std::string> DecimalLabels(const std::vector<double>& values, const LocaleFormat& locale) {
    std::vector<std::string> labels;
    labels.reserve(values.size());
    for (double v : values)
        labels.push_back(FloatToStr(v, locale));
    return labels;
}

// The common start of every view: empty series, right axis hidden, the axis kind noted for the
// chart options dialog.
ChartDescription NewChart(const ChartViewContext& context, int axisKind, bool paging) {
    ChartDescription chart;
    chart.AxisKind = axisKind;
    chart.PagingButtonsVisible = paging;
    chart.RightAxisVisible = false;
    context.Scale.ChartAxisKind = axisKind;
    return chart;
}

// Foot of the distribution views: the comment, then the time span of the working data.
std::vector<std::string> DistributionFoot(const ChartViewContext& context, int direction) {
    const auto& data = context.Data;
    const auto& texts = context.Texts;
    const int count = ReadableWorkIntervals(data);
    // Without intervals there is no span to show; the times stay empty rather than showing
    // whatever the unused records hold.
    std::string from;
    std::string to;
    if (count > 0) {
        from = FormatDateTime("dd.mm.yyyy  hh:mm", data.WorkIntervals[1].StartTime, context.Locale);
        to = FormatDateTime("dd.mm.yyyy  hh:mm", data.WorkIntervals[count].StartTime, context.Locale);
    }
    return {data.Comment, texts[Text::Period] + ": " + from + "  -  " + to + "   " +
                              texts[Text::DirectionCaption] + ": " + DirectionSymbol(direction)};
}

// Foot of the time views: the comment, then the start of the window.
std::vector<std::string> TimeFoot(const ChartViewContext& context, const IntervalWindowTable& table,
                                  int direction) {
    const auto& texts = context.Texts;
    const auto& first = table.Row(1);
    const std::string start = first.InData
                                  ? FormatDateTime("ddd  dd.mm.yyyy  hh:mm", first.StartTime, context.Locale)
                                  : std::string();
    return {context.Data.Comment, texts[Text::StartAxis] + ": " + start + "   " +
                                      texts[Text::DirectionCaption] + ": " + DirectionSymbol(direction)};
}

// Bottom labels of the time views: the time of day, the date at midnight, a blank beyond the data.
std::vector<std::string> TimeLabels(const IntervalWindowTable& table, const LocaleFormat& locale) {
    const std::string midnight = std::string("00") + locale.TimeSeparator + "00";
    std::vector<std::string> labels;
    labels.reserve(ChartWindowSize);
    for (int r = 1; r <= ChartWindowSize; ++r) {
        const auto& row = table.Row(r);
        if (!row.InData) {
            labels.emplace_back(" ");
            continue;
        }
        std::string text = FormatDateTime("hh:mm", row.StartTime, locale);
        if (text == midnight)
            text = FormatDateTime("dd.mm.", row.StartTime, locale);
        labels.push_back(std::move(text));
    }
    return labels;
}

// A value of each window position; positions outside the working data give 0.
template <typename F> std::vector<double> WindowValues(const IntervalWindowTable& table, F valueOf) {
    std::vector<double> values(ChartWindowSize, 0.0);
    for (int r = 1; r <= ChartWindowSize; ++r)
        if (table.Row(r).InData)
            values[static_cast<std::size_t>(r - 1)] = valueOf(table.Row(r));
    return values;
}

// Value labels of the time views; a position beyond the working data has no value, so its label
// stays blank rather than reading like a measured 0.
std::vector<std::string> WindowValueLabels(const std::vector<double>& values,
                                           const IntervalWindowTable& table, const LocaleFormat& locale) {
    std::vector<std::string> labels = DecimalLabels(values, locale);
    for (int r = 1; r <= ChartWindowSize && r <= static_cast<int>(labels.size()); ++r)
        if (!table.Row(r).InData)
            labels[static_cast<std::size_t>(r - 1)] = " ";
    return labels;
}

// Rounded to one decimal as the lists do it: divided by the double 0.1, rounded ties to even,
// times 0.1. In extended precision, so that an exact second decimal 5 rounds down (the double
// 0.1 lies slightly above one tenth).
double RoundToOneDecimal(long double value) {
    constexpr long double tenth = static_cast<long double>(0.1);
    return static_cast<double>(static_cast<long double>(RoundHalfEven(value / tenth)) * tenth);
}

// The speed views share everything but the value per position and the view text.
ChartDescription SpeedTimeView(const ChartViewContext& context, int group, int direction,
                               const std::string& viewText, const std::vector<double>& values,
                               const IntervalWindowTable& table) {
    const auto& view = context.View;
    const auto& texts = context.Texts;
    const int g = SingleGroup(group);
    const int d = NormalizedDirection(direction);

    ChartDescription chart = NewChart(context, 2, true);
    chart.LeftAxisMax = ScaleSpeedAxis(context.Scale, Largest(values));
    Y2_set(chart, view, texts);

    if (view.LimitDisplayOn) {
        const double limit = 10.0 * std::clamp(view.SpeedLimitIndex, 1, 10);
        std::vector<double> below(values.size());
        std::vector<double> above(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            below[i] = values[i] > limit ? limit : values[i];
            above[i] = values[i] > limit ? values[i] - limit : 0.0;
        }
        const int shift = view.LimitColourShift == 5 ? 5 : 0;
        chart.Series.push_back(MakeSeries(std::move(below), g));
        chart.Series.push_back(MakeSeries(std::move(above), g + shift));
    } else {
        chart.Series.push_back(MakeSeries(values, g));
    }
    chart.ValueSeriesColour = GroupColour(g);
    chart.ValueLabels = WindowValueLabels(values, table, context.Locale);
    chart.Labels = TimeLabels(table, context.Locale);

    chart.LeftAxisTitle = texts[Text::IntervalSpeedAxis];
    chart.RightAxisTitle = texts[Text::SpeedLimitAxis];
    chart.BottomAxisTitle = texts[Text::TimeAxis];
    chart.Title = viewText + " - " + GroupName(texts, g);
    chart.Foot = TimeFoot(context, table, d);
    return chart;
}

// Fills the three classes of one direction of a row from an interval record.
void FillRowDirection(IntervalWindowRow& row, const IntervalRecord& record, int d) {
    constexpr VehicleClass classes[] = {VehicleClass::Pkw, VehicleClass::Lkw, VehicleClass::Lz};
    for (int g = PkwGroup; g <= LzGroup; ++g) {
        const VehicleClass c = classes[g - 1];
        row.Count[0][g][d] = record.ClassCount(c)[d];
        for (int k = 1; k <= SpeedClassCount; ++k)
            row.Count[k][g][d] = record.SpeedClasses(c, k)[d];
        row.Vmax[g][d] = record.MaxSpeed(c)[d];
    }
    for (int k = 0; k <= SpeedClassCount; ++k) {
        row.Count[k][HeavyGroup][d] = row.Count[k][LkwGroup][d] + row.Count[k][LzGroup][d];
        row.Count[k][SumGroup][d] = row.Count[k][HeavyGroup][d] + row.Count[k][PkwGroup][d];
    }
    row.Vmax[HeavyGroup][d] = std::max(row.Vmax[LkwGroup][d], row.Vmax[LzGroup][d]);
    row.Vmax[SumGroup][d] = std::max(row.Vmax[HeavyGroup][d], row.Vmax[PkwGroup][d]);
}

void FillRowMeans(IntervalWindowRow& row) {
    for (int g = PkwGroup; g <= SumGroup; ++g)
        for (int d = 1; d <= 3; ++d) {
            const std::int64_t c = row.Count[0][g][d];
            if (c < 1) {
                row.Mean10[g][d] = 0;
                continue;
            }
            std::int64_t sum = 0;
            for (int k = 1; k <= SpeedClassCount; ++k)
                sum += row.Count[k][g][d] * ClassSpeed(k);
            row.Mean10[g][d] =
                RoundHalfEven(10.0L * static_cast<long double>(sum) / static_cast<long double>(c));
        }
}

// Imported intervals carry totals, heavy totals and a mean speed of their own.
void ApplyImportedTotals(IntervalWindowRow& row, const IntervalRecord& record) {
    for (int d = 1; d <= 2; ++d) {
        row.Count[0][SumGroup][d] = record.Total()[d];
        row.Count[0][LkwGroup][d] = record.HeavyTotal()[d];
        row.Mean10[SumGroup][d] = 10LL * record.MeanSpeed()[d];
    }
    row.Count[0][SumGroup][3] = row.Count[0][SumGroup][1] + row.Count[0][SumGroup][2];
    row.Count[0][LkwGroup][3] = row.Count[0][LkwGroup][1] + row.Count[0][LkwGroup][2];
    row.Mean10[SumGroup][3] = row.Mean10[SumGroup][1]; // the import fills direction 1 only
}

} // namespace

// --- colours, directions --------------------------------------------------------------------------

Rgb GroupColour(int index) {
    return GroupColours[static_cast<std::size_t>(std::clamp(index, 1, 10) - 1)];
}

int NormalizedDirection(int directionSelection) {
    return directionSelection == 2 || directionSelection == 3 ? directionSelection : 1;
}

std::string DirectionSymbol(int directionSelection) {
    switch (NormalizedDirection(directionSelection)) {
    case 2:
        return "<==";
    case 3:
        return "<=>";
    default:
        return "==>";
    }
}

int NextDirectionSelection(int directionSelection) {
    switch (NormalizedDirection(directionSelection)) {
    case 3:
        return 1;
    case 1:
        return 2;
    default:
        return 3;
    }
}

// --- scaling ---------------------------------------------------------------------------------------

double ScaleCountAxis(ChartScaleState& state, double largest) {
    const int needed = CountScaleIndexFor(largest);
    state.CountScaleTopIndex = std::max(CountScaleStepCount, needed);
    if (state.AutoCountScale)
        state.CountScaleIndex = needed;
    state.CountScaleIndex = std::clamp(state.CountScaleIndex, 1, MaxCountScaleIndex);
    return CountScaleStep(state.CountScaleIndex);
}

double ScaleSpeedAxis(ChartScaleState& state, double largest) {
    const int needed = SpeedScaleIndexFor(largest);
    state.SpeedScaleTopIndex = std::max(SpeedScaleStepCount, needed);
    if (state.AutoSpeedScale)
        state.SpeedScaleIndex = needed;
    state.SpeedScaleIndex = std::clamp(state.SpeedScaleIndex, 1, MaxSpeedScaleIndex);
    return SpeedScaleStep(state.SpeedScaleIndex);
}

void Y2_set(ChartDescription& chart, const ViewSelections& view, const LanguageTexts& texts) {
    if (view.LimitDisplayOn && chart.AxisKind == 2) {
        const double limit = 10.0 * std::clamp(view.SpeedLimitIndex, 1, 10);
        chart.RightAxisVisible = true;
        chart.Limit = limit <= chart.LeftAxisMax ? std::optional<double>(limit) : std::nullopt;
        chart.RightAxisTitle = texts[Text::SpeedLimitAxis];
    } else {
        chart.RightAxisVisible = false;
        chart.Limit.reset();
    }
}

// --- tables ----------------------------------------------------------------------------------------

SpeedClassTotals BuildSpeedClassTotals(const MeasurementData& data) {
    SpeedClassTotals totals;
    const int count = ReadableWorkIntervals(data);
    for (int i = 1; i <= count; ++i) {
        const IntervalRecord& record = data.WorkIntervals[i];
        for (int d = 1; d <= 2; ++d)
            for (int c = 1; c <= SpeedClassCount; ++c) {
                totals.Count[c][PkwGroup][d] += record.PkwSpeedClasses(c)[d];
                totals.Count[c][LkwGroup][d] += record.LkwSpeedClasses(c)[d];
                totals.Count[c][LzGroup][d] += record.LzSpeedClasses(c)[d];
            }
    }
    for (int d = 1; d <= 2; ++d)
        for (int c = 1; c <= SpeedClassCount; ++c) {
            auto& row = totals.Count[c];
            row[HeavyGroup][d] = row[LkwGroup][d] + row[LzGroup][d];
            row[SumGroup][d] = row[HeavyGroup][d] + row[PkwGroup][d];
        }
    for (int c = 1; c <= SpeedClassCount; ++c)
        for (int g = PkwGroup; g <= SumGroup; ++g)
            totals.Count[c][g][3] = totals.Count[c][g][1] + totals.Count[c][g][2];
    return totals;
}

GapClassTotals BuildGapClassTotals(const MeasurementData& data) {
    GapClassTotals totals;
    const int count = ReadableWorkIntervals(data);
    for (int i = 1; i <= count; ++i) {
        const IntervalRecord& record = data.WorkIntervals[i];
        for (int c = 0; c < GapClassCount; ++c)
            for (int d = 1; d <= 2; ++d)
                totals.Count[c][d] += record.GapClasses(c)[d];
    }
    for (int c = 0; c < GapClassCount; ++c)
        totals.Count[c][3] = totals.Count[c][1] + totals.Count[c][2];
    return totals;
}

IntervalWindowTable BuildIntervalWindowTable(const MeasurementData& data, int chartOffset) {
    IntervalWindowTable table;
    const int count = ReadableWorkIntervals(data);
    const bool imported = data.DataMode == DataMode::Imported;
    for (int r = 1; r <= ChartWindowSize; ++r) {
        const long long index = static_cast<long long>(chartOffset) + r;
        if (index < 1 || index > count)
            continue;
        const IntervalRecord& record = data.WorkIntervals[static_cast<int>(index)];
        IntervalWindowRow& row = table.Rows[static_cast<std::size_t>(r - 1)];
        row.InData = true;
        row.StartTime = record.StartTime;
        FillRowDirection(row, record, 1);
        FillRowDirection(row, record, 2);
        for (int k = 0; k <= SpeedClassCount; ++k)
            for (int g = PkwGroup; g <= SumGroup; ++g)
                row.Count[k][g][3] = row.Count[k][g][1] + row.Count[k][g][2];
        for (int g = PkwGroup; g <= SumGroup; ++g)
            row.Vmax[g][3] = std::max(row.Vmax[g][1], row.Vmax[g][2]);
        FillRowMeans(row);
        if (imported)
            ApplyImportedTotals(row, record);
    }
    return table;
}

// --- distribution views -------------------------------------------------------------------------------

std::vector<std::string> DistributionFootLines(const ChartViewContext& context, int direction) {
    return DistributionFoot(context, direction);
}

ChartDescription SpeedDistributionView(const ChartViewContext& context, int group, int direction) {
    const auto& texts = context.Texts;
    const int g = AnyGroup(group);
    const int d = NormalizedDirection(direction);
    ChartDescription chart = NewChart(context, 1, false);
    const SpeedClassTotals totals = BuildSpeedClassTotals(context.Data);

    auto column = [&](int groupIndex) {
        std::vector<double> values(SpeedClassCount);
        for (int c = 1; c <= SpeedClassCount; ++c)
            values[static_cast<std::size_t>(c - 1)] = static_cast<double>(totals.At(c, groupIndex, d));
        return values;
    };

    if (g == StackedGroup) {
        const std::vector<double> sums = column(SumGroup);
        chart.LeftAxisMax = ScaleCountAxis(context.Scale, Largest(sums));
        chart.Series.push_back(MakeSeries(column(LzGroup), LzGroup));
        chart.Series.push_back(MakeSeries(column(LkwGroup), LkwGroup));
        chart.Series.push_back(MakeSeries(column(PkwGroup), PkwGroup));
        chart.ValueSeriesColour = GroupColour(PkwGroup);
        chart.ValueLabels = CountLabels(sums);
    } else {
        std::vector<double> values = column(g);
        chart.LeftAxisMax = ScaleCountAxis(context.Scale, Largest(values));
        chart.ValueLabels = CountLabels(values);
        chart.Series.push_back(MakeSeries(std::move(values), g));
        chart.ValueSeriesColour = GroupColour(g);
    }

    for (int i = 0; i < SpeedLabelCount; ++i)
        chart.Labels.push_back(IntToStr(5 * i + 15));
    chart.Labels.front() = "<15";
    chart.Labels.back() = ">150";

    chart.LeftAxisTitle = texts[Text::NumberOfVehicles];
    chart.BottomAxisTitle = texts[Text::SpeedAxis];
    chart.Title = texts[Text::SpeedDistribution] + " - " + GroupName(texts, g);
    chart.Foot = DistributionFoot(context, d);
    return chart;
}

ChartDescription GapDistributionView(const ChartViewContext& context, int direction) {
    const auto& texts = context.Texts;
    const int d = NormalizedDirection(direction);
    ChartDescription chart = NewChart(context, 1, false);
    const GapClassTotals totals = BuildGapClassTotals(context.Data);

    std::vector<double> values(GapClassCount);
    for (int i = 0; i < GapClassCount; ++i)
        values[static_cast<std::size_t>(i)] = static_cast<double>(totals.At(i, d));
    chart.LeftAxisMax = ScaleCountAxis(context.Scale, Largest(values));
    chart.ValueLabels = CountLabels(values);
    chart.Series.push_back(MakeSeries(std::move(values), SumGroup));
    chart.ValueSeriesColour = GroupColour(SumGroup);

    // Seconds at the upper end of each 0.2 s class.
    for (int i = 0; i < GapClassCount; ++i)
        chart.Labels.push_back(FloatToStr(0.2 * i + 0.2, context.Locale));
    chart.Labels.front() = ".." + FloatToStr(0.2, context.Locale);
    chart.Labels.back() = ">6";

    chart.LeftAxisTitle = texts[Text::NumberOfVehicles];
    chart.BottomAxisTitle = texts[Text::TimeGapAxis];
    chart.Title = texts[Text::TimeGapDistribution] + " - " + texts[Text::SumOfAllVehicles];
    chart.Foot = DistributionFoot(context, d);
    return chart;
}

ChartDescription LengthDistributionView(const ChartViewContext& context, int direction) {
    const auto& data = context.Data;
    const auto& texts = context.Texts;
    const int d = NormalizedDirection(direction);
    ChartDescription chart = NewChart(context, 1, false);
    // Imported intervals keep their category counts where measured ones keep gap classes.
    const GapClassTotals totals = BuildGapClassTotals(data);

    std::vector<double> values(LengthBarCount);
    for (int n = 1; n <= LengthBarCount; ++n)
        values[static_cast<std::size_t>(n - 1)] = static_cast<double>(totals.At(n, d));
    chart.LeftAxisMax = ScaleCountAxis(context.Scale, Largest(values));
    chart.ValueLabels = CountLabels(values);
    chart.Series.push_back(MakeSeries(std::move(values), SumGroup));
    chart.ValueSeriesColour = GroupColour(SumGroup);

    for (int n = 1; n <= LengthBarCount; ++n)
        chart.Labels.push_back(n <= data.ImportCodeCount ? IntToStr(data.ImportCodes[n] / 10)
                                                         : std::string(" "));

    chart.LeftAxisTitle = texts[Text::NumberOfVehicles];
    chart.BottomAxisTitle = texts[Text::LengthAxis];
    chart.Title = texts[Text::LengthDistribution] + " - " + texts[Text::SumOfAllVehicles];
    chart.Foot = DistributionFoot(context, d);
    return chart;
}

// --- time views --------------------------------------------------------------------------------------

ChartDescription CountTimeView(const ChartViewContext& context, int group, int direction) {
    const auto& texts = context.Texts;
    const int g = AnyGroup(group);
    const int d = NormalizedDirection(direction);
    ChartDescription chart = NewChart(context, 1, true);
    const IntervalWindowTable table = BuildIntervalWindowTable(context.Data, context.View.ChartOffset);

    auto counts = [&](int groupIndex) {
        return WindowValues(table, [&](const IntervalWindowRow& row) {
            return static_cast<double>(row.Count[0][groupIndex][d]);
        });
    };

    if (g == StackedGroup) {
        const std::vector<double> sums = counts(SumGroup);
        chart.LeftAxisMax = ScaleCountAxis(context.Scale, Largest(sums));
        chart.Series.push_back(MakeSeries(counts(LzGroup), LzGroup));
        chart.Series.push_back(MakeSeries(counts(LkwGroup), LkwGroup));
        chart.Series.push_back(MakeSeries(counts(PkwGroup), PkwGroup));
        chart.ValueSeriesColour = GroupColour(PkwGroup);
        chart.ValueLabels = WindowValueLabels(sums, table, context.Locale);
    } else {
        std::vector<double> values = counts(g);
        chart.LeftAxisMax = ScaleCountAxis(context.Scale, Largest(values));
        chart.ValueLabels = WindowValueLabels(values, table, context.Locale);
        chart.Series.push_back(MakeSeries(std::move(values), g));
        chart.ValueSeriesColour = GroupColour(g);
    }
    chart.Labels = TimeLabels(table, context.Locale);

    chart.LeftAxisTitle = texts[Text::NumberOfVehicles];
    chart.BottomAxisTitle = texts[Text::TimeAxis];
    chart.Title = texts[Text::VehiclesPerInterval] + " - " + GroupName(texts, g);
    chart.Foot = TimeFoot(context, table, d);
    return chart;
}

ChartDescription MeanSpeedTimeView(const ChartViewContext& context, int group, int direction) {
    const int g = SingleGroup(group);
    const int d = NormalizedDirection(direction);
    const IntervalWindowTable table = BuildIntervalWindowTable(context.Data, context.View.ChartOffset);
    const auto values = WindowValues(
        table, [&](const IntervalWindowRow& row) { return static_cast<double>(row.Mean10[g][d]) / 10.0; });
    return SpeedTimeView(context, g, d, context.Texts[65], values, table);
}

float PercentileFraction(int percent) {
    return static_cast<float>(percent) / 100.0f;
}

double PercentileSpeed(const IntervalWindowRow& row, int group, int direction, float fraction) {
    const int g = SingleGroup(group);
    const int d = NormalizedDirection(direction);
    // Device interval files may count vehicles they did not classify, so the percentile is taken
    // over the vehicles in the speed classes, not over the group's count.
    double classified = 0;
    for (int k = 1; k <= SpeedClassCount; ++k)
        classified += static_cast<double>(row.Count[k][g][d]);
    const double target = classified * static_cast<double>(fraction);
    double cumulative = 0;
    int k = 0;
    while (target > cumulative && k < SpeedClassCount) {
        ++k;
        cumulative += static_cast<double>(row.Count[k][g][d]);
    }
    const float excess = static_cast<float>(cumulative - target);
    long double value = 0;
    if (excess > 0 && k > 0 && row.Count[k][g][d] != 0)
        value = ClassSpeed(k) -
                5.0L * static_cast<long double>(excess) / static_cast<long double>(row.Count[k][g][d]);
    else if (k > 0)
        value = ClassSpeed(k);
    return RoundToOneDecimal(value);
}

ChartDescription PercentileTimeView(const ChartViewContext& context, int group, int direction,
                                    float fraction) {
    const int g = SingleGroup(group);
    const int d = NormalizedDirection(direction);
    const IntervalWindowTable table = BuildIntervalWindowTable(context.Data, context.View.ChartOffset);
    const auto values = WindowValues(
        table, [&](const IntervalWindowRow& row) { return PercentileSpeed(row, g, d, fraction); });
    const int percent = static_cast<int>(RoundHalfEven(static_cast<long double>(fraction) * 100));
    const std::string viewText = Format("V %.2d", {percent}, context.Locale) + "% " + context.Texts[119];
    return SpeedTimeView(context, g, d, viewText, values, table);
}

ChartDescription EstimatedVmaxTimeView(const ChartViewContext& context, int group, int direction) {
    const int g = SingleGroup(group);
    const int d = NormalizedDirection(direction);
    const IntervalWindowTable table = BuildIntervalWindowTable(context.Data, context.View.ChartOffset);
    const auto values = WindowValues(table, [&](const IntervalWindowRow& row) {
        for (int k = SpeedClassCount; k >= 1; --k)
            if (row.Count[k][g][d] > 0)
                return static_cast<double>(ClassSpeed(k));
        return 0.0;
    });
    return SpeedTimeView(context, g, d, "Vmax " + context.Texts[119], values, table);
}

ChartDescription MeasuredVmaxTimeView(const ChartViewContext& context, int group, int direction) {
    const int g = SingleGroup(group);
    const int d = NormalizedDirection(direction);
    const IntervalWindowTable table = BuildIntervalWindowTable(context.Data, context.View.ChartOffset);
    const auto values = WindowValues(
        table, [&](const IntervalWindowRow& row) { return static_cast<double>(row.Vmax[g][d]); });
    return SpeedTimeView(context, g, d, context.Texts[71], values, table);
}

// --- dispatcher ----------------------------------------------------------------------------------------

ChartDescription DrawSelectedChart(const ChartRequest& request, ChartScaleState& scale,
                                   const MeasurementData& data, const ViewSelections& view,
                                   const LanguageTexts& texts, const LocaleFormat& locale) {
    const ChartViewContext context{data, view, texts, locale, scale};
    const int g = request.VehicleGroup;
    const int d = request.DirectionSelection;
    switch (request.Quantity) {
    case ChartQuantity::Speed:
        return SpeedDistributionView(context, g, d);
    case ChartQuantity::Gap:
        return GapDistributionView(context, d);
    case ChartQuantity::V1:
        return PercentileTimeView(context, g, d, PercentileFraction(request.LowerPercentile));
    case ChartQuantity::V2:
        if (request.CalcV50 == 1)
            return MeanSpeedTimeView(context, g, d);
        return PercentileTimeView(context, g, d, PercentileFraction(50));
    case ChartQuantity::V3:
        return PercentileTimeView(context, g, d, PercentileFraction(request.UpperPercentile));
    case ChartQuantity::V4:
        if (request.SingleVehicleData)
            return MeasuredVmaxTimeView(context, g, d);
        return EstimatedVmaxTimeView(context, g, d);
    case ChartQuantity::Length:
        return LengthDistributionView(context, d);
    default:
        return CountTimeView(context, g, d);
    }
}

// --- paging --------------------------------------------------------------------------------------------

PagingButtonStates UpdatePagingButtons(int chartOffset, int workIntervalCount) {
    const long long offset = chartOffset;
    const long long count = workIntervalCount;
    PagingButtonStates states;
    states.Enabled[0] = offset > 23;         // -24
    states.Enabled[1] = offset > 5;          // -6
    states.Enabled[2] = offset > 0;          // -1
    states.Enabled[3] = offset < count - 24; // +1
    states.Enabled[4] = offset < count - 29; // +6
    states.Enabled[5] = offset < count - 47; // +24
    return states;
}

int ScrolledChartOffset(int chartOffset, int workIntervalCount, int step) {
    const long long last =
        std::max<long long>(0, static_cast<long long>(workIntervalCount) - ChartWindowSize);
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(chartOffset) + step, 0, last));
}
