#pragma once
// One run of korvelan2-cli: its options turned into the evaluation context's start-up, load and
// selection, which the desktop program goes through too.

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "session/EvaluationContext.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

struct CommonOptions {
    std::string LanguageFile; // --lang; empty: the settings' language file
    std::string SettingsPath; // --settings; empty: the settings file beside the program
};

// The selection options of the commands that evaluate data.
struct SelectionOptions {
    int Minutes = 5;
    std::string Range; // "FIRST:LAST"
    std::optional<int> Limit;
    std::optional<int> Lower;
    std::optional<int> Upper;
    std::string CalcV50; // "count" or "mean"
    std::optional<int> Pkw;
    std::optional<int> Lkw;
    std::optional<int> Lz;
    std::vector<std::string> Marks;
    bool DropMarked = false;
    bool KeepMarked = false;
};

struct CliContext {
    CommonOptions common;
    LanguageTexts texts; // filled at the start of a command, so that errors read in its language
    int exitCode = 0;
};

void AddCommonOptions(CLI::App& app, CommonOptions& options);
void AddSelectionOptions(CLI::App* command, SelectionOptions& options);

// --kind overview|speed|daily|stats: the summary table (summary kind 1, 2, 3, 4).
void AddSummaryKindOption(CLI::App* command, std::string& kind);
int SummaryKindOf(const std::string& kind);

// --view vehicles|intervals|chart|summary.
View ViewNamed(const std::string& name);

// Starts the evaluation context with the common options; its texts become the run's texts. A
// settings warning (lengths that are not whole numbers) goes to standard error.
void StartRun(CliContext& context, EvaluationContext& run);

// Adds FILE and --import to a command that reads a measurement.
void AddInputFile(CLI::App* command, InputFile& input);

// Applies the selection options (see EvaluationContext::Select); --range is read only when
// intervals are wanted.
void ApplySelection(EvaluationContext& run, const SelectionOptions& options, bool intervalsWanted);

// --free-flow and --thresholds of the commands that compute traffic statistics.
struct StatisticsOverrides {
    std::string FreeFlow;
    std::string Thresholds;
    CLI::Option* FreeFlowOption = nullptr; // given at all, even empty
    CLI::Option* ThresholdsOption = nullptr;
};
void AddStatisticsOverrides(CLI::App* command, StatisticsOverrides& overrides);
// Applies them over the settings; a value that does not parse is a usage error rather than a
// silent default.
void ApplyStatisticsOverrides(Settings& settings, const StatisticsOverrides& overrides);

// Writes lines to standard output, each ended by "\n".
void PrintLines(const std::vector<std::string>& lines);

// A usage error of a command's values (exit status 2).
[[noreturn]] void UsageError(const std::string& message);
