#include "evaluation/TrafficStatistics.h"
#include "EvaluationTestData.h"
#include "evaluation/IntervalList.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
constexpr double Second = 1.0 / 86400;

MeasurementData Vehicles() {
    MeasurementData data;
    data.DataMode = DataMode::SingleVehicle;
    return data;
}

const SpeedGroupFigures& Group(const TrafficStatistics& s, int directionGroup, StatisticsClass c) {
    return s.Groups[static_cast<std::size_t>(directionGroup * StatisticsClassCount + static_cast<int>(c))];
}

const SpeedGroupFigures& BothAll(const TrafficStatistics& s) {
    return Group(s, 2, StatisticsClass::All);
}

// Vehicles of direction 1 at one second apart from 10:00 on March 3, all PKW.
MeasurementData SpeedsAt(std::initializer_list<int> speeds) {
    MeasurementData data = Vehicles();
    int k = 0;
    for (int v : speeds)
        AddVehicle(data, At(3, 10, 0, k++), v, 4, '1');
    return data;
}
} // namespace

TEST(StatisticsFormulas, NearestRankAndIntervalRanksClampedAtBothEnds) {
    EXPECT_EQ(NearestRank(5, 15), 1);
    EXPECT_EQ(NearestRank(5, 50), 3);
    EXPECT_EQ(NearestRank(5, 85), 5);
    EXPECT_EQ(NearestRank(20, 85), 17); // 17.0 exactly: no rounding up past it
    EXPECT_EQ(NearestRank(1, 5), 1);

    // n = 100, p = 85: s = 1.96·√12.75 = 6.9986; ranks ⌊78.001⌋ = 78 and ⌈91.999⌉ + 1 = 93.
    EXPECT_EQ(PercentileIntervalRanks(100, 85), (std::pair<long long, long long>{78, 93}));
    // n = 10, p = 50: s = 3.099; ⌊1.90⌋ = 1, ⌈8.10⌉ + 1 = 10.
    EXPECT_EQ(PercentileIntervalRanks(10, 50), (std::pair<long long, long long>{1, 10}));
    // One vehicle: both ends clamp to it.
    EXPECT_EQ(PercentileIntervalRanks(1, 85), (std::pair<long long, long long>{1, 1}));
}

TEST(StatisticsFormulas, WilsonIntervalAtNoneAndAll) {
    const Interval95 none = WilsonInterval(0, 10);
    EXPECT_DOUBLE_EQ(none.Lower, 0.0);
    EXPECT_NEAR(none.Upper, 0.38416 / 1.38416, 1e-12);
    const Interval95 all = WilsonInterval(10, 10);
    EXPECT_NEAR(all.Lower, 1.0 / 1.38416, 1e-12);
    EXPECT_DOUBLE_EQ(all.Upper, 1.0);
    const Interval95 half = WilsonInterval(5, 10); // symmetric around 0.5
    EXPECT_NEAR(half.Lower + half.Upper, 1.0, 1e-12);
    EXPECT_NEAR(half.Lower, 0.2366, 1e-4);
}

TEST(VehicleStatistics, PercentilesMeanDeviationAndIntervalsFromTheSortedSpeeds) {
    const MeasurementData data = SpeedsAt({50, 10, 40, 20, 30});
    StatisticsSettings settings;
    settings.LowerPercentile = 5;
    settings.UpperPercentile = 95;
    const TrafficStatistics s = ComputeTrafficStatistics(data, settings);
    const SpeedGroupFigures& g = Group(s, 0, StatisticsClass::All);
    EXPECT_EQ(g.Count, 5);
    EXPECT_EQ(g.V15, 10);
    EXPECT_EQ(g.V50, 30);
    EXPECT_EQ(g.V85, 50);
    EXPECT_EQ(g.V95, 50);
    EXPECT_EQ(g.VLower, 10);
    EXPECT_EQ(g.VUpper, 50);
    EXPECT_DOUBLE_EQ(*g.Mean, 30.0);
    EXPECT_NEAR(*g.StandardDeviation, 15.8113883, 1e-6); // √(1000 / 4)
    // n = 5, p = 50: s = 2.191, ranks ⌊0.309⌋ → 1 and ⌈4.69⌉ + 1 = 6 → 5.
    EXPECT_EQ(g.V50Interval->Lower, 10);
    EXPECT_EQ(g.V50Interval->Upper, 50);
    // Direction 2 and the heavy classes are empty: no figures, n = 0.
    const SpeedGroupFigures& empty = Group(s, 1, StatisticsClass::All);
    EXPECT_EQ(empty.Count, 0);
    EXPECT_FALSE(empty.V50 || empty.Mean || empty.Pace || empty.V85Interval);
    EXPECT_FALSE(empty.FreeFlow->V85);
    ASSERT_TRUE(empty.Above);
    EXPECT_FALSE((*empty.Above)[0].Share);
    EXPECT_EQ(Group(s, 0, StatisticsClass::Lkw).Count, 0);
    // A single vehicle has a mean but no deviation.
    const TrafficStatistics one = ComputeTrafficStatistics(SpeedsAt({42}), settings);
    EXPECT_DOUBLE_EQ(*BothAll(one).Mean, 42.0);
    EXPECT_FALSE(BothAll(one).StandardDeviation);
}

