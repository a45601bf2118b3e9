#include "cli/ChartOptions.h"

#include "charts/ChartViews.h"
#include "charts/StatisticsCharts.h"
#include "evaluation/ChartButtonRules.h"

#include <map>

namespace {
struct GroupChoice {
    int Group;             // VehicleGroup of the chart views
    ::VehicleGroup Button; // the group button that selects it
};

const std::map<std::string, int> Views{{"count", ChartQuantity::Count}, {"speed", ChartQuantity::Speed},
                                       {"gap", ChartQuantity::Gap},     {"length", ChartQuantity::Length},
                                       {"v1", ChartQuantity::V1},       {"v2", ChartQuantity::V2},
                                       {"v3", ChartQuantity::V3},       {"v4", ChartQuantity::V4}};

const std::map<std::string, GroupChoice> Groups{{"all", {StackedGroup, ::VehicleGroup::AllVehicles}},
                                                {"sum", {SumGroup, ::VehicleGroup::SumOfAll}},
                                                {"pkw", {1, ::VehicleGroup::Pkw}},
                                                {"lkw", {2, ::VehicleGroup::Lkw}},
                                                {"lz", {3, ::VehicleGroup::Lz}},
                                                {"heavy", {4, ::VehicleGroup::LkwAndLz}}};

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

bool IsStatisticsView(const std::string& view) {
    return view == "profile" || view == "cumulative";
}

StatisticsChartKind StatisticsKindOf(const std::string& view) {
    return view == "cumulative" ? StatisticsChartKind::CumulativeSpeed : StatisticsChartKind::AverageDay;
}

void CheckStatisticsViewOffered(const ChartOptions& options, ::DataMode mode) {
    if (options.DaysOption && options.DaysOption->count() > 0 && options.View != "profile")
        UsageError("--days is only for chart view profile");
    if (!StatisticsChartOffered(StatisticsKindOf(options.View), mode))
        UsageError("chart view " + options.View + " is not offered for " + DataKindName(mode));
}

ChartDescription DrawStatisticsChartView(const ChartOptions& options, EvaluationContext& run,
                                         const LanguageTexts& texts) {
    CheckStatisticsViewOffered(options, run.data.DataMode);
    ChartScaleState scale;
    SetAutomaticScaling(scale);
    return DrawStatisticsChart(StatisticsKindOf(options.View),
                               options.Days == "weekend" ? ProfileDays::Weekend : ProfileDays::Workdays,
                               Directions.at(options.Direction), scale, run.data, run.settings, run.view,
                               texts);
}

// The tool bar offers only the views and groups that fit the data; so do the commands.
void CheckOffered(const ChartOptions& options, ::DataMode mode) {
    const int quantity = Views.at(options.View);
    if (!QuantityEnabled(mode, quantity))
        UsageError("chart view " + options.View + " is not offered for " + DataKindName(mode));
    if (!GroupEnabled(mode, quantity, Groups.at(options.Group).Button))
        UsageError("--group " + options.Group + " is not offered for chart view " + options.View + " with " +
                   DataKindName(mode));
}
} // namespace

CLI::Option* AddChartOptions(CLI::App* command, ChartOptions& options, const std::string& viewOption) {
    CLI::Option* view = command
                            ->add_option(viewOption, options.View,
                                         "chart: count, speed, gap, length, v1..v4, profile, cumulative")
                            ->check(CLI::IsMember({"count", "speed", "gap", "length", "v1", "v2", "v3", "v4",
                                                   "profile", "cumulative"}));
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
    options.DaysOption =
        command->add_option("--days", options.Days, "profile: workdays or weekend (default workdays)")
            ->check(CLI::IsMember({"workdays", "weekend"}));
    return view;
}

ChartDescription DrawRequestedChart(const ChartOptions& options, EvaluationContext& run,
                                    const LanguageTexts& texts) {
    if (IsStatisticsView(options.View))
        return DrawStatisticsChartView(options, run, texts);
    if (options.DaysOption && options.DaysOption->count() > 0)
        UsageError("--days is only for chart view profile");
    CheckOffered(options, run.data.DataMode);
    ChartRequest request;
    request.Quantity = Views.at(options.View);
    request.VehicleGroup = Groups.at(options.Group).Group;
    request.DirectionSelection = Directions.at(options.Direction);
    request.LowerPercentile = run.view.LowerPercentile;
    request.UpperPercentile = run.view.UpperPercentile;
    request.CalcV50 = run.settings.CalcV50;
    request.SingleVehicleData = run.data.DataMode == ::DataMode::SingleVehicle;
    run.view.ChartOffset = options.Offset;
    ChartScaleState scale;
    SetAutomaticScaling(scale);
    return DrawSelectedChart(request, scale, run.data, run.view, texts);
}

ChartAppearance AppearanceOf(const ChartOptions& options) {
    ChartAppearance appearance;
    appearance.View3D = options.View3D == "on";
    appearance.ValueLabels = ValueModes.at(options.Values);
    return appearance;
}
