#include "cli/CliRun.h"

#include "data/TextFormat.h"
#include "evaluation/TrafficStatistics.h"
#include "lang/ProgramDirectory.h"
#include "settings/SettingsStore.h"

#include <cstdio>
#include <iostream>

void AddCommonOptions(CLI::App& app, CommonOptions& options) {
    app.add_option("--lang", options.LanguageFile, "language file beside the program (deutsch.cty, ...)");
    app.add_option("--settings", options.SettingsPath, "settings file (default: the one beside the program)");
}

void AddSelectionOptions(CLI::App* command, SelectionOptions& options) {
    command->add_option("--minutes", options.Minutes, "interval length shown")
        ->check(CLI::IsMember({5, 15, 30, 60}));
    command->add_option("--range", options.Range, "FIRST:LAST record numbers of the joined intervals");
    command->add_option("--limit", options.Limit, "speed-limit display on, limit in km/h")
        ->check(CLI::IsMember({10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    command->add_option("--lower", options.Lower, "lower percentile")
        ->check(CLI::IsMember({5, 10, 15, 20, 25}));
    command->add_option("--upper", options.Upper, "upper percentile")
        ->check(CLI::IsMember({75, 80, 85, 90, 95}));
    command->add_option("--calc-v50", options.CalcV50, "V50 as 50 % value or mean")
        ->check(CLI::IsMember({"count", "mean"}));
    command->add_option("--pkw", options.Pkw, "minimum length of a PKW in metres");
    command->add_option("--lkw", options.Lkw, "minimum length of a LKW in metres");
    command->add_option("--lz", options.Lz, "minimum length of a LZ in metres");
    command->add_option("--mark", options.Marks, "mark the working vehicles that meet all conditions");
    auto* drop = command->add_flag("--drop-marked", options.DropMarked, "remove the marked vehicles");
    auto* keep = command->add_flag("--keep-marked", options.KeepMarked, "keep only the marked vehicles");
    drop->excludes(keep);
}

void AddSummaryKindOption(CLI::App* command, std::string& kind) {
    command->add_option("--kind", kind, "summary table: overview, speed, daily or stats (default overview)")
        ->check(CLI::IsMember({"overview", "speed", "daily", "stats"}));
}

int SummaryKindOf(const std::string& kind) {
    return kind == "speed" ? 2 : kind == "daily" ? 3 : kind == "stats" ? 4 : 1;
}

View ViewNamed(const std::string& name) {
    return name == "vehicles"    ? View::VehicleList
           : name == "intervals" ? View::IntervalList
           : name == "chart"     ? View::Chart
           : name == "summary"   ? View::Summary
                                 : View::None;
}

void StartRun(CliContext& context, EvaluationContext& run) {
    const std::optional<CoreError> warning = run.Start(
        StartupOptions{ProgramDirectory(), context.common.LanguageFile, context.common.SettingsPath});
    context.texts = run.texts;
    if (warning)
        std::cerr << warning->Message(context.texts) << '\n';
}

void AddInputFile(CLI::App* command, InputFile& input) {
    command->add_option("FILE", input.Path, "data file (with --import: Pelo file)")->required();
    command->add_flag("--import", input.Import, "FILE is a Pelo file, imported as \"Import\" does");
}

namespace {
std::pair<int, int> ParseRange(const std::string& text) {
    const auto colon = text.find(':');
    const auto first = colon == std::string::npos ? std::nullopt : StrToIntStrict(text.substr(0, colon));
    const auto last = colon == std::string::npos ? std::nullopt : StrToIntStrict(text.substr(colon + 1));
    if (!first || !last)
        UsageError("--range: expected FIRST:LAST, got \"" + text + "\"");
    return {*first, *last};
}

Selection SelectionOf(const SelectionOptions& options, bool intervalsWanted) {
    Selection selection;
    selection.Minutes = options.Minutes;
    if (intervalsWanted && !options.Range.empty())
        selection.Range = ParseRange(options.Range);
    selection.Limit = options.Limit;
    selection.Lower = options.Lower;
    selection.Upper = options.Upper;
    if (!options.CalcV50.empty())
        selection.CalcV50 = options.CalcV50 == "mean" ? 1 : 0;
    selection.Pkw = options.Pkw;
    selection.Lkw = options.Lkw;
    selection.Lz = options.Lz;
    selection.Marks = options.Marks;
    selection.DropMarked = options.DropMarked;
    selection.KeepMarked = options.KeepMarked;
    return selection;
}
} // namespace

void ApplySelection(EvaluationContext& run, const SelectionOptions& options, bool intervalsWanted) {
    run.Select(SelectionOf(options, intervalsWanted), intervalsWanted);
}

void AddStatisticsOverrides(CLI::App* command, StatisticsOverrides& overrides) {
    overrides.FreeFlowOption = command->add_option("--free-flow", overrides.FreeFlow,
                                                   "free-flow gap in seconds (default from settings, 5)");
    overrides.ThresholdsOption =
        command->add_option("--thresholds", overrides.Thresholds, "speed thresholds T1,T2,... in km/h");
}

void ApplyStatisticsOverrides(Settings& settings, const StatisticsOverrides& overrides) {
    if (overrides.FreeFlowOption->count() > 0) {
        const auto gap = ParseFreeFlowGap(overrides.FreeFlow);
        if (!gap)
            UsageError("--free-flow: expected a positive number of seconds, got \"" + overrides.FreeFlow +
                       "\"");
        settings.FreeFlowGapSeconds = *gap;
    }
    if (overrides.ThresholdsOption->count() > 0) {
        const auto thresholds = ParseThresholds(overrides.Thresholds);
        if (!thresholds)
            UsageError("--thresholds: expected whole km/h 0..255 separated by commas, got \"" +
                       overrides.Thresholds + "\"");
        settings.SpeedThresholds = *thresholds;
    }
}

void PrintLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

void UsageError(const std::string& message) {
    throw CLI::ValidationError(message);
}
