#include "evaluation/TrafficStatistics.h"

#include "base/CoreError.h"
#include "data/DateTime.h"
#include "evaluation/Summary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {
constexpr long long MsPerMinute = 60000;
constexpr long long MsPerFiveMinutes = 5 * MsPerMinute;
constexpr long long MsPerQuarter = 15 * MsPerMinute;
constexpr long long MsPerHour = 60 * MsPerMinute;
constexpr long long MsPerDay = 24 * MsPerHour;
constexpr long long QuartersPerDay = 96;
constexpr long long FiveMinutesPerDay = 288;
constexpr long long ShortHeadwayMs = 300;
constexpr long long LongGapMs = 60 * MsPerMinute;
constexpr double Z = 1.96;
constexpr int Both = 2;

// Speeds are whole km/h 0..255: a count per speed gives every order statistic without sorting.
using SpeedHistogram = std::array<std::uint32_t, 256>;

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// A day count in whole milliseconds, in double precision: within a ten-thousandth of a millisecond
// of the exact product, so only a time lying on a half millisecond could round otherwise than the
// extended-precision rounding does, and device times lie on whole seconds. It is the hot path.
long long FastMilliseconds(double t) {
    const double x = t * static_cast<double>(MsPerDay);
    // A time no calendar holds (a damaged file) lies far away, so that the span check refuses it.
    constexpr double Far = 1e15;
    if (!(x > -Far && x < Far))
        return x > 0 ? static_cast<long long>(Far) : -static_cast<long long>(Far);
    auto whole = static_cast<long long>(x); // towards zero
    const double rest = x - static_cast<double>(whole);
    if (rest >= 0.5)
        ++whole;
    else if (rest < -0.5)
        --whole;
    return whole;
}

double DayCountOf(long long ms) {
    return static_cast<double>(ms) / static_cast<double>(MsPerDay);
}

int MondayFirstWeekday(double date) {
    const int sundayFirst = DecodeDateTime(date).DayOfWeek;
    return sundayFirst == 0 ? 7 : sundayFirst;
}

bool OverlapsDaytime(long long fromMs, long long toMs) {
    if (toMs - fromMs >= MsPerDay)
        return true;
    for (long long day = FloorDiv(fromMs, MsPerDay); day <= FloorDiv(toMs, MsPerDay); ++day) {
        const long long a = std::max(fromMs, day * MsPerDay + 6 * MsPerHour);
        const long long b = std::min(toMs, day * MsPerDay + 22 * MsPerHour);
        if (a < b)
            return true;
    }
    return false;
}

DataGap GapBetween(long long fromMs, long long toMs) {
    return {DayCountOf(fromMs), DayCountOf(toMs), static_cast<double>(toMs - fromMs) / MsPerMinute};
}

long long HistogramCount(const SpeedHistogram& h) {
    long long n = 0;
    for (std::uint32_t c : h)
        n += c;
    return n;
}

int SpeedAtRank(const SpeedHistogram& h, long long rank) {
    long long seen = 0;
    for (int v = 0; v < 256; ++v) {
        seen += h[static_cast<std::size_t>(v)];
        if (seen >= rank)
            return v;
    }
    return 255;
}

long long CountAbove(const SpeedHistogram& h, int threshold) {
    long long n = 0;
    for (int v = std::max(threshold + 1, 0); v < 256; ++v)
        n += h[static_cast<std::size_t>(v)];
    return n;
}

std::optional<double> Percentile(const SpeedHistogram& h, long long n, int percent) {
    if (n < 1)
        return std::nullopt;
    return SpeedAtRank(h, NearestRank(n, percent));
}

std::optional<Interval95> PercentileInterval(const SpeedHistogram& h, long long n, int percent) {
    if (n < 1)
        return std::nullopt;
    const auto [lower, upper] = PercentileIntervalRanks(n, percent);
    return Interval95{static_cast<double>(SpeedAtRank(h, lower)), static_cast<double>(SpeedAtRank(h, upper))};
}

