#pragma once
// The comparison of two measurements of one site, before (A) and after (B) a measure: counts and
// ADT of each with their change, and per direction and class the speed figures of each with the
// difference B − A and its 95 % interval. Percentile differences get their interval from a
// bootstrap of the speed histograms, share differences from Newcombe's hybrid score interval.
// Beside the raw figures, matched ones weight B's vehicles so that their hours of the day are
// spread as A's are: a period with more night hours is faster with no change on the road.

#include "evaluation/TrafficStatistics.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

inline constexpr int DefaultResamples = 2000;
// Fixed, so that the same files always give the same intervals.
inline constexpr std::uint64_t DefaultComparisonSeed = 0x6b6f7276656c616eULL;

struct ComparisonSettings {
    StatisticsSettings Statistics; // limit, thresholds, free-flow gap and lengths; its range is not used
    bool SwapDirections = false;   // B was set up the other way round
    int Resamples = DefaultResamples;
    std::uint64_t Seed = DefaultComparisonSeed;
    // How far around where V50, V85 and the limit lie the bootstrap draws speed by speed, in
    // standard errors; further away it draws blocks of speeds, opened only when a figure falls in
    // one. It changes the speed and the draws, not what they follow.
    double SingleBinMargin = 5;
};

// A figure of both sides: the two values, B − A, the 95 % interval of the difference and whether
// that interval excludes 0 ("deutlich").
struct ComparedFigure {
    double Before = 0;
    double After = 0;
    double Difference = 0;
    double Lower = 0;
    double Upper = 0;
    bool Clear = false;
};

struct ComparedThreshold {
    int Threshold = 0;
    std::optional<ComparedFigure> Figure; // none for class-based data (other than the limit)
};

struct GroupComparison {
    int DirectionGroup = 0; // 0 direction 1, 1 direction 2, 2 both
    StatisticsClass Class = StatisticsClass::All;
    std::optional<long long> CountBefore; // none: imported data do not hold this class
    std::optional<long long> CountAfter;
    // Speeds in km/h, shares as fractions; none when a side has no vehicle for the figure.
    std::optional<ComparedFigure> V50, V85, FreeFlowV85, ShareAboveLimit;
    std::vector<ComparedThreshold> Above;
    std::optional<ComparedFigure> MatchedV50, MatchedV85, MatchedShareAboveLimit;
    std::vector<int> DroppedHours; // hours of the day that only one side has
};

struct AdtComparison {
    std::optional<double> Before;
    std::optional<double> After;
    std::optional<double> Change; // B / A − 1
};

enum class AdtKind { All = 0, Workdays = 1, Weekend = 2 };

struct Comparison {
    bool ClassBased = false; // interval data: figures from the speed classes
    long long VehiclesBefore = 0;
    long long VehiclesAfter = 0;
    // First and last day (00:00) of each measurement; none without a counted vehicle.
    std::optional<std::pair<double, double>> PeriodBefore, PeriodAfter;
    bool SwappedDirections = false;
    int Limit = 50;
    std::vector<int> Thresholds;
    double FreeFlowGapSeconds = 5;
    int Resamples = DefaultResamples;
    std::array<std::array<AdtComparison, DirectionGroups>, 3> Adt{}; // [AdtKind][direction group]
    std::vector<GroupComparison> Groups; // directions 1, 2, both × all, PKW, LKW, LZ
};

// Compares the working data of two measurements. Throws CoreError (ProgramMessage::ComparisonKindsDiffer)
// when one holds single vehicles and the other intervals, and what ComputeTrafficStatistics throws.
Comparison CompareMeasurements(const MeasurementData& before, const MeasurementData& after,
                               const ComparisonSettings& settings);

// --- parts used on their own ---

// Newcombe's hybrid score interval of pB − pA from kA of nA and kB of nB (both n ≥ 1).
ComparedFigure NewcombeDifference(long long kBefore, long long nBefore, long long kAfter, long long nAfter);

// The 95 % interval from bootstrap differences: [d(⌊0.025·B⌋), d(⌈0.975·B⌉ + 1)] of the sorted
// differences, ranks counted from 1 and kept within 1..B. Sorts `differences`.
Interval95 BootstrapInterval(std::vector<double>& differences);

// The p-th percentile of a weighted speed histogram (km/h 0..255): the smallest speed whose
// weighted cumulative share reaches p. With weights 1 it is the nearest-rank percentile.
std::optional<double> WeightedPercentile(const std::array<double, 256>& histogram, int percent);
