#include "evaluation/CsvTables.h"

#include "base/CoreError.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "evaluation/Summary.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace {
constexpr std::array<std::string_view, 6> ViewNames = {"vehicles", "intervals", "days",
                                                       "profile",  "stats",     "chart"};
constexpr std::size_t ReadableViews = 5; // the chart's table comes from the chart drawn
constexpr const char* ClassNames[3] = {"pkw", "lkw", "lz"};
constexpr const char* StatisticsClassNames[StatisticsClassCount] = {"all", "pkw", "lkw", "lz"};
constexpr const char* DirectionNames[DirectionGroups] = {"1", "2", "both"};
constexpr const char* DayGroupNames[DayGroupCount] = {"workdays", "saturday", "sunday", "weekend", "all"};
constexpr long long MsPerMinute = 60000;

CsvColumn Column(std::string name, std::string type, std::string unit, std::string description) {
    return CsvColumn{std::move(name), std::move(type), std::move(unit), std::move(description)};
}

void WriteHeader(CsvWriter& out, const std::vector<CsvColumn>& columns) {
    for (const CsvColumn& c : columns)
        out.Text(c.Name);
    out.EndRow();
}

CsvTable TableOf(CsvView view, CsvWriter& out, bool milliseconds = false) {
    CsvTable table;
    table.View = view;
    table.Columns = CsvColumnsOf(view);
    table.Milliseconds = milliseconds;
    table.Bytes = out.TakeBytes();
    return table;
}

// --- vehicles ---

std::vector<CsvColumn> VehicleColumns() {
    return {
        Column("time", "datetime", "", "local time of passing at the measuring site, no time zone"),
        Column("speed", "integer", "km/h", "speed"),
        Column("length", "integer", "m", "length in whole metres"),
        Column("direction", "integer", "", "direction 1 or 2; empty when the record names no direction"),
        Column("class", "string", "",
               "length class pkw, lkw or lz by the length classes of this export; empty for a vehicle "
               "the evaluation does not count (too short, or no direction)"),
        Column("gap", "number", "s",
               "time since the previous vehicle of the same direction (counted or not) in record "
               "order, from times rounded to milliseconds; negative when the record is earlier than "
               "that vehicle; empty for the first vehicle of its direction"),
        Column("marked", "boolean", "", "the vehicle is marked in the program"),
    };
}

// The vehicle table; none when it is to hold whole seconds but a time has milliseconds.
std::optional<CsvTable> VehicleCsvOf(const MeasurementData& data, const StatisticsSettings& settings,
                                     CsvStyle style, bool milliseconds) {
    const long long fromMs = settings.From ? ToMilliseconds(*settings.From) : 0;
    const long long toMs = settings.To ? ToMilliseconds(*settings.To) : 0;
    CsvWriter out(style, static_cast<std::size_t>(data.WorkVehicleCount) * 48);
    WriteHeader(out, VehicleColumns());
    long long previousOfDirection[3] = {0, 0, 0};
    bool seenDirection[3] = {false, false, false};
    for (int i = 1; i <= data.WorkVehicleCount; ++i) {
        const VehicleRecord& v = data.WorkVehicles[i];
        const long long ms = ToMilliseconds(v.Time);
        if (!milliseconds && ms % 1000 != 0)
            return std::nullopt;
        if ((settings.From && ms < fromMs) || (settings.To && ms >= toMs))
            continue;
        const int direction = DirectionIndex(v.Direction);
        out.DateTimeOfMilliseconds(ms, milliseconds);
        out.Integer(static_cast<long long>(v.Speed));
        out.Integer(static_cast<long long>(v.Length));
        if (direction == 0) {
            out.Empty();
            out.Empty();
            out.Empty();
        } else {
            out.Integer(static_cast<long long>(direction));
            if (IsCounted(v.Length, settings.Lengths))
                out.Text(ClassNames[static_cast<int>(ClassOfLength(v.Length, settings.Lengths))]);
            else
                out.Empty();
            if (seenDirection[direction])
                out.Number(static_cast<double>(ms - previousOfDirection[direction]) / 1000.0);
            else
                out.Empty();
            seenDirection[direction] = true;
            previousOfDirection[direction] = ms;
        }
        out.Boolean(v.Marked != 0);
        out.EndRow();
    }
    return TableOf(CsvView::Vehicles, out, milliseconds);
}

