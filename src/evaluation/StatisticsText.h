#pragma once
// The traffic statistics as fixed-width text: the "Kennwerte" summary (speed figures with their
// intervals, pace, thresholds, free flow, hourly figures, data quality) and the "Tagesgang"
// summary (days, ADT, day profiles, peak hours).

#include "data/LocaleFormat.h"
#include "evaluation/TrafficStatistics.h"

#include <string>
#include <vector>

class LanguageTexts;

// Language-text numbers of the two summaries.
namespace StatisticsText {
inline constexpr int KeyFiguresTitle = 501;
inline constexpr int DayProfileTitle = 502;
inline constexpr int DirectionLabels = 503; // 503, 504, 505: direction 1, 2, both
inline constexpr int ClassLabels = 506;     // 506..509: all, PKW, LKW, LZ
inline constexpr int SpeedTitle = 510;
inline constexpr int SpeedHeader = 511;
inline constexpr int FewVehicles = 512;
inline constexpr int PaceTitle = 513;
inline constexpr int PaceHeader = 514;
inline constexpr int ThresholdTitle = 515;
inline constexpr int ThresholdHeader = 516;
inline constexpr int FreeFlowTitle = 517;
inline constexpr int FreeFlowHeader = 518;
inline constexpr int HourlyTitle = 519;
inline constexpr int HourlyHeader = 520;
inline constexpr int QualityTitle = 521;
inline constexpr int GapsLine = 522;
inline constexpr int ImplausibleLine = 523;
inline constexpr int ShortHeadwaysLine = 524;
inline constexpr int OutOfOrderLine = 525;
inline constexpr int IntervalDataNote = 526;
inline constexpr int IntervalGapsNote = 527;
inline constexpr int DaysTitle = 528;
inline constexpr int DaysHeader = 529;
inline constexpr int PartialDay = 530;
inline constexpr int AdtTitle = 531;
inline constexpr int AdtHeader = 532;
inline constexpr int AdtLabels = 533; // 533..535: all days, working days, weekend
inline constexpr int NoCompleteDay = 536;
inline constexpr int ProfileTitle = 537;
inline constexpr int ProfileHeader = 538;
inline constexpr int PeakTitle = 539;
inline constexpr int PeakHeader = 540;
inline constexpr int Morning = 541;
inline constexpr int Afternoon = 542;
inline constexpr int NoVehicles = 543;
inline constexpr int NoPeakHour = 544;
inline constexpr int NoCompleteDayInGroup = 545;
} // namespace StatisticsText

// Figures resting on fewer vehicles than this are marked as uncertain.
inline constexpr long long FewVehiclesBelow = 50;

// The "Kennwerte" summary, one entry per line.
std::vector<std::string> KeyFigureLines(const TrafficStatistics& statistics, const MeasurementData& data,
                                        const LanguageTexts& texts,
                                        const LocaleFormat& locale = SystemLocaleFormat());

// The "Tagesgang" summary, one entry per line.
std::vector<std::string> DayProfileLines(const TrafficStatistics& statistics, const MeasurementData& data,
                                         const LanguageTexts& texts,
                                         const LocaleFormat& locale = SystemLocaleFormat());