std::optional<double> ShareOf(long long k, long long n) {
    if (n < 1)
        return std::nullopt;
    return static_cast<double>(k) / static_cast<double>(n);
}

PaceBand PaceOf(const SpeedHistogram& h, long long n) {
    long long window = 0;
    for (int v = 0; v < 10; ++v)
        window += h[static_cast<std::size_t>(v)];
    PaceBand best{0, window, 0};
    for (int a = 1; a <= 246; ++a) {
        window +=
            static_cast<long long>(h[static_cast<std::size_t>(a + 9)]) - h[static_cast<std::size_t>(a - 1)];
        if (window > best.Count)
            best = {a, window, 0};
    }
    best.Share = static_cast<double>(best.Count) / static_cast<double>(n);
    return best;
}

void Add(SpeedHistogram& into, const SpeedHistogram& from) {
    for (std::size_t v = 0; v < 256; ++v)
        into[v] += from[v];
}

SpeedGroupFigures FiguresOfVehicles(const SpeedHistogram& h, const SpeedHistogram& freeFlow,
                                    const StatisticsSettings& settings, const std::vector<int>& thresholds) {
    SpeedGroupFigures g;
    const long long n = HistogramCount(h);
    g.Count = n;
    long long sum = 0;
    long long sumOfSquares = 0;
    for (int v = 0; v < 256; ++v) {
        sum += static_cast<long long>(v) * h[static_cast<std::size_t>(v)];
        sumOfSquares += static_cast<long long>(v) * v * h[static_cast<std::size_t>(v)];
    }
    if (n >= 1)
        g.Mean = static_cast<double>(sum) / static_cast<double>(n);
    if (n >= 2) // integer numerator: no cancellation
        g.StandardDeviation = std::sqrt(static_cast<double>(n * sumOfSquares - sum * sum) /
                                        (static_cast<double>(n) * static_cast<double>(n - 1)));
    g.V15 = Percentile(h, n, 15);
    g.V50 = Percentile(h, n, 50);
    g.V85 = Percentile(h, n, 85);
    g.V95 = Percentile(h, n, 95);
    g.VLower = Percentile(h, n, settings.LowerPercentile);
    g.VUpper = Percentile(h, n, settings.UpperPercentile);
    g.V50Interval = PercentileInterval(h, n, 50);
    g.V85Interval = PercentileInterval(h, n, 85);
    if (n >= 1)
        g.Pace = PaceOf(h, n);
    std::vector<ThresholdShare> above;
    for (int t : thresholds) {
        ThresholdShare s{t, CountAbove(h, t), std::nullopt, std::nullopt};
        s.Share = ShareOf(s.Count, n);
        if (n >= 1)
            s.Interval = WilsonInterval(s.Count, n);
        above.push_back(s);
    }
    g.Above = std::move(above);
    FreeFlowFigures f;
    f.Count = HistogramCount(freeFlow);
    f.V85 = Percentile(freeFlow, f.Count, 85);
    f.V85Interval = PercentileInterval(freeFlow, f.Count, 85);
    f.ShareAboveLimit = ShareOf(CountAbove(freeFlow, settings.Limit), f.Count);
    g.FreeFlow = f;
    return g;
}

// Quarter-hour counts per direction group from a first quarter on, with the span each direction
// group's vehicles cover.
struct QuarterCounts {
    long long FirstQuarter = 0; // absolute quarter number of index 0
    std::vector<long long> Count[DirectionGroups];
    long long First[DirectionGroups];
    long long Last[DirectionGroups];

    QuarterCounts(long long firstQuarter, long long quarters) : FirstQuarter(firstQuarter) {
        for (int d = 0; d < DirectionGroups; ++d) {
            Count[d].assign(static_cast<std::size_t>(quarters + 3), 0);
            First[d] = -1;
            Last[d] = -1;
        }
    }
    void Add(int directionIndex, long long ms, long long count) {
        const long long q = FloorDiv(ms, MsPerQuarter) - FirstQuarter;
        if (count <= 0 || q < 0 || q >= static_cast<long long>(Count[0].size()) - 3)
            return;
        for (int d : {directionIndex, Both}) {
            Count[d][static_cast<std::size_t>(q)] += count;
            // The span follows the vehicles; empty (or damaged, negative) intervals open none.
            First[d] = First[d] < 0 ? q : std::min(First[d], q);
            Last[d] = std::max(Last[d], q);
        }
    }
};