// --- intervals ---

std::vector<CsvColumn> IntervalColumns() {
    std::vector<CsvColumn> columns = {
        Column("start", "datetime", "", "local start of the interval, no time zone")};
    for (int d = 1; d <= 2; ++d) {
        const std::string prefix = "dir" + std::to_string(d) + "_";
        const std::string of = " of direction " + std::to_string(d);
        columns.push_back(Column(prefix + "total", "integer", "vehicles", "vehicles counted" + of));
        columns.push_back(Column(prefix + "pkw", "integer", "vehicles",
                                 "pkw counted" + of + "; empty when the data do not hold the class"));
        columns.push_back(Column(prefix + "lkw", "integer", "vehicles",
                                 "lkw counted" + of + " (every heavy vehicle for imported data)"));
        columns.push_back(Column(prefix + "lz", "integer", "vehicles",
                                 "lz counted" + of + "; empty when the data do not hold the class"));
        columns.push_back(
            Column(prefix + "mean_speed", "number", "km/h", "mean speed" + of + "; empty without vehicles"));
        columns.push_back(Column(prefix + "v85", "number", "km/h",
                                 "85th percentile speed" + of +
                                     " from the speed classes, as the overview computes it; empty "
                                     "without classified vehicles"));
        columns.push_back(Column(prefix + "vmax", "integer", "km/h",
                                 "highest speed" + of +
                                     "; empty without vehicles or when the data "
                                     "do not hold it"));
    }
    return columns;
}

// Speed sums of the counted working vehicles per working interval and direction, for the exact
// mean speed that intervals counted from vehicles do not store.
struct SpeedSums {
    std::vector<std::array<long long, 2>> Sum;
    std::vector<std::array<long long, 2>> Count;
};

SpeedSums SumSpeedsPerInterval(const MeasurementData& data, const LengthThresholds& lengths,
                               int intervalMinutes) {
    const auto n = static_cast<std::size_t>(std::max(0, data.WorkIntervalCount));
    SpeedSums sums{std::vector<std::array<long long, 2>>(n, {0, 0}),
                   std::vector<std::array<long long, 2>>(n, {0, 0})};
    std::vector<long long> starts(n);
    for (std::size_t i = 0; i < n; ++i)
        starts[i] = ToMilliseconds(data.WorkIntervals[static_cast<int>(i) + 1].StartTime);
    for (int i = 1; i <= data.WorkVehicleCount; ++i) {
        const VehicleRecord& v = data.WorkVehicles[i];
        const int direction = DirectionIndex(v.Direction);
        if (direction == 0 || !IsCounted(v.Length, lengths))
            continue;
        const long long ms = ToMilliseconds(v.Time);
        const auto next = std::upper_bound(starts.begin(), starts.end(), ms);
        if (next == starts.begin())
            continue;
        const auto k = static_cast<std::size_t>(next - starts.begin() - 1);
        if (ms >= starts[k] + intervalMinutes * MsPerMinute)
            continue;
        sums.Sum[k][static_cast<std::size_t>(direction - 1)] += v.Speed;
        sums.Count[k][static_cast<std::size_t>(direction - 1)] += 1;
    }
    return sums;
}

