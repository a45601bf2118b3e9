// The comparison of two measurements: the interval formulas by hand, and the bootstrap on
// measurements generated with a known truth.

#include "EvaluationTestData.h"

#include "base/CoreError.h"
#include "evaluation/Comparison.h"
#include "evaluation/Resampling.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace {
constexpr int PkwLength = 4;
constexpr int LkwLength = 10;
constexpr int LzLength = 15;

const GroupComparison& Group(const Comparison& c, int direction, StatisticsClass cls) {
    return c.Groups.at(static_cast<std::size_t>(direction * StatisticsClassCount + static_cast<int>(cls)));
}

bool Contains(const ComparedFigure& f, double value) {
    return f.Lower <= value && value <= f.Upper;
}

// A test's own draws of speeds: its seed fixes the measurement.
struct Traffic {
    std::mt19937_64 Engine;
    explicit Traffic(std::uint64_t seed) : Engine(seed) {}

    int Speed(double mean, double deviation) {
        const double u1 = (static_cast<double>(Engine() >> 11) + 1) * 0x1.0p-53;
        const double u2 = static_cast<double>(Engine() >> 11) * 0x1.0p-53;
        const double normal = std::sqrt(-2 * std::log(u1)) * std::cos(6.283185307179586 * u2);
        return std::clamp(static_cast<int>(std::lround(mean + deviation * normal)), 1, 200);
    }
    int Length() {
        const auto r = Engine() % 10;
        return r < 6 ? PkwLength : r < 8 ? LkwLength : LzLength;
    }
};

// 2026-03-<day> at `second` seconds after the full hour.
double AtSecond(int day, int hour, int second) {
    return At(day, hour, second / 60, second % 60);
}

// `days` days from 2026-03-02 with `perHour` vehicles in every hour, alternating directions, of
// speeds drawn around `mean`.
void AddDays(MeasurementData& data, Traffic& traffic, int days, int perHour, double mean, int shift = 0) {
    data.DataMode = DataMode::SingleVehicle;
    for (int day = 2; day < 2 + days; ++day)
        for (int hour = 0; hour < 24; ++hour)
            for (int i = 0; i < perHour; ++i)
                AddVehicle(data, AtSecond(day, hour, i * 3600 / perHour), traffic.Speed(mean, 7) + shift,
                           traffic.Length(), i % 2 == 0 ? '1' : '2');
}

ComparisonSettings Quick(std::uint64_t seed = DefaultComparisonSeed) {
    ComparisonSettings s;
    s.Seed = seed;
    return s;
}
} // namespace

TEST(ComparisonFormulas, NewcombeMatchesTheHandComputedInterval) {
    // 48 of 80 after against 56 of 70 before: Newcombe's own example, mirrored.
    const ComparedFigure f = NewcombeDifference(56, 70, 48, 80);
    EXPECT_DOUBLE_EQ(f.Before, 0.8);
    EXPECT_DOUBLE_EQ(f.After, 0.6);
    EXPECT_NEAR(f.Difference, -0.2, 1e-12);
    EXPECT_NEAR(f.Lower, -0.333875, 1e-6);
    EXPECT_NEAR(f.Upper, -0.052429, 1e-6);
    EXPECT_TRUE(f.Clear);

    // None above before: the Wilson interval [0, 0.16113] gives the lower end all of its width.
    const ComparedFigure zero = NewcombeDifference(0, 20, 4, 20);
    EXPECT_DOUBLE_EQ(zero.Difference, 0.2);
    EXPECT_NEAR(zero.Lower, 0.2 - std::sqrt(std::pow(0.2 - 0.0806564, 2) + std::pow(0.1611301, 2)), 1e-6);
    EXPECT_NEAR(zero.Upper, 0.4160217, 1e-6); // pB's own Wilson upper end: pA has no room below 0
    EXPECT_FALSE(zero.Clear);                 // just below 0
}