void AddPeakHours(const QuarterCounts& quarters, std::vector<PeakHour>& out) {
    for (int d = 0; d < DirectionGroups; ++d) {
        if (quarters.First[d] < 0)
            continue;
        const auto& q = quarters.Count[d];
        PeakHour best[2];
        for (int half = 0; half < 2; ++half)
            best[half] = PeakHour{d, half == 1, 0, 0, 0};
        for (long long s = quarters.First[d]; s <= quarters.Last[d]; ++s) {
            const auto at = static_cast<std::size_t>(s);
            const long long count = q[at] + q[at + 1] + q[at + 2] + q[at + 3];
            const long long absolute = s + quarters.FirstQuarter;
            const long long quarterOfDay = absolute - FloorDiv(absolute, QuartersPerDay) * QuartersPerDay;
            const int half = quarterOfDay < 48 ? 0 : 1; // morning windows start 00:00..11:45
            if (count > best[half].Count) {
                const long long largest = std::max({q[at], q[at + 1], q[at + 2], q[at + 3]});
                best[half].Count = count;
                best[half].Start = DayCountOf(absolute * MsPerQuarter);
                best[half].Factor = static_cast<double>(count) / (4.0 * static_cast<double>(largest));
            }
        }
        for (const PeakHour& p : best)
            if (p.Count > 0)
                out.push_back(p);
    }
}

void FinishDayGroups(TrafficStatistics& s) {
    const auto inGroup = [](int weekday, DayGroup group) {
        switch (group) {
        case DayGroup::Workdays:
            return weekday <= 5;
        case DayGroup::Saturday:
            return weekday == 6;
        case DayGroup::Sunday:
            return weekday == 7;
        case DayGroup::Weekend:
            return weekday >= 6;
        case DayGroup::All:
            return true;
        }
        return false;
    };
    for (int g = 0; g < DayGroupCount; ++g) {
        const auto group = static_cast<DayGroup>(g);
        int days = 0;
        long long total[DirectionGroups] = {};
        long long hour[24][DirectionGroups] = {};
        long long heavy[24] = {};
        for (const DayFigures& day : s.Days) {
            if (!day.Complete || !inGroup(day.Weekday, group))
                continue;
            ++days;
            for (int d = 0; d < DirectionGroups; ++d)
                total[d] += day.Count[d];
            for (int h = 0; h < 24; ++h) {
                for (int d = 0; d < DirectionGroups; ++d)
                    hour[h][d] += day.HourCount[static_cast<std::size_t>(h)][static_cast<std::size_t>(d)];
                heavy[h] += day.HourHeavy[static_cast<std::size_t>(h)];
            }
        }
        const int adtIndex = group == DayGroup::All        ? 0
                             : group == DayGroup::Workdays ? 1
                             : group == DayGroup::Weekend  ? 2
                                                           : -1;
        if (adtIndex >= 0) {
            AdtFigures& adt = s.Adt[adtIndex];
            adt.Days = days;
            for (int d = 0; d < DirectionGroups; ++d)
                if (days > 0)
                    adt.Mean[d] = static_cast<double>(total[d]) / days;
        }
        for (int h = 0; h < 24; ++h) {
            ProfileHour& p = s.Profile[static_cast<std::size_t>(g)][static_cast<std::size_t>(h)];
            if (days == 0)
                continue;
            for (int d = 0; d < DirectionGroups; ++d)
                p.Mean[d] = static_cast<double>(hour[h][d]) / days;
            p.HeavyShare = ShareOf(heavy[h], hour[h][Both]);
        }
    }
}

