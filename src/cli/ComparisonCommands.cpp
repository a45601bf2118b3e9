// compare: two measurements of one site, before and after a measure, as text or one JSON object.

#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "data/Sha256.h"
#include "evaluation/ComparisonJson.h"
#include "evaluation/ComparisonText.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace {
struct ComparisonOptions {
    std::string Before;
    std::string After;
    bool Json = false;
    bool SwapDirections = false;
    StatisticsOverrides Overrides;
    std::string Range;
    CLI::Option* RangeOption = nullptr;
    SelectionOptions Selection; // the limit and the record filter only
};

void AddComparisonOptions(CLI::App* compare, ComparisonOptions& o) {
    compare->add_option("BEFORE", o.Before, "data file measured before the measure")->required();
    compare->add_option("AFTER", o.After, "data file measured after the measure")->required();
    compare->add_flag("--json", o.Json, "print one JSON object instead of the text");
    compare->add_option("--limit", o.Selection.Limit, "speed limit in km/h")
        ->check(CLI::IsMember({10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    AddStatisticsOverrides(compare, o.Overrides);
    compare->add_flag("--swap-directions", o.SwapDirections, "swap the directions of AFTER");
    compare->add_option("--mark", o.Selection.Marks,
                        "mark the working vehicles of both that meet all conditions");
    auto* drop = compare->add_flag("--drop-marked", o.Selection.DropMarked, "remove the marked vehicles");
    auto* keep = compare->add_flag("--keep-marked", o.Selection.KeepMarked, "keep only the marked vehicles");
    drop->excludes(keep);
    o.RangeOption =
        compare->add_option("--range", o.Range, "refused: record numbers mean nothing across two files");
}

// Checks and applies the options that are not settings of a run; bad values are usage errors.
void ApplyComparisonOptions(Settings& settings, const ComparisonOptions& o) {
    if (o.RangeOption->count() > 0)
        UsageError("--range: record numbers of one file mean nothing in the other; compare takes whole "
                   "measurements (use --mark with --drop-marked or --keep-marked to select vehicles)");
    ApplyStatisticsOverrides(settings, o.Overrides);
}

void LoadSide(EvaluationContext& run, const std::string& path, const ComparisonOptions& o) {
    run.Load(InputFile{path, false});
    ApplySelection(run, o.Selection, false);
}

StatisticsSource SourceOf(const std::string& path) {
    return {std::filesystem::path(path).filename().string(), FileSha256Hex(path)};
}
} // namespace

void RegisterComparisonCommands(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<ComparisonOptions>();
    CLI::App* compare =
        app.add_subcommand("compare", "compare two measurements of one site: before and after");
    AddComparisonOptions(compare, *options);
    compare->callback([&context, options] {
        auto before = std::make_unique<EvaluationContext>();
        StartRun(context, *before);
        ApplyComparisonOptions(before->settings, *options);
        auto after = std::make_unique<EvaluationContext>();
        after->settings = before->settings;
        after->view = before->view;
        LoadSide(*before, options->Before, *options);
        LoadSide(*after, options->After, *options);

        ComparisonSettings settings;
        // The limit of the measurement before (or --limit) holds for both.
        settings.Statistics = before->Statistics();
        settings.SwapDirections = options->SwapDirections;
        const Comparison comparison = CompareMeasurements(before->data, after->data, settings);
        if (options->Json) {
            std::cout << ComparisonJson(comparison, SourceOf(options->Before), SourceOf(options->After))
                      << '\n';
            return;
        }
        const ComparedFile beforeFile{std::filesystem::path(options->Before).filename().string(),
                                      before->data.Comment};
        const ComparedFile afterFile{std::filesystem::path(options->After).filename().string(),
                                     after->data.Comment};
        PrintLines(ComparisonLines(comparison, beforeFile, afterFile, context.texts));
    });
}
