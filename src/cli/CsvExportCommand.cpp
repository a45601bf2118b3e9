#include "cli/CsvExportCommand.h"

#include "app/Logo.h"
#include "data/Sha256.h"
#include "evaluation/CsvExport.h"

#include <filesystem>

void RunCsvExport(CliContext& context, const InputFile& input, const SelectionOptions& selection,
                  const CsvExportOptions& options) {
    const auto view = CsvViewFromName(options.View);
    if (!view)
        UsageError("--format csv: --view must be vehicles, intervals, days, profile or stats");
    CliRun run;
    StartRun(context, run);
    LoadInput(run, input);
    if (*view == CsvView::Vehicles && run.data.DataMode != DataMode::SingleVehicle)
        UsageError("--view vehicles needs single-vehicle data");
    // The vehicles need the intervals only for a range, which cuts them by its time span.
    ApplySelection(run, selection, *view != CsvView::Vehicles || !selection.Range.empty());

    CsvExportRequest request;
    request.Style = options.Spreadsheet ? CsvStyle::Spreadsheet : CsvStyle::Plain;
    request.Settings = StatisticsSettingsOf(run.settings, run.data, run.view);
    request.IntervalMinutes = 5 * run.view.IntervalFactor;
    request.Source =
        DataPackageSource{std::filesystem::path(input.Path).filename().string(), FileSha256Hex(input.Path)};
    request.ProgramVersion = ProgramVersion;
    ExportCsv(options.Output, *view, run.data, request);
}
