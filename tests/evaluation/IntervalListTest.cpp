#include "evaluation/IntervalList.h"
#include "EvaluationTestData.h"
#include "base/CoreError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

namespace {
const LengthThresholds Thresholds{1, 8, 12};

} // namespace

TEST(BuildFiveMinuteIntervals, IntervalStartsAndBoundaries) {
    MeasurementData data;
    data.IntervalRebuildPending = 1;
    data.IntervalListTop = 9;
    AddVehicle(data, At(1, 7, 3, 10), 50, 5);
    AddVehicle(data, At(1, 7, 4, 59), 50, 5);
    AddVehicle(data, At(1, 7, 5, 0), 50, 5); // exactly at the boundary: the next interval
    // One unit in the last place below 07:05:00, as a time computed from card counters may be.
    AddVehicle(data, std::nextafter(At(1, 7, 5, 0), 0.0), 50, 5);
    AddVehicle(data, At(1, 7, 9, 59), 50, 5);
    BuildFiveMinuteIntervals(data, Thresholds);

    ASSERT_EQ(data.IntervalCount, 2);
    EXPECT_EQ(data.Intervals[1].StartTime, At(1, 7, 0, 0));
    EXPECT_EQ(data.Intervals[2].StartTime, IncMinute(At(1, 7, 0, 0), 5));
    EXPECT_EQ(data.Intervals[1].Total().Dir1, 2);
    EXPECT_EQ(data.Intervals[2].Total().Dir1, 3);
    EXPECT_EQ(data.Intervals[1].GapClasses(FirstVehicleGapClass).Dir1, 1); // first vehicle
    EXPECT_EQ(data.WorkIntervalCount, 2);
    EXPECT_EQ(std::memcmp(data.WorkIntervals.data(), data.Intervals.data(), 2 * sizeof(IntervalRecord)), 0);
    EXPECT_EQ(data.IntervalRebuildPending, 0);
    EXPECT_EQ(data.IntervalListTop, 1);
}

TEST(BuildFiveMinuteIntervals, PauseGivesEmptyIntervalsWithStartsFromTheFirst) {
    MeasurementData data;
    AddVehicle(data, At(1, 7, 2, 0), 50, 5);
    AddVehicle(data, At(1, 7, 22, 0), 50, 5);
    // A long run of intervals: starts are computed from the first start, not step by step.
    AddVehicle(data, At(3, 7, 1, 0), 50, 5);
    BuildFiveMinuteIntervals(data, Thresholds);

    ASSERT_EQ(data.IntervalCount, 2 * 288 + 1);
    for (int n = 2; n <= 4; ++n)
        EXPECT_EQ(data.Intervals[n].Total().Dir1, 0) << n;
    EXPECT_EQ(data.Intervals[5].Total().Dir1, 1);
    EXPECT_EQ(data.Intervals[5].StartTime, At(1, 7, 20, 0));
    for (int n = 1; n <= data.IntervalCount; ++n)
        ASSERT_EQ(data.Intervals[n].StartTime, IncMinute(At(1, 7, 0, 0), 5LL * (n - 1))) << n;
    EXPECT_EQ(ToMilliseconds(data.Intervals[data.IntervalCount].StartTime), ToMilliseconds(At(3, 7, 0, 0)));
    // The 20-minute gap lands in the last gap class.
    EXPECT_EQ(data.Intervals[5].GapClasses(30).Dir1, 1);
}

