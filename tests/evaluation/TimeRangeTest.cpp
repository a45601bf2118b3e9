#include "evaluation/TimeRange.h"

#include "base/CoreError.h"
#include "data/DateTime.h"
#include "support/TestTimes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// `count` consecutive 5-minute intervals from `start` in Intervals and WorkIntervals; each carries
// its record number in Total (direction 1) so that moved records can be recognised.
std::unique_ptr<MeasurementData> FiveMinuteData(double start, int count) {
    auto data = std::make_unique<MeasurementData>();
    data->Intervals.EnsureSize(count);
    for (int n = 1; n <= count; ++n) {
        IntervalRecord& r = data->Intervals[n];
        r.StartTime = IncMinute(start, 5LL * (n - 1));
        r.Total().Dir1 = n;
        r.Total().Dir2 = 2 * n;
        r.LzMaxSpeed().Dir2 = n % 200;
    }
    data->IntervalCount = count;
    data->DataMode = DataMode::Interval;
    CopyIntervalsToWork(*data);
    return data;
}

int ErrorNumberOf(auto&& action) {
    try {
        action();
    } catch (const CoreError& error) {
        return error.textNumber();
    }
    return 0;
}
} // namespace

TEST(TimeRange, RecordNumbersFromTheListAreClampedAgainstEachOther) {
    auto data = FiveMinuteData(At(2024, 3, 11, 0, 0), 300);
    data->IntervalListTop = 101;
    EXPECT_EQ(IntervalRecordAtLine(*data, 0), 101); // header
    EXPECT_EQ(IntervalRecordAtLine(*data, 1), 101); // empty line
    EXPECT_EQ(IntervalRecordAtLine(*data, 2), 101);
    EXPECT_EQ(IntervalRecordAtLine(*data, 11), 110); // the 10th data line
    data->IntervalListTop = 290;
    EXPECT_EQ(IntervalRecordAtLine(*data, 60), 300);

    const RangeSelection range{20, 200};
    EXPECT_EQ(TakeRangeStart(range, 110), (RangeSelection{110, 200}));
    EXPECT_EQ(TakeRangeStart(range, 250), (RangeSelection{200, 200}));
    EXPECT_EQ(TakeRangeStop(range, 110), (RangeSelection{20, 110}));
    EXPECT_EQ(TakeRangeStop(range, 5), (RangeSelection{20, 20})); // cursor above the start record

    // Numbers taken before the intervals were joined anew are brought back into the data.
    EXPECT_EQ(ClampRange({250, 400}, *data), (RangeSelection{250, 300}));
    EXPECT_EQ(ClampRange({400, 500}, *data), (RangeSelection{300, 300}));
    EXPECT_EQ(ClampRange({0, -3}, *data), (RangeSelection{1, 1}));
}

TEST(TimeRange, ButtonsShowWhetherThereIsSomethingToSetOrReset) {
    auto data = FiveMinuteData(At(2024, 3, 11, 0, 0), 600);
    // 5-minute data, no range: nothing to do.
    EXPECT_EQ(UpdateRangeButtons(*data, WholeRange(*data)), (RangeButtonStates{false, false}));
    EXPECT_EQ(UpdateRangeButtons(*data, {2, 600}), (RangeButtonStates{true, true}));
    EXPECT_EQ(UpdateRangeButtons(*data, {1, 599}), (RangeButtonStates{true, true}));
    // 15-minute data with 200 records: the whole run, but fewer records than the 5-minute base.
    data->WorkIntervalCount = 200;
    EXPECT_EQ(WholeRange(*data), (RangeSelection{1, 200}));
    EXPECT_EQ(UpdateRangeButtons(*data, WholeRange(*data)), (RangeButtonStates{false, true}));
}

TEST(TimeRange, SettingARangeMovesTheRunToTheFront) {
    auto data = FiveMinuteData(At(2024, 3, 11, 7, 0), 300);
    data->IntervalListTop = 140;
    const IntervalRecord first = data->WorkIntervals[25];

    EXPECT_EQ(ApplyRange(*data, {25, 120}), (RangeSelection{1, 96}));
    EXPECT_EQ(data->WorkIntervalCount, 96);
    EXPECT_EQ(data->WorkIntervals[1].StartTime, first.StartTime);
    EXPECT_EQ(std::memcmp(&data->WorkIntervals[1], &first, sizeof(IntervalRecord)), 0);
    EXPECT_EQ(data->WorkIntervals[96].Total().Dir1, 120);
    EXPECT_EQ(data->WorkIntervals[96].LzMaxSpeed().Dir2, 120);
    EXPECT_EQ(data->IntervalListTop, 1);
    EXPECT_EQ(data->IntervalCount, 300); // the base stays
    EXPECT_EQ(data->Intervals[1].Total().Dir1, 1);

    // A second range counts from 1 again; a stale stop beyond the data is cut to the data.
    EXPECT_EQ(ApplyRange(*data, {90, 500}), (RangeSelection{1, 7}));
    EXPECT_EQ(data->WorkIntervals[1].Total().Dir1, 114);
    EXPECT_EQ(data->WorkIntervals[7].Total().Dir1, 120);

    // The command-line form refuses what is not a run of the displayed records.
    for (const auto& range : {std::pair{0, 3}, std::pair{3, 2}, std::pair{1, 8}, std::pair{8, 8}})
        EXPECT_EQ(ErrorNumberOf([&] { SetIntervalRange(*data, range.first, range.second); }), 440)
            << range.first << ":" << range.second;
    EXPECT_EQ(data->WorkIntervalCount, 7);
    SetIntervalRange(*data, 7, 7);
    EXPECT_EQ(data->WorkIntervalCount, 1);
    EXPECT_EQ(data->WorkIntervals[1].Total().Dir1, 120);
}

