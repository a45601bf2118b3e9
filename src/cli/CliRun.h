#pragma once
// One run of korvelan2-cli: the settings and language texts as the desktop program reads them at
// start, the one measurement, and the choices a user would make with the tool bars and dialogs.

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "data/DataFileLoader.h"
#include "data/MeasurementData.h"
#include "settings/Settings.h"

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

// FILE of a command that reads a measurement: a data file, or with --import a Pelo file.
struct InputFile {
    std::string Path;
    bool Import = false;
};

struct CliContext {
    CommonOptions common;
    LanguageTexts texts; // filled at the start of a command, so that errors read in its language
    int exitCode = 0;
};

struct CliRun {
    Settings settings;
    MeasurementData data;
    ViewSelections view;
    LoadInfo loaded;
    bool imported = false; // FILE was a Pelo file, imported as the "Import" menu command does
};

void AddCommonOptions(CLI::App& app, CommonOptions& options);
void AddSelectionOptions(CLI::App* command, SelectionOptions& options);

// --kind overview|speed|daily|stats: the summary table (`SummaryKind` 1, 2, 3, 4).
void AddSummaryKindOption(CLI::App* command, std::string& kind);
int SummaryKindOf(const std::string& kind);

// Reads the settings file and the language file as the desktop program does at start. A settings
// warning (lengths that are not whole numbers) goes to standard error.
void StartRun(CliContext& context, CliRun& run);

// Adds FILE and --import to a command that reads a measurement.
void AddInputFile(CLI::App* command, InputFile& input);

// Loads FILE as "Öffnen" does, or with --import imports it as "Import" does.
void LoadInput(CliRun& run, const InputFile& input);

// Applies the selection options in the order a user works: settings overrides, the speed limit,
// marking and removing vehicles; then, when intervals are wanted, building the 5-minute
// intervals, joining them to the chosen length and cutting them to the range.
void ApplySelection(CliRun& run, const SelectionOptions& options, bool intervalsWanted);

// Writes lines to standard output, each ended by "\n".
void PrintLines(const std::vector<std::string>& lines);

// A usage error of a command's values (exit status 2).
[[noreturn]] void UsageError(const std::string& message);