TEST(VehicleStatistics, PaceTiesGoToTheLowestBand) {
    const TrafficStatistics s = ComputeTrafficStatistics(SpeedsAt({30, 31, 60, 61}), {});
    ASSERT_TRUE(BothAll(s).Pace);
    EXPECT_EQ(BothAll(s).Pace->From, 22); // 22..31 is the first band that holds 30 and 31
    EXPECT_EQ(BothAll(s).Pace->Count, 2);
    EXPECT_DOUBLE_EQ(BothAll(s).Pace->Share, 0.5);
    const TrafficStatistics fast = ComputeTrafficStatistics(SpeedsAt({250, 255, 254}), {});
    EXPECT_EQ(BothAll(fast).Pace->From, 246);
    EXPECT_EQ(BothAll(fast).Pace->Count, 3);
}

TEST(VehicleStatistics, ThresholdsCountSpeedsAboveWithWilsonIntervals) {
    StatisticsSettings settings;
    settings.Limit = 50;
    const TrafficStatistics s = ComputeTrafficStatistics(SpeedsAt({50, 51, 60, 61, 71}), settings);
    const auto& above = *BothAll(s).Above;
    ASSERT_EQ(above.size(), 3u);
    EXPECT_EQ(above[0].Threshold, 50);
    EXPECT_EQ(above[0].Count, 4); // 50 itself is not above
    EXPECT_EQ(above[1].Count, 2);
    EXPECT_EQ(above[2].Count, 1);
    EXPECT_DOUBLE_EQ(*above[1].Share, 0.4);
    EXPECT_NEAR(above[1].Interval->Lower, WilsonInterval(2, 5).Lower, 1e-15);

    settings.Thresholds = {80, 30, 80, 60};
    const TrafficStatistics chosen = ComputeTrafficStatistics(SpeedsAt({50, 90}), settings);
    EXPECT_EQ(chosen.Thresholds, (std::vector<int>{30, 60, 80}));
    EXPECT_EQ((*BothAll(chosen).Above)[0].Count, 2);
    EXPECT_EQ((*BothAll(chosen).Above)[2].Count, 1);
}

TEST(VehicleStatistics, FreeFlowNeedsTheGapToAnyVehicleOfTheSameDirection) {
    MeasurementData data = Vehicles();
    AddVehicle(data, At(3, 10, 0, 0), 40, 4, '1');  // first of direction 1: not free
    AddVehicle(data, At(3, 10, 0, 5), 60, 4, '1');  // 5 s: free
    AddVehicle(data, At(3, 10, 0, 9), 45, 4, '1');  // 4 s: not free
    AddVehicle(data, At(3, 10, 0, 20), 70, 4, '2'); // first of direction 2: not free
    AddVehicle(data, At(3, 10, 0, 20), 45, 4, '1'); // 11 s: free
    AddVehicle(data, At(3, 10, 0, 25), 30, 0, '1'); // too short to count, but it is traffic
    AddVehicle(data, At(3, 10, 0, 28), 80, 4, '1'); // 3 s after the short one: not free
    StatisticsSettings settings;
    const TrafficStatistics s = ComputeTrafficStatistics(data, settings);
    const FreeFlowFigures& free = *BothAll(s).FreeFlow;
    EXPECT_EQ(free.Count, 2);
    EXPECT_EQ(free.V85, 60);
    EXPECT_DOUBLE_EQ(*free.ShareAboveLimit, 0.5);
    EXPECT_EQ(Group(s, 1, StatisticsClass::All).FreeFlow->Count, 0);

    settings.FreeFlowGapSeconds = 11;
    EXPECT_EQ(BothAll(ComputeTrafficStatistics(data, settings)).FreeFlow->Count, 1);
}

