#include "charts/PrintLines.h"

#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <algorithm>
#include <cmath>

std::string VehiclePrintLine(const VehicleRecord& vehicle, const LocaleFormat& locale) {
    return FormatDateTime("dd/mm/yyyy  hh:mm:ss", vehicle.Time, locale) +
           Format("        %3d", {static_cast<int>(vehicle.Speed)}, locale) +
           Format("       %2d", {static_cast<int>(vehicle.Length)}, locale) + "       " +
           (vehicle.Direction == '1' ? "=>" : "<=");
}

std::string IntervalPrintLine(const IntervalRecord& interval, const LocaleFormat& locale) {
    std::string line = FormatDateTime("dd/mm/yyyy  hh:mm:ss", interval.StartTime, locale);
    for (int d : {1, 2})
        line += Format(
            "      %4d   %4d   %3d   %3d",
            {interval.Total()[d], interval.PkwCount()[d], interval.LkwCount()[d], interval.LzCount()[d]},
            locale);
    return line;
}

std::string PrintHeader(std::string_view listHeading) {
    // Skip 12 characters, not bytes: the heading is UTF-8.
    std::size_t at = 0;
    for (int skipped = 0; skipped < 12 && at < listHeading.size(); ++skipped) {
        ++at;
        while (at < listHeading.size() && (static_cast<unsigned char>(listHeading[at]) & 0xC0) == 0x80)
            ++at;
    }
    return std::string(listHeading.substr(at));
}

std::vector<PrintPageRange> ListPageRanges(int recordCount) {
    std::vector<PrintPageRange> pages;
    const int count = std::max(0, recordCount);
    for (int first = 1;; first += PrintLinesPerPage) {
        pages.push_back({first, std::min(count, first + PrintLinesPerPage - 1)});
        if (first + PrintLinesPerPage - 1 >= count + 1)
            break;
    }
    return pages;
}

std::vector<PrintPageRange> SummaryPageRanges(int lineCount, double lineHeight, double pageHeight) {
    // Lines k = 1.. stand at 200 + h (k + 1); the last one that ends inside the page decides.
    const double h = std::max(lineHeight, 1.0);
    const int perPage = std::max(1, static_cast<int>(std::floor((pageHeight - 200) / h)) - 2);
    std::vector<PrintPageRange> pages;
    const int last = lineCount - 1;
    for (int first = 1; first <= last; first += perPage)
        pages.push_back({first, std::min(last, first + perPage - 1)});
    if (pages.empty())
        pages.push_back({1, 0});
    return pages;
}