std::vector<DayFigures> EmptyDays(long long firstDay, long long lastDay) {
    if (lastDay - firstDay + 1 > MaxStatisticsDays)
        throw CoreError(ProgramMessage::StatisticsSpanTooLong, std::to_string(lastDay - firstDay + 1));
    std::vector<DayFigures> days(static_cast<std::size_t>(lastDay - firstDay + 1));
    for (long long i = 0; i < static_cast<long long>(days.size()); ++i) {
        DayFigures& day = days[static_cast<std::size_t>(i)];
        day.Date = static_cast<double>(firstDay + i);
        day.Weekday = MondayFirstWeekday(day.Date);
    }
    return days;
}

bool InWindow(long long ms, const StatisticsSettings& settings, long long fromMs, long long toMs) {
    return (!settings.From || ms >= fromMs) && (!settings.To || ms < toMs);
}

// --- single vehicles ---

struct VehicleTally {
    SpeedHistogram Speeds[2][3]{};   // direction 1, 2 × PKW, LKW, LZ
    SpeedHistogram FreeFlow[2][3]{}; // the free-flowing among them
    SpeedHistogram HourSpeeds[24]{};
    std::vector<SpeedHistogram> DaySpeeds;
};

void ComputeFromVehicles(const MeasurementData& data, const StatisticsSettings& settings,
                         TrafficStatistics& s) {
    const long long fromMs = settings.From ? ToMilliseconds(*settings.From) : 0;
    const long long toMs = settings.To ? ToMilliseconds(*settings.To) : 0;
    const LengthThresholds& lengths = settings.Lengths;

    long long firstMs = 0;
    long long lastMs = 0;
    bool any = false;
    for (int i = 1; i <= data.WorkVehicleCount; ++i) {
        const VehicleRecord& v = data.WorkVehicles[i];
        if (DirectionIndex(v.Direction) == 0 || !IsCounted(v.Length, lengths))
            continue;
        const long long ms = FastMilliseconds(v.Time);
        if (!InWindow(ms, settings, fromMs, toMs))
            continue;
        firstMs = any ? std::min(firstMs, ms) : ms;
        lastMs = any ? std::max(lastMs, ms) : ms;
        any = true;
    }
    const long long firstDay = FloorDiv(firstMs, MsPerDay);
    const long long lastDay = FloorDiv(lastMs, MsPerDay);
    if (any)
        s.Days = EmptyDays(firstDay, lastDay);
    for (std::size_t i = 1; i + 1 < s.Days.size(); ++i)
        s.Days[i].Complete = true;

    VehicleTally tally;
    tally.DaySpeeds.assign(s.Days.size(), SpeedHistogram{});
    QuarterCounts quarters(firstDay * QuartersPerDay, any ? (lastDay - firstDay + 1) * QuartersPerDay : 0);
    std::vector<long long> dayAbove(s.Days.size(), 0);
    long long hourAbove[24] = {};

    const long long freeFlowMs = std::llround(settings.FreeFlowGapSeconds * 1000.0);
    long long previousMs = 0;
    long long previousOfDirection[3] = {0, 0, 0};
    bool seenDirection[3] = {false, false, false};
    bool seenAny = false;
    long long records = 0;
    long long implausible = 0;
    long long shortHeadways = 0;
    long long outOfOrder = 0;
    for (int i = 1; i <= data.WorkVehicleCount; ++i) {
        const VehicleRecord& v = data.WorkVehicles[i];
        const long long ms = FastMilliseconds(v.Time);
        if (!InWindow(ms, settings, fromMs, toMs))
            continue;
        ++records;
        if (v.Speed == 0 || v.Speed == 255 || v.Length == 0 || v.Length == 255)
            ++implausible;
        if (seenAny) {
            if (ms < previousMs)
                ++outOfOrder;
            else if (ms - previousMs >= LongGapMs && OverlapsDaytime(previousMs, ms))
                s.Quality.Gaps.push_back(GapBetween(previousMs, ms));
        }
        previousMs = ms;
        seenAny = true;

        const int direction = DirectionIndex(v.Direction);
        if (direction == 0)
            continue;
        bool freeFlowing = false;
        if (seenDirection[direction]) {
            const long long gap = ms - previousOfDirection[direction];
            if (gap >= 0 && gap < ShortHeadwayMs)
                ++shortHeadways;
            freeFlowing = gap >= freeFlowMs;
        }
        seenDirection[direction] = true;
        previousOfDirection[direction] = ms;
        if (!IsCounted(v.Length, lengths))
            continue;

        const int c = static_cast<int>(ClassOfLength(v.Length, lengths));
        const int d = direction - 1;
        tally.Speeds[d][c][v.Speed] += 1;
        if (freeFlowing)
            tally.FreeFlow[d][c][v.Speed] += 1;
        const long long dayIndex = FloorDiv(ms, MsPerDay) - firstDay;
        const auto hour = static_cast<std::size_t>((ms - FloorDiv(ms, MsPerDay) * MsPerDay) / MsPerHour);
        DayFigures& day = s.Days[static_cast<std::size_t>(dayIndex)];
        const bool heavy = c != static_cast<int>(VehicleClass::Pkw);
        const bool aboveLimit = v.Speed > settings.Limit;
        day.Count[d] += 1;
        day.Count[Both] += 1;
        day.HourCount[hour][static_cast<std::size_t>(d)] += 1;
        day.HourCount[hour][Both] += 1;
        day.Heavy += heavy;
        day.HourHeavy[hour] += heavy;
        dayAbove[static_cast<std::size_t>(dayIndex)] += aboveLimit;
        hourAbove[hour] += aboveLimit;
        tally.DaySpeeds[static_cast<std::size_t>(dayIndex)][v.Speed] += 1;
        tally.HourSpeeds[hour][v.Speed] += 1;
        quarters.Add(d, ms, 1);
    }

    for (std::size_t i = 0; i < s.Days.size(); ++i) {
        DayFigures& day = s.Days[i];
        day.V85 = Percentile(tally.DaySpeeds[i], day.Count[Both], 85);
        day.ShareAboveLimit = ShareOf(dayAbove[i], day.Count[Both]);
    }
    for (std::size_t h = 0; h < 24; ++h) {
        HourFigures& hour = s.Hourly[h];
        hour.Count = HistogramCount(tally.HourSpeeds[h]);
        hour.V85 = Percentile(tally.HourSpeeds[h], hour.Count, 85);
        hour.ShareAboveLimit = ShareOf(hourAbove[h], hour.Count);
    }

    for (int d = 0; d < DirectionGroups; ++d) {
        SpeedHistogram classes[4]{};
        SpeedHistogram freeClasses[4]{};
        for (int c = 0; c < 3; ++c) {
            for (int dir = 0; dir < 2; ++dir) {
                if (d != Both && dir != d)
                    continue;
                Add(classes[c + 1], tally.Speeds[dir][c]);
                Add(freeClasses[c + 1], tally.FreeFlow[dir][c]);
            }
            Add(classes[0], classes[c + 1]);
            Add(freeClasses[0], freeClasses[c + 1]);
        }
        for (std::size_t v = 0; v < 256; ++v)
            s.SpeedCounts[static_cast<std::size_t>(d)][v] = classes[0][v];
        for (int c = 0; c < StatisticsClassCount; ++c) {
            SpeedGroupFigures g = FiguresOfVehicles(classes[c], freeClasses[c], settings, s.Thresholds);
            g.DirectionGroup = d;
            g.Class = static_cast<StatisticsClass>(c);
            s.Groups.push_back(std::move(g));
        }
    }
    s.Vehicles = *s.Groups[Both * StatisticsClassCount].Count;
    s.WorkingRecords = records;
    s.Quality.Implausible = implausible;
    s.Quality.ImplausibleShare = ShareOf(implausible, records);
    s.Quality.ShortHeadways = shortHeadways;
    s.Quality.OutOfOrder = outOfOrder;
    AddPeakHours(quarters, s.PeakHours);
}

