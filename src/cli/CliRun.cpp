#include "cli/CliRun.h"

#include "cards/PeloImport.h"
#include "data/TextFormat.h"
#include "evaluation/IntervalList.h"
#include "evaluation/RecordFilter.h"
#include "evaluation/TimeRange.h"
#include "lang/LanguageFile.h"
#include "lang/ProgramDirectory.h"
#include "settings/IniFile.h"
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

void StartRun(CliContext& context, CliRun& run) {
    const std::string programDirectory = ProgramDirectory();
    const SettingsFileLocation location = context.common.SettingsPath.empty()
                                              ? LocateSettingsFile(programDirectory)
                                              : SettingsFileLocation{context.common.SettingsPath, {}};
    const IniFile ini(location.path, location.seedPath);
    LoadedConfig config = LoadConfig(ini, programDirectory);
    run.settings = config.settings;

    const std::string languageFile =
        context.common.LanguageFile.empty() ? run.settings.LanguageFile : context.common.LanguageFile;
    try {
        LoadLanguageFile(LanguageFilePath(languageFile), context.texts);
    } catch (const CoreError& error) {
        // The desktop program says no more than this and ends.
        throw CoreError::WithText("Fehler!", error.Message(context.texts));
    }
    if (config.warning)
        std::cerr << config.warning->Message(context.texts) << '\n';

    run.view.LowerPercentile = LowerPercentileOf(run.settings.VLowIndex);
    run.view.UpperPercentile = UpperPercentileOf(run.settings.VHighIndex);
    run.data.LimitColourShift = LimitColourShiftOf(run.settings);
}

void AddInputFile(CLI::App* command, InputFile& input) {
    command->add_option("FILE", input.Path, "data file (with --import: Pelo file)")->required();
    command->add_flag("--import", input.Import, "FILE is a Pelo file, imported as \"Import\" does");
}

void LoadInput(CliRun& run, const InputFile& input) {
    if (!input.Import) {
        run.loaded = LoadDataFile(input.Path, run.data);
        return;
    }
    ImportPeloFile(run.data, input.Path);
    run.imported = true;
    run.loaded.RecordKind = "PEL";
    run.loaded.Count = run.data.IntervalCount;
    run.loaded.DataMode = run.data.DataMode;
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

void ApplySettingsOverrides(CliRun& run, const SelectionOptions& options) {
    if (options.Pkw)
        run.settings.Lengths.PkwMinLength = *options.Pkw;
    if (options.Lkw)
        run.settings.Lengths.LkwMinLength = *options.Lkw;
    if (options.Lz)
        run.settings.Lengths.LzMinLength = *options.Lz;
    if (options.Lower)
        run.view.LowerPercentile = *options.Lower;
    if (options.Upper)
        run.view.UpperPercentile = *options.Upper;
    if (!options.CalcV50.empty())
        run.settings.CalcV50 = options.CalcV50 == "mean" ? 1 : 0;
    if (options.Limit) {
        run.data.LimitDisplayOn = 1;
        run.data.SpeedLimitIndex = *options.Limit / 10;
    }
    run.view.IntervalFactor = options.Minutes / 5;
}

void ApplyVehicleFilter(CliRun& run, const SelectionOptions& options) {
    const bool wanted = !options.Marks.empty() || options.DropMarked || options.KeepMarked;
    if (!wanted)
        return;
    if (!options.Marks.empty())
        MarkVehicles(run.data, MarkConditionFromTexts(options.Marks), WholeWorkingSet(run.data));
    if (options.DropMarked)
        EraseMarkedVehicles(run.data);
    if (options.KeepMarked)
        UseMarkedVehicles(run.data);
}
} // namespace

void ApplySelection(CliRun& run, const SelectionOptions& options, bool intervalsWanted) {
    ApplySettingsOverrides(run, options);
    ApplyVehicleFilter(run, options);
    if (!intervalsWanted)
        return;
    if (run.data.IntervalRebuildPending)
        BuildFiveMinuteIntervals(run.data, run.settings.Lengths);
    AggregateIntervals(run.data, run.view.IntervalFactor);
    if (!options.Range.empty()) {
        const auto [first, last] = ParseRange(options.Range);
        SetIntervalRange(run.data, first, last);
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