TEST(BuildFiveMinuteIntervals, ClassesGapsDirectionsAndShortVehicles) {
    MeasurementData data;
    const double t0 = At(1, 8, 0, 0);
    const double second = 1.0 / 86400;
    AddVehicle(data, t0, 15, 7);                      // PKW, speed class 1
    AddVehicle(data, t0 + 3 * second, 16, 8, '2');    // LKW, class 2, gap 3 s
    AddVehicle(data, t0 + 4 * second, 99, 0);         // too short: not counted, but a predecessor
    AddVehicle(data, t0 + 4.6 * second, 150, 11);     // LKW, class 28, gap 0.6 s after the short one
    AddVehicle(data, t0 + 14 * second, 151, 12);      // LZ, class 29, gap 9.4 s
    AddVehicle(data, t0 + 15 * second, 200, 30, '3'); // no known direction: counted nowhere
    AddVehicle(data, t0 + 16 * second, 255, 12, 0);
    BuildFiveMinuteIntervals(data, Thresholds);

    ASSERT_EQ(data.IntervalCount, 1);
    const IntervalRecord& r = data.Intervals[1];
    EXPECT_EQ(r.Total().Dir1, 3);
    EXPECT_EQ(r.Total().Dir2, 1);
    EXPECT_EQ(r.PkwCount().Dir1, 1);
    EXPECT_EQ(r.PkwSpeedClasses(1).Dir1, 1);
    EXPECT_EQ(r.PkwMaxSpeed().Dir1, 15);
    EXPECT_EQ(r.LkwCount().Dir2, 1);
    EXPECT_EQ(r.LkwSpeedClasses(2).Dir2, 1);
    EXPECT_EQ(r.LkwCount().Dir1, 1);
    EXPECT_EQ(r.LkwSpeedClasses(28).Dir1, 1);
    EXPECT_EQ(r.LkwMaxSpeed().Dir1, 150);
    EXPECT_EQ(r.LzCount().Dir1, 1);
    EXPECT_EQ(r.LzSpeedClasses(29).Dir1, 1);
    EXPECT_EQ(r.LzMaxSpeed().Dir1, 151); // the 200 and 255 km/h records have no direction
    EXPECT_EQ(r.HeavyTotal().Dir1, 2);
    EXPECT_EQ(r.HeavyShareFlag().Dir1, 1); // 2 of 3 is at least 60 %
    EXPECT_EQ(r.HeavyShareFlag().Dir2, 1);
    EXPECT_EQ(r.GapClasses(14).Dir1, 1);
    EXPECT_EQ(r.GapClasses(14).Dir2, 1);
    EXPECT_EQ(r.GapClasses(2).Dir1, 1);
    EXPECT_EQ(r.GapClasses(30).Dir1, 1);
    int gaps = 0;
    for (int d = 0; d <= 30; ++d)
        gaps += r.GapClasses(d).Dir1 + r.GapClasses(d).Dir2;
    EXPECT_EQ(gaps, 4);
    EXPECT_EQ(r.MeanSpeed().Dir1, 0);
    EXPECT_EQ(r.Spare().Dir1, 0);
}

TEST(BuildFiveMinuteIntervals, EmptySetAndTooLongSpan) {
    MeasurementData data;
    data.LoadedCount = 1;
    data.Vehicles.EnsureSize(1);
    data.Vehicles[1] = VehicleRecord{At(2, 9, 13, 0), 50, 5, '1', {}, 0, {}};
    BuildFiveMinuteIntervals(data, Thresholds);
    ASSERT_EQ(data.IntervalCount, 1);
    ASSERT_EQ(data.WorkIntervalCount, 1);
    EXPECT_EQ(data.Intervals[1].StartTime, At(2, 9, 10, 0)); // where the measurement began
    EXPECT_EQ(data.Intervals[1].Total().Dir1, 0);

    MeasurementData none;
    BuildFiveMinuteIntervals(none, Thresholds);
    EXPECT_EQ(none.IntervalCount, 1);
    EXPECT_EQ(none.Intervals[1].StartTime, 0.0);

    // 210 days are more than 60000 five-minute intervals: refused, nothing changed.
    MeasurementData big;
    AddVehicle(big, At(1, 0, 0, 0), 50, 5);
    BuildFiveMinuteIntervals(big, Thresholds);
    AddVehicle(big, At(1, 0, 0, 0) + 210, 50, 5);
    big.IntervalRebuildPending = 1;
    try {
        BuildFiveMinuteIntervals(big, Thresholds);
        FAIL() << "a span beyond the capacity must be refused";
    } catch (const CoreError& e) {
        EXPECT_EQ(e.textNumber(), ProgramMessage::IntervalSpanTooLong);
        EXPECT_NE(std::string(e.what()).find("60481"), std::string::npos);
    }
    EXPECT_EQ(big.IntervalCount, 1);
    EXPECT_EQ(big.WorkIntervalCount, 1);
    EXPECT_EQ(big.Intervals[1].Total().Dir1, 1);
    EXPECT_EQ(big.IntervalRebuildPending, 1);
    EXPECT_LT(big.Intervals.allocated(), 100);

    // Exactly 60000 intervals still fit.
    MeasurementData full;
    AddVehicle(full, At(1, 0, 0, 0), 50, 5);
    AddVehicle(full, IncMinute(At(1, 0, 0, 0), 5LL * (MaxIntervals - 1)) + 0.001, 50, 5);
    BuildFiveMinuteIntervals(full, Thresholds);
    EXPECT_EQ(full.IntervalCount, MaxIntervals);
    EXPECT_EQ(full.Intervals[MaxIntervals].Total().Dir1, 1);
}

