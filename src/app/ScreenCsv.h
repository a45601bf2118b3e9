#pragma once
// "Exportieren als CSV…": the table behind the view on screen, written with its description.

#include "base/View.h"
#include "charts/ChartDescription.h"
#include "evaluation/CsvExport.h"
#include "session/EvaluationContext.h"

#include <filesystem>

// The view on screen as a table: vehicle list → vehicles, interval list → intervals, the day
// profile summary → days, any other summary → key figures, chart → its labels and values.
CsvTable CsvTableOfScreen(View view, const EvaluationContext& context, const CsvExportRequest& request,
                          const ChartDescription& chart);

// The export choices of the desktop program: the open (plain) style, the statistics settings of
// the window's state and the data file that was opened (none for data read from a card).
CsvExportRequest CsvRequestOfScreen(const EvaluationContext& context, const std::filesystem::path& source);

// Writes the table behind the view and its description beside csvFile. Throws CoreError.
void ExportScreenCsv(const std::filesystem::path& csvFile, View view, const EvaluationContext& context,
                     const CsvExportRequest& request, const ChartDescription& chart);