TEST(VehicleStatistics, DaysAdtAndProfileOverCompleteDaysOnly) {
    MeasurementData data = Vehicles();
    // Monday 2 (partial, from 00:00), Tuesday 3 and Wednesday 4 complete, Thursday 5 partial.
    AddVehicle(data, At(2, 0, 0, 0), 50, 4, '1');
    AddVehicle(data, At(3, 8, 10, 0), 50, 4, '1');
    AddVehicle(data, At(3, 8, 20, 0), 60, 10, '2');
    AddVehicle(data, At(3, 17, 0, 0), 40, 4, '2');
    AddVehicle(data, At(4, 8, 30, 0), 50, 15, '1');
    AddVehicle(data, At(5, 23, 59, 59), 70, 4, '1');
    const TrafficStatistics s = ComputeTrafficStatistics(data, {});
    ASSERT_EQ(s.Days.size(), 4u);
    EXPECT_FALSE(s.Days[0].Complete);
    EXPECT_TRUE(s.Days[1].Complete);
    EXPECT_TRUE(s.Days[2].Complete);
    EXPECT_FALSE(s.Days[3].Complete);
    EXPECT_EQ(s.Days[0].Weekday, 1);
    EXPECT_EQ(s.Days[1].Count[0], 1);
    EXPECT_EQ(s.Days[1].Count[1], 2);
    EXPECT_EQ(s.Days[1].Count[2], 3);
    EXPECT_EQ(s.Days[1].Heavy, 1);
    EXPECT_EQ(s.Days[1].V85, 60);
    EXPECT_NEAR(*s.Days[1].ShareAboveLimit, 1.0 / 3, 1e-15);

    EXPECT_EQ(s.Adt[0].Days, 2);
    EXPECT_DOUBLE_EQ(*s.Adt[0].Mean[2], 2.0);
    EXPECT_DOUBLE_EQ(*s.Adt[0].Mean[0], 1.0);
    EXPECT_EQ(s.Adt[1].Days, 2);
    EXPECT_EQ(s.Adt[2].Days, 0);
    EXPECT_FALSE(s.Adt[2].Mean[2]);

    const auto& workdays = s.Profile[static_cast<std::size_t>(DayGroup::Workdays)];
    EXPECT_DOUBLE_EQ(*workdays[8].Mean[2], 1.5); // three vehicles at 08:xx over two days
    EXPECT_DOUBLE_EQ(*workdays[8].HeavyShare, 2.0 / 3);
    EXPECT_DOUBLE_EQ(*workdays[0].Mean[2], 0.0); // the first day's 00:00 vehicle is not in it
    EXPECT_FALSE(workdays[0].HeavyShare);
    EXPECT_FALSE(s.Profile[static_cast<std::size_t>(DayGroup::Sunday)][8].Mean[2]);

    // Hourly figures take every day.
    EXPECT_EQ(s.Hourly[0].Count, 1);
    EXPECT_EQ(s.Hourly[8].Count, 3);
    EXPECT_EQ(s.Hourly[8].V85, 60);
    EXPECT_EQ(s.Hourly[23].Count, 1);
}

TEST(VehicleStatistics, EmptyDaysAndTheWeekendPooled) {
    MeasurementData data = Vehicles();
    AddVehicle(data, At(6, 12, 0, 0), 50, 4, '1'); // Friday
    AddVehicle(data, At(8, 12, 0, 0), 50, 4, '1'); // Sunday: 1 vehicle, Saturday stays empty
    AddVehicle(data, At(8, 13, 0, 0), 50, 4, '1');
    AddVehicle(data, At(8, 13, 10, 0), 50, 4, '2');
    AddVehicle(data, At(10, 9, 0, 0), 50, 4, '1'); // Tuesday
    const TrafficStatistics s = ComputeTrafficStatistics(data, {});
    ASSERT_EQ(s.Days.size(), 5u);
    EXPECT_EQ(s.Days[1].Weekday, 6);
    EXPECT_EQ(s.Days[1].Count[2], 0);
    EXPECT_FALSE(s.Days[1].V85);
    EXPECT_FALSE(s.Days[1].ShareAboveLimit);
    EXPECT_EQ(s.Adt[2].Days, 2);
    EXPECT_DOUBLE_EQ(*s.Adt[2].Mean[2], 1.5);
    EXPECT_EQ(s.Adt[1].Days, 1); // Monday only
    EXPECT_DOUBLE_EQ(*s.Adt[1].Mean[2], 0.0);
    const auto& weekend = s.Profile[static_cast<std::size_t>(DayGroup::Weekend)];
    EXPECT_DOUBLE_EQ(*weekend[13].Mean[2], 1.0);
    EXPECT_DOUBLE_EQ(*weekend[13].Mean[1], 0.5);
    EXPECT_DOUBLE_EQ(*s.Profile[static_cast<std::size_t>(DayGroup::Sunday)][13].Mean[2], 2.0);
}

