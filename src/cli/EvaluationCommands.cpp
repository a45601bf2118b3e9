// intervals, summary and export: the interval list, the summary tables and the ASCII export.

#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "cli/CsvExportCommand.h"

#include <map>
#include <memory>

namespace {
struct ExportOptions {
    std::string View;
    std::string Output;
    std::string Kind = "overview";
    std::string Format = "ascii";
    bool Excel = false;
};
} // namespace

void RegisterEvaluationCommands(CLI::App& app, CliContext& context) {
    auto file = std::make_shared<InputFile>();
    auto selection = std::make_shared<SelectionOptions>();

    CLI::App* intervals = app.add_subcommand("intervals", "the interval list of the working intervals");
    AddInputFile(intervals, *file);
    AddSelectionOptions(intervals, *selection);
    intervals->callback([&context, file, selection] {
        EvaluationContext run;
        StartRun(context, run);
        run.Load(*file);
        ApplySelection(run, *selection, true);
        PrintLines(run.Lines(View::IntervalList));
    });

    auto kind = std::make_shared<std::string>("overview");
    CLI::App* summary = app.add_subcommand("summary", "the summary text as the summary view shows it");
    AddInputFile(summary, *file);
    AddSummaryKindOption(summary, *kind);
    AddSelectionOptions(summary, *selection);
    summary->callback([&context, file, selection, kind] {
        EvaluationContext run;
        StartRun(context, run);
        run.Load(*file);
        ApplySelection(run, *selection, true);
        run.view.SummaryKind = SummaryKindOf(*kind);
        PrintLines(run.Lines(View::Summary));
    });

    auto exportOptions = std::make_shared<ExportOptions>();
    CLI::App* exportCommand = app.add_subcommand(
        "export", "ASCII export of a view (CR LF line ends), or with --format csv an open table");
    AddInputFile(exportCommand, *file);
    exportCommand
        ->add_option(
            "--view", exportOptions->View,
            "ascii: vehicles, intervals or summary; csv: vehicles, intervals, days, profile or stats")
        ->required()
        ->check(CLI::IsMember({"vehicles", "intervals", "summary", "days", "profile", "stats"}));
    exportCommand->add_option("-o", exportOptions->Output, "export file to write")->required();
    exportCommand->add_option("--format", exportOptions->Format, "ascii (default) or csv")
        ->check(CLI::IsMember({"ascii", "csv"}));
    exportCommand->add_flag("--excel", exportOptions->Excel,
                            "csv for a German spreadsheet: \";\" separator, decimal comma, byte-order mark");
    AddSummaryKindOption(exportCommand, exportOptions->Kind);
    AddSelectionOptions(exportCommand, *selection);
    exportCommand->callback([&context, file, selection, exportOptions] {
        if (exportOptions->Format == "csv") {
            RunCsvExport(context, *file, *selection,
                         CsvExportOptions{exportOptions->View, exportOptions->Output, exportOptions->Excel});
            return;
        }
        if (exportOptions->Excel)
            UsageError("--excel needs --format csv");
        if (exportOptions->View != "vehicles" && exportOptions->View != "intervals" &&
            exportOptions->View != "summary")
            UsageError("--view " + exportOptions->View + " needs --format csv");
        EvaluationContext run;
        StartRun(context, run);
        run.Load(*file);
        const View view = ViewNamed(exportOptions->View);
        if (view == View::VehicleList && !run.HasVehicles())
            UsageError("--view vehicles needs single-vehicle data");
        ApplySelection(run, *selection, view != View::VehicleList);
        run.view.SummaryKind = SummaryKindOf(exportOptions->Kind);
        run.ExportAscii(exportOptions->Output, view);
    });
}