void WriteIntervalDirection(CsvWriter& out, const IntervalRecord& r, int d, DataMode mode,
                            std::optional<double> exactMean) {
    const bool imported = mode == DataMode::Imported;
    const std::int32_t total = r.Total()[d];
    out.Integer(static_cast<long long>(total));
    if (imported) {
        out.Empty();
        out.Integer(static_cast<long long>(r.HeavyTotal()[d]));
        out.Empty();
    } else {
        for (int c = 0; c < 3; ++c)
            out.Integer(static_cast<long long>(r.ClassCount(static_cast<VehicleClass>(c))[d]));
    }
    if (mode == DataMode::SingleVehicle)
        out.Number(exactMean);
    else if (total > 0)
        out.Number(static_cast<double>(r.MeanSpeed()[d]));
    else
        out.Empty();

    long long classes[SpeedClassCount + 1] = {};
    for (int k = 1; k <= SpeedClassCount; ++k)
        for (int c = 0; c < 3; ++c)
            classes[k] += r.SpeedClasses(static_cast<VehicleClass>(c), k)[d];
    if (ClassifiedCount(classes) > 0)
        out.Number(std::round(static_cast<double>(PercentileSpeed(classes, 85)) * 10) / 10);
    else
        out.Empty();

    if (imported || total <= 0) {
        out.Empty();
        return;
    }
    std::int32_t vmax = 0;
    for (int c = 0; c < 3; ++c)
        vmax = std::max(vmax, r.MaxSpeed(static_cast<VehicleClass>(c))[d]);
    out.Integer(static_cast<long long>(vmax));
}

// --- days and profile ---

std::vector<CsvColumn> DayColumns() {
    return {
        Column("date", "date", "", "calendar day, from the first to the last day of the data"),
        Column("weekday", "integer", "", "1 Monday .. 7 Sunday"),
        Column("complete", "boolean", "", "the day lies wholly inside the measurement"),
        Column("dir1", "integer", "vehicles", "vehicles of direction 1"),
        Column("dir2", "integer", "vehicles", "vehicles of direction 2"),
        Column("both", "integer", "vehicles", "vehicles of both directions"),
        Column("heavy", "integer", "vehicles", "heavy vehicles (lkw and lz) of both directions"),
        Column("v85", "number", "km/h", "85th percentile speed of both directions; empty without vehicles"),
        Column("share_above_limit", "number", "1",
               "share of vehicles faster than the speed limit (0..1); empty without vehicles"),
    };
}

std::vector<CsvColumn> ProfileColumns() {
    return {
        Column("day_group", "string", "",
               "the complete days averaged: workdays (Monday to Friday), "
               "saturday, sunday, weekend (Saturdays and Sundays pooled), all"),
        Column("hour", "integer", "h", "hour of the day 0..23 (the hour from hh:00 to hh:59)"),
        Column("dir1", "number", "vehicles/h",
               "mean count of direction 1 in that hour; empty without such a day"),
        Column("dir2", "number", "vehicles/h",
               "mean count of direction 2 in that hour; empty without such a day"),
        Column("both", "number", "vehicles/h",
               "mean count of both directions in that hour; empty without such a day"),
        Column("heavy_share", "number", "1", "heavy vehicles over all vehicles of that hour (0..1)"),
    };
}

// --- key figures ---

std::vector<CsvColumn> StatsColumns() {
    return {
        Column("direction", "string", "", "direction group: 1, 2 or both"),
        Column("class", "string", "", "class group: all, pkw, lkw or lz"),
        Column("figure", "string", "",
               "n (vehicles), mean, sd, v15, v50, v85, v95, v_lower, v_upper (the percentiles chosen), "
               "pace (lowest speed of the 10 km/h band holding the most vehicles), pace_share, "
               "share_above (share faster than threshold), free_flow_v85, "
               "free_flow_share_above_limit, adt_all, adt_workdays, adt_weekend (mean vehicles a "
               "complete day; n the days), peak_hour_morning, peak_hour_afternoon (vehicles in the "
               "busiest hour starting at start), phf_morning, phf_afternoon (peak hour factor), "
               "implausible_records, implausible_share, short_headways, out_of_order, long_gaps (their "
               "number), gap (one row a gap of 60 minutes or more in the daytime: minutes from start)"),
        Column("threshold", "integer", "km/h", "the threshold of share_above; empty otherwise"),
        Column("value", "number", "",
               "the figure: km/h for speeds, 0..1 for shares, vehicles for counts, vehicles a day for "
               "adt; empty when the data do not give it"),
        Column("ci_lower", "number", "", "lower end of the 95 % interval, in the unit of value"),
        Column("ci_upper", "number", "", "upper end of the 95 % interval, in the unit of value"),
        Column("n", "integer", "", "the vehicles (for adt: the days) the figure rests on"),
        Column("start", "datetime", "", "local start of the peak hour or gap, no time zone"),
    };
}