// Interval memory is not zero-filled when it grows; every record the build or the join opens must
// still be written completely, Spare included, even over what an earlier measurement left.
TEST(BuildFiveMinuteIntervals, RecordsOverUsedMemoryAreWrittenCompletely) {
    MeasurementData data;
    data.Intervals.EnsureSize(40);
    data.WorkIntervals.EnsureSize(40);
    std::memset(static_cast<void*>(data.Intervals.data()), 0xA5, 40 * sizeof(IntervalRecord));
    std::memset(static_cast<void*>(data.WorkIntervals.data()), 0x5A, 40 * sizeof(IntervalRecord));
    AddVehicle(data, At(1, 7, 2, 0), 50, 5);
    AddVehicle(data, At(1, 8, 31, 0), 60, 9); // empty intervals lie between the two

    BuildFiveMinuteIntervals(data, Thresholds);
    ASSERT_EQ(data.IntervalCount, 19);
    for (int n = 1; n <= data.IntervalCount; ++n) {
        const IntervalRecord& r = std::as_const(data).Intervals[n];
        EXPECT_EQ(r.Spare()[1], 0) << n;
        EXPECT_EQ(r.Spare()[2], 0) << n;
        EXPECT_EQ(r.Total()[1], n == 1 || n == 19 ? 1 : 0) << n;
        EXPECT_EQ(r.MaxSpeed(VehicleClass::Lkw)[2], 0) << n;
    }

    AggregateIntervals(data, 12);
    ASSERT_EQ(data.WorkIntervalCount, 2);
    for (int n = 1; n <= 2; ++n) {
        const IntervalRecord& r = std::as_const(data).WorkIntervals[n];
        EXPECT_EQ(r.Spare()[1], 0) << n;
        EXPECT_EQ(r.Total()[1], 1) << n;
        EXPECT_EQ(r.GapClasses(0)[2], 0) << n;
    }
    // The five-minute intervals are untouched by the join.
    EXPECT_EQ(std::as_const(data).Intervals[19].MaxSpeed(VehicleClass::Lkw)[1], 60);
}

// The working intervals share the five-minute ones at 5 minutes; joining writes only its own.
TEST(AggregateIntervals, CopiesNoFiveMinuteRecords) {
    MeasurementData data;
    AddVehicle(data, At(1, 7, 2, 0), 50, 5);
    AddVehicle(data, At(1, 9, 31, 0), 60, 9);
    BuildFiveMinuteIntervals(data, Thresholds);
    const IntervalRecord* five = std::as_const(data).Intervals.data();
    EXPECT_EQ(std::as_const(data).WorkIntervals.data(), five);

    AggregateIntervals(data, 12);
    EXPECT_EQ(std::as_const(data).Intervals.data(), five);
    EXPECT_NE(std::as_const(data).WorkIntervals.data(), five);
    EXPECT_EQ(data.WorkIntervalCount, 3);
    AggregateIntervals(data, 1);
    EXPECT_EQ(std::as_const(data).WorkIntervals.data(), five);
    EXPECT_EQ(data.WorkIntervalCount, data.IntervalCount);
}