TEST(VehicleStatistics, PeakHourWithItsFactorAndTheEarliestOfEqualWindows) {
    MeasurementData data = Vehicles();
    const auto add = [&data](int hour, int minute, int count, char direction) {
        for (int k = 0; k < count; ++k)
            AddVehicle(data, At(3, hour, minute, k), 50, 4, direction);
    };
    add(7, 0, 2, '1');
    add(10, 0, 5, '1');
    add(10, 15, 3, '1');
    add(10, 30, 2, '1');
    add(10, 45, 2, '1');
    add(14, 0, 3, '1'); // afternoon: two windows of 3, the earlier 13:15 one wins
    add(16, 0, 1, '2');
    const TrafficStatistics s = ComputeTrafficStatistics(data, {});
    ASSERT_EQ(s.PeakHours.size(), 5u);
    const PeakHour& am = s.PeakHours[0];
    EXPECT_EQ(am.DirectionGroup, 0);
    EXPECT_FALSE(am.Afternoon);
    EXPECT_DOUBLE_EQ(am.Start, At(3, 10, 0));
    EXPECT_EQ(am.Count, 12);
    EXPECT_DOUBLE_EQ(am.Factor, 12.0 / 20);
    const PeakHour& pm = s.PeakHours[1];
    EXPECT_TRUE(pm.Afternoon);
    EXPECT_DOUBLE_EQ(pm.Start, At(3, 13, 15)); // windows start from 07:00 on, quarter by quarter
    EXPECT_EQ(pm.Count, 3);
    EXPECT_DOUBLE_EQ(pm.Factor, 0.25);
    // Direction 2 has no morning vehicle in its windows: only its afternoon entry.
    EXPECT_EQ(s.PeakHours[2].DirectionGroup, 1);
    EXPECT_TRUE(s.PeakHours[2].Afternoon);
    EXPECT_DOUBLE_EQ(s.PeakHours[2].Start, At(3, 16, 0));
    // Both directions: 14:00 and 16:00 are not in one hour, so 13:15 stays the afternoon peak.
    EXPECT_EQ(s.PeakHours[4].Count, 3);
    EXPECT_DOUBLE_EQ(s.PeakHours[4].Start, At(3, 13, 15));
}

TEST(VehicleStatistics, QualityGapsHeadwaysImplausibleAndOutOfOrder) {
    MeasurementData data = Vehicles();
    AddVehicle(data, At(3, 4, 0, 0), 50, 4, '1');
    AddVehicle(data, At(3, 6, 0, 0), 50, 4, '1');               // gap 04:00..06:00 only touches the day: none
    AddVehicle(data, At(3, 6, 0, 0) + 0.2 * Second, 0, 4, '1'); // headway 0.2 s, speed 0
    AddVehicle(data, At(3, 6, 0, 0) + 0.25 * Second, 50, 4, '2');   // other direction: no headway
    AddVehicle(data, At(3, 7, 0, 0) + 0.25 * Second, 50, 255, '1'); // exactly 60 min: a gap
    AddVehicle(data, At(3, 6, 30, 0), 50, 4, '1');                  // earlier than its predecessor
    AddVehicle(data, At(3, 22, 0, 0), 50, 4, '1');
    AddVehicle(data, At(3, 23, 30, 0), 50, 4, '1'); // night only: none
    const TrafficStatistics s = ComputeTrafficStatistics(data, {});
    ASSERT_EQ(s.Quality.Gaps.size(), 2u);
    EXPECT_DOUBLE_EQ(s.Quality.Gaps[0].Minutes, 60.0);
    EXPECT_NEAR(s.Quality.Gaps[1].From, At(3, 6, 30, 0), 1e-9);
    EXPECT_DOUBLE_EQ(s.Quality.Gaps[1].Minutes, 930.0);
    EXPECT_EQ(s.Quality.ShortHeadways, 1);
    EXPECT_EQ(s.Quality.Implausible, 2);
    EXPECT_DOUBLE_EQ(*s.Quality.ImplausibleShare, 0.25);
    EXPECT_EQ(s.Quality.OutOfOrder, 1);
    // The length-255 vehicle is counted as a heavy one; the speed-0 one as well as any.
    EXPECT_EQ(s.Vehicles, 8);
}

