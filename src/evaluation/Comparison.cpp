#include "evaluation/Comparison.h"

#include "base/CoreError.h"
#include "data/DateTime.h"
#include "evaluation/Resampling.h"
#include "evaluation/Summary.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <memory>
#include <thread>
#include <type_traits>

namespace {
constexpr int Bins = 256; // km/h 0..255, or speed classes 1..29 of interval data
constexpr int Both = 2;
constexpr int GroupCount = DirectionGroups * StatisticsClassCount;
constexpr long long MsPerHour = 3600000;
constexpr long long MsPerDay = 24 * MsPerHour;

// 64-bit: interval files may hold counts near the 32-bit limit in every interval and class.
using Counts = std::array<std::uint64_t, Bins>;
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
                    g.All[static_cast<std::size_t>(k)] += static_cast<std::uint64_t>(n);
                    g.ByHour[hour][static_cast<std::size_t>(k)] += static_cast<std::uint64_t>(n);
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
            classes[k] = static_cast<long long>(h[static_cast<std::size_t>(k)]);
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

struct FiguresWanted {
    bool V50 = true;
    bool Share = true;
};

// One side's histograms to be resampled together (one, or one per hour), each with its weight.
// A resample draws the bins from the highest speed down, as one multinomial draw made of binomial
// draws, in segments: single bins where a figure can fall, and the bins between them as blocks
// drawn as one. A block is opened bin by bin only in the rare resample whose figure falls inside
// it. Drawing a block first and its bins after, or not at all, leaves the draw multinomial.
class ResampleSources {
public:
    ResampleSources(bool classBased, int limit, FiguresWanted wanted, double singleBinMargin)
        : classBased_(classBased), wanted_(wanted), shareBoundary_(FirstBinAbove(limit, classBased)),
          singleBinMargin_(singleBinMargin) {}

    void Add(const Counts& histogram, double weight) {
        long long total = 0;
        for (std::size_t v = 0; v < Bins; ++v)
            total += static_cast<long long>(histogram[v]);
        if (total <= 0)
            return;
        histograms_.push_back(&histogram);
        weights_.push_back(weight);
        totals_.push_back(total);
        total_ += weight * static_cast<double>(total);
    }

    // Splits the speeds into segments around where V50, V85 and the limit lie in the data.
    void Prepare();
    SpeedFigures Resample(RandomDraws& draws);

private:
    struct Segment {
        int High = 0;
        int Low = 0;
    };
    // Where a percentile falls in one resample: its bin, the weighted vehicles above that bin and in it.
    struct Crossing {
        int Percent = 0;
        bool Found = false;
        int Bin = 0;
        double Above = 0;
        double InBin = 0;
    };

    bool Reached(const Crossing& c, double above) const;
    void Check(int bin, double above, double inBin);
    bool CrossingPending(double aboveAfter) const;
    // Draws a block's bins out of what it drew; `blockEnd`: the weighted vehicles above its end.
    void OpenBlock(RandomDraws& draws, const Segment& block, double above, double blockEnd);
    double FigureOf(const Crossing& c) const;
    void MarkBinsNear(double share, double effectiveCount, std::array<bool, Bins + 1>& single) const;