// --- chart ---

std::vector<CsvColumn> ChartColumns() {
    return {
        Column("label", "string", "", "the bar's label on the bottom axis"),
        Column("series1", "number", "",
               "the first (lowest) stacked value of the bar, in the unit of the left axis"),
        Column("series2", "number", "", "the second stacked value; empty when the chart has one series"),
        Column("series3", "number", "", "the third stacked value; empty when the chart has fewer series"),
        Column("value_label", "string", "", "the value written at the bar, as the chart shows it"),
    };
}

struct FigureRow {
    std::string_view Direction = "both";
    std::string_view Class = "all";
    std::string_view Figure;
    std::optional<long long> Threshold;
    std::optional<double> Value;
    std::optional<Interval95> Interval;
    std::optional<long long> N;
    std::optional<double> Start;
};

void WriteFigure(CsvWriter& out, const FigureRow& row) {
    out.Text(row.Direction);
    out.Text(row.Class);
    out.Text(row.Figure);
    out.Integer(row.Threshold);
    out.Number(row.Value);
    out.Number(row.Interval ? std::optional<double>(row.Interval->Lower) : std::nullopt);
    out.Number(row.Interval ? std::optional<double>(row.Interval->Upper) : std::nullopt);
    out.Integer(row.N);
    if (row.Start)
        out.DateTime(*row.Start, false);
    else
        out.Empty();
    out.EndRow();
}

std::optional<double> AsNumber(const std::optional<long long>& v) {
    return v ? std::optional<double>(static_cast<double>(*v)) : std::nullopt;
}

void WriteGroupFigures(CsvWriter& out, const SpeedGroupFigures& g) {
    const std::string_view direction = DirectionNames[g.DirectionGroup];
    const std::string_view cls = StatisticsClassNames[static_cast<int>(g.Class)];
    const auto row = [&](std::string_view figure, std::optional<double> value,
                         std::optional<Interval95> interval = std::nullopt) {
        WriteFigure(out,
                    FigureRow{direction, cls, figure, std::nullopt, value, interval, g.Count, std::nullopt});
    };
    row("n", AsNumber(g.Count));
    row("mean", g.Mean);
    row("sd", g.StandardDeviation);
    row("v15", g.V15);
    row("v50", g.V50, g.V50Interval);
    row("v85", g.V85, g.V85Interval);
    row("v95", g.V95);
    row("v_lower", g.VLower);
    row("v_upper", g.VUpper);
    const std::optional<PaceBand>& pace = g.Pace;
    WriteFigure(out, FigureRow{direction, cls, "pace", std::nullopt,
                               pace ? std::optional<double>(pace->From) : std::nullopt, std::nullopt,
                               pace ? std::optional<long long>(pace->Count) : std::nullopt, std::nullopt});
    WriteFigure(out, FigureRow{direction, cls, "pace_share", std::nullopt,
                               pace ? std::optional<double>(pace->Share) : std::nullopt, std::nullopt,
                               g.Count, std::nullopt});
    if (g.Above)
        for (const ThresholdShare& a : *g.Above)
            WriteFigure(out, FigureRow{direction, cls, "share_above", a.Threshold, a.Share, a.Interval,
                                       g.Count, std::nullopt});
    if (g.FreeFlow) {
        const FreeFlowFigures& f = *g.FreeFlow;
        WriteFigure(out, FigureRow{direction, cls, "free_flow_v85", std::nullopt, f.V85, f.V85Interval,
                                   f.Count, std::nullopt});
        WriteFigure(out, FigureRow{direction, cls, "free_flow_share_above_limit", std::nullopt,
                                   f.ShareAboveLimit, std::nullopt, f.Count, std::nullopt});
    }
}