TEST(VehicleStatistics, NoVehiclesGiveNoFigures) {
    const TrafficStatistics s = ComputeTrafficStatistics(Vehicles(), {});
    EXPECT_EQ(s.Vehicles, 0);
    EXPECT_EQ(s.Groups.size(), 12u);
    EXPECT_FALSE(BothAll(s).V85);
    EXPECT_TRUE(s.Days.empty());
    EXPECT_FALSE(s.Adt[0].Mean[2]);
    EXPECT_TRUE(s.PeakHours.empty());
    EXPECT_EQ(s.Quality.OutOfOrder, 0);
}

TEST(VehicleStatistics, TheTimeWindowLimitsTheVehicles) {
    MeasurementData data = SpeedsAt({10, 20, 30, 40});
    StatisticsSettings settings;
    settings.From = At(3, 10, 0, 1);
    settings.To = At(3, 10, 0, 3);
    EXPECT_EQ(BothAll(ComputeTrafficStatistics(data, settings)).Count, 2);
}

TEST(VehicleStatistics, AMeasurementOverTooManyDaysIsRefused) {
    MeasurementData data = Vehicles();
    AddVehicle(data, At(3, 10, 0, 0), 50, 4, '1');
    AddVehicle(data, *TryEncodeDateTime(2099, 1, 1, 0, 0, 0), 50, 4, '1');
    EXPECT_THROW(ComputeTrafficStatistics(data, {}), CoreError);
    // A time that is no number at all (a damaged file) is refused the same way.
    data.WorkVehicles[2].Time = std::nan("");
    EXPECT_THROW(ComputeTrafficStatistics(data, {}), CoreError);
}

TEST(IntervalStatistics, CountsAndClassPercentilesButNoSingleVehicleFigures) {
    MeasurementData data;
    data.DataMode = DataMode::Interval;
    for (int k = 0; k < 288; ++k)
        AddBaseInterval(data, IncMinute(At(3, 0, 0), 5LL * k)); // Tuesday, complete
    for (int k = 0; k < 12; ++k)
        AddBaseInterval(data, IncMinute(At(4, 0, 0), 5LL * k)); // Wednesday until 01:00
    CountInto(data.Intervals[97], 1, VehicleClass::Pkw, 9, 10); // 08:00, 51..55 km/h
    CountInto(data.Intervals[98], 2, VehicleClass::Lkw, 8, 2);
    CountInto(data.Intervals[290], 1, VehicleClass::Lz, 9, 1);
    const TrafficStatistics s = ComputeTrafficStatistics(data, {});
    EXPECT_FALSE(s.SingleVehicles);
    EXPECT_EQ(s.Vehicles, 13);
    const SpeedGroupFigures& d1 = Group(s, 0, StatisticsClass::Pkw);
    EXPECT_EQ(d1.Count, 10);
    EXPECT_DOUBLE_EQ(*d1.V50, 50.5);
    EXPECT_DOUBLE_EQ(*d1.V85, 52.2);
    EXPECT_FALSE(d1.Mean || d1.V85Interval || d1.Pace || d1.Above || d1.FreeFlow);
    EXPECT_EQ(Group(s, 1, StatisticsClass::Lkw).Count, 2);
    ASSERT_EQ(s.Days.size(), 2u);
    EXPECT_TRUE(s.Days[0].Complete);
    EXPECT_FALSE(s.Days[1].Complete);
    EXPECT_EQ(s.Days[0].Count[2], 12);
    EXPECT_EQ(s.Days[0].Heavy, 2);
    EXPECT_EQ(s.Days[1].Heavy, 1);
    EXPECT_FALSE(s.Days[0].ShareAboveLimit);
    EXPECT_EQ(s.Adt[0].Days, 1);
    EXPECT_DOUBLE_EQ(*s.Adt[0].Mean[2], 12.0);
    EXPECT_EQ(s.Hourly[8].Count, 12);
    EXPECT_FALSE(s.Quality.OutOfOrder);
    // Empty from 00:00 to 08:00, from 08:10 to 00:05 of the next day, and from 00:10 to 01:00.
    ASSERT_EQ(s.Quality.Gaps.size(), 2u); // 00:10..01:00 is too short and at night
    EXPECT_DOUBLE_EQ(s.Quality.Gaps[0].Minutes, 480.0);
    EXPECT_NEAR(s.Quality.Gaps[1].From, At(3, 8, 10), 1e-9);
    EXPECT_DOUBLE_EQ(s.Quality.Gaps[1].Minutes, 955.0);
    // Peak hour from quarter hours of 5-minute intervals.
    ASSERT_FALSE(s.PeakHours.empty());
    EXPECT_DOUBLE_EQ(s.PeakHours[0].Start, At(3, 8, 0));
    EXPECT_DOUBLE_EQ(s.PeakHours[0].Factor, 0.25);
}

