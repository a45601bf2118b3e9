#include "cli/CliRun.h"
#include "cli/Commands.h"

void RegisterCardCommands(CLI::App&, CliContext&) {}
