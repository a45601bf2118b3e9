#pragma once
// export --format csv: one open table of a data file with its description beside it.

#include "cli/CliRun.h"

#include <string>

struct CsvExportOptions {
    std::string View; // vehicles, intervals, days, profile or stats
    std::string Output;
    bool Spreadsheet = false; // --excel
};

// The views --format csv takes.
inline const std::vector<std::string> CsvExportViews = {"vehicles", "intervals", "days", "profile", "stats"};

void RunCsvExport(CliContext& context, const InputFile& input, const SelectionOptions& selection,
                  const CsvExportOptions& options);