void WriteAdtFigures(CsvWriter& out, const TrafficStatistics& s) {
    constexpr std::string_view Names[3] = {"adt_all", "adt_workdays", "adt_weekend"};
    for (int kind = 0; kind < 3; ++kind)
        for (int d = 0; d < DirectionGroups; ++d)
            WriteFigure(out, FigureRow{DirectionNames[d], "all", Names[kind], std::nullopt,
                                       s.Adt[kind].Mean[d], std::nullopt, s.Adt[kind].Days, std::nullopt});
}

void WritePeakHours(CsvWriter& out, const TrafficStatistics& s) {
    for (const PeakHour& p : s.PeakHours) {
        const std::string_view direction = DirectionNames[p.DirectionGroup];
        WriteFigure(out,
                    FigureRow{direction, "all", p.Afternoon ? "peak_hour_afternoon" : "peak_hour_morning",
                              std::nullopt, static_cast<double>(p.Count), std::nullopt, p.Count, p.Start});
        WriteFigure(out, FigureRow{direction, "all", p.Afternoon ? "phf_afternoon" : "phf_morning",
                                   std::nullopt, p.Factor, std::nullopt, p.Count, p.Start});
    }
}

void WriteQualityFigures(CsvWriter& out, const TrafficStatistics& s) {
    const DataQuality& q = s.Quality;
    const auto row = [&](std::string_view figure, std::optional<double> value) {
        WriteFigure(out, FigureRow{"both", "all", figure, std::nullopt, value, std::nullopt, s.WorkingRecords,
                                   std::nullopt});
    };
    row("implausible_records", AsNumber(q.Implausible));
    row("implausible_share", q.ImplausibleShare);
    row("short_headways", AsNumber(q.ShortHeadways));
    row("out_of_order", AsNumber(q.OutOfOrder));
    row("long_gaps", static_cast<double>(q.Gaps.size()));
    for (const DataGap& gap : q.Gaps)
        WriteFigure(out, FigureRow{"both", "all", "gap", std::nullopt, gap.Minutes, std::nullopt,
                                   std::nullopt, gap.From});
}

} // namespace

std::string_view CsvViewName(CsvView view) {
    return ViewNames[static_cast<std::size_t>(view)];
}

std::optional<CsvView> CsvViewFromName(std::string_view name) {
    for (std::size_t i = 0; i < ReadableViews; ++i)
        if (ViewNames[i] == name)
            return static_cast<CsvView>(i);
    return std::nullopt;
}

std::vector<CsvColumn> CsvColumnsOf(CsvView view) {
    switch (view) {
    case CsvView::Vehicles:
        return VehicleColumns();
    case CsvView::Intervals:
        return IntervalColumns();
    case CsvView::Days:
        return DayColumns();
    case CsvView::Profile:
        return ProfileColumns();
    case CsvView::Stats:
        return StatsColumns();
    case CsvView::Chart:
        return ChartColumns();
    }
    return {};
}

CsvTable VehicleCsv(const MeasurementData& data, const StatisticsSettings& settings, CsvStyle style) {
    if (data.DataMode != DataMode::SingleVehicle)
        throw CoreError(ProgramMessage::CsvNoVehicles, "");
    // Devices record whole seconds: the table is written so, and only when a time with
    // milliseconds turns up is it written again with them.
    if (auto table = VehicleCsvOf(data, settings, style, false))
        return std::move(*table);
    return std::move(*VehicleCsvOf(data, settings, style, true));
}

