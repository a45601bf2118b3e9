#include "cli/CliRun.h"
#include "cli/Commands.h"

void RegisterPrintCommands(CLI::App&, CliContext&) {}