TEST(ComparisonFormulas, BootstrapIntervalTakesRanks50And1951Of2000) {
    std::vector<double> d;
    for (int i = 2000; i >= 1; --i)
        d.push_back(i);
    const Interval95 ci = BootstrapInterval(d);
    EXPECT_EQ(ci.Lower, 50);
    EXPECT_EQ(ci.Upper, 1951);
    std::vector<double> few{3, 1, 2}; // ranks clamped to 1..B
    EXPECT_EQ(BootstrapInterval(few).Lower, 1);
    EXPECT_EQ(BootstrapInterval(few).Upper, 3);
}

TEST(ComparisonFormulas, WeightedPercentileIsNearestRankWithWeightsOneAndFollowsWeights) {
    std::array<double, 256> h{};
    h[40] = 3;
    h[50] = 3;
    h[60] = 4; // n = 10: V50 = x(5) = 50, V85 = x(9) = 60, V30 = x(3) = 40
    EXPECT_EQ(WeightedPercentile(h, 50), 50);
    EXPECT_EQ(WeightedPercentile(h, 85), 60);
    EXPECT_EQ(WeightedPercentile(h, 30), 40);
    h[40] = 3 * 0.5; // 1.5 of 8.5 below 50: 50 reaches 4.5/8.5 = 53 %
    EXPECT_EQ(WeightedPercentile(h, 50), 50);
    EXPECT_EQ(WeightedPercentile(h, 15), 40);
    EXPECT_EQ(WeightedPercentile(h, 18), 50);
    EXPECT_EQ(WeightedPercentile(std::array<double, 256>{}, 50), std::nullopt);
}

TEST(ComparisonResampling, BinomialDrawsHaveTheirMeanAndVariance) {
    RandomDraws draws(7);
    for (const auto& [n, p] : {std::pair{20LL, 0.1}, std::pair{1000LL, 0.3}, std::pair{100000LL, 0.85}}) {
        double sum = 0, squares = 0;
        const int count = 20000;
        for (int i = 0; i < count; ++i) {
            const double x = static_cast<double>(draws.Binomial(n, p));
            ASSERT_GE(x, 0);
            ASSERT_LE(x, n);
            sum += x;
            squares += x * x;
        }
        const double mean = sum / count;
        const double variance = squares / count - mean * mean;
        const double expectedVariance = static_cast<double>(n) * p * (1 - p);
        EXPECT_NEAR(mean, static_cast<double>(n) * p, 5 * std::sqrt(expectedVariance / count))
            << n << " " << p;
        EXPECT_NEAR(variance / expectedVariance, 1.0, 0.05) << n << " " << p;
    }
}

TEST(ComparisonResampling, ResampledPercentilesOnlyTakeOccupiedSpeeds) {
    // Half the vehicles at 30 km/h, half at 90: a resample's V50 is one of the two, never a speed
    // between them, however the bins between are drawn.
    MeasurementData before, after;
    before.DataMode = after.DataMode = DataMode::SingleVehicle;
    for (int hour = 0; hour < 24; ++hour) {
        for (int i = 0; i < 6; ++i) {
            AddVehicle(before, AtSecond(2, hour, i * 60), i % 2 == 0 ? 30 : 90, PkwLength);
            AddVehicle(after, AtSecond(3, hour, i * 60), i % 2 == 0 ? 30 : 90, PkwLength);
        }
    }
    const Comparison c = CompareMeasurements(before, after, Quick());
    const GroupComparison& g = Group(c, 0, StatisticsClass::All);
    const auto possible = [](double d) { return d == -60 || d == 0 || d == 60; };
    for (const auto* f : {&g.V50, &g.MatchedV50}) {
        ASSERT_TRUE(f->has_value());
        EXPECT_TRUE(possible((*f)->Lower)) << (*f)->Lower;
        EXPECT_TRUE(possible((*f)->Upper)) << (*f)->Upper;
        EXPECT_EQ((*f)->Lower, -60); // V50 flips between the two speeds on both sides
        EXPECT_EQ((*f)->Upper, 60);
    }
}

