#pragma once
// The time range: narrows the displayed intervals (WorkIntervals) to a run of consecutive records,
// chosen by record numbers from the interval list or by dates from a month calendar. The 5-minute
// base (Intervals) is never touched, so the whole measurement can always be joined again.
// TimeRangeDialog is the dialog; `korvelan2-cli --range` calls SetIntervalRange directly.

#include "data/MeasurementData.h"

// The run chosen in the dialog; it takes effect only with "Bereich setzen".
struct RangeSelection {
    int RangeStart = 1;
    int RangeStop = 0;
    friend bool operator==(const RangeSelection&, const RangeSelection&) = default;
};

// The whole displayed data: 1..WorkIntervalCount.
RangeSelection WholeRange(const MeasurementData& data);

// The run moved into 1..WorkIntervalCount with RangeStart <= RangeStop. The dialog is not modal,
// so the intervals may have been joined anew since the numbers were taken.
RangeSelection ClampRange(RangeSelection range, const MeasurementData& data);

// Record number of the interval-list line that holds the cursor (0-based memo line: 0 header,
// 1 empty line, 2 the first data line showing IntervalListTop). Header and empty line give
// IntervalListTop; the result lies within 1..WorkIntervalCount (1 when there are no records).
int IntervalRecordAtLine(const MeasurementData& data, int cursorLine);

// `StartLabelClick`: RangeStart = record, but not after RangeStop.
RangeSelection TakeRangeStart(RangeSelection range, int record);
// `StopLabelClick`: RangeStop = record, but not before RangeStart.
RangeSelection TakeRangeStop(RangeSelection range, int record);

// Guards added to an interval's start before its whole day is taken: an interval that starts a few
// seconds before midnight (from repeated minute additions) still counts for the next day.
inline constexpr double CalendarLimitGuard = 0.0001; // 8.64 s, when the calendar's limits are set
inline constexpr double CalendarMatchGuard = 0.0005; // 43.2 s, when a calendar selection is matched

// The whole day (a day count without fraction) of a time after adding a guard.
double GuardedDate(double time, double guard);

// The order in which the calendar's limits are set, so that its current date never lies outside
// them while they change.
enum class CalendarSetOrder {
    MaximumFirst, // maximum, then the date, then the minimum
    MinimumFirst  // minimum, then the date, then the maximum
};

// What "setting the calendar to the data" puts into the calendar; all values are whole days.
struct CalendarSetting {
    double MinimumDate = 0; // date of WorkIntervals[1]
    double Date = 0;        // the same date
    double MaximumDate = 0; // date of WorkIntervals[RangeStop]
    double SelectionEnd = 0;
    CalendarSetOrder Order = CalendarSetOrder::MinimumFirst;
};

// The calendar setting for the data and the run's stop; currentDate is the calendar's current date
// (a day count). RangeStop is clamped to the data; without displayed intervals every date is
// currentDate's day.
CalendarSetting CalendarSettingFor(const MeasurementData& data, int rangeStop, double currentDate);

// `CalendarClick`: the calendar's selection runs from date to endDate (whole days). RangeStart
// becomes the first interval on date (it stays when there is none); RangeStop the last interval
// from RangeStart on whose date is not after endDate. The result is clamped to the data.
RangeSelection MatchCalendarSelection(const MeasurementData& data, RangeSelection range, double date,
                                      double endDate);

struct RangeButtonStates {
    bool applyButton = false;
    bool Reset = false;
    friend bool operator==(const RangeButtonStates&, const RangeButtonStates&) = default;
};

// `UpdateRangeButtons`: "Bereich setzen" when the run is narrower than the displayed data;
// "Bereich zurücksetzen" then too, and when the displayed data are narrower than the 5-minute base.
RangeButtonStates UpdateRangeButtons(const MeasurementData& data, const RangeSelection& range);

// "Bereich setzen": WorkIntervals[first..last] become WorkIntervals[1..n] (in place) and the
// list returns to its first record. Throws CoreError 440 unless 1 <= first <= last <= WorkIntervalCount.
void SetIntervalRange(MeasurementData& data, int first, int last);

// `ApplyRange` without the list and the calendar: narrows to the (clamped) run and returns the new
// whole run 1..WorkIntervalCount. The caller then shows the interval list and sets the calendar.
RangeSelection ApplyRange(MeasurementData& data, RangeSelection range);

// `ResetRange` without the list and the calendar: joins the whole measurement again with the
// interval factor of the main window's selection and returns the whole run.
RangeSelection ResetRange(MeasurementData& data, int intervalFactor);
