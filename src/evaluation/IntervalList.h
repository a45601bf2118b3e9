#pragma once
// Interval records: 5-minute intervals counted from the working vehicles, their joining into
// 15-, 30- and 60-minute intervals, and the pages of the interval list.

#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"

#include <string>
#include <vector>

class LanguageTexts;

// Slots 0..127 of both directions of Intervals[n] / WorkIntervals[n] become 0; StartTime and Spare
// stay. Makes record n addressable first (throws CoreError beyond MaxIntervals).
void ClearBaseInterval(MeasurementData& data, int n);
void ClearWorkInterval(MeasurementData& data, int n);

// Completes Intervals[n]: HeavyTotal and HeavyShareFlag of both directions.
void FinishFiveMinuteInterval(MeasurementData& data, int n);

// Counts WorkVehicles[1..WorkVehicleCount] into consecutive 5-minute Intervals, copies them to
// WorkIntervals, sets IntervalListTop = 1 and clears IntervalRebuildPending. An empty working set
// gives one empty interval. A working set spanning more than MaxIntervals intervals is refused
// with CoreError (ProgramMessage::IntervalSpanTooLong) before anything is changed. Showing the list is the
// caller's.
void BuildFiveMinuteIntervals(MeasurementData& data, const LengthThresholds& thresholds);

// Joins Intervals into WorkIntervals of factor (1, 3, 6 or 12) 5-minute records each; sets
// IntervalListTop = 1. Refreshing the view is the caller's.
void AggregateIntervals(MeasurementData& data, int factor);

// The number P of a list page, which shows records first..first + P below the heading and an
// empty line, for a text area of the given height in pixels whose lines are `lineHeightPixels`
// high: every line that fits is used. P is 0 or negative when not even one record fits.
int LinesPerPage(int textHeightPixels, int lineHeightPixels);

// The first record of the last page that is full: the list's end shows a whole page (1 when
// every record fits on one page).
int LastFullPageTop(int recordCount, int linesPerPage);

// One line of the interval list for WorkIntervals[n].
std::string IntervalLine(const MeasurementData& data, int n,
                         const LocaleFormat& locale = SystemLocaleFormat());

// The interval list page from record `first`: text 82, an empty line, then records
// first..min(first + linesPerPage, WorkIntervalCount).
std::vector<std::string> RenderIntervalPage(const MeasurementData& data, int first, int linesPerPage,
                                            const LanguageTexts& texts,
                                            const LocaleFormat& locale = SystemLocaleFormat());
