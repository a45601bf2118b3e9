// print: a view printed exactly as the print button of the desktop program prints it, into a PDF
// file instead of a printer.

#include "charts/Druck.h"
#include "charts/Grafik.h"
#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "cli/GuiSession.h"
#include "evaluation/Grafik_enable.h"
#include "evaluation/Zusammen.h"

#include <QPageSize>
#include <QPrinter>

#include <map>
#include <memory>

namespace {

struct PrintOptions {
    std::string View;
    std::string Output;
    std::string Kind = "overview";
    // The chart options, as for "chart".
    std::string ChartView = "count";
    std::string Group = "sum";
    std::string Direction = "both";
    int Offset = 0;
    std::string View3D = "on";
    std::string Values = "none";
};

const std::map<std::string, int> SummaryKinds{{"overview", 1}, {"speed", 2}, {"daily", 3}};
const std::map<std::string, int> ChartViews{
    {"count", ChartQuantity::Count},   {"speed", ChartQuantity::Speed}, {"gap", ChartQuantity::Gap},
    {"length", ChartQuantity::Length}, {"v1", ChartQuantity::V1},       {"v2", ChartQuantity::V2},
    {"v3", ChartQuantity::V3},         {"v4", ChartQuantity::V4}};
const std::map<std::string, std::pair<int, ::VehicleGroup>> Groups{
    {"all", {StackedGroup, ::VehicleGroup::AlleFahrzeuge}},
    {"sum", {SumGroup, ::VehicleGroup::SummeAllerFahrzeuge}},
    {"pkw", {1, ::VehicleGroup::PKW}},
    {"lkw", {2, ::VehicleGroup::LKW}},
    {"lz", {3, ::VehicleGroup::Lastzug}},
    {"heavy", {4, ::VehicleGroup::SummeLkwLz}}};
const std::map<std::string, int> Directions{{"both", 3}, {"1", 1}, {"2", 2}};
const std::map<std::string, ValueLabelMode> ValueModes{
    {"none", ValueLabelMode::None}, {"edge", ValueLabelMode::Edge}, {"bars", ValueLabelMode::Bars}};

void AddChartOptions(CLI::App* command, PrintOptions& options) {
    command
        ->add_option("--chart", options.ChartView, "chart of --view chart: count, speed, gap, length, v1..v4")
        ->check(CLI::IsMember({"count", "speed", "gap", "length", "v1", "v2", "v3", "v4"}));
    command->add_option("--group", options.Group, "all, sum, pkw, lkw, lz or heavy (default sum)")
        ->check(CLI::IsMember({"all", "sum", "pkw", "lkw", "lz", "heavy"}));
    command->add_option("--direction", options.Direction, "both, 1 or 2 (default both)")
        ->check(CLI::IsMember({"both", "1", "2"}));
    command->add_option("--offset", options.Offset, "intervals before the chart window (default 0)")
        ->check(CLI::NonNegativeNumber);
    command->add_option("--3d", options.View3D, "on or off (default on)")
        ->check(CLI::IsMember({"on", "off"}));
    command->add_option("--values", options.Values, "value labels: none, edge or bars (default none)")
        ->check(CLI::IsMember({"none", "edge", "bars"}));
}

// The chart as entering the chart mode and choosing the tool bar's buttons would draw it.
ChartDescription DrawChart(const PrintOptions& options, CliRun& run, const LanguageTexts& texts) {
    const int quantity = ChartViews.at(options.ChartView);
    const auto& [group, button] = Groups.at(options.Group);
    if (!QuantityEnabled(run.data.DataMode, quantity) || !GroupEnabled(run.data.DataMode, quantity, button))
        UsageError("--chart " + options.ChartView + " --group " + options.Group +
                   " is not offered for this data");
    ChartRequest request;
    request.Quantity = quantity;
    request.VehicleGroup = group;
    request.DirectionSelection = Directions.at(options.Direction);
    request.LowerPercentile = run.view.LowerPercentile;
    request.UpperPercentile = run.view.UpperPercentile;
    request.CalcV50 = run.settings.CalcV50;
    request.SingleVehicleData = run.data.DataMode == ::DataMode::SingleVehicle;
    run.data.ChartOffset = options.Offset;
    ChartScaleState scale;
    SetAutomaticScaling(scale);
    return DrawSelectedChart(request, scale, run.data, texts);
}

std::unique_ptr<QPrinter> PdfPrinter(const std::string& fileName) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(fileName));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setCreator(QStringLiteral("Korvelan II"));
    return printer;
}

} // namespace

void RegisterPrintCommands(CLI::App& app, CliContext& context) {
    auto file = std::make_shared<std::string>();
    auto selection = std::make_shared<SelectionOptions>();
    auto options = std::make_shared<PrintOptions>();

    CLI::App* print =
        app.add_subcommand("print", "a view printed as the desktop program prints it, into a PDF file");
    print->add_option("FILE", *file, "data file")->required();
    print->add_option("--view", options->View, "vehicles, intervals, chart or summary")
        ->required()
        ->check(CLI::IsMember({"vehicles", "intervals", "chart", "summary"}));
    print->add_option("-o", options->Output, "PDF file to write")->required();
    print->add_option("--kind", options->Kind, "summary table: overview, speed or daily")
        ->check(CLI::IsMember({"overview", "speed", "daily"}));
    AddChartOptions(print, *options);
    AddSelectionOptions(print, *selection);

    print->callback([&context, file, selection, options] {
        auto run = std::make_unique<CliRun>();
        StartRun(context, *run);
        LoadFile(*run, *file);
        const bool vehicles = options->View == "vehicles";
        if (vehicles && run->data.DataMode != ::DataMode::SingleVehicle)
            UsageError("--view vehicles needs single-vehicle data");
        ApplySelection(*run, *selection, !vehicles);

        const GuiSession gui;
        const auto printer = PdfPrinter(options->Output);
        if (vehicles) {
            PrintVehicleList(*printer, run->data, context.texts);
        } else if (options->View == "intervals") {
            PrintIntervalList(*printer, run->data, context.texts);
        } else if (options->View == "summary") {
            run->data.SummaryKind = SummaryKinds.at(options->Kind);
            PrintSummary(*printer, SummaryLines(run->data, run->view, context.texts));
        } else {
            ChartAppearance appearance;
            appearance.View3D = options->View3D == "on";
            appearance.ValueLabels = ValueModes.at(options->Values);
            PrintChart(*printer, DrawChart(*options, *run, context.texts), appearance);
        }
    });
}