    bool classBased_;
    FiguresWanted wanted_;
    int shareBoundary_; // first bin above the limit
    double singleBinMargin_;
    std::vector<const Counts*> histograms_;
    std::vector<double> weights_;
    std::vector<long long> totals_;
    double total_ = 0;              // weighted
    std::vector<Segment> segments_; // highest speed first
    struct SourceDraw {
        std::size_t Source = 0;
        BinomialShare Share;
    };
    std::vector<SourceDraw> draws_;         // the draws of every segment, segment after segment
    std::vector<std::size_t> firstDraw_;    // where each segment's draws start; one more at the end
    std::vector<long long> left_, inBlock_; // per source, while drawing
    std::vector<Crossing> crossings_;
};

// Marks the bins whose cumulative share range comes within the margin (in standard errors) of
// `share`: with five, a resample's percentile lies among them but for about one in a million.
void ResampleSources::MarkBinsNear(double share, double effectiveCount,
                                   std::array<bool, Bins + 1>& single) const {
    const double margin = singleBinMargin_ * std::sqrt(share * (1 - share) / effectiveCount) + 1e-6;
    double below = 0;
    for (std::size_t v = 0; v < Bins; ++v) {
        double inBin = 0;
        for (std::size_t s = 0; s < histograms_.size(); ++s)
            inBin += weights_[s] * static_cast<double>((*histograms_[s])[v]);
        const double from = below / total_;
        below += inBin;
        if (below / total_ >= share - margin && from <= share + margin && inBin > 0)
            single[v] = true;
    }
}

void ResampleSources::Prepare() {
    if (histograms_.empty())
        return;
    double weightedSquares = 0;
    for (std::size_t s = 0; s < histograms_.size(); ++s)
        weightedSquares += weights_[s] * weights_[s] * static_cast<double>(totals_[s]);
    const double effectiveCount = total_ * total_ / weightedSquares;
    std::array<bool, Bins + 1> single{};
    crossings_.clear();
    for (int percent : {85, 50}) {
        if (percent == 50 && !wanted_.V50)
            continue;
        MarkBinsNear(percent / 100.0, effectiveCount, single);
        crossings_.push_back({percent});
    }
    int high = -1;
    int low = Bins;
    for (int v = 0; v < Bins; ++v) {
        for (const Counts* h : histograms_) {
            if ((*h)[static_cast<std::size_t>(v)] > 0) {
                high = std::max(high, v);
                low = std::min(low, v);
            }
        }
    }
    segments_.clear();
    for (int v = high; v >= low; --v) {
        const auto at = static_cast<std::size_t>(v);
        if (segments_.empty() || single[at] || single[at + 1] || v + 1 == shareBoundary_)
            segments_.push_back({v, v});
        else
            segments_.back().Low = v;
    }
    // Each segment's share of the vehicles of a histogram from its top down: what a sequential
    // binomial draw from the highest speed needs. Histograms without vehicles in a segment (hours
    // of a small measurement) have no draw there.
    const std::size_t sources = histograms_.size();
    std::vector<long long> fromHere(totals_);
    draws_.clear();
    firstDraw_.assign(1, 0);
    for (const Segment& segment : segments_) {
        for (std::size_t s = 0; s < sources; ++s) {
            long long inSegment = 0;
            for (int v = segment.Low; v <= segment.High; ++v)
                inSegment += static_cast<long long>((*histograms_[s])[static_cast<std::size_t>(v)]);
            if (inSegment > 0)
                draws_.push_back({s, BinomialShare::Of(static_cast<double>(inSegment) /
                                                       static_cast<double>(fromHere[s]))});
            fromHere[s] -= inSegment;
        }
        firstDraw_.push_back(draws_.size());
    }
    left_.resize(sources);
    inBlock_.resize(sources);
}

// Whether the cumulative share up to the bins below `above` still reaches the percentile: as in
// PercentileOfSpeeds for km/h, as in the overview's interpolation for speed classes.
bool ResampleSources::Reached(const Crossing& c, double above) const {
    if (classBased_)
        return total_ - above + ShareTolerance * total_ >= total_ * c.Percent / 100.0;
    return (total_ - above) * 100 >= total_ * c.Percent * (1 - ShareTolerance);
}

void ResampleSources::Check(int bin, double above, double inBin) {
    for (Crossing& c : crossings_) {
        if (!c.Found && !Reached(c, above + inBin))
            c = {c.Percent, true, bin, above, inBin};
    }
}

bool ResampleSources::CrossingPending(double aboveAfter) const {
    return std::any_of(crossings_.begin(), crossings_.end(),
                       [&](const Crossing& c) { return !c.Found && !Reached(c, aboveAfter); });
}

// Draws a block's bins from its top down out of what the block drew, until its figures are known.
void ResampleSources::OpenBlock(RandomDraws& draws, const Segment& block, double above, double blockEnd) {
    const std::size_t sources = histograms_.size();
    std::vector<long long> massLeft(sources, 0);
    for (std::size_t s = 0; s < sources; ++s)
        for (int v = block.Low; v <= block.High; ++v)
            massLeft[s] += static_cast<long long>((*histograms_[s])[static_cast<std::size_t>(v)]);
    for (int v = block.High; v >= block.Low; --v) {
        double inBin = 0;
        for (std::size_t s = 0; s < sources; ++s) {
            const auto count = static_cast<long long>((*histograms_[s])[static_cast<std::size_t>(v)]);
            if (inBlock_[s] <= 0 || count == 0)
                continue;
            const long long drawn =
                draws.Binomial(inBlock_[s], static_cast<double>(count) / static_cast<double>(massLeft[s]));
            inBlock_[s] -= drawn;
            massLeft[s] -= count;
            inBin += weights_[s] * static_cast<double>(drawn);
        }
        Check(v, above, inBin);
        above += inBin;
        // Figures still pending below the block's end fall further down: the block is done.
        if (!CrossingPending(blockEnd))
            return;
    }
    // The bins' weighted sums may round apart from the block's: what is left falls in its lowest bin.
    for (Crossing& c : crossings_) {
        if (!c.Found && !Reached(c, blockEnd))
            c = {c.Percent, true, block.Low, above, 0};
    }
}

double ResampleSources::FigureOf(const Crossing& c) const {
    if (!classBased_)
        return c.Found ? c.Bin : segments_.back().Low;
    if (!c.Found)
        return 0; // below the first class: the overview's 8 km/h, shown as 0
    // The overview's interpolation within the class the percentile falls in.
    const double target = total_ * c.Percent / 100.0;
    const double excess = total_ - c.Above - target;
    double v = 5.0 * c.Bin + 8;
    if (excess > ShareTolerance * total_ && c.Bin >= 1 && c.InBin > 0)
        v -= 5.0 * excess / c.InBin;
    v = RoundedToTenth(v);
    return v == 8.0 ? 0.0 : v;
}

SpeedFigures ResampleSources::Resample(RandomDraws& draws) {
    SpeedFigures f;
    const std::size_t sources = histograms_.size();
    if (sources == 0)
        return f;
    std::copy(totals_.begin(), totals_.end(), left_.begin());
    for (Crossing& c : crossings_)
        c.Found = false;
    double above = 0; // weighted vehicles above the segment being drawn
    for (std::size_t k = 0; k < segments_.size(); ++k) {
        const Segment& segment = segments_[k];
        if (wanted_.Share && !f.ShareAboveLimit && segment.High < shareBoundary_)
            f.ShareAboveLimit = above / total_;
        const bool figuresKnown =
            std::all_of(crossings_.begin(), crossings_.end(), [](const Crossing& c) { return c.Found; });
        if (figuresKnown && (!wanted_.Share || f.ShareAboveLimit))
            break;
        double inSegment = 0;
        std::fill(inBlock_.begin(), inBlock_.end(), 0);
        for (std::size_t d = firstDraw_[k]; d < firstDraw_[k + 1]; ++d) {
            const std::size_t s = draws_[d].Source;
            const long long drawn = draws.Binomial(left_[s], draws_[d].Share);
            left_[s] -= drawn;
            inBlock_[s] = drawn;
            inSegment += weights_[s] * static_cast<double>(drawn);
        }
        if (segment.High == segment.Low)
            Check(segment.High, above, inSegment);
        else if (CrossingPending(above + inSegment))
            OpenBlock(draws, segment, above, above + inSegment);
        above += inSegment;
    }
    if (wanted_.Share && !f.ShareAboveLimit)
        f.ShareAboveLimit = above / total_; // every vehicle is above the limit
    for (const Crossing& c : crossings_)
        (c.Percent == 85 ? f.V85 : f.V50) = FigureOf(c);
    return f;
}

ResampledFigures Resample(ResampleSources& sources, int resamples, std::uint64_t seed) {
    sources.Prepare();
    RandomDraws draws(seed);
    ResampledFigures out;
    for (int b = 0; b < resamples; ++b)
        Record(out, sources.Resample(draws));
    return out;
}

ResampledFigures ResampleOne(const Counts& h, int limit, bool classBased, FiguresWanted wanted,
                             double singleBinMargin, int resamples, std::uint64_t seed) {
    ResampleSources sources(classBased, limit, wanted, singleBinMargin);
    sources.Add(h, 1.0);
    return Resample(sources, resamples, seed);
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
        const ResampledFigures a =
            ResampleOne(in.Before->All, c.Limit, classBased, wanted, settings.SingleBinMargin, c.Resamples,
                        SeedFor(settings.Seed, index, 0));
        const ResampledFigures b =
            ResampleOne(in.After->All, c.Limit, classBased, wanted, settings.SingleBinMargin, c.Resamples,
                        SeedFor(settings.Seed, index, 1));
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
            const ResampledFigures a =
                ResampleOne(in.Before->FreeFlow, c.Limit, false, wanted, settings.SingleBinMargin,
                            c.Resamples, SeedFor(settings.Seed, index, 2));
            const ResampledFigures b =
                ResampleOne(in.After->FreeFlow, c.Limit, false, wanted, settings.SingleBinMargin, c.Resamples,
                            SeedFor(settings.Seed, index, 3));
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
    ResampleSources hoursBefore(classBased, c.Limit, {}, settings.SingleBinMargin);
    ResampleSources hoursAfter(classBased, c.Limit, {}, settings.SingleBinMargin);
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
        hoursBefore.Add(in.Before->ByHour[h], 1.0);
        hoursAfter.Add(in.After->ByHour[h], weight);
    }
    const SpeedFigures fBefore = FiguresOf(before, c.Limit, classBased);
    const SpeedFigures fAfter = FiguresOf(after, c.Limit, classBased);
    const ResampledFigures a = Resample(hoursBefore, c.Resamples, SeedFor(settings.Seed, index, 4));
    const ResampledFigures b = Resample(hoursAfter, c.Resamples, SeedFor(settings.Seed, index, 5));
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

// One measurement's statistics and speed histograms.
struct Side {
    TrafficStatistics Statistics;
    std::vector<GroupSpeeds> Speeds;
};

Side SideOf(const MeasurementData& data, const StatisticsSettings& settings, bool swapDirections) {
    return {ComputeTrafficStatistics(data, settings), GroupsOf(data, settings, swapDirections)};
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
    // The two sides are independent: the before side is worked out beside the after side.
    std::future<Side> beforeWork =
        std::async(std::launch::async, [&] { return SideOf(before, statisticsSettings, false); });
    const Side afterSide = SideOf(after, statisticsSettings, settings.SwapDirections);
    const Side beforeSide = beforeWork.get();
    const TrafficStatistics& statisticsBefore = beforeSide.Statistics;
    const TrafficStatistics& statisticsAfter = afterSide.Statistics;

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

    const std::vector<GroupSpeeds>& speedsBefore = beforeSide.Speeds;
    const std::vector<GroupSpeeds>& speedsAfter = afterSide.Speeds;
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
