#include "evaluation/IntervalList.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"
#include "evaluation/VehicleList.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
constexpr double MsPerDay = 86400000.0;
constexpr long long MsPerMinute = 60000;

// Whether t lies at or after a boundary when both are taken at whole milliseconds: a time computed
// from card counters may lie a unit in the last place below the boundary it means. Only times
// within two milliseconds of the boundary need the exact (and slower) rounding.
bool AtOrAfter(double t, double boundary, long long boundaryMs) {
    if (t >= boundary)
        return true;
    if (t < boundary - 2.0 / MsPerDay)
        return false;
    return ToMilliseconds(t) >= boundaryMs;
}

// The start of the block of `minutes` minutes within the hour that holds t.
double BlockStartOf(double t, int minutes) {
    const DateTimeParts p = DecodeDateTime(t);
    return DateOf(t) + *TryEncodeTime(p.Hour, p.Minute / minutes * minutes, 0);
}

// Number of blocks of `minutes` from `start` up to the one that holds `last`.
long long BlocksSpanned(double start, double last, int minutes) {
    const long long span = ToMilliseconds(last) - ToMilliseconds(start);
    return span <= 0 ? 1 : span / (minutes * MsPerMinute) + 1;
}

[[noreturn]] void RefuseSpan(long long blocks) {
    throw CoreError(ProgramMessage::IntervalSpanTooLong, std::to_string(blocks));
}

// Spare is cleared along with the counts: it is 0 anyway, and a record opened here is then written
// completely, so fresh records need no zero-fill before.
void ClearSlots(IntervalRecord& record) {
    std::memset(static_cast<void*>(&record.Slots[0]), 0, sizeof record.Slots);
}

void CountVehicle(IntervalRecord& interval, const VehicleRecord& vehicle, int direction, int gapClass,
                  const LengthThresholds& thresholds) {
    interval.Total()[direction] += 1;
    interval.GapClasses(gapClass)[direction] += 1;
    const VehicleClass c = ClassOfLength(vehicle.Length, thresholds);
    interval.ClassCount(c)[direction] += 1;
    interval.SpeedClasses(c, SpeedClass(vehicle.Speed))[direction] += 1;
    std::int32_t& maxSpeed = interval.MaxSpeed(c)[direction];
    maxSpeed = std::max<std::int32_t>(maxSpeed, vehicle.Speed);
}

// The start given to the one empty interval of an empty working set: the 5-minute start of the
// measurement's first vehicle, so that the list still shows when the measurement began.
double EmptyWorkingSetStart(const MeasurementData& data) {
    if (data.LoadedCount >= 1 && data.Vehicles.allocated() >= 1)
        return BlockStartOf(data.Vehicles[1].Time, 5);
    return 0.0;
}

// Adds one 5-minute record into a joined one. Counts are summed (wrapping rather than overflowing
// on nonsense input); maximum speeds and the mean speed are handled by the caller's fix-up.
void AddSlots(IntervalRecord& into, const IntervalRecord& from) {
    auto* a = reinterpret_cast<std::uint32_t*>(&into.Slots[0]);
    const auto* b = reinterpret_cast<const std::uint32_t*>(&from.Slots[0]);
    for (int k = 0; k < 2 * Slot::Cleared; ++k)
        a[k] += b[k];
}

struct JoinState {
    long long MeanSum[3] = {}; // per direction 1, 2: sum of MeanSpeed * Total
};

void JoinInto(IntervalRecord& into, const IntervalRecord& from, JoinState& state) {
    std::int32_t maxSpeeds[3][3];
    for (int d = 1; d <= 2; ++d)
        for (int c = 0; c < 3; ++c)
            maxSpeeds[d][c] = std::max(into.MaxSpeed(static_cast<VehicleClass>(c))[d],
                                       from.MaxSpeed(static_cast<VehicleClass>(c))[d]);
    AddSlots(into, from);
    for (int d = 1; d <= 2; ++d) {
        state.MeanSum[d] += static_cast<long long>(from.MeanSpeed()[d]) * from.Total()[d];
        for (int c = 0; c < 3; ++c)
            into.MaxSpeed(static_cast<VehicleClass>(c))[d] = maxSpeeds[d][c];
    }
}