TEST(ComparisonResampling, BlocksOpenedInEveryResampleGiveTheSameFigures) {
    // Even speeds only. Without a margin nearly every resample opens a block of speeds to find its
    // percentiles: they must still be occupied (even) speeds, and the intervals those of the
    // usual margin but for the noise of the draws.
    MeasurementData before, after;
    Traffic traffic(21);
    AddDays(before, traffic, 2, 30, 50);
    AddDays(after, traffic, 2, 30, 52);
    for (MeasurementData* data : {&before, &after})
        for (int i = 1; i <= data->WorkVehicleCount; ++i)
            data->WorkVehicles[i].Speed = static_cast<std::uint8_t>(data->WorkVehicles[i].Speed & ~1);
    ComparisonSettings blocks = Quick();
    blocks.SingleBinMargin = 0;
    const Comparison opened = CompareMeasurements(before, after, blocks);
    const Comparison usual = CompareMeasurements(before, after, Quick());
    const auto even = [](double d) { return std::fmod(d, 2) == 0; };
    for (std::size_t i = 0; i < opened.Groups.size(); ++i) {
        const GroupComparison& g = opened.Groups[i];
        const GroupComparison& u = usual.Groups[i];
        SCOPED_TRACE(i);
        for (const auto member : {&GroupComparison::V50, &GroupComparison::V85, &GroupComparison::FreeFlowV85,
                                  &GroupComparison::MatchedV50, &GroupComparison::MatchedV85}) {
            ASSERT_TRUE((g.*member).has_value());
            EXPECT_TRUE(even((g.*member)->Lower) && even((g.*member)->Upper))
                << (g.*member)->Lower << " " << (g.*member)->Upper;
            EXPECT_NEAR((g.*member)->Lower, (u.*member)->Lower, 2);
            EXPECT_NEAR((g.*member)->Upper, (u.*member)->Upper, 2);
        }
        EXPECT_NEAR(g.MatchedShareAboveLimit->Lower, u.MatchedShareAboveLimit->Lower, 0.02);
        EXPECT_NEAR(g.MatchedShareAboveLimit->Upper, u.MatchedShareAboveLimit->Upper, 0.02);
    }
}

TEST(ComparisonKnownTruth, ShiftByFiveKmhIsClearInEveryV85AndContainsFive) {
    MeasurementData before, after;
    Traffic traffic(11);
    AddDays(before, traffic, 3, 80, 50);
    // The same vehicles, 5 km/h faster.
    after = before;
    for (int i = 1; i <= after.WorkVehicleCount; ++i)
        after.WorkVehicles[i].Speed = static_cast<std::uint8_t>(after.WorkVehicles[i].Speed + 5);

    const Comparison c = CompareMeasurements(before, after, Quick());
    ASSERT_EQ(c.Groups.size(), 12u);
    for (const GroupComparison& g : c.Groups) {
        SCOPED_TRACE(testing::Message() << g.DirectionGroup << "/" << static_cast<int>(g.Class));
        for (const auto* f : {&g.V85, &g.FreeFlowV85, &g.MatchedV85}) {
            ASSERT_TRUE(f->has_value());
            EXPECT_DOUBLE_EQ((*f)->Difference, 5);
            EXPECT_TRUE(Contains(**f, 5));
            EXPECT_TRUE((*f)->Clear);
            EXPECT_GT((*f)->Lower, 0);
        }
        EXPECT_TRUE(g.DroppedHours.empty());
    }
    // The same files give the same figures.
    const Comparison again = CompareMeasurements(before, after, Quick());
    EXPECT_EQ(again.Groups[8].V85->Lower, c.Groups[8].V85->Lower);
    EXPECT_EQ(again.Groups[8].MatchedV50->Upper, c.Groups[8].MatchedV50->Upper);
}

