// chart: one chart view as the chart mode of the desktop program draws it, as a picture file or
// as a JSON description.

#include "charts/ChartPicture.h"
#include "charts/Grafik.h"
#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "data/TextFormat.h"
#include "evaluation/Grafik_enable.h"

#include <QGuiApplication>

#include <map>
#include <memory>

namespace {

struct ChartOptions {
    std::string View;
    std::string Group = "sum";
    std::string Direction = "both";
    int Offset = 0;
    std::string View3D = "on";
    std::string Values = "none";
    std::string Size = "1200x800";
    std::string Output;
    bool Json = false;
};

struct GroupChoice {
    int Group;             // VehicleGroup of the chart views
    ::VehicleGroup Button; // the group button that selects it
};

const std::map<std::string, int> Views{{"count", ChartQuantity::Count}, {"speed", ChartQuantity::Speed},
                                       {"gap", ChartQuantity::Gap},     {"length", ChartQuantity::Length},
                                       {"v1", ChartQuantity::V1},       {"v2", ChartQuantity::V2},
                                       {"v3", ChartQuantity::V3},       {"v4", ChartQuantity::V4}};

const std::map<std::string, GroupChoice> Groups{{"all", {StackedGroup, ::VehicleGroup::AlleFahrzeuge}},
                                                {"sum", {SumGroup, ::VehicleGroup::SummeAllerFahrzeuge}},
                                                {"pkw", {1, ::VehicleGroup::PKW}},
                                                {"lkw", {2, ::VehicleGroup::LKW}},
                                                {"lz", {3, ::VehicleGroup::Lastzug}},
                                                {"heavy", {4, ::VehicleGroup::SummeLkwLz}}};

const std::map<std::string, int> Directions{{"both", 3}, {"1", 1}, {"2", 2}};

const std::map<std::string, ValueLabelMode> ValueModes{
    {"none", ValueLabelMode::None}, {"edge", ValueLabelMode::Edge}, {"bars", ValueLabelMode::Bars}};

const char* DataKindName(::DataMode mode) {
    switch (mode) {
    case ::DataMode::SingleVehicle:
        return "single-vehicle data";
    case ::DataMode::Interval:
        return "interval data";
    case ::DataMode::Imported:
        return "imported data";
    default:
        return "no data";
    }
}

// The tool bar offers only the views and groups that fit the data; so does the command.
void CheckOffered(const ChartOptions& options, ::DataMode mode) {
    const int quantity = Views.at(options.View);
    if (!QuantityEnabled(mode, quantity))
        UsageError("--view " + options.View + " is not offered for " + DataKindName(mode));
    if (!GroupEnabled(mode, quantity, Groups.at(options.Group).Button))
        UsageError("--group " + options.Group + " is not offered for --view " + options.View + " with " +
                   DataKindName(mode));
}

std::pair<int, int> ParseSize(const std::string& text) {
    const auto x = text.find_first_of("xX");
    const auto width = x == std::string::npos ? std::nullopt : StrToIntStrict(text.substr(0, x));
    const auto height = x == std::string::npos ? std::nullopt : StrToIntStrict(text.substr(x + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > 20000 || *height > 20000)
        UsageError("--size: expected WxH in pixels (1..20000), got \"" + text + "\"");
    return {*width, *height};
}

ChartRequest RequestOf(const ChartOptions& options, const CliRun& run) {
    ChartRequest request;
    request.Quantity = Views.at(options.View);
    request.VehicleGroup = Groups.at(options.Group).Group;
    request.DirectionSelection = Directions.at(options.Direction);
    request.LowerPercentile = run.view.LowerPercentile;
    request.UpperPercentile = run.view.UpperPercentile;
    request.CalcV50 = run.settings.CalcV50;
    request.SingleVehicleData = run.data.DataMode == ::DataMode::SingleVehicle;
    return request;
}

// The picture of the chart, drawn by the same renderer as the chart on screen. Fonts need a GUI
// application; a batch run has no screen, so it draws offscreen unless told otherwise.
void WriteChartPicture(const std::string& fileName, const ChartDescription& chart,
                       const ChartAppearance& appearance, std::pair<int, int> size) {
    std::unique_ptr<QGuiApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "korvelan2-cli";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    SaveChartPicture(fileName, chart, appearance, QSize(size.first, size.second));
}

} // namespace

void RegisterChartCommands(CLI::App& app, CliContext& context) {
    auto file = std::make_shared<std::string>();
    auto selection = std::make_shared<SelectionOptions>();
    auto options = std::make_shared<ChartOptions>();

    CLI::App* chart =
        app.add_subcommand("chart", "one chart view as a picture file or as a JSON description");
    chart->add_option("FILE", *file, "data file")->required();
    chart->add_option("--view", options->View, "count, speed, gap, length, v1, v2, v3 or v4")
        ->required()
        ->check(CLI::IsMember({"count", "speed", "gap", "length", "v1", "v2", "v3", "v4"}));
    chart->add_option("--group", options->Group, "all, sum, pkw, lkw, lz or heavy (default sum)")
        ->check(CLI::IsMember({"all", "sum", "pkw", "lkw", "lz", "heavy"}));
    chart->add_option("--direction", options->Direction, "both, 1 or 2 (default both)")
        ->check(CLI::IsMember({"both", "1", "2"}));
    chart->add_option("--offset", options->Offset, "intervals before the chart window (default 0)")
        ->check(CLI::NonNegativeNumber);
    chart->add_option("--3d", options->View3D, "on or off (default on)")->check(CLI::IsMember({"on", "off"}));
    chart->add_option("--values", options->Values, "value labels: none, edge or bars (default none)")
        ->check(CLI::IsMember({"none", "edge", "bars"}));
    chart->add_option("--size", options->Size, "picture size WxH in pixels (default 1200x800)");
    auto* output = chart->add_option("-o", options->Output, "picture file: .png, .bmp, .svg, .wmf or .pdf");
    auto* json = chart->add_flag("--json", options->Json, "print a description of the chart instead");
    output->excludes(json);
    AddSelectionOptions(chart, *selection);

    chart->callback([&context, file, selection, options] {
        if (options->Output.empty() && !options->Json)
            UsageError("chart: either -o OUT or --json is needed");
        const auto size = ParseSize(options->Size);

        auto run = std::make_unique<CliRun>();
        StartRun(context, *run);
        LoadFile(*run, *file);
        CheckOffered(*options, run->data.DataMode);
        ApplySelection(*run, *selection, true);

        // Entering the chart mode: the window at the start (then moved), automatic scaling.
        run->data.ChartOffset = options->Offset;
        ChartScaleState scale;
        SetAutomaticScaling(scale);
        const ChartDescription description =
            DrawSelectedChart(RequestOf(*options, *run), scale, run->data, context.texts);

        if (options->Json) {
            PrintLines({ChartDescriptionToJson(description)});
            return;
        }
        ChartAppearance appearance;
        appearance.View3D = options->View3D == "on";
        appearance.ValueLabels = ValueModes.at(options->Values);
        WriteChartPicture(options->Output, description, appearance, size);
    });
}