TEST(AggregateIntervals, JoinsToQuarterAndFullHours) {
    MeasurementData data;
    // 5-minute records from 07:10 to 09:55.
    for (int k = 0; k < 34; ++k) {
        IntervalRecord& r = AddBaseInterval(data, IncMinute(At(1, 7, 10, 0), 5LL * k));
        CountInto(r, 1, VehicleClass::Pkw, 9, 1, 50 + k);
        r.GapClasses(k % 31).Dir1 = 1;
    }
    data.IntervalListTop = 4;

    AggregateIntervals(data, 3);
    EXPECT_EQ(data.IntervalListTop, 1);
    ASSERT_EQ(data.WorkIntervalCount, 12); // 07:00, 07:15, ..., 09:45
    EXPECT_EQ(data.WorkIntervals[1].StartTime, At(1, 7, 0, 0));
    EXPECT_EQ(data.WorkIntervals[1].Total().Dir1, 1); // only the 07:10 record
    EXPECT_EQ(ToMilliseconds(data.WorkIntervals[2].StartTime), ToMilliseconds(At(1, 7, 15, 0)));
    EXPECT_EQ(data.WorkIntervals[2].Total().Dir1, 3);
    EXPECT_EQ(data.WorkIntervals[2].PkwMaxSpeed().Dir1, 53); // records 07:15..07:25 only
    EXPECT_EQ(data.WorkIntervals[2].GapClasses(1).Dir1 + data.WorkIntervals[2].GapClasses(3).Dir1, 2);
    EXPECT_EQ(data.WorkIntervals[2].GapClasses(0).Dir1, 0);

    AggregateIntervals(data, 12);
    ASSERT_EQ(data.WorkIntervalCount, 3);
    EXPECT_EQ(ToMilliseconds(data.WorkIntervals[3].StartTime), ToMilliseconds(At(1, 9, 0, 0)));
    EXPECT_EQ(data.WorkIntervals[1].Total().Dir1, 10);
    EXPECT_EQ(data.WorkIntervals[2].Total().Dir1, 12);
    EXPECT_EQ(data.WorkIntervals[3].Total().Dir1, 12);
    EXPECT_EQ(data.WorkIntervals[2].PkwSpeedClasses(9).Dir1, 12);
    EXPECT_EQ(data.WorkIntervals[3].PkwMaxSpeed().Dir1, 50 + 33);

    AggregateIntervals(data, 6);
    EXPECT_EQ(data.WorkIntervalCount, 6);
    EXPECT_EQ(ToMilliseconds(data.WorkIntervals[6].StartTime), ToMilliseconds(At(1, 9, 30, 0)));

    // Factor 1 after 12 restores the 5-minute records exactly.
    AggregateIntervals(data, 12);
    AggregateIntervals(data, 1);
    ASSERT_EQ(data.WorkIntervalCount, 34);
    EXPECT_EQ(std::memcmp(data.WorkIntervals.data(), data.Intervals.data(), 34 * sizeof(IntervalRecord)), 0);

    EXPECT_THROW(AggregateIntervals(data, 0), CoreError);
    EXPECT_THROW(AggregateIntervals(data, 5), CoreError);
}

TEST(AggregateIntervals, MeanSpeedHeavyShareAndGaps) {
    MeasurementData data;
    IntervalRecord& a = AddBaseInterval(data, At(1, 7, 0, 0));
    a.Total() = {3, 1};
    a.MeanSpeed() = {50, 50};
    IntervalRecord& b = AddBaseInterval(data, At(1, 7, 5, 0));
    b.Total() = {1, 1};
    b.MeanSpeed() = {61, 51};
    b.LkwCount() = {1, 0};
    b.HeavyTotal() = {1, 0};
    AddBaseInterval(data, At(1, 7, 10, 0)).Total() = {0, 0};
    // The next hour has no records at all; its neighbour's records come after that gap.
    IntervalRecord& late = AddBaseInterval(data, At(1, 9, 5, 0));
    late.Total() = {5, 0};
    late.HeavyTotal() = {3, 0};
    late.MeanSpeed() = {40, 0};

    AggregateIntervals(data, 3);
    ASSERT_EQ(data.WorkIntervalCount, 9); // 07:00 .. 09:00, empty quarters in between
    const IntervalRecord& j = data.WorkIntervals[1];
    EXPECT_EQ(j.MeanSpeed().Dir1, 53); // 211 / 4 = 52.75
    EXPECT_EQ(j.MeanSpeed().Dir2, 50); // 50.5, ties to even
    EXPECT_EQ(j.HeavyShareFlag().Dir1, 0);
    EXPECT_EQ(j.HeavyTotal().Dir1, 1);
    for (int n = 2; n <= 8; ++n) {
        EXPECT_EQ(data.WorkIntervals[n].Total().Dir1, 0);
        EXPECT_EQ(data.WorkIntervals[n].MeanSpeed().Dir1, 0);
        EXPECT_EQ(data.WorkIntervals[n].HeavyShareFlag().Dir1, 0);
    }
    EXPECT_EQ(ToMilliseconds(data.WorkIntervals[9].StartTime), ToMilliseconds(At(1, 9, 0, 0)));
    EXPECT_EQ(data.WorkIntervals[9].MeanSpeed().Dir1, 40);
    EXPECT_EQ(data.WorkIntervals[9].HeavyShareFlag().Dir1, 1);

    MeasurementData empty;
    AggregateIntervals(empty, 12);
    EXPECT_EQ(empty.WorkIntervalCount, 0);
}

