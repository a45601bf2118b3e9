#pragma once
// The comparison report: a title page naming both measurements, the ADT, the comparison table raw
// and matched by hour, and the two comparison charts, with both files and their SHA-256 in every
// page's footer. Laid out and printed like the report of one measurement.

#include "charts/ComparisonCharts.h"
#include "charts/ReportContent.h"

#include <string>

// Language-text numbers of the comparison report.
namespace ComparisonReportText {
inline constexpr int TitlePageTitle = 807;
inline constexpr int BeforeMeasurement = 808;
inline constexpr int AfterMeasurement = 809;
inline constexpr int Comment = 810;
inline constexpr int Thresholds = 811;
inline constexpr int AdtPageTitle = 813;
inline constexpr int AdtHeader = 814;
inline constexpr int RawPageTitle = 815;
inline constexpr int MatchedPageTitle = 816;
inline constexpr int FigureHeader = 817;
inline constexpr int ChartsPageTitle = 818;
inline constexpr int FileSide = 819; // "%s: %s   SHA-256: %s"
} // namespace ComparisonReportText

struct ComparisonReportRequest {
    std::string Site; // empty: the comment of the measurement before
    std::string Author;
    std::string BeforeSha256;
    std::string AfterSha256;
    std::string ProgramVersion;
    double ReportDate = 0; // day count
};

ReportDocument BuildComparisonReport(const ComparisonResult& comparison, const LengthThresholds& lengths,
                                     const ComparisonReportRequest& request, const LanguageTexts& texts,
                                     const LocaleFormat& locale = SystemLocaleFormat());
