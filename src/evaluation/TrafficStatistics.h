#pragma once
// Traffic statistics of the working data: speed figures with their 95 % intervals per direction
// and class, days, average daily traffic, day profiles, hourly figures, peak hours and data
// quality. Single-vehicle data give every figure; interval data give what their counts and speed
// classes allow, the rest stays empty.

#include "base/ViewSelections.h"
#include "data/MeasurementData.h"
#include "settings/Settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The longest measurement (in calendar days) the statistics accept.
inline constexpr int MaxStatisticsDays = 3660;

struct StatisticsSettings {
    LengthThresholds Lengths;
    int Limit = 50;                // km/h
    std::vector<int> Thresholds;   // empty: limit, limit + 10, limit + 20
    double FreeFlowGapSeconds = 5; // a vehicle this long after its predecessor drives freely
    int LowerPercentile = 15;
    int UpperPercentile = 85;
    // Only vehicles (and 5-minute intervals) at or after From and before To count; none: all.
    std::optional<double> From;
    std::optional<double> To;
};

// The thresholds in use: the given ones sorted without duplicates, or limit, +10, +20.
std::vector<int> EffectiveThresholds(const StatisticsSettings& settings);

// The time span of the displayed intervals, [first start, end of the last), when a range has cut
// them shorter than the 5-minute intervals; none when they show everything (or are to be rebuilt).
std::optional<std::pair<double, double>> RangeTimeSpan(const MeasurementData& data, int intervalFactor);

// The statistics settings of a front's state: lengths, free-flow gap and thresholds from the
// settings, the chosen speed limit (shown or not) and percentiles, and the range's time span.
StatisticsSettings StatisticsSettingsOf(const Settings& settings, const MeasurementData& data,
                                        const ViewSelections& view);

enum class StatisticsClass { All = 0, Pkw = 1, Lkw = 2, Lz = 3 };
inline constexpr int StatisticsClassCount = 4;
// Direction groups in output order: direction 1, direction 2, both (index 0, 1, 2).
inline constexpr int DirectionGroups = 3;

struct Interval95 {
    double Lower = 0;
    double Upper = 0;
};

struct PaceBand {
    int From = 0; // km/h; the band is From .. From + 9
    long long Count = 0;
    double Share = 0;
};

struct ThresholdShare {
    int Threshold = 0;
    long long Count = 0;
    std::optional<double> Share;
    std::optional<Interval95> Interval;
};

struct FreeFlowFigures {
    long long Count = 0;
    std::optional<double> V85;
    std::optional<Interval95> V85Interval;
    std::optional<double> ShareAboveLimit;
};

struct SpeedGroupFigures {
    int DirectionGroup = 0; // 0 direction 1, 1 direction 2, 2 both
    StatisticsClass Class = StatisticsClass::All;
    std::optional<long long> Count; // none: imported data do not hold this class
    std::optional<double> Mean;
    std::optional<double> StandardDeviation;
    std::optional<double> V15, V50, V85, V95, VLower, VUpper;
    std::optional<Interval95> V50Interval, V85Interval;
    std::optional<PaceBand> Pace;
    std::optional<std::vector<ThresholdShare>> Above; // none for interval data
    std::optional<FreeFlowFigures> FreeFlow;          // none for interval data
};

struct DayFigures {
    double Date = 0; // 00:00 of the day
    int Weekday = 1; // Monday 1 .. Sunday 7
    bool Complete = false;
    long long Count[DirectionGroups] = {};
    long long Heavy = 0;
    std::optional<double> V85;
    std::optional<double> ShareAboveLimit;
    std::array<std::array<long long, DirectionGroups>, 24> HourCount{};
    std::array<long long, 24> HourHeavy{};
};

struct AdtFigures {
    std::optional<double> Mean[DirectionGroups];
    int Days = 0;
};

enum class DayGroup { Workdays = 0, Saturday = 1, Sunday = 2, Weekend = 3, All = 4 };
inline constexpr int DayGroupCount = 5;

struct ProfileHour {
    std::optional<double> Mean[DirectionGroups];
    std::optional<double> HeavyShare;
};

struct HourFigures {
    long long Count = 0;
    std::optional<double> V85;
    std::optional<double> ShareAboveLimit;
};

struct PeakHour {
    int DirectionGroup = 0;
    bool Afternoon = false;
    double Start = 0;
    long long Count = 0;
    double Factor = 0; // count / (4 * largest quarter-hour count)
};

struct DataGap {
    double From = 0;
    double To = 0;
    double Minutes = 0;
};

struct DataQuality {
    std::vector<DataGap> Gaps;
    std::optional<long long> Implausible; // none for interval data
    std::optional<double> ImplausibleShare;
    std::optional<long long> ShortHeadways;
    std::optional<long long> OutOfOrder;
};

struct TrafficStatistics {
    bool SingleVehicles = true;
    bool Imported = false;
    long long Vehicles = 0;
    long long WorkingRecords = 0; // working vehicles (counted or not), or intervals
    std::vector<int> Thresholds;
    int Limit = 50;
    double FreeFlowGapSeconds = 5;
    int LowerPercentile = 15;
    int UpperPercentile = 85;
    std::vector<SpeedGroupFigures> Groups; // directions 1, 2, both × all, PKW, LKW, LZ
    // Single-vehicle data: counted vehicles of all classes per whole km/h, per direction group.
    std::array<std::array<long long, 256>, DirectionGroups> SpeedCounts{};
    std::vector<DayFigures> Days;
    AdtFigures Adt[3]; // all, workdays, weekend
    std::array<std::array<ProfileHour, 24>, DayGroupCount> Profile{};
    std::array<HourFigures, 24> Hourly{};
    std::vector<PeakHour> PeakHours;
    DataQuality Quality;
};

// Computes every figure of the working data (vehicles of single-vehicle data, the 5-minute
// intervals otherwise). Throws CoreError (ProgramMessage::StatisticsSpanTooLong) for a measurement spanning
// more than MaxStatisticsDays days.
TrafficStatistics ComputeTrafficStatistics(const MeasurementData& data, const StatisticsSettings& settings);

// --- The order-statistic and share formulas, also used on their own ---

// Nearest rank ⌈n·p/100⌉ (1..n) for n ≥ 1.
long long NearestRank(long long n, int percent);
// Ranks of the 95 % interval of the p-th percentile: [max(1, ⌊nq − s⌋), min(n, ⌈nq + s⌉ + 1)].
std::pair<long long, long long> PercentileIntervalRanks(long long n, int percent);
// Wilson score interval (95 %) of k successes in n trials (n ≥ 1), limited to 0..1.
Interval95 WilsonInterval(long long k, long long n);