TEST(AggregateIntervals, LongRunsKeepWholeMinuteStarts) {
    // Adding 15 minutes step by step drifts by a millisecond within about a month.
    MeasurementData data;
    const double first = At(1, 0, 0, 0);
    for (int k = 0; k < 12000; ++k)
        AddBaseInterval(data, IncMinute(first, 5LL * k)).Total().Dir1 = 1;
    for (const int factor : {3, 12}) {
        AggregateIntervals(data, factor);
        ASSERT_EQ(data.WorkIntervalCount, 12000 / factor);
        for (int n = 1; n <= data.WorkIntervalCount; ++n) {
            const DateTimeParts p = DecodeDateTime(data.WorkIntervals[n].StartTime);
            ASSERT_EQ(p.Second * 1000 + p.Millisecond, 0) << n;
            ASSERT_EQ(data.WorkIntervals[n].Total().Dir1, factor) << n;
        }
    }
}

TEST(IntervalList, PageLinesAndWidths) {
    MeasurementData data;
    for (int k = 0; k < 5; ++k)
        AddWorkInterval(data, IncMinute(At(1, 7, 0, 0), 5LL * k));
    IntervalRecord& r = data.WorkIntervals[2];
    r.Total() = {12, 1234};
    r.PkwCount() = {9, 1000};
    r.LkwCount() = {2, 200};
    r.LzCount() = {1, 34};
    const LanguageTexts texts = EvalTexts();

    const auto page = RenderIntervalPage(data, 2, 1, texts, GermanLocaleFormat());
    ASSERT_EQ(page.size(), 4u);
    EXPECT_EQ(page[0], texts[82]);
    EXPECT_EQ(page[1], "");
    EXPECT_EQ(page[2],
              " 000002     01-03-2026  07:05:00        12      9     2     1      1234   1000   200    34");
    EXPECT_EQ(page[2].size(), 90u);
    EXPECT_EQ(page[3].substr(0, 32), " 000003     01-03-2026  07:10:00");
    EXPECT_EQ(IntervalLine(data, 1, EnglishLocaleFormat()).substr(12, 20), "01-03-2026  07:00:00");

    // Every line that fits is used: 25 lines of 16 px hold the heading, the empty line and 23
    // records (P = 22); 15-px lines give one more.
    EXPECT_EQ(LinesPerPage(400, 16), 22);
    EXPECT_EQ(LinesPerPage(400, 15), 23);
    EXPECT_EQ(LinesPerPage(48, 16), 0);
    EXPECT_EQ(LinesPerPage(40, 16), -1);
    EXPECT_EQ(LinesPerPage(400, 0), -1);
    // The end of the list shows a full page: with P = 22 the last page of 500 starts at 478.
    EXPECT_EQ(LastFullPageTop(500, 22), 478);
    EXPECT_EQ(LastFullPageTop(10, 22), 1);
    EXPECT_EQ(LastFullPageTop(23, 22), 1);
    EXPECT_EQ(LastFullPageTop(0, 22), 1);
    EXPECT_EQ(RenderIntervalPage(data, 4, 0, texts).size(), 3u);  // P = 0: one record
    EXPECT_EQ(RenderIntervalPage(data, 4, -1, texts).size(), 2u); // header only
    EXPECT_EQ(RenderIntervalPage(data, 4, 20, texts).size(), 4u); // ends at the last record
    EXPECT_EQ(RenderIntervalPage(data, 6, 20, texts).size(), 2u);
    EXPECT_EQ(RenderIntervalPage(MeasurementData{}, 1, 20, texts).size(), 2u);
}
