#pragma once
// The text of the printouts: the list lines, the list header, how the lines fall on pages and
// where they stand on a page. Positions are given in the pixels of a 600 dpi printer; the printer
// code scales them to its own resolution.

#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"

#include <string>
#include <string_view>
#include <vector>

inline constexpr int PrintLinesPerPage = 64;
inline constexpr double PrintReferenceDpi = 600;

// "dd/mm/yyyy  hh:mm:ss", the speed right-aligned in 11 characters, the length in 9, 7 blanks and
// "=>" (direction 1) or "<=".
std::string VehiclePrintLine(const VehicleRecord& vehicle, const LocaleFormat& locale = SystemLocaleFormat());
// Start time, then total, PKW, LKW, LZ of direction 1 and the same of direction 2.
std::string IntervalPrintLine(const IntervalRecord& interval,
                              const LocaleFormat& locale = SystemLocaleFormat());
// The on-screen list heading without its 12-character record-number column.
std::string PrintHeader(std::string_view listHeading);

// Records first..last (1-based) of one list page.
struct PrintPageRange {
    int First = 1;
    int Last = 0;
};
// 64 records a page. A page is started after every 64th record, so a record count that is a
// multiple of 64 (and no record at all) ends with a page carrying only header and footer.
std::vector<PrintPageRange> ListPageRanges(int recordCount);

// Where the list printout writes, in reference pixels: the header at (400, 400), the j-th line
// of a page (j = 1..64) at 400 + h (j + 1) with h its text height, the footer (the comment) at
// 400 + 67 h' with h' the header's text height.
inline constexpr double ListLeft = 400;
inline constexpr double ListHeaderTop = 400;
inline double ListLineTop(int j, double lineHeight) {
    return 400 + lineHeight * (j + 1);
}
inline double ListFooterTop(double headerHeight) {
    return 400 + 67 * headerHeight;
}

// The summary printout: line 0 (the title) at (300, 200), line k at 200 + h (k + 1).
inline constexpr double SummaryLeft = 300;
inline constexpr double SummaryTitleTop = 200;
inline double SummaryLineTop(int k, double lineHeight) {
    return 200 + lineHeight * (k + 1);
}

// Summary lines 1..n-1 on landscape pages: a page holds the lines whose bottom stays inside
// pageHeight (reference pixels); the next page repeats the title and goes on. Each range holds
// the summary line numbers of one page (the title excluded); there is always one page.
std::vector<PrintPageRange> SummaryPageRanges(int lineCount, double lineHeight, double pageHeight);
