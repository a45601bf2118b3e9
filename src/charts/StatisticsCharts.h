#pragma once
// The two chart views drawn from the traffic statistics: the average day (hourly bars of both
// directions side by side with the heavy share as a line) and the cumulative speed distribution
// (one S-curve per direction with V50 and V85 marked and the limit as a vertical line).

#include "charts/ChartViews.h"
#include "evaluation/TrafficStatistics.h"

#include <vector>

enum class ProfileDays { Workdays, Weekend };

// Text numbers of these views.
namespace StatisticsChartText {
inline constexpr int WorkdaysTitle = 560;
inline constexpr int WeekendTitle = 561;
inline constexpr int VehiclesPerHour = 562;
inline constexpr int HeavySharePercent = 563;
inline constexpr int Hour = 564;
inline constexpr int Direction1 = 565;
inline constexpr int Direction2 = 566;
inline constexpr int HeavyShare = 567;
inline constexpr int CumulativeTitle = 568;
inline constexpr int ShareAtOrBelow = 569;
inline constexpr int SpeedKmh = 570;
inline constexpr int LimitLabel = 571;
inline constexpr int CompleteDays = 572;
inline constexpr int NoCompleteDay = 545;
inline constexpr int AverageDayHint = 573;
inline constexpr int CumulativeHint = 574;
inline constexpr int WorkdaysChoice = 575; // 576: weekend
} // namespace StatisticsChartText

// Colours of the two directions and of the heavy share, alike in both views.
Rgb DirectionColour(int direction);
Rgb HeavyShareColour();

// The right-hand scale's maximum for a largest heavy share in percent: 5, 10, 20, 25, 50 or 100.
double HeavyShareScaleMax(double largestPercent);

// Average day of the day group: direction 1 and 2 (or the selected one; imported data hold
// direction 1 only) as side-by-side bars of the mean count per hour over the complete days, the
// heavy share of both directions in percent on the right scale. The left axis scales as the
// count views do.
ChartDescription AverageDayView(const ChartViewContext& context, const TrafficStatistics& statistics,
                                ProfileDays days, int direction);

// Cumulative speed distribution of single-vehicle data: per direction the share of the vehicles
// at or below each whole km/h, in percent, V50 and V85 marked on the curve, the limit as a line.
ChartDescription CumulativeSpeedView(const ChartViewContext& context, const TrafficStatistics& statistics,
                                     int direction);

enum class StatisticsChartKind { AverageDay, CumulativeSpeed };

// Whether the chart tool bar offers a view for the data: the average day for every kind of data,
// the speed curve for single vehicles only.
bool StatisticsChartOffered(StatisticsChartKind kind, DataMode mode);

// Computes the statistics of the working data as the settings and selections ask and draws the
// view; both fronts call this.
ChartDescription DrawStatisticsChart(StatisticsChartKind kind, ProfileDays days, int direction,
                                     ChartScaleState& scale, const MeasurementData& data,
                                     const Settings& settings, const ViewSelections& view,
                                     const LanguageTexts& texts,
                                     const LocaleFormat& locale = SystemLocaleFormat());

// The share in percent of the vehicles at or below each speed 0..255 of a speed histogram; empty
// without vehicles.
std::vector<double> CumulativeShares(const std::array<long long, 256>& counts);
