// info, list and save: what a data file holds, its list view, and saving it as an own data file.

#include "base/Cp1252.h"
#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "evaluation/IntervalList.h"
#include "evaluation/VehicleList.h"

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

std::vector<std::string> InfoLines(const CliRun& run) {
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

// The whole working set as one unlimited list page.
std::vector<std::string> ListLines(const CliRun& run, const LanguageTexts& texts) {
    const MeasurementData& data = run.data;
    if (data.DataMode == DataMode::SingleVehicle)
        return RenderVehiclePage(data, 1, data.WorkVehicleCount - 1, texts);
    return RenderIntervalPage(data, 1, data.WorkIntervalCount - 1, texts);
}

struct SaveOptions {
    std::string Output;
    bool All = false;
    std::string View;
    std::optional<std::string> Comment;
};

void Save(CliRun& run, const SaveOptions& options) {
    if (options.Comment)
        run.data.Comment = Utf8Left(*options.Comment, MaxCommentLength);
    const SaveScope scope = options.All ? SaveScope::All : SaveScope::Filtered;
    const bool vehicleView =
        options.View.empty() ? run.data.DataMode == DataMode::SingleVehicle : options.View == "vehicles";
    if (vehicleView) {
        if (run.data.DataMode != DataMode::SingleVehicle)
            UsageError("--view vehicles needs single-vehicle data");
        SaveVehicleList(options.Output, run.data, scope);
    } else {
        SaveIntervalList(options.Output, run.data, scope, run.view.IntervalFactor);
    }
}
} // namespace

void RegisterDataCommands(CLI::App& app, CliContext& context) {
    auto file = std::make_shared<InputFile>();
    auto selection = std::make_shared<SelectionOptions>();

    CLI::App* info = app.add_subcommand("info", "what a data file holds, one key: value a line");
    AddInputFile(info, *file);
    info->callback([&context, file] {
        CliRun run;
        StartRun(context, run);
        LoadInput(run, *file);
        PrintLines(InfoLines(run));
    });

    CLI::App* list = app.add_subcommand("list", "the list view of a data file, all records as one page");
    AddInputFile(list, *file);
    AddSelectionOptions(list, *selection);
    list->callback([&context, file, selection] {
        CliRun run;
        StartRun(context, run);
        LoadInput(run, *file);
        ApplySelection(run, *selection, run.data.DataMode != DataMode::SingleVehicle);
        PrintLines(ListLines(run, context.texts));
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
        CliRun run;
        StartRun(context, run);
        LoadInput(run, *file);
        const bool intervals =
            save->View == "intervals" || (save->View.empty() && run.data.DataMode != DataMode::SingleVehicle);
        ApplySelection(run, *selection, intervals);
        Save(run, *save);
    });
}
