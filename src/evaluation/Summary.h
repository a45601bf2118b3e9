#pragma once
// The summary tables of the displayed intervals: overview (kind 1) and speed table (kind 2);
// kinds 3 (day profile) and 4 (key figures) come from the traffic statistics.

#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"
#include "evaluation/TrafficStatistics.h"

#include <cstdint>
#include <string>
#include <vector>

class LanguageTexts;

// Class groups: all vehicles, PKW, LKW, LZ. Direction groups: direction 1, direction 2, both.
inline constexpr int ClassGroupCount = 4;
inline constexpr int DirectionGroupCount = 3;

// Sums of up to 60000 intervals reach beyond 32 bits, so tables hold 64-bit counts.
struct CountTable {
    long long Count[ClassGroupCount][DirectionGroupCount] = {};
};

struct SpeedClassTable {
    long long Count[ClassGroupCount][DirectionGroupCount][SpeedClassCount + 1] = {}; // classes 1..29
};

// Counts of WorkIntervals[first..last] (an empty or out-of-data range gives zeros).
CountTable SumCounts(const MeasurementData& data, int first, int last);

// Speed-class counts of WorkIntervals[1..WorkIntervalCount].
SpeedClassTable SumSpeedClasses(const MeasurementData& data);

// The number of vehicles in speed classes 1..29 of one cell.
std::int64_t ClassifiedCount(const long long (&classes)[SpeedClassCount + 1]);

// The p-th percentile speed of one cell over its classified vehicles, rounded to one decimal; 0 when
// the cell has no classified vehicle.
float PercentileSpeed(const long long (&classes)[SpeedClassCount + 1], int p);

// The row of the p-th percentile speed ("V15" ...), 120 characters.
std::string PercentileRow(const SpeedClassTable& speeds, int p,
                          const LocaleFormat& locale = SystemLocaleFormat());

// The summary text of view.SummaryKind (1 overview, 2 speed table, 3 day profile, 4 key figures,
// others: no lines), one entry per memo line. Kinds 3 and 4 take the statistics settings.
std::vector<std::string> SummaryLines(const MeasurementData& data, const ViewSelections& view,
                                      const LanguageTexts& texts, const StatisticsSettings& statistics,
                                      const LocaleFormat& locale = SystemLocaleFormat());
// The same with the default statistics settings and the chosen speed limit.
std::vector<std::string> SummaryLines(const MeasurementData& data, const ViewSelections& view,
                                      const LanguageTexts& texts,
                                      const LocaleFormat& locale = SystemLocaleFormat());