CsvTable IntervalCsv(const MeasurementData& data, const LengthThresholds& lengths, int intervalMinutes,
                     CsvStyle style) {
    const bool fromVehicles = data.DataMode == DataMode::SingleVehicle;
    const SpeedSums sums = fromVehicles ? SumSpeedsPerInterval(data, lengths, intervalMinutes) : SpeedSums{};
    CsvWriter out(style, static_cast<std::size_t>(std::max(0, data.WorkIntervalCount)) * 96);
    WriteHeader(out, IntervalColumns());
    for (int i = 1; i <= data.WorkIntervalCount; ++i) {
        const IntervalRecord& r = data.WorkIntervals[i];
        out.DateTime(r.StartTime, false);
        for (int d = 1; d <= 2; ++d) {
            std::optional<double> mean;
            if (fromVehicles) {
                const auto k = static_cast<std::size_t>(i - 1);
                const auto j = static_cast<std::size_t>(d - 1);
                if (sums.Count[k][j] > 0)
                    mean = static_cast<double>(sums.Sum[k][j]) / static_cast<double>(sums.Count[k][j]);
            }
            WriteIntervalDirection(out, r, d, data.DataMode, mean);
        }
        out.EndRow();
    }
    return TableOf(CsvView::Intervals, out);
}

CsvTable DayCsv(const TrafficStatistics& s, CsvStyle style) {
    CsvWriter out(style);
    WriteHeader(out, DayColumns());
    for (const DayFigures& day : s.Days) {
        out.Date(day.Date);
        out.Integer(static_cast<long long>(day.Weekday));
        out.Boolean(day.Complete);
        for (const long long count : day.Count)
            out.Integer(count);
        out.Integer(day.Heavy);
        out.Number(day.V85);
        out.Number(day.ShareAboveLimit);
        out.EndRow();
    }
    return TableOf(CsvView::Days, out);
}

CsvTable ProfileCsv(const TrafficStatistics& s, CsvStyle style) {
    CsvWriter out(style);
    WriteHeader(out, ProfileColumns());
    for (int group = 0; group < DayGroupCount; ++group) {
        for (int hour = 0; hour < 24; ++hour) {
            const ProfileHour& h = s.Profile[static_cast<std::size_t>(group)][static_cast<std::size_t>(hour)];
            out.Text(DayGroupNames[group]);
            out.Integer(static_cast<long long>(hour));
            for (const std::optional<double>& mean : h.Mean)
                out.Number(mean);
            out.Number(h.HeavyShare);
            out.EndRow();
        }
    }
    return TableOf(CsvView::Profile, out);
}

CsvTable KeyFigureCsv(const TrafficStatistics& s, CsvStyle style) {
    CsvWriter out(style);
    WriteHeader(out, StatsColumns());
    for (const SpeedGroupFigures& g : s.Groups)
        WriteGroupFigures(out, g);
    WriteAdtFigures(out, s);
    WritePeakHours(out, s);
    WriteQualityFigures(out, s);
    return TableOf(CsvView::Stats, out);
}

CsvTable BuildCsvTable(CsvView view, const MeasurementData& data, const StatisticsSettings& settings,
                       int intervalMinutes, CsvStyle style) {
    switch (view) {
    case CsvView::Vehicles:
        return VehicleCsv(data, settings, style);
    case CsvView::Intervals:
        return IntervalCsv(data, settings.Lengths, intervalMinutes, style);
    case CsvView::Days:
        return DayCsv(ComputeTrafficStatistics(data, settings), style);
    case CsvView::Profile:
        return ProfileCsv(ComputeTrafficStatistics(data, settings), style);
    case CsvView::Stats:
        return KeyFigureCsv(ComputeTrafficStatistics(data, settings), style);
    case CsvView::Chart:
        break;
    }
    throw std::invalid_argument("the chart's table is made from the chart drawn");
}

void WriteCsvFile(const std::filesystem::path& file, const CsvTable& table) {
    AtomicFileWriter writer(file);
    writer.Write(table.Bytes);
    writer.Commit();
}