// --- 5-minute intervals ---

// Counts and speed classes of some intervals, per direction group and class.
struct ClassSums {
    long long Count[DirectionGroups][StatisticsClassCount] = {};
    long long Speeds[DirectionGroups][StatisticsClassCount][SpeedClassCount + 1] = {};

    void Add(const IntervalRecord& r, bool imported) {
        for (int dir = 1; dir <= 2; ++dir) {
            for (int d : {dir - 1, Both}) {
                Count[d][0] += r.Total()[dir];
                if (imported) {
                    Count[d][2] += r.HeavyTotal()[dir];
                } else {
                    for (int c = 0; c < 3; ++c)
                        Count[d][c + 1] += r.ClassCount(static_cast<VehicleClass>(c))[dir];
                }
                for (int c = 0; c < 3; ++c) {
                    for (int k = 1; k <= SpeedClassCount; ++k) {
                        const std::int32_t n = r.SpeedClasses(static_cast<VehicleClass>(c), k)[dir];
                        Speeds[d][0][k] += n;
                        if (!imported)
                            Speeds[d][c + 1][k] += n;
                    }
                }
            }
        }
    }
};

// Both directions and all classes only: what a day's or an hour's V85 needs.
struct TotalSpeeds {
    long long Count = 0;
    long long Speeds[SpeedClassCount + 1] = {};

