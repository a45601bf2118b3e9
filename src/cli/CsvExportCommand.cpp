#include "cli/CsvExportCommand.h"

#include "app/Logo.h"
#include "evaluation/CsvExport.h"

void RunCsvExport(CliContext& context, const InputFile& input, const SelectionOptions& selection,
                  const CsvExportOptions& options) {
    const auto view = CsvViewFromName(options.View);
    if (!view)
        UsageError("--format csv: --view must be vehicles, intervals, days, profile or stats");
    EvaluationContext run;
    StartRun(context, run);
    run.Load(input);
    if (*view == CsvView::Vehicles && !run.HasVehicles())
        UsageError("--view vehicles needs single-vehicle data");
    // The vehicles need the intervals only for a range, which cuts them by its time span.
    ApplySelection(run, selection, *view != CsvView::Vehicles || !selection.Range.empty());

    CsvExportRequest request =
        run.CsvRequest(options.Spreadsheet ? CsvStyle::Spreadsheet : CsvStyle::Plain, input.Path);
    request.ProgramVersion = ProgramVersion;
    ExportCsv(options.Output, *view, run.data, request);
}