TEST(ComparisonKnownTruth, SameDistributionContainsZeroForNearlyEverySeed) {
    int contained = 0;
    int figures = 0;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        MeasurementData before, after;
        Traffic traffic(seed);
        AddDays(before, traffic, 2, 20, 50);
        AddDays(after, traffic, 2, 20, 50);
        const Comparison c = CompareMeasurements(before, after, Quick(seed * 977));
        for (int d = 0; d < DirectionGroups; ++d) {
            const GroupComparison& g = Group(c, d, StatisticsClass::All);
            for (const auto* f : {&g.V50, &g.V85, &g.MatchedV85, &g.ShareAboveLimit}) {
                ++figures;
                contained += Contains(f->value(), 0);
                EXPECT_EQ(f->value().Clear, !Contains(f->value(), 0));
            }
        }
    }
    // 95 % intervals: a few of the 240 may miss 0, many may not.
    EXPECT_GE(contained, figures * 90 / 100);
}

TEST(ComparisonKnownTruth, MoreNightHoursChangeTheRawV85ButNotTheMatched) {
    // Every hour holds the same speeds in both; the night is faster, and after has ten times the
    // night traffic.
    MeasurementData before, after;
    before.DataMode = after.DataMode = DataMode::SingleVehicle;
    Traffic traffic(5);
    for (int day = 2; day <= 4; ++day) {
        for (int hour = 0; hour < 24; ++hour) {
            const bool night = hour < 6 || hour >= 22;
            for (int i = 0; i < 40; ++i) {
                const int speed = traffic.Speed(night ? 62 : 45, 5);
                const char direction = i % 2 == 0 ? '1' : '2';
                AddVehicle(before, AtSecond(day, hour, i * 90), speed, PkwLength, direction);
                for (int copy = 0; copy < (night ? 10 : 1); ++copy)
                    AddVehicle(after, AtSecond(day, hour, i * 90 + copy), speed, PkwLength, direction);
            }
        }
    }
    const Comparison c = CompareMeasurements(before, after, Quick());
    const GroupComparison& g = Group(c, 2, StatisticsClass::All);
    ASSERT_TRUE(g.V85 && g.MatchedV85 && g.MatchedShareAboveLimit);
    EXPECT_GE(g.V85->Difference, 3);
    EXPECT_TRUE(g.V85->Clear);
    EXPECT_EQ(g.MatchedV85->Difference, 0);
    EXPECT_TRUE(Contains(*g.MatchedV85, 0));
    EXPECT_FALSE(g.MatchedV85->Clear);
    EXPECT_NEAR(g.MatchedShareAboveLimit->Difference, 0, 1e-12);
    EXPECT_TRUE(g.ShareAboveLimit->Clear);
    EXPECT_FALSE(g.MatchedShareAboveLimit->Clear);
}

TEST(ComparisonKnownTruth, HoursOnlyOneSideHasDropOutOfBoth) {
    MeasurementData before, after;
    before.DataMode = after.DataMode = DataMode::SingleVehicle;
    for (int i = 0; i < 30; ++i) {
        AddVehicle(before, At(2, 8, i), 40, PkwLength);
        AddVehicle(before, At(2, 3, i), 90, PkwLength); // 03:00 only before: fast, and dropped
        AddVehicle(after, At(3, 8, i), 40 + i % 3, PkwLength);
        AddVehicle(after, At(3, 23, i), 70, PkwLength); // 23:00 only after
    }
    const Comparison c = CompareMeasurements(before, after, Quick());
    const GroupComparison& g = Group(c, 0, StatisticsClass::All);
    EXPECT_EQ(g.DroppedHours, (std::vector<int>{3, 23}));
    ASSERT_TRUE(g.MatchedV85);
    EXPECT_EQ(g.MatchedV85->Before, 40); // without the fast hour
    EXPECT_EQ(g.MatchedV85->After, 42);
    EXPECT_EQ(g.V85->Before, 90);
}