TEST(IntervalStatistics, AMissingIntervalMakesTheDayPartialAndIsAGap) {
    MeasurementData data;
    data.DataMode = DataMode::Interval;
    for (int k = 0; k < 288; ++k) {
        if (k >= 120 && k < 132)
            continue; // 10:00..11:00 missing
        IntervalRecord& r = AddBaseInterval(data, IncMinute(At(3, 0, 0), 5LL * k));
        CountInto(r, 1, VehicleClass::Pkw, 9, 1);
    }
    const TrafficStatistics s = ComputeTrafficStatistics(data, {});
    ASSERT_EQ(s.Days.size(), 1u);
    EXPECT_FALSE(s.Days[0].Complete);
    ASSERT_EQ(s.Quality.Gaps.size(), 1u);
    EXPECT_NEAR(s.Quality.Gaps[0].From, At(3, 10, 0), 1e-9);
    EXPECT_DOUBLE_EQ(s.Quality.Gaps[0].Minutes, 60.0);
}

TEST(IntervalStatistics, ImportedDataHoldTotalsAndHeavyVehiclesOnly) {
    MeasurementData data;
    data.DataMode = DataMode::Imported;
    IntervalRecord& r = AddBaseInterval(data, At(3, 9, 0));
    r.Total().Dir1 = 20;
    r.HeavyTotal().Dir1 = 4;
    r.PkwSpeedClasses(9).Dir1 = 20;
    const TrafficStatistics s = ComputeTrafficStatistics(data, {});
    EXPECT_EQ(Group(s, 0, StatisticsClass::All).Count, 20);
    EXPECT_DOUBLE_EQ(*Group(s, 0, StatisticsClass::All).V50, 50.5);
    EXPECT_EQ(Group(s, 0, StatisticsClass::Lkw).Count, 4);
    EXPECT_FALSE(Group(s, 0, StatisticsClass::Lkw).V50);
    EXPECT_FALSE(Group(s, 0, StatisticsClass::Pkw).Count);
    EXPECT_FALSE(Group(s, 2, StatisticsClass::Lz).Count);
    EXPECT_EQ(Group(s, 1, StatisticsClass::All).Count, 0);
    EXPECT_EQ(s.Days[0].Heavy, 4);
}

TEST(StatisticsSettingsText, TheRangeLimitsTheStatisticsOnlyWhenItCutsTheIntervals) {
    MeasurementData data = Vehicles();
    for (int k = 0; k < 24; ++k)
        AddVehicle(data, At(3, k, 10), 50, 4, '1');
    BuildFiveMinuteIntervals(data, LengthThresholds{});
    AggregateIntervals(data, 12);
    EXPECT_FALSE(RangeTimeSpan(data, 12));
    data.WorkIntervalCount = 3; // the first three hours
    const auto span = RangeTimeSpan(data, 12);
    ASSERT_TRUE(span);
    EXPECT_DOUBLE_EQ(span->first, At(3, 0, 0));
    EXPECT_NEAR(span->second, At(3, 3, 0), 1e-9);
    Settings settings;
    settings.SpeedThresholds = {40};
    ViewSelections view{12, 5, 95, 3};
    view.SpeedLimitIndex = 7;
    const StatisticsSettings s = StatisticsSettingsOf(settings, data, view);
    EXPECT_EQ(s.Limit, 70);
    EXPECT_EQ(s.Thresholds, (std::vector<int>{40}));
    EXPECT_EQ(s.LowerPercentile, 5);
    EXPECT_EQ(BothAll(ComputeTrafficStatistics(data, s)).Count, 3);
}
