#include "data/AsciiExport.h"

#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <algorithm>

std::string VehicleExportLine(const VehicleRecord& v, const LocaleFormat& locale) {
    std::string line = FormatDateTime("dd/mm/yy hh:mm:ss", v.Time, locale);
    line += Format(";00;%3.3u", {static_cast<unsigned>(v.Speed)}, locale);
    line += Format(";%2.2u", {static_cast<unsigned>(v.Length)}, locale);
    // The direction character code minus one: '1' gives '0', '2' gives '1'.
    line += ';';
    line += static_cast<char>(v.Direction - 1);
    line += ' ';
    return line;
}

std::string IntervalExportLine(const IntervalRecord& r, const LocaleFormat& locale) {
    std::string line = FormatDateTime("dd/mm/yyyy  hh:mm:ss", r.StartTime, locale);
    for (int direction = 1; direction <= 2; ++direction)
        line += Format(
            "      %4d   %4d   %3d   %3d",
            {r.Total()[direction], r.PkwCount()[direction], r.LkwCount()[direction], r.LzCount()[direction]},
            locale);
    return line;
}

namespace {
// The export lines are single-byte text already (digits and the locale's separators).
template <typename Array, typename LineOf>
void WriteLines(AtomicFileWriter& out, const Array& records, int count, LineOf lineOf) {
    const int n = std::clamp(count, 0, records.allocated());
    for (int i = 1; i <= n; ++i) {
        out.Write(lineOf(records[i]));
        out.Write("\r\n");
    }
}
} // namespace

void ExportAscii(const std::filesystem::path& file, View view, const MeasurementData& data,
                 const std::vector<std::string>& summaryLines, const LocaleFormat& locale) {
    if (view == View::Summary) {
        SaveSummaryText(file, summaryLines);
        return;
    }
    AtomicFileWriter out(file);
    if (view == View::VehicleList)
        WriteLines(out, data.WorkVehicles, data.WorkVehicleCount,
                   [&](const VehicleRecord& v) { return VehicleExportLine(v, locale); });
    else if (view == View::IntervalList)
        WriteLines(out, data.WorkIntervals, data.WorkIntervalCount,
                   [&](const IntervalRecord& r) { return IntervalExportLine(r, locale); });
    out.Commit();
}
