#include "evaluation/Comparison.h"

#include "base/CoreError.h"
#include "data/DateTime.h"
#include "evaluation/Resampling.h"
#include "evaluation/Summary.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <thread>
#include <type_traits>

namespace {
constexpr int Bins = 256; // km/h 0..255, or speed classes 1..29 of interval data
constexpr int Both = 2;
constexpr int GroupCount = DirectionGroups * StatisticsClassCount;
constexpr long long MsPerHour = 3600000;
constexpr long long MsPerDay = 24 * MsPerHour;

using Counts = std::array<std::uint32_t, Bins>;
using Weighted = std::array<double, Bins>;

// The speeds of one direction group and class: all, the free-flowing, and per hour of the day.
struct GroupSpeeds {
    Counts All{};
    Counts FreeFlow{};
    std::array<Counts, 24> ByHour{};

    void Add(const GroupSpeeds& other) {
        for (int v = 0; v < Bins; ++v) {
            All[static_cast<std::size_t>(v)] += other.All[static_cast<std::size_t>(v)];
            FreeFlow[static_cast<std::size_t>(v)] += other.FreeFlow[static_cast<std::size_t>(v)];
        }
        for (std::size_t h = 0; h < 24; ++h)
            for (std::size_t v = 0; v < Bins; ++v)
                ByHour[h][v] += other.ByHour[h][v];
    }
};

// Directions 1, 2 × PKW, LKW, LZ, as the measurement holds them.
using BaseSpeeds = std::array<std::array<GroupSpeeds, 3>, 2>;

int HourOfDay(long long ms) {
    const long long ofDay = ((ms % MsPerDay) + MsPerDay) % MsPerDay;
    return static_cast<int>(ofDay / MsPerHour);
}

// The vehicles the statistics count, with the free-flow rule of the statistics: a vehicle at least
// the free-flow gap after the previous working vehicle of its direction, counted or not.
void CollectVehicles(const MeasurementData& data, const StatisticsSettings& settings, BaseSpeeds& base) {
    const long long freeFlowMs = std::llround(settings.FreeFlowGapSeconds * 1000.0);
    long long previousMs[3] = {};
    bool seen[3] = {};
    for (int i = 1; i <= data.WorkVehicleCount; ++i) {
        const VehicleRecord& v = data.WorkVehicles[i];
        const int direction = DirectionIndex(v.Direction);
        if (direction == 0)
            continue;
        const long long ms = ToMilliseconds(v.Time);
        const bool freeFlowing = seen[direction] && ms - previousMs[direction] >= freeFlowMs;
        seen[direction] = true;
        previousMs[direction] = ms;
        if (!IsCounted(v.Length, settings.Lengths))
            continue;
        GroupSpeeds& g = base[static_cast<std::size_t>(direction - 1)]
                             [static_cast<std::size_t>(ClassOfLength(v.Length, settings.Lengths))];
        g.All[v.Speed] += 1;
        if (freeFlowing)
            g.FreeFlow[v.Speed] += 1;
        g.ByHour[static_cast<std::size_t>(HourOfDay(ms))][v.Speed] += 1;
    }
}

// The speed classes of the 5-minute intervals, by the hour each interval starts in.
void CollectIntervals(const MeasurementData& data, BaseSpeeds& base) {
    for (int i = 1; i <= data.IntervalCount; ++i) {
        const IntervalRecord& r = data.Intervals[i];
        const auto hour = static_cast<std::size_t>(HourOfDay(ToMilliseconds(r.StartTime)));
        for (int dir = 1; dir <= 2; ++dir) {
            for (int c = 0; c < 3; ++c) {
                GroupSpeeds& g = base[static_cast<std::size_t>(dir - 1)][static_cast<std::size_t>(c)];
                for (int k = 1; k <= SpeedClassCount; ++k) {
                    const std::int32_t n = r.SpeedClasses(static_cast<VehicleClass>(c), k)[dir];
                    if (n <= 0)
                        continue; // a damaged file's negative count adds nothing
                    g.All[static_cast<std::size_t>(k)] += static_cast<std::uint32_t>(n);
                    g.ByHour[hour][static_cast<std::size_t>(k)] += static_cast<std::uint32_t>(n);
                }
            }
        }
    }
}

// The twelve groups in the order of the statistics. Imported data hold speeds of all classes
// together only, so their class groups stay empty.
std::vector<GroupSpeeds> GroupsOf(const MeasurementData& data, const StatisticsSettings& settings,
                                  bool swapDirections) {
    auto base = std::make_unique<BaseSpeeds>();
    if (data.DataMode == DataMode::SingleVehicle)
        CollectVehicles(data, settings, *base);
    else
        CollectIntervals(data, *base);
    if (swapDirections)
        std::swap((*base)[0], (*base)[1]);
    const bool imported = data.DataMode == DataMode::Imported;
    std::vector<GroupSpeeds> groups(GroupCount);
    for (int d = 0; d < DirectionGroups; ++d) {
        for (int dir = 0; dir < 2; ++dir) {
            if (d != Both && dir != d)
                continue;
            for (int c = 0; c < 3; ++c) {
                const GroupSpeeds& from = (*base)[static_cast<std::size_t>(dir)][static_cast<std::size_t>(c)];
                groups[static_cast<std::size_t>(d * StatisticsClassCount)].Add(from);
                if (!imported)
                    groups[static_cast<std::size_t>(d * StatisticsClassCount + c + 1)].Add(from);
            }
        }
    }
    return groups;
}

// --- figures of one histogram ---

template <typename H> double TotalOf(const H& h, int fromBin = 0) {
    double n = 0;
    for (int v = fromBin; v < Bins; ++v)
        n += static_cast<double>(h[static_cast<std::size_t>(v)]);
    return n;
}

// Weighted sums carry rounding: a cumulative share within this of p counts as reaching it. Counts
// are whole numbers, for which it changes nothing below ten million vehicles.
constexpr double ShareTolerance = 1e-9;

template <typename H> std::optional<double> PercentileOfSpeeds(const H& h, int percent) {
    const double total = TotalOf(h);
    if (total <= 0)
        return std::nullopt;
    const double target = total * percent * (1 - ShareTolerance);
    double cumulative = 0;
    for (int v = 0; v < Bins; ++v) {
        cumulative += static_cast<double>(h[static_cast<std::size_t>(v)]);
        if (cumulative * 100 >= target)
            return v;
    }
    return Bins - 1;
}

double RoundedToTenth(double v) {
    return std::round(v * 10) / 10;
}

// The percentile the overview computes from speed classes: exactly its arithmetic for counts,
// the same interpolation in double precision for weighted classes.
template <typename H> std::optional<double> PercentileOfClasses(const H& h, int percent) {
    if (TotalOf(h, 1) <= 0)
        return std::nullopt;
    if constexpr (std::is_same_v<H, Counts>) {
        long long classes[SpeedClassCount + 1] = {};
        for (int k = 1; k <= SpeedClassCount; ++k)
            classes[k] = h[static_cast<std::size_t>(k)];
        return RoundedToTenth(static_cast<double>(PercentileSpeed(classes, percent)));
    } else {
        const double total = TotalOf(h, 1);
        const double target = total * percent / 100.0;
        double sum = 0;
        int c = 0;
        while (target > sum + ShareTolerance * total && c < SpeedClassCount) {
            ++c;
            sum += h[static_cast<std::size_t>(c)];
        }
        const double excess = sum - target;
        const double weight = h[static_cast<std::size_t>(c)];
        double v = 5.0 * c + 8;
        if (excess > ShareTolerance * total && c >= 1 && weight > 0)
            v = 5.0 * c + 8 - 5.0 * excess / weight;
        v = RoundedToTenth(v);
        return v == 8.0 ? 0.0 : v;
    }
}

// First bin above the limit: km/h above it, or for speed classes the class the overview's
// "über Limit" starts with.
int FirstBinAbove(int limit, bool classBased) {
    return classBased ? std::clamp(2 * (limit / 10) - 1, 1, SpeedClassCount + 1)
                      : std::clamp(limit + 1, 0, Bins);
}

struct ShareCount {
    double Above = 0;
    double Total = 0;
};

template <typename H> ShareCount AboveLimitOf(const H& h, int limit, bool classBased) {
    return {TotalOf(h, FirstBinAbove(limit, classBased)), TotalOf(h, classBased ? 1 : 0)};
}

struct SpeedFigures {
    std::optional<double> V50, V85, ShareAboveLimit;
};

template <typename H> SpeedFigures FiguresOf(const H& h, int limit, bool classBased) {
    SpeedFigures f;
    f.V50 = classBased ? PercentileOfClasses(h, 50) : PercentileOfSpeeds(h, 50);
    f.V85 = classBased ? PercentileOfClasses(h, 85) : PercentileOfSpeeds(h, 85);
    const ShareCount share = AboveLimitOf(h, limit, classBased);
    if (share.Total > 0)
        f.ShareAboveLimit = share.Above / share.Total;
    return f;
}

// --- bootstrap ---

std::uint64_t SeedFor(std::uint64_t seed, int group, int stream) {
    // SplitMix64 of the combination, so that neighbouring streams start far apart.
    std::uint64_t z = seed + 0x9e3779b97f4a7c15ULL * static_cast<std::uint64_t>(group * 16 + stream + 1);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// The figures of every resample of one side.
struct ResampledFigures {
    std::vector<double> V50, V85, Share;
};

void Record(ResampledFigures& out, const SpeedFigures& f) {
    out.V50.push_back(f.V50.value_or(0));
    out.V85.push_back(f.V85.value_or(0));
    out.Share.push_back(f.ShareAboveLimit.value_or(0));
}

// One draw of the top-down resampling: bin `Bin` of histogram `Source`, holding the share of the
// vehicles that the histogram's bins from this one down hold.
struct BinDraw {
    int Bin = 0;
    int Source = 0;
    bool Last = false; // the histogram's lowest bin takes what is left
    BinomialShare Share;
};

// One side's histograms to be resampled together (one, or one per hour), each with its weight.
struct ResampleSources {
    std::vector<OccupiedBins> Histograms;
    std::vector<double> Weights;
    std::vector<BinDraw> FromTop; // every occupied bin of every histogram, highest speed first
    double Total = 0;             // weighted

    void Add(OccupiedBins histogram, double weight) {
        const int source = static_cast<int>(Histograms.size());
        Total += weight * static_cast<double>(histogram.Total);
        long long massFromHere = histogram.Total;
        for (std::size_t j = histogram.Bins.size(); j-- > 0;) {
            const double share = static_cast<double>(histogram.Counts[j]) / static_cast<double>(massFromHere);
            FromTop.push_back({histogram.Bins[j], source, j == 0, BinomialShare::Of(share)});
            massFromHere -= histogram.Counts[j];
        }
        std::stable_sort(FromTop.begin(), FromTop.end(),
                         [](const BinDraw& a, const BinDraw& b) { return a.Bin > b.Bin; });
        Histograms.push_back(std::move(histogram));
        Weights.push_back(weight);
    }
};

struct FiguresWanted {
    bool V50 = true;
    bool Share = true;
};

// One resample of speeds in km/h, drawn bin by bin from the highest speed down: the figures rest
// on the vehicles above V50 and above the limit, so the draws stop once both are known. Which
// bins are drawn first does not change the multinomial draw.
SpeedFigures ResampleFromTop(RandomDraws& draws, const ResampleSources& sources, int limit,
                             FiguresWanted wanted, std::vector<long long>& vehiclesLeft) {
    vehiclesLeft.resize(sources.Histograms.size());
    for (std::size_t s = 0; s < vehiclesLeft.size(); ++s)
        vehiclesLeft[s] = sources.Histograms[s].Total;
    // As in PercentileOfSpeeds: Vp is the lowest speed v whose cumulative share reaches p.
    const double total = sources.Total;
    const auto reached = [total](double above, int percent) {
        return (total - above) * 100 >= total * percent * (1 - ShareTolerance);
    };
    SpeedFigures f;
    double above = 0; // weighted vehicles above the bin being drawn
    const std::vector<BinDraw>& order = sources.FromTop;
    for (std::size_t e = 0; e < order.size();) {
        const int bin = order[e].Bin;
        if (wanted.Share && !f.ShareAboveLimit && bin <= limit)
            f.ShareAboveLimit = above / total;
        if (f.V85 && (!wanted.V50 || f.V50) && (!wanted.Share || f.ShareAboveLimit))
            break;
        for (; e < order.size() && order[e].Bin == bin; ++e) {
            const BinDraw& d = order[e];
            long long& left = vehiclesLeft[static_cast<std::size_t>(d.Source)];
            const long long drawn = d.Last ? left : draws.Binomial(left, d.Share);
            above += sources.Weights[static_cast<std::size_t>(d.Source)] * static_cast<double>(drawn);
            left -= drawn;
        }
        if (!f.V85 && !reached(above, 85))
            f.V85 = bin;
        if (wanted.V50 && !f.V50 && !reached(above, 50))
            f.V50 = bin;
    }
    if (wanted.Share && !f.ShareAboveLimit)
        f.ShareAboveLimit = above / total; // every vehicle is above the limit
    return f;
}

// Speed classes of interval data: few bins, drawn completely.
SpeedFigures ResampleClasses(RandomDraws& draws, const ResampleSources& sources, int limit) {
    Weighted drawn{};
    for (std::size_t s = 0; s < sources.Histograms.size(); ++s)
        AddResample(draws, sources.Histograms[s], sources.Weights[s], drawn.data());
    return FiguresOf(drawn, limit, true);
}

ResampledFigures Resample(const ResampleSources& sources, int limit, bool classBased, FiguresWanted wanted,
                          int resamples, std::uint64_t seed) {
    RandomDraws draws(seed);
    ResampledFigures out;
    std::vector<long long> vehiclesLeft;
    for (int b = 0; b < resamples; ++b)
        Record(out, classBased ? ResampleClasses(draws, sources, limit)
                               : ResampleFromTop(draws, sources, limit, wanted, vehiclesLeft));
    return out;
}

ResampleSources SourcesOf(const Counts& h) {
    ResampleSources s;
    s.Add(OccupiedBinsOf(h.data(), Bins), 1.0);
    return s;
}

std::optional<ComparedFigure> BootstrapFigure(const std::optional<double>& before,
                                              const std::optional<double>& after,
                                              const std::vector<double>& resampledBefore,
                                              const std::vector<double>& resampledAfter) {
    if (!before || !after)
        return std::nullopt;
    std::vector<double> differences(resampledBefore.size());
    for (std::size_t b = 0; b < differences.size(); ++b)
        differences[b] = resampledAfter[b] - resampledBefore[b];
    const Interval95 ci = BootstrapInterval(differences);
    return ComparedFigure{*before,  *after,   *after - *before,
                          ci.Lower, ci.Upper, ci.Lower > 0 || ci.Upper < 0};
}

struct GroupInput {
    const GroupSpeeds* Before = nullptr;
    const GroupSpeeds* After = nullptr;
};

void CompareRaw(const GroupInput& in, const Comparison& c, const ComparisonSettings& settings, int index,
                GroupComparison& out) {
    const bool classBased = c.ClassBased;
    const SpeedFigures before = FiguresOf(in.Before->All, c.Limit, classBased);
    const SpeedFigures after = FiguresOf(in.After->All, c.Limit, classBased);
    if (before.V50 && after.V50) {
        // The share's interval is Newcombe's: the raw resamples need the percentiles only.
        const FiguresWanted wanted{true, false};
        const ResampledFigures a = Resample(SourcesOf(in.Before->All), c.Limit, classBased, wanted,
                                            c.Resamples, SeedFor(settings.Seed, index, 0));
        const ResampledFigures b = Resample(SourcesOf(in.After->All), c.Limit, classBased, wanted,
                                            c.Resamples, SeedFor(settings.Seed, index, 1));
        out.V50 = BootstrapFigure(before.V50, after.V50, a.V50, b.V50);
        out.V85 = BootstrapFigure(before.V85, after.V85, a.V85, b.V85);
    }
    const ShareCount shareBefore = AboveLimitOf(in.Before->All, c.Limit, classBased);
    const ShareCount shareAfter = AboveLimitOf(in.After->All, c.Limit, classBased);
    const bool shares = shareBefore.Total > 0 && shareAfter.Total > 0;
    const auto newcombeAbove = [&](int firstBin) {
        return NewcombeDifference(
            std::llround(TotalOf(in.Before->All, firstBin)), std::llround(shareBefore.Total),
            std::llround(TotalOf(in.After->All, firstBin)), std::llround(shareAfter.Total));
    };
    if (shares)
        out.ShareAboveLimit = newcombeAbove(FirstBinAbove(c.Limit, classBased));
    for (int t : c.Thresholds) {
        ComparedThreshold threshold{t, std::nullopt};
        if (shares && !classBased)
            threshold.Figure = newcombeAbove(FirstBinAbove(t, false));
        else if (shares && t == c.Limit)
            threshold.Figure = out.ShareAboveLimit;
        out.Above.push_back(threshold);
    }
    if (!classBased) {
        const auto ffBefore = PercentileOfSpeeds(in.Before->FreeFlow, 85);
        const auto ffAfter = PercentileOfSpeeds(in.After->FreeFlow, 85);
        if (ffBefore && ffAfter) {
            const FiguresWanted wanted{false, false};
            const ResampledFigures a = Resample(SourcesOf(in.Before->FreeFlow), c.Limit, false, wanted,
                                                c.Resamples, SeedFor(settings.Seed, index, 2));
            const ResampledFigures b = Resample(SourcesOf(in.After->FreeFlow), c.Limit, false, wanted,
                                                c.Resamples, SeedFor(settings.Seed, index, 3));
            out.FreeFlowV85 = BootstrapFigure(ffBefore, ffAfter, a.V85, b.V85);
        }
    }
}

void CompareMatched(const GroupInput& in, const Comparison& c, const ComparisonSettings& settings, int index,
                    GroupComparison& out) {
    const bool classBased = c.ClassBased;
    const int firstBin = classBased ? 1 : 0;
    double countBefore[24];
    double countAfter[24];
    double totalBefore = 0;
    double totalAfter = 0;
    for (std::size_t h = 0; h < 24; ++h) {
        countBefore[h] = TotalOf(in.Before->ByHour[h], firstBin);
        countAfter[h] = TotalOf(in.After->ByHour[h], firstBin);
        if (countBefore[h] > 0 && countAfter[h] > 0) {
            totalBefore += countBefore[h];
            totalAfter += countAfter[h];
        } else if (countBefore[h] > 0 || countAfter[h] > 0) {
            out.DroppedHours.push_back(static_cast<int>(h));
        }
    }
    if (totalBefore <= 0)
        return;
    ResampleSources hoursBefore, hoursAfter;
    Weighted before{};
    Weighted after{};
    for (std::size_t h = 0; h < 24; ++h) {
        if (countBefore[h] <= 0 || countAfter[h] <= 0)
            continue;
        // A's share of the hour over B's share of it, both without the dropped hours.
        const double weight = (countBefore[h] / totalBefore) / (countAfter[h] / totalAfter);
        for (std::size_t v = static_cast<std::size_t>(firstBin); v < Bins; ++v) {
            before[v] += in.Before->ByHour[h][v];
            after[v] += weight * in.After->ByHour[h][v];
        }
        hoursBefore.Add(OccupiedBinsOf(in.Before->ByHour[h].data(), Bins), 1.0);
        hoursAfter.Add(OccupiedBinsOf(in.After->ByHour[h].data(), Bins), weight);
    }
    const SpeedFigures fBefore = FiguresOf(before, c.Limit, classBased);
    const SpeedFigures fAfter = FiguresOf(after, c.Limit, classBased);
    const ResampledFigures a =
        Resample(hoursBefore, c.Limit, classBased, {}, c.Resamples, SeedFor(settings.Seed, index, 4));
    const ResampledFigures b =
        Resample(hoursAfter, c.Limit, classBased, {}, c.Resamples, SeedFor(settings.Seed, index, 5));
    out.MatchedV50 = BootstrapFigure(fBefore.V50, fAfter.V50, a.V50, b.V50);
    out.MatchedV85 = BootstrapFigure(fBefore.V85, fAfter.V85, a.V85, b.V85);
    out.MatchedShareAboveLimit =
        BootstrapFigure(fBefore.ShareAboveLimit, fAfter.ShareAboveLimit, a.Share, b.Share);
}

// The groups are independent and each draws from its own seeded streams, so spreading them over
// threads leaves every figure as it is.
template <typename Work> void ForEachGroup(Work work) {
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::atomic<int> next{0};
    const auto worker = [&] {
        for (int g = next++; g < GroupCount; g = next++)
            work(g);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool)
        t.join();
}

std::optional<std::pair<double, double>> PeriodOf(const TrafficStatistics& s) {
    if (s.Days.empty())
        return std::nullopt;
    return std::pair{s.Days.front().Date, s.Days.back().Date};
}

bool HoldsSingleVehicles(const MeasurementData& data) {
    return data.DataMode == DataMode::SingleVehicle;
}

void CompareAdt(const TrafficStatistics& before, const TrafficStatistics& after, bool swapDirections,
                Comparison& c) {
    for (int k = 0; k < 3; ++k) {
        for (int d = 0; d < DirectionGroups; ++d) {
            const int afterDirection = swapDirections && d != Both ? 1 - d : d;
            AdtComparison& adt = c.Adt[static_cast<std::size_t>(k)][static_cast<std::size_t>(d)];
            adt.Before = before.Adt[k].Mean[d];
            adt.After = after.Adt[k].Mean[afterDirection];
            if (adt.Before && adt.After && *adt.Before > 0)
                adt.Change = *adt.After / *adt.Before - 1;
        }
    }
}
} // namespace

ComparedFigure NewcombeDifference(long long kBefore, long long nBefore, long long kAfter, long long nAfter) {
    const double pA = static_cast<double>(kBefore) / static_cast<double>(nBefore);
    const double pB = static_cast<double>(kAfter) / static_cast<double>(nAfter);
    const Interval95 a = WilsonInterval(kBefore, nBefore);
    const Interval95 b = WilsonInterval(kAfter, nAfter);
    const double d = pB - pA;
    const double lower = d - std::sqrt((pB - b.Lower) * (pB - b.Lower) + (a.Upper - pA) * (a.Upper - pA));
    const double upper = d + std::sqrt((b.Upper - pB) * (b.Upper - pB) + (pA - a.Lower) * (pA - a.Lower));
    return {pA, pB, d, lower, upper, lower > 0 || upper < 0};
}

Interval95 BootstrapInterval(std::vector<double>& differences) {
    if (differences.empty())
        return {};
    std::sort(differences.begin(), differences.end());
    const auto b = static_cast<long long>(differences.size());
    const long long lowerRank = std::clamp<long long>(b * 25 / 1000, 1, b);
    const long long upperRank = std::clamp<long long>((b * 975 + 999) / 1000 + 1, 1, b);
    return {differences[static_cast<std::size_t>(lowerRank - 1)],
            differences[static_cast<std::size_t>(upperRank - 1)]};
}

std::optional<double> WeightedPercentile(const std::array<double, 256>& histogram, int percent) {
    return PercentileOfSpeeds(histogram, percent);
}

Comparison CompareMeasurements(const MeasurementData& before, const MeasurementData& after,
                               const ComparisonSettings& settings) {
    if (HoldsSingleVehicles(before) != HoldsSingleVehicles(after))
        throw CoreError(ProgramMessage::ComparisonKindsDiffer, "");
    StatisticsSettings statisticsSettings = settings.Statistics;
    statisticsSettings.From.reset();
    statisticsSettings.To.reset();
    const TrafficStatistics statisticsBefore = ComputeTrafficStatistics(before, statisticsSettings);
    const TrafficStatistics statisticsAfter = ComputeTrafficStatistics(after, statisticsSettings);

    Comparison c;
    c.ClassBased = !HoldsSingleVehicles(before);
    c.VehiclesBefore = statisticsBefore.Vehicles;
    c.VehiclesAfter = statisticsAfter.Vehicles;
    c.PeriodBefore = PeriodOf(statisticsBefore);
    c.PeriodAfter = PeriodOf(statisticsAfter);
    c.SwappedDirections = settings.SwapDirections;
    c.Limit = statisticsSettings.Limit;
    c.Thresholds = statisticsBefore.Thresholds;
    c.FreeFlowGapSeconds = statisticsSettings.FreeFlowGapSeconds;
    c.Resamples = std::max(1, settings.Resamples);
    CompareAdt(statisticsBefore, statisticsAfter, settings.SwapDirections, c);

    const std::vector<GroupSpeeds> speedsBefore = GroupsOf(before, statisticsSettings, false);
    const std::vector<GroupSpeeds> speedsAfter = GroupsOf(after, statisticsSettings, settings.SwapDirections);
    c.Groups.resize(GroupCount);
    for (int g = 0; g < GroupCount; ++g) {
        GroupComparison& out = c.Groups[static_cast<std::size_t>(g)];
        out.DirectionGroup = g / StatisticsClassCount;
        out.Class = static_cast<StatisticsClass>(g % StatisticsClassCount);
        const int afterDirection = settings.SwapDirections && out.DirectionGroup != Both
                                       ? 1 - out.DirectionGroup
                                       : out.DirectionGroup;
        out.CountBefore = statisticsBefore.Groups[static_cast<std::size_t>(g)].Count;
        out.CountAfter = statisticsAfter
                             .Groups[static_cast<std::size_t>(afterDirection * StatisticsClassCount +
                                                              g % StatisticsClassCount)]
                             .Count;
    }
    ForEachGroup([&](int g) {
        const GroupInput in{&speedsBefore[static_cast<std::size_t>(g)],
                            &speedsAfter[static_cast<std::size_t>(g)]};
        GroupComparison& out = c.Groups[static_cast<std::size_t>(g)];
        CompareRaw(in, c, settings, g, out);
        CompareMatched(in, c, settings, g, out);
    });
    return c;
}