void FinishJoined(IntervalRecord& joined, JoinState& state) {
    for (int d = 1; d <= 2; ++d) {
        const std::int32_t total = joined.Total()[d];
        joined.HeavyShareFlag()[d] = HeavyShareFlagOf(joined.HeavyTotal()[d], total);
        joined.MeanSpeed()[d] = total <= 0 ? 0
                                           : static_cast<std::int32_t>(RoundHalfEven(
                                                 static_cast<long double>(state.MeanSum[d]) / total));
    }
    state = JoinState{};
}

void JoinIntervals(MeasurementData& data, int factor) {
    const int minutes = 5 * factor;
    // Read only: a write access would give the five-minute records a copy of their own.
    const auto& intervals = std::as_const(data).Intervals;
    const double start = BlockStartOf(intervals[1].StartTime, minutes);
    double latest = intervals[1].StartTime;
    for (int j = 2; j <= data.IntervalCount; ++j)
        latest = std::max(latest, intervals[j].StartTime);
    const long long needed = BlocksSpanned(start, latest, minutes);
    if (needed > MaxIntervals)
        RefuseSpan(needed);
    data.WorkIntervals.DropShared(); // every joined record is written anew
    data.WorkIntervals.EnsureSize(static_cast<int>(needed));

    int i = 1;
    data.WorkIntervals[1].StartTime = start;
    ClearWorkInterval(data, 1);
    // Ends are computed from the first start: adding the same minutes again and again drifts by
    // about a millisecond every few thousand steps, and a joined interval would then begin at
    // 12:59:59.999 instead of 13:00.
    double end = IncMinute(start, minutes);
    long long endMs = ToMilliseconds(end);
    JoinState state;
    for (int j = 1; j <= data.IntervalCount; ++j) {
        const IntervalRecord& five = intervals[j];
        // A record at the end of the joined interval opens the next one; after a gap in the
        // records the joined intervals in between stay empty.
        while (AtOrAfter(five.StartTime, end, endMs)) {
            FinishJoined(data.WorkIntervals[i], state);
            ++i;
            data.WorkIntervals[i].StartTime = end;
            ClearWorkInterval(data, i);
            end = IncMinute(start, static_cast<long long>(minutes) * i);
            endMs = ToMilliseconds(end);
        }
        JoinInto(data.WorkIntervals[i], five, state);
    }
    FinishJoined(data.WorkIntervals[i], state);
    data.WorkIntervalCount = i;
}
} // namespace

void ClearBaseInterval(MeasurementData& data, int n) {
    data.Intervals.EnsureSize(n);
    ClearSlots(data.Intervals[n]);
}

void ClearWorkInterval(MeasurementData& data, int n) {
    data.WorkIntervals.EnsureSize(n);
    ClearSlots(data.WorkIntervals[n]);
}

void FinishFiveMinuteInterval(MeasurementData& data, int n) {
    IntervalRecord& r = data.Intervals[n];
    for (int d = 1; d <= 2; ++d) {
        r.HeavyTotal()[d] = r.LkwCount()[d] + r.LzCount()[d];
        r.HeavyShareFlag()[d] = HeavyShareFlagOf(r.HeavyTotal()[d], r.Total()[d]);
    }
}