TEST(ComparisonKnownTruth, RawFiguresAreTheStatisticsFigures) {
    MeasurementData before, after;
    Traffic traffic(3);
    AddDays(before, traffic, 3, 12, 48);
    AddDays(after, traffic, 2, 15, 52);
    ComparisonSettings settings = Quick();
    settings.Statistics.FreeFlowGapSeconds = 400; // 600 s between vehicles of a direction
    const Comparison c = CompareMeasurements(before, after, settings);
    StatisticsSettings statistics = settings.Statistics;
    const TrafficStatistics a = ComputeTrafficStatistics(before, statistics);
    const TrafficStatistics b = ComputeTrafficStatistics(after, statistics);
    for (std::size_t i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c.Groups[i].CountBefore, a.Groups[i].Count);
        EXPECT_EQ(c.Groups[i].V50->Before, a.Groups[i].V50);
        EXPECT_EQ(c.Groups[i].V85->After, b.Groups[i].V85);
        EXPECT_EQ(c.Groups[i].FreeFlowV85->Before, a.Groups[i].FreeFlow->V85);
        EXPECT_EQ(c.Groups[i].FreeFlowV85->After, b.Groups[i].FreeFlow->V85);
        ASSERT_EQ(c.Groups[i].Above.size(), 3u);
        EXPECT_EQ(c.Groups[i].Above[1].Figure->After, b.Groups[i].Above->at(1).Share);
    }
    // Complete days: 1 before (3 days), none after (2 days).
    const AdtComparison& adt = c.Adt[0][2];
    EXPECT_EQ(adt.Before, 12.0 * 24);
    EXPECT_FALSE(adt.After);
    EXPECT_FALSE(adt.Change);
}

TEST(ComparisonKnownTruth, AdtChangeAndSwappedDirections) {
    MeasurementData before, after;
    before.DataMode = after.DataMode = DataMode::SingleVehicle;
    for (int day = 2; day <= 4; ++day) {
        for (int i = 0; i < 100; ++i) {
            AddVehicle(before, AtSecond(day, 10, i), 30, PkwLength, i < 40 ? '1' : '2');
            // Set up the other way round: its direction 2 is before's direction 1, and slower.
            if (i < 50)
                AddVehicle(after, AtSecond(day, 10, i), i < 30 ? 25 : 30, PkwLength, i < 30 ? '2' : '1');
        }
    }
    ComparisonSettings settings = Quick();
    settings.SwapDirections = true;
    const Comparison c = CompareMeasurements(before, after, settings);
    EXPECT_EQ(c.Adt[0][0].Before, 40);
    EXPECT_EQ(c.Adt[0][0].After, 30);
    EXPECT_DOUBLE_EQ(*c.Adt[0][0].Change, -0.25);
    EXPECT_DOUBLE_EQ(*c.Adt[0][2].Change, -0.5);
    EXPECT_EQ(Group(c, 0, StatisticsClass::All).CountAfter, 90);
    EXPECT_EQ(Group(c, 0, StatisticsClass::All).V85->Difference, -5);
    EXPECT_EQ(Group(c, 1, StatisticsClass::All).V85->Difference, 0);
    // The one complete day, Tuesday 3 March, is a working day; there is no complete weekend day.
    EXPECT_DOUBLE_EQ(*c.Adt[1][0].Change, -0.25);
    EXPECT_FALSE(c.Adt[2][0].Change);
}

TEST(ComparisonKnownTruth, AGroupWithoutVehiclesOnASideIsEmptyAndTheOthersAreComputed) {
    MeasurementData before, after;
    Traffic traffic(9);
    AddDays(before, traffic, 1, 30, 50);
    after.DataMode = DataMode::SingleVehicle;
    for (int i = 0; i < 200; ++i)
        AddVehicle(after, At(2, i % 24, 1), 50 + i % 7, PkwLength, '1');
    const Comparison c = CompareMeasurements(before, after, Quick());
    const GroupComparison& lz = Group(c, 0, StatisticsClass::Lz);
    EXPECT_EQ(lz.CountAfter, 0);
    EXPECT_FALSE(lz.V50 || lz.V85 || lz.FreeFlowV85 || lz.ShareAboveLimit || lz.MatchedV85);
    EXPECT_FALSE(lz.Above.at(0).Figure);
    EXPECT_FALSE(Group(c, 1, StatisticsClass::All).V85);
    EXPECT_TRUE(Group(c, 0, StatisticsClass::Pkw).V85);
    EXPECT_TRUE(Group(c, 2, StatisticsClass::All).MatchedV85);
}

