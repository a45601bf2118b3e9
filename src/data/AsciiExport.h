#pragma once
// ASCII export: the records of the active view as text lines for other programs, Windows-1252
// with CR LF line ends.

#include "base/View.h"
#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"

#include <filesystem>
#include <string>
#include <vector>

// "dd/mm/yy hh:mm:ss;00;SSS;LL;D " with D = 0 for direction 1 and 1 for direction 2.
std::string VehicleExportLine(const VehicleRecord& v, const LocaleFormat& locale = SystemLocaleFormat());
// "dd/mm/yyyy  hh:mm:ss" and total, PKW, LKW, LZ of direction 1 and of direction 2.
std::string IntervalExportLine(const IntervalRecord& r, const LocaleFormat& locale = SystemLocaleFormat());

// Writes the export of the view: the working vehicles, the working intervals, the summary
// lines (joined by CR LF, no line end after the last) or, for the chart, an empty file.
void ExportAscii(const std::filesystem::path& file, View view, const MeasurementData& data,
                 const std::vector<std::string>& summaryLines,
                 const LocaleFormat& locale = SystemLocaleFormat());
