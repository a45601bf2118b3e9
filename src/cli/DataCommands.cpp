// info, list and save: what a data file holds, its list view, and saving it as an own data file.

#include "base/Cp1252.h"
#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "data/DateTime.h"

#include <memory>

namespace {
std::string DataModeName(DataMode mode) {
    switch (mode) {
    case DataMode::SingleVehicle:
        return "single vehicles";
    case DataMode::Interval:
        return "5-minute intervals";
    case DataMode::Imported:
        return "imported intervals";
    case DataMode::None:
        break;
    }
    return "none";
}

std::vector<std::string> InfoLines(const EvaluationContext& run) {
    const MeasurementData& data = run.data;
    const bool vehicles = data.DataMode == DataMode::SingleVehicle;
    const int count = vehicles ? data.LoadedCount : data.IntervalCount;
    std::vector<std::string> lines;
    const char* fileKind = run.imported                               ? "Pelo file"
                           : run.loaded.FileKind == DataFileKind::Own ? "own data file"
                                                                      : "device raw file";
    lines.push_back(std::string("file: ") + fileKind);
    lines.push_back("kind: " + run.loaded.RecordKind);
    lines.push_back("data: " + DataModeName(data.DataMode));
    lines.push_back("records: " + std::to_string(count));
    lines.push_back("comment: " + data.Comment);
    if (count > 0) {
        const double first = vehicles ? data.Vehicles[1].Time : data.Intervals[1].StartTime;
        const double last = vehicles ? data.Vehicles[count].Time : data.Intervals[count].StartTime;
        lines.push_back("first: " + FormatDateTime("dd.mm.yyyy hh:mm:ss", first));
        lines.push_back("last: " + FormatDateTime("dd.mm.yyyy hh:mm:ss", last));
    }
    return lines;
}

struct SaveOptions {
    std::string Output;
    bool All = false;
    std::string View;
    std::optional<std::string> Comment;
};

// The list view whose records are saved: --view, or the list the measurement opens with.
View SavedView(const EvaluationContext& run, const SaveOptions& options) {
    if (options.View.empty())
        return run.ListView();
    return options.View == "vehicles" ? View::VehicleList : View::IntervalList;
}

void Save(EvaluationContext& run, const SaveOptions& options) {
    if (options.Comment)
        run.data.Comment = Utf8Left(*options.Comment, MaxCommentLength);
    const View view = SavedView(run, options);
    if (view == View::VehicleList && !run.HasVehicles())
        UsageError("--view vehicles needs single-vehicle data");
    run.Save(options.Output, view, options.All ? SaveScope::All : SaveScope::Filtered);
}
} // namespace

void RegisterDataCommands(CLI::App& app, CliContext& context) {
    auto file = std::make_shared<InputFile>();
    auto selection = std::make_shared<SelectionOptions>();

    CLI::App* info = app.add_subcommand("info", "what a data file holds, one key: value a line");
    AddInputFile(info, *file);
    info->callback([&context, file] {
        EvaluationContext run;
        StartRun(context, run);
        run.Load(*file);
        PrintLines(InfoLines(run));
    });

    CLI::App* list = app.add_subcommand("list", "the list view of a data file, all records as one page");
    AddInputFile(list, *file);
    AddSelectionOptions(list, *selection);
    list->callback([&context, file, selection] {
        EvaluationContext run;
        StartRun(context, run);
        run.Load(*file);
        ApplySelection(run, *selection, !run.HasVehicles());
        PrintLines(run.Lines(run.ListView()));
    });

    auto save = std::make_shared<SaveOptions>();
    CLI::App* saveCommand = app.add_subcommand("save", "save as an own data file (.lng or .sht)");
    AddInputFile(saveCommand, *file);
    saveCommand->add_option("-o", save->Output, "own data file to write")->required();
    saveCommand->add_flag("--all", save->All, "all loaded records (\"alles speichern\")");
    saveCommand->add_option("--view", save->View, "list view whose records are saved")
        ->check(CLI::IsMember({"vehicles", "intervals"}));
    saveCommand->add_option("--comment", save->Comment, "the measurement's comment (at most 78 characters)");
    AddSelectionOptions(saveCommand, *selection);
    saveCommand->callback([&context, file, selection, save] {
        EvaluationContext run;
        StartRun(context, run);
        run.Load(*file);
        ApplySelection(run, *selection, SavedView(run, *save) == View::IntervalList);
        Save(run, *save);
    });
}