void BuildFiveMinuteIntervals(MeasurementData& data, const LengthThresholds& thresholds) {
    const int count = std::max(0, data.WorkVehicleCount);
    const auto& vehicles = data.WorkVehicles;
    const double start = count > 0 ? BlockStartOf(vehicles[1].Time, 5) : EmptyWorkingSetStart(data);

    // Check the span before anything is written, so that a refused measurement stays as it was.
    // The walk opens intervals up to the latest time, wherever that lies.
    double latest = start;
    for (int j = 1; j <= count; ++j)
        latest = std::max(latest, vehicles[j].Time);
    const long long needed = BlocksSpanned(start, latest, 5);
    if (needed > MaxIntervals)
        RefuseSpan(needed);
    // The working intervals are taken from the new ones below; sharing the old ones would only
    // make the first write copy them.
    data.WorkIntervals.DropShared();
    data.Intervals.EnsureSize(static_cast<int>(needed));

    int i = 1;
    data.Intervals[1].StartTime = start;
    ClearBaseInterval(data, 1);
    double end = IncMinute(start, 5);
    long long endMs = ToMilliseconds(end);
    for (int j = 1; j <= count; ++j) {
        const VehicleRecord& vehicle = vehicles[j];
        while (AtOrAfter(vehicle.Time, end, endMs)) {
            FinishFiveMinuteInterval(data, i);
            // Every start is computed from the first one, so that rounding does not add up.
            data.Intervals.EnsureSize(i + 1);
            data.Intervals[i + 1].StartTime = IncMinute(start, 5LL * i);
            ++i;
            ClearBaseInterval(data, i);
            end = IncMinute(data.Intervals[i].StartTime, 5);
            endMs = ToMilliseconds(end);
        }
        if (!IsCounted(vehicle.Length, thresholds))
            continue;
        const int direction = DirectionIndex(vehicle.Direction);
        if (direction == 0)
            continue; // a record of no known direction is counted nowhere
        const int gap = j == 1 ? FirstVehicleGapClass : GapClass(vehicle.Time - vehicles[j - 1].Time);
        CountVehicle(data.Intervals[i], vehicle, direction, gap, thresholds);
    }
    FinishFiveMinuteInterval(data, i);
    data.IntervalCount = i;

    CopyIntervalsToWork(data);
    data.IntervalListTop = 1;
    data.IntervalRebuildPending = 0;
}

void AggregateIntervals(MeasurementData& data, int factor) {
    if (factor < 1 || factor > 12 || 60 % (5 * factor) != 0)
        throw CoreError(ProgramMessage::IntervalFactorInvalid, std::to_string(factor));
    if (factor == 1)
        CopyIntervalsToWork(data);
    else if (data.IntervalCount <= 0)
        data.WorkIntervalCount = 0;
    else
        JoinIntervals(data, factor);
    data.IntervalListTop = 1;
}

int LinesPerPage(int textHeightPixels, int lineHeightPixels) {
    if (lineHeightPixels <= 0)
        return -1;
    // Two lines go to the heading and the empty line below it; a page of P shows P + 1 records.
    return textHeightPixels / lineHeightPixels - 3;
}

int LastFullPageTop(int recordCount, int linesPerPage) {
    return std::max(1, recordCount - std::max(0, linesPerPage));
}

std::string IntervalLine(const MeasurementData& data, int n, const LocaleFormat& locale) {
    const IntervalRecord& r = data.WorkIntervals[n];
    std::string line = Format(" %.6d     ", {n}, locale);
    line += FormatDateTime("dd-mm-yyyy\"  \"hh:mm:ss", r.StartTime, locale);
    for (int d = 1; d <= 2; ++d)
        line += Format("      %4d   %4d   %3d   %3d",
                       {r.Total()[d], r.PkwCount()[d], r.LkwCount()[d], r.LzCount()[d]}, locale);
    return line;
}

std::vector<std::string> RenderIntervalPage(const MeasurementData& data, int first, int linesPerPage,
                                            const LanguageTexts& texts, const LocaleFormat& locale) {
    return RenderListPage(texts[Text::IntervalListHeader], first, linesPerPage, data.WorkIntervalCount,
                          [&](int n) { return IntervalLine(data, n, locale); });
}
