#include "evaluation/TimeRange.h"

#include "base/CoreError.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"
#include "evaluation/IntervalList.h"

#include <algorithm>
#include <cstring>

namespace {
// First data line of the list: the header and an empty line come before it.
constexpr int FirstDataLine = 2;

double CalendarDateOf(const MeasurementData& data, int record, double guard) {
    return GuardedDate(data.WorkIntervals[record].StartTime, guard);
}
} // namespace

RangeSelection WholeRange(const MeasurementData& data) {
    return {1, data.WorkIntervalCount};
}

RangeSelection ClampRange(RangeSelection range, const MeasurementData& data) {
    const int last = std::max(1, data.WorkIntervalCount);
    range.RangeStart = std::clamp(range.RangeStart, 1, last);
    range.RangeStop = std::clamp(range.RangeStop, range.RangeStart, last);
    if (data.WorkIntervalCount <= 0)
        range.RangeStop = 0;
    return range;
}

int IntervalRecordAtLine(const MeasurementData& data, int cursorLine) {
    const int record = data.IntervalListTop + std::max(0, cursorLine - FirstDataLine);
    return std::clamp(record, 1, std::max(1, data.WorkIntervalCount));
}

RangeSelection TakeRangeStart(RangeSelection range, int record) {
    range.RangeStart = std::min(record, range.RangeStop);
    return range;
}

RangeSelection TakeRangeStop(RangeSelection range, int record) {
    range.RangeStop = std::max(record, range.RangeStart);
    return range;
}

double GuardedDate(double time, double guard) {
    return DateOf(time + guard);
}

CalendarSetting CalendarSettingFor(const MeasurementData& data, int rangeStop, double currentDate) {
    CalendarSetting setting;
    if (data.WorkIntervalCount <= 0) {
        // Nothing to show: the calendar keeps its date.
        setting.MinimumDate = setting.Date = setting.MaximumDate = setting.SelectionEnd = DateOf(currentDate);
        return setting;
    }
    const int stop = std::clamp(rangeStop, 1, data.WorkIntervalCount);
    setting.MinimumDate = CalendarDateOf(data, 1, CalendarLimitGuard);
    setting.Date = setting.MinimumDate;
    setting.MaximumDate = CalendarDateOf(data, stop, CalendarLimitGuard);
    setting.SelectionEnd = setting.MaximumDate;
    setting.Order = setting.MinimumDate >= DateOf(currentDate) ? CalendarSetOrder::MaximumFirst
                                                               : CalendarSetOrder::MinimumFirst;
    return setting;
}

RangeSelection MatchCalendarSelection(const MeasurementData& data, RangeSelection range, double date,
                                      double endDate) {
    range = ClampRange(range, data);
    const int count = data.WorkIntervalCount;
    if (count <= 0)
        return range;
    for (int n = 1; n <= count; ++n) {
        if (CalendarDateOf(data, n, CalendarMatchGuard) == date) {
            range.RangeStart = n;
            break;
        }
    }
    for (int n = range.RangeStart; n <= count && CalendarDateOf(data, n, CalendarMatchGuard) <= endDate; ++n)
        range.RangeStop = n;
    // A selection that ends before the start record keeps a run of at least that record.
    range.RangeStop = std::max(range.RangeStop, range.RangeStart);
    return range;
}

RangeButtonStates UpdateRangeButtons(const MeasurementData& data, const RangeSelection& range) {
    RangeButtonStates states;
    states.applyButton = range.RangeStart > 1 || range.RangeStop < data.WorkIntervalCount;
    states.Reset = states.applyButton || data.WorkIntervalCount < data.IntervalCount;
    return states;
}

void SetIntervalRange(MeasurementData& data, int first, int last) {
    if (first < 1 || last < first || last > data.WorkIntervalCount)
        throw CoreError(ProgramMessage::InvalidRange, IntToStr(first) + ":" + IntToStr(last) + " (1.." +
                                                          IntToStr(data.WorkIntervalCount) + ")");
    const int n = last - first + 1;
    if (first > 1)
        std::memmove(static_cast<void*>(&data.WorkIntervals[1]), &data.WorkIntervals[first],
                     static_cast<std::size_t>(n) * sizeof(IntervalRecord));
    data.WorkIntervalCount = n;
    // The list must not stay on records that no longer exist.
    data.IntervalListTop = 1;
}

RangeSelection ApplyRange(MeasurementData& data, RangeSelection range) {
    if (data.WorkIntervalCount <= 0)
        return WholeRange(data);
    range = ClampRange(range, data);
    SetIntervalRange(data, range.RangeStart, range.RangeStop);
    return WholeRange(data);
}

RangeSelection ResetRange(MeasurementData& data, int intervalFactor) {
    AggregateIntervals(data, intervalFactor);
    return WholeRange(data);
}
