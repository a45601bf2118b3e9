// korvelan2-cli: the batch front over the same core as the desktop program.

#include "cli/CliRun.h"
#include "cli/Commands.h"

#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"korvelan2-cli: evaluates road-traffic counts in scripts, as the desktop program does."};
    app.require_subcommand(1, 1);
    app.fallthrough(); // the common options may follow the sub-command
    CliContext context;
    AddCommonOptions(app, context.common);

    RegisterDataCommands(app, context);
    RegisterEvaluationCommands(app, context);
    // Pictures, printouts and the card reader's port come from the drawing part, which these
    // commands load only when they run (see DrawingPart.h).
    RegisterChartCommands(app, context);
    RegisterPrintCommands(app, context);
    RegisterCardCommands(app, context);
    RegisterReportCommand(app, context);
    RegisterStatisticsCommands(app, context);
    RegisterComparisonCommands(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    } catch (const CoreError& error) {
        std::cerr << error.Message(context.texts) << '\n';
        return 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return context.exitCode;
}
