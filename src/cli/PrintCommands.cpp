// print: a view printed exactly as the print button of the desktop program prints it, into a PDF
// file instead of a printer.

#include "cli/ChartOptions.h"
#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "cli/DrawingPart.h"

#include <map>
#include <memory>

namespace {

struct PrintOptions {
    std::string View;
    std::string Output;
    std::string Kind = "overview";
};

} // namespace

void RegisterPrintCommands(CLI::App& app, CliContext& context) {
    auto file = std::make_shared<InputFile>();
    auto selection = std::make_shared<SelectionOptions>();
    auto options = std::make_shared<PrintOptions>();
    auto chartOptions = std::make_shared<ChartOptions>();

    CLI::App* print =
        app.add_subcommand("print", "a view printed as the desktop program prints it, into a PDF file");
    AddInputFile(print, *file);
    print->add_option("--view", options->View, "vehicles, intervals, chart or summary")
        ->required()
        ->check(CLI::IsMember({"vehicles", "intervals", "chart", "summary"}));
    print->add_option("-o", options->Output, "PDF file to write")->required();
    AddSummaryKindOption(print, options->Kind);
    AddChartOptions(print, *chartOptions, "--chart"); // --view names the printed view
    AddSelectionOptions(print, *selection);

    print->callback([&context, file, selection, options, chartOptions] {
        auto run = std::make_unique<EvaluationContext>();
        StartRun(context, *run);
        const DrawingPart& part = LoadDrawingPart();
        run->Load(*file);
        const View view = ViewNamed(options->View);
        if (view == View::VehicleList && !run->HasVehicles())
            UsageError("--view vehicles needs single-vehicle data");
        ApplySelection(*run, *selection, view != View::VehicleList);
        run->view.SummaryKind = SummaryKindOf(options->Kind);

        const ChartDescription chart =
            view == View::Chart ? DrawRequestedChart(*chartOptions, *run, run->texts) : ChartDescription{};
        part.PrintViewToPdf(options->Output, view,
                            run->PrintSourceOf(view, chart, AppearanceOf(*chartOptions)));
    });
}
