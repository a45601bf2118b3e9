#pragma once
// The contents of the PDF report: every page's title, text lines, tables and charts, built from the
// traffic statistics of the working data in the program's language. Only the layout on paper is
// left to the printer.

#include "charts/ChartDescription.h"
#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"
#include "evaluation/TrafficStatistics.h"

#include <string>
#include <vector>

class IniFile;
class LanguageTexts;

// Language-text numbers of the report.
namespace ReportText {
inline constexpr int PageOf = 700; // "Seite %d von %d"
inline constexpr int TitlePageTitle = 701;
inline constexpr int Site = 702;
inline constexpr int Period = 703;
inline constexpr int DaysLine = 704;
inline constexpr int Limit = 705;
inline constexpr int Directions = 706;
inline constexpr int LengthClasses = 707;
inline constexpr int FreeFlowGap = 708;
inline constexpr int Selection = 709;
inline constexpr int TimeRange = 710;
inline constexpr int Author = 711;
inline constexpr int ReportDate = 712;
inline constexpr int KeyFiguresTitle = 713;
inline constexpr int KeyFiguresHeader = 714; // "|"-separated column titles
inline constexpr int AdtTitle = 715;
inline constexpr int AdtHeader = 716;
inline constexpr int PeakTitle = 717;
inline constexpr int PeakHeader = 718;
inline constexpr int AverageDayTitle = 719;
inline constexpr int AverageDayHeader = 720;
inline constexpr int SpeedTitle = 721;
inline constexpr int HistogramTitle = 722;
inline constexpr int Vehicles = 723;
inline constexpr int HourlyTitle = 724;
inline constexpr int HourlyChartTitle = 725;
inline constexpr int DayTableTitle = 726;
inline constexpr int DayTableHeader = 727;
inline constexpr int Complete = 728;
inline constexpr int Incomplete = 729;
inline constexpr int QualityTitle = 730;
inline constexpr int NeedsSingleVehicles = 731;
inline constexpr int DataFile = 732;
inline constexpr int Version = 733;
inline constexpr int WholeMeasurement = 734;
inline constexpr int NoGaps = 735;
inline constexpr int ShareAbove = 736;
inline constexpr int ReportFailed = 739;   // "%s": the file
inline constexpr int DaysValue = 740;      // "%d days, %d of them complete"
inline constexpr int SelectionValue = 741; // "%d of %d vehicles"
inline constexpr int GapsHeader = 742;
inline constexpr int IntervalSelectionValue = 743; // "%d of %d intervals"
inline constexpr int ReportCommand = 744;          // "Bericht…"
inline constexpr int Direction1Name = 745;
inline constexpr int Direction2Name = 746;
inline constexpr int WeekdayNames = 790;     // "So|Mo|…|Sa": Sunday first
inline constexpr int CardReaderSource = 791; // "%s": the card reader's port
inline constexpr int CardFileSource = 792;   // "%s", "%s": the card file and its SHA-256
inline constexpr int PeloFileSource = 793;   // "%s", "%s": the Pelo file and its SHA-256
} // namespace ReportText

// A table: column titles and rows of cells; numbers are right-aligned on paper.
struct ReportTable {
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
};

struct ReportBlock {
    enum class Kind { Text, Table, Chart };
    Kind Type = Kind::Text;
    std::vector<std::string> Lines; // Text
    ReportTable Table;              // Table
    ChartDescription Chart;         // Chart
};

// The blocks of each kind, as every report builds them.
ReportBlock TextBlock(std::vector<std::string> lines);
ReportBlock TableBlock(std::vector<std::string> header, std::vector<std::vector<std::string>> rows);
ReportBlock ChartBlock(ChartDescription chart);
// Column titles are kept in one language text, separated by "|".
std::vector<std::string> SplitColumns(const std::string& text);

struct ReportPage {
    std::string Title;
    bool Landscape = false;
    std::vector<ReportBlock> Blocks;
};

struct ReportDocument {
    std::string Header;              // the site, on every page
    std::vector<std::string> Footer; // data file and its SHA-256, program version
    std::string PageOfPattern;       // "Seite %d von %d"
    std::vector<ReportPage> Pages;
};

// Where the measurement came from, as every page's footer names it.
enum class ReportSourceKind { DataFile, CardFile, PeloFile, CardReader };

// What the user gives for the report beside the data.
struct ReportRequest {
    std::string Site;
    std::string Direction1;
    std::string Direction2;
    std::string Author;
    std::string SourceFileName; // data file, card file or imported file
    std::string SourceSha256;
    std::string ProgramVersion;
    double ReportDate = 0; // day count of the report's date
    ReportSourceKind SourceKind = ReportSourceKind::DataFile;
    std::string SourceDevice; // the card reader's port: a card read through it has no file
};

// What the user typed for the last report, kept in the settings file's [Bericht] section.
struct ReportFields {
    std::string Site;
    std::string Direction1;
    std::string Direction2;
    std::string Author;
};
ReportFields ReadReportFields(const IniFile& ini);
// Throws CoreError when the settings file cannot be written.
void WriteReportFields(IniFile& ini, const ReportFields& fields);

// The report of the working data. Throws CoreError where the statistics do.
ReportDocument BuildReport(const MeasurementData& data, const StatisticsSettings& settings,
                           const ReportRequest& request, const LanguageTexts& texts,
                           const LocaleFormat& locale = SystemLocaleFormat());

// "Seite 3 von 7" from the document's pattern.
std::string PageNumberText(const ReportDocument& document, int page, int pageCount,
                           const LocaleFormat& locale = SystemLocaleFormat());
