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
    StatisticsOverrides Overrides;
};
} // namespace

void RegisterStatisticsCommands(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<StatisticsOptions>();
    auto selection = std::make_shared<SelectionOptions>();
    auto input = std::make_shared<InputFile>();
    CLI::App* stats =
        app.add_subcommand("stats", "traffic statistics: speed figures, days, ADT, peak hours, quality");
    AddInputFile(stats, *input);
    stats->add_flag("--json", options->Json, "print one JSON object instead of the text");
    AddStatisticsOverrides(stats, options->Overrides);
    AddSelectionOptions(stats, *selection);
    stats->callback([&context, options, selection, input] {
        EvaluationContext run;
        StartRun(context, run);
        ApplyStatisticsOverrides(run.settings, options->Overrides);
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