    void Add(const IntervalRecord& r) {
        for (int dir = 1; dir <= 2; ++dir) {
            Count += r.Total()[dir];
            for (int c = 0; c < 3; ++c)
                for (int k = 1; k <= SpeedClassCount; ++k)
                    Speeds[k] += r.SpeedClasses(static_cast<VehicleClass>(c), k)[dir];
        }
    }
};

// The percentile as the overview computes it from speed classes; none without any class count.
std::optional<double> ClassPercentile(long long count, const long long (&speeds)[SpeedClassCount + 1],
                                      int p) {
    if (count < 1 || ClassifiedCount(speeds) < 1)
        return std::nullopt;
    // The single-precision tenth as the decimal it shows.
    return std::round(static_cast<double>(PercentileSpeed(speeds, p)) * 10) / 10;
}

void ComputeFromIntervals(const MeasurementData& data, const StatisticsSettings& settings,
                          TrafficStatistics& s) {
    const long long fromMs = settings.From ? ToMilliseconds(*settings.From) : 0;
    const long long toMs = settings.To ? ToMilliseconds(*settings.To) : 0;
    const bool imported = s.Imported;
    const auto heavyOf = [imported](const IntervalRecord& r, int dir) -> long long {
        return imported ? r.HeavyTotal()[dir] : static_cast<long long>(r.LkwCount()[dir]) + r.LzCount()[dir];
    };

    std::vector<int> used;
    long long firstMs = 0;
    long long lastMs = 0;
    for (int i = 1; i <= data.IntervalCount; ++i) {
        const long long ms = FastMilliseconds(data.Intervals[i].StartTime);
        if (!InWindow(ms, settings, fromMs, toMs))
            continue;
        firstMs = used.empty() ? ms : std::min(firstMs, ms);
        lastMs = used.empty() ? ms : std::max(lastMs, ms);
        used.push_back(i);
    }
    const long long firstDay = FloorDiv(firstMs, MsPerDay);
    const long long lastDay = FloorDiv(lastMs, MsPerDay);
    if (!used.empty())
        s.Days = EmptyDays(firstDay, lastDay);
    std::vector<std::uint8_t> present(s.Days.size() * FiveMinutesPerDay, 0);
    std::vector<TotalSpeeds> daySums(s.Days.size());
    std::vector<TotalSpeeds> hourSums(24);
    ClassSums all;
    QuarterCounts quarters(firstDay * QuartersPerDay,
                           used.empty() ? 0 : (lastDay - firstDay + 1) * QuartersPerDay);

    // A run without data: missing intervals and empty ones, from emptySince on.
    bool inRun = false;
    long long emptySince = 0;
    bool anyBefore = false;
    long long previousEnd = 0;
    const auto closeRun = [&](long long endMs) {
        if (inRun && endMs - emptySince >= LongGapMs && OverlapsDaytime(emptySince, endMs))
            s.Quality.Gaps.push_back(GapBetween(emptySince, endMs));
        inRun = false;
    };
    const auto openRun = [&](long long startMs) {
        if (!inRun)
            emptySince = startMs;
        inRun = true;
    };
    for (int i : used) {
        const IntervalRecord& r = data.Intervals[i];
        const long long ms = FastMilliseconds(r.StartTime);
        const long long dayIndex = FloorDiv(ms, MsPerDay) - firstDay;
        const long long timeOfDay = ms - FloorDiv(ms, MsPerDay) * MsPerDay;
        const auto hour = static_cast<std::size_t>(timeOfDay / MsPerHour);
        present[static_cast<std::size_t>(dayIndex * FiveMinutesPerDay + timeOfDay / MsPerFiveMinutes)] = 1;
        DayFigures& day = s.Days[static_cast<std::size_t>(dayIndex)];
        for (int dir = 1; dir <= 2; ++dir) {
            const long long total = r.Total()[dir];
            const long long heavy = heavyOf(r, dir);
            day.Count[dir - 1] += total;
            day.Count[Both] += total;
            day.HourCount[hour][static_cast<std::size_t>(dir - 1)] += total;
            day.HourCount[hour][Both] += total;
            day.Heavy += heavy;
            day.HourHeavy[hour] += heavy;
            quarters.Add(dir - 1, ms, total);
        }
        daySums[static_cast<std::size_t>(dayIndex)].Add(r);
        hourSums[hour].Add(r);
        all.Add(r, imported);

        if (anyBefore && ms > previousEnd)
            openRun(previousEnd); // missing intervals open (or extend) a run without data
        const bool empty = static_cast<long long>(r.Total().Dir1) + r.Total().Dir2 == 0;
        if (empty)
            openRun(ms);
        else
            closeRun(ms);
        previousEnd = anyBefore ? std::max(previousEnd, ms + MsPerFiveMinutes) : ms + MsPerFiveMinutes;
        anyBefore = true;
    }
    if (anyBefore)
        closeRun(previousEnd);

    for (std::size_t i = 0; i < s.Days.size(); ++i) {
        DayFigures& day = s.Days[i];
        const auto* slots = &present[i * FiveMinutesPerDay];
        day.Complete = std::all_of(slots, slots + FiveMinutesPerDay, [](std::uint8_t p) { return p != 0; });
        day.V85 = ClassPercentile(daySums[i].Count, daySums[i].Speeds, 85);
    }
    for (std::size_t h = 0; h < 24; ++h) {
        s.Hourly[h].Count = hourSums[h].Count;
        s.Hourly[h].V85 = ClassPercentile(hourSums[h].Count, hourSums[h].Speeds, 85);
    }
    for (int d = 0; d < DirectionGroups; ++d) {
        for (int c = 0; c < StatisticsClassCount; ++c) {
            SpeedGroupFigures g;
            g.DirectionGroup = d;
            g.Class = static_cast<StatisticsClass>(c);
            const bool held = !imported || c == 0 || c == 2;
            if (held) {
                g.Count = all.Count[d][c];
                const long long n = all.Count[d][c];
                const auto& speeds = all.Speeds[d][c];
                g.V15 = ClassPercentile(n, speeds, 15);
                g.V50 = ClassPercentile(n, speeds, 50);
                g.V85 = ClassPercentile(n, speeds, 85);
                g.V95 = ClassPercentile(n, speeds, 95);
                g.VLower = ClassPercentile(n, speeds, settings.LowerPercentile);
                g.VUpper = ClassPercentile(n, speeds, settings.UpperPercentile);
            }
            s.Groups.push_back(std::move(g));
        }
    }
    s.Vehicles = all.Count[Both][0];
    s.WorkingRecords = static_cast<long long>(used.size());
    AddPeakHours(quarters, s.PeakHours);
}
} // namespace

