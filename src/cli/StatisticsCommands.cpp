// stats: the traffic statistics as the "Kennwerte" text or as one JSON object.

#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "data/Sha256.h"
#include "evaluation/StatisticsJson.h"
#include "evaluation/StatisticsText.h"
#include "evaluation/TrafficStatistics.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace {
struct StatisticsOptions {
    bool Json = false;
    std::string FreeFlow;
    std::string Thresholds;
    CLI::Option* FreeFlowOption = nullptr; // given at all, even empty
    CLI::Option* ThresholdsOption = nullptr;
};

// Applies --free-flow and --thresholds over the settings; a value that does not parse is a usage
// error rather than a silent default.
void ApplyStatisticsOptions(Settings& settings, const StatisticsOptions& options) {
    if (options.FreeFlowOption->count() > 0) {
        const auto gap = ParseFreeFlowGap(options.FreeFlow);
        if (!gap)
            UsageError("--free-flow: expected a positive number of seconds, got \"" + options.FreeFlow +
                       "\"");
        settings.FreeFlowGapSeconds = *gap;
    }
    if (options.ThresholdsOption->count() > 0) {
        const auto thresholds = ParseThresholds(options.Thresholds);
        if (!thresholds)
            UsageError("--thresholds: expected whole km/h 0..255 separated by commas, got \"" +
                       options.Thresholds + "\"");
        settings.SpeedThresholds = *thresholds;
    }
}
} // namespace

void RegisterStatisticsCommands(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<StatisticsOptions>();
    auto selection = std::make_shared<SelectionOptions>();
    auto input = std::make_shared<InputFile>();
    CLI::App* stats =
        app.add_subcommand("stats", "traffic statistics: speed figures, days, ADT, peak hours, quality");
    AddInputFile(stats, *input);
    stats->add_flag("--json", options->Json, "print one JSON object instead of the text");
    options->FreeFlowOption = stats->add_option("--free-flow", options->FreeFlow,
                                                "free-flow gap in seconds (default from settings, 5)");
    options->ThresholdsOption =
        stats->add_option("--thresholds", options->Thresholds, "speed thresholds T1,T2,... in km/h");
    AddSelectionOptions(stats, *selection);
    stats->callback([&context, options, selection, input] {
        EvaluationContext run;
        StartRun(context, run);
        ApplyStatisticsOptions(run.settings, *options);
        run.Load(*input);
        ApplySelection(run, *selection, true);
        const TrafficStatistics statistics = ComputeTrafficStatistics(run.data, run.Statistics());
        if (options->Json) {
            const StatisticsSource source{std::filesystem::path(input->Path).filename().string(),
                                          FileSha256Hex(input->Path)};
            std::cout << StatisticsJson(statistics, source, run.settings.Lengths) << '\n';
        } else {
            PrintLines(KeyFigureLines(statistics, run.data, context.texts));
        }
    });
}