TEST(ComparisonKnownTruth, IntervalDataCompareTheirSpeedClasses) {
    MeasurementData before, after;
    before.DataMode = after.DataMode = DataMode::Interval;
    for (int day = 2; day <= 3; ++day) {
        for (int slot = 0; slot < 288; ++slot) {
            const double start = At(day, slot / 12, slot % 12 * 5);
            // Before in speed class 9 (51..55 km/h) and 8; after one class faster.
            CountInto(AddBaseInterval(before, start), 1, VehicleClass::Pkw, 8 + slot % 2, 10);
            CountInto(AddBaseInterval(after, start), 1, VehicleClass::Pkw, 9 + slot % 2, 10);
        }
    }
    const Comparison c = CompareMeasurements(before, after, Quick());
    EXPECT_TRUE(c.ClassBased);
    const GroupComparison& g = Group(c, 0, StatisticsClass::All);
    ASSERT_TRUE(g.V85 && g.MatchedV85 && g.ShareAboveLimit);
    EXPECT_NEAR(g.V85->Difference, 5, 1e-9);
    EXPECT_TRUE(g.V85->Clear);
    EXPECT_NEAR(g.MatchedV85->Difference, 5, 1e-9);
    EXPECT_FALSE(g.FreeFlowV85);
    // Above 50 km/h: half the vehicles before (class 9), all after.
    EXPECT_DOUBLE_EQ(g.ShareAboveLimit->Before, 0.5);
    EXPECT_DOUBLE_EQ(g.ShareAboveLimit->After, 1.0);
    ASSERT_EQ(g.Above.size(), 3u);
    EXPECT_TRUE(g.Above[0].Figure); // the limit
    EXPECT_FALSE(g.Above[1].Figure);
    EXPECT_FALSE(g.Above[2].Figure);
    EXPECT_EQ(*c.Adt[0][2].Change, 0);
}

TEST(ComparisonKnownTruth, IntervalCountsNearTheLimitDoNotWrap) {
    // Class 8 (41..45 km/h) holds 6 billion vehicles before, class 10 (51..55 km/h) 3 billion:
    // summed in 32 bits class 8 would wrap to 1.7 billion and V50 move into class 10.
    MeasurementData before, after;
    before.DataMode = after.DataMode = DataMode::Interval;
    for (int slot = 0; slot < 5; ++slot) {
        const double start = At(2, 8, slot * 5);
        if (slot < 3)
            CountInto(AddBaseInterval(before, start), 1, VehicleClass::Pkw, 8, 2000000000);
        else
            CountInto(AddBaseInterval(before, start), 1, VehicleClass::Pkw, 10, 1500000000);
        CountInto(AddBaseInterval(after, start), 1, VehicleClass::Pkw, 9, 100);
    }
    const Comparison c = CompareMeasurements(before, after, Quick());
    const GroupComparison& g = Group(c, 0, StatisticsClass::All);
    ASSERT_TRUE(g.V50 && g.ShareAboveLimit && g.MatchedShareAboveLimit);
    EXPECT_LE(g.V50->Before, 48);
    EXPECT_NEAR(g.ShareAboveLimit->Before, 1.0 / 3, 1e-9);
    EXPECT_NEAR(g.MatchedShareAboveLimit->Before, 1.0 / 3, 1e-9);
    // Billions of vehicles leave the bootstrap nothing to vary.
    EXPECT_NEAR(g.MatchedShareAboveLimit->Lower, g.MatchedShareAboveLimit->Difference, 1e-3);
}

TEST(ComparisonKnownTruth, DifferentKindsOfDataAreNotCompared) {
    MeasurementData vehicles, intervals;
    Traffic traffic(1);
    AddDays(vehicles, traffic, 1, 2, 50);
    intervals.DataMode = DataMode::Imported;
    try {
        CompareMeasurements(vehicles, intervals, Quick());
        FAIL() << "compared";
    } catch (const CoreError& e) {
        EXPECT_EQ(e.textNumber(), ProgramMessage::ComparisonKindsDiffer);
    }
}