long long NearestRank(long long n, int percent) {
    return std::clamp<long long>((n * percent + 99) / 100, 1, n);
}

std::pair<long long, long long> PercentileIntervalRanks(long long n, int percent) {
    // n·q exactly: the product of integers divided once.
    const double nq = static_cast<double>(n * percent) / 100.0;
    const double q = percent / 100.0;
    const double s = Z * std::sqrt(static_cast<double>(n) * q * (1 - q));
    const auto lower = static_cast<long long>(std::floor(nq - s));
    const auto upper = static_cast<long long>(std::ceil(nq + s)) + 1;
    return {std::max<long long>(1, lower), std::min<long long>(n, upper)};
}

Interval95 WilsonInterval(long long k, long long n) {
    const double nn = static_cast<double>(n);
    const double p = static_cast<double>(k) / nn;
    const double z2 = Z * Z;
    const double centre = p + z2 / (2 * nn);
    const double spread = Z * std::sqrt(p * (1 - p) / nn + z2 / (4 * nn * nn));
    const double divisor = 1 + z2 / nn;
    return {std::clamp((centre - spread) / divisor, 0.0, 1.0),
            std::clamp((centre + spread) / divisor, 0.0, 1.0)};
}

std::vector<int> EffectiveThresholds(const StatisticsSettings& settings) {
    std::vector<int> t = settings.Thresholds;
    if (t.empty())
        t = {settings.Limit, settings.Limit + 10, settings.Limit + 20};
    std::sort(t.begin(), t.end());
    t.erase(std::unique(t.begin(), t.end()), t.end());
    return t;
}