TEST(TimeRange, ResetJoinsTheWholeMeasurementAgain) {
    auto data = FiveMinuteData(At(2024, 3, 11, 7, 0), 36); // 07:00 .. 09:55
    SetIntervalRange(*data, 5, 10);
    const RangeSelection whole = ResetRange(*data, 6);
    EXPECT_EQ(data->WorkIntervalCount, 6); // six half hours
    EXPECT_EQ(whole, (RangeSelection{1, 6}));
    EXPECT_EQ(data->WorkIntervals[1].StartTime, At(2024, 3, 11, 7, 0));
    EXPECT_EQ(data->WorkIntervals[1].Total().Dir1, 1 + 2 + 3 + 4 + 5 + 6);
    EXPECT_EQ(ResetRange(*data, 1), (RangeSelection{1, 36}));
}

TEST(TimeRange, CalendarDatesCarryAGuardBeforeMidnight) {
    const double day = At(2024, 3, 11, 0, 0);
    EXPECT_EQ(GuardedDate(At(2024, 3, 11, 23, 59, 50), CalendarLimitGuard), day);
    EXPECT_EQ(GuardedDate(At(2024, 3, 11, 23, 59, 52), CalendarLimitGuard), day + 1);
    EXPECT_EQ(GuardedDate(At(2024, 3, 11, 23, 59, 16), CalendarMatchGuard), day);
    EXPECT_EQ(GuardedDate(At(2024, 3, 11, 23, 59, 17), CalendarMatchGuard), day + 1);
    // A start computed by minute additions that lies just below midnight belongs to the next day.
    EXPECT_EQ(GuardedDate(IncMinute(day, 1440) - 1e-9, CalendarLimitGuard), day + 1);

    // From 2024-03-10 22:00 every 5 minutes for three days.
    auto data = FiveMinuteData(At(2024, 3, 10, 22, 0), 24 + 2 * 288 + 12);
    const double first = At(2024, 3, 10, 0, 0);
    CalendarSetting s = CalendarSettingFor(*data, 100, first - 30);
    EXPECT_EQ(s.MinimumDate, first);
    EXPECT_EQ(s.Date, first);
    EXPECT_EQ(s.MaximumDate, first + 1); // record 100 is on 11 March
    EXPECT_EQ(s.SelectionEnd, first + 1);
    EXPECT_EQ(s.Order, CalendarSetOrder::MaximumFirst); // the data lie after the calendar's date
    EXPECT_EQ(CalendarSettingFor(*data, 100, first).Order, CalendarSetOrder::MaximumFirst);
    EXPECT_EQ(CalendarSettingFor(*data, 100, first + 0.5).Order, CalendarSetOrder::MaximumFirst);
    EXPECT_EQ(CalendarSettingFor(*data, 100, first + 1).Order, CalendarSetOrder::MinimumFirst);
    EXPECT_EQ(CalendarSettingFor(*data, 99999, first).MaximumDate, first + 3);
}

TEST(TimeRange, CalendarSelectionChoosesWholeDays) {
    auto data = FiveMinuteData(At(2024, 3, 10, 22, 0), 24 + 2 * 288 + 12); // to 13 March 00:55
    const double day10 = At(2024, 3, 10, 0, 0);
    const RangeSelection whole = WholeRange(*data);

    // Two days: from the first interval of the first day to the last interval of the second.
    EXPECT_EQ(MatchCalendarSelection(*data, whole, day10 + 1, day10 + 2), (RangeSelection{25, 24 + 2 * 288}));
    EXPECT_EQ(MatchCalendarSelection(*data, whole, day10, day10 + 1), (RangeSelection{1, 24 + 288}));
    EXPECT_EQ(MatchCalendarSelection(*data, whole, day10 + 1, day10 + 1), (RangeSelection{25, 24 + 288}));

    // A date without intervals keeps RangeStart; the stop walks from there to the end date.
    EXPECT_EQ(MatchCalendarSelection(*data, {30, 40}, day10 - 5, day10 + 1), (RangeSelection{30, 24 + 288}));
    // An end date before the start record keeps a run of that record at least.
    EXPECT_EQ(MatchCalendarSelection(*data, {400, 500}, day10 - 5, day10 - 4), (RangeSelection{400, 500}));

    auto empty = FiveMinuteData(day10, 0);
    EXPECT_EQ(MatchCalendarSelection(*empty, {1, 0}, day10, day10).RangeStop, 0);
    EXPECT_EQ(ApplyRange(*empty, {1, 0}), (RangeSelection{1, 0}));
    EXPECT_EQ(empty->WorkIntervalCount, 0);
}
