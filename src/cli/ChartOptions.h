#pragma once
// The chart options that `chart` and `print --view chart` share: which view, group and direction,
// the window offset and the chart's appearance, turned into the chart the tool bar would draw.

#include "charts/ChartDescription.h"
#include "cli/CliRun.h"

#include <string>

struct ChartOptions {
    std::string View = "count";
    std::string Group = "sum";
    std::string Direction = "both";
    int Offset = 0;
    std::string View3D = "on";
    std::string Values = "none";
    std::string Days = "workdays"; // the average day's day group
    CLI::Option* DaysOption = nullptr;
};

// Adds the options; the chart view is chosen with `viewOption` ("--view" or "--chart").
CLI::Option* AddChartOptions(CLI::App* command, ChartOptions& options, const std::string& viewOption);

// The chart as entering the chart mode (automatic scaling) and pressing the tool bar's buttons
// draws it. Views and groups that the tool bar does not offer for the data are usage errors.
ChartDescription DrawRequestedChart(const ChartOptions& options, EvaluationContext& run,
                                    const LanguageTexts& texts);

ChartAppearance AppearanceOf(const ChartOptions& options);
