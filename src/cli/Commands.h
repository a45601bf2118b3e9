#pragma once
// The commands of korvelan2-cli. Each group registers its sub-commands on the application; a
// command's callback does its work on a CliRun and throws CoreError on failure.

#include <CLI/CLI.hpp>

struct CliContext;

void RegisterDataCommands(CLI::App& app, CliContext& context);       // info, list, save
void RegisterEvaluationCommands(CLI::App& app, CliContext& context); // intervals, summary, export
void RegisterChartCommands(CLI::App& app, CliContext& context);      // chart
void RegisterPrintCommands(CLI::App& app, CliContext& context);      // print
void RegisterCardCommands(CLI::App& app, CliContext& context);       // card, smcard, import
void RegisterStatisticsCommands(CLI::App& app, CliContext& context); // stats
void RegisterComparisonCommands(CLI::App& app, CliContext& context); // compare
void RegisterReportCommand(CLI::App& app, CliContext& context);      // report