std::optional<std::pair<double, double>> RangeTimeSpan(const MeasurementData& data, int intervalFactor) {
    if (data.WorkIntervalCount < 1 || data.IntervalRebuildPending)
        return std::nullopt;
    const double from = data.WorkIntervals[1].StartTime;
    const double to = IncMinute(data.WorkIntervals[data.WorkIntervalCount].StartTime, 5LL * intervalFactor);
    const long long fromMs = ToMilliseconds(from);
    const long long toMs = ToMilliseconds(to);
    for (int i = 1; i <= data.IntervalCount; ++i) {
        const long long ms = FastMilliseconds(data.Intervals[i].StartTime);
        if (ms < fromMs || ms >= toMs)
            return std::pair{from, to};
    }
    return std::nullopt;
}

StatisticsSettings StatisticsSettingsOf(const Settings& settings, const MeasurementData& data,
                                        const ViewSelections& view) {
    StatisticsSettings s;
    s.Lengths = settings.Lengths;
    s.Limit = 10 * view.SpeedLimitIndex;
    s.Thresholds = settings.SpeedThresholds;
    s.FreeFlowGapSeconds = settings.FreeFlowGapSeconds;
    s.LowerPercentile = view.LowerPercentile;
    s.UpperPercentile = view.UpperPercentile;
    if (const auto span = RangeTimeSpan(data, view.IntervalFactor)) {
        s.From = span->first;
        s.To = span->second;
    }
    return s;
}

TrafficStatistics ComputeTrafficStatistics(const MeasurementData& data, const StatisticsSettings& settings) {
    TrafficStatistics s;
    s.SingleVehicles = data.DataMode == DataMode::SingleVehicle;
    s.Imported = data.DataMode == DataMode::Imported;
    s.Thresholds = EffectiveThresholds(settings);
    s.Limit = settings.Limit;
    s.FreeFlowGapSeconds = settings.FreeFlowGapSeconds;
    s.LowerPercentile = settings.LowerPercentile;
    s.UpperPercentile = settings.UpperPercentile;
    if (s.SingleVehicles)
        ComputeFromVehicles(data, settings, s);
    else
        ComputeFromIntervals(data, settings, s);
    std::sort(s.Quality.Gaps.begin(), s.Quality.Gaps.end(),
              [](const DataGap& a, const DataGap& b) { return a.From < b.From; });
    FinishDayGroups(s);
    return s;
}
