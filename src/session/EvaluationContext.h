#pragma once
// What each front holds while it works on a measurement: the settings and language texts read at
// start, the one measurement, the choices of the tool bars and dialogs, and the operations a user
// runs on them (load, select, save, export, the lines of a view). It shows nothing and asks
// nothing; the fronts read their controls or options into it and show what it returns.

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "base/View.h"
#include "base/ViewSelections.h"
#include "charts/PrintSource.h"
#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"
#include "data/MeasurementData.h"
#include "evaluation/CsvExport.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct StartupOptions {
    std::string ProgramDirectory;
    std::string LanguageFile; // empty: the settings' language file
    std::string SettingsPath; // empty: the settings file beside the program (or the personal one)
};

// A data file, or a Pelo file that is imported as "Import" does.
struct InputFile {
    std::string Path;
    bool Import = false;
};

// The selection a user makes before looking at a view, in the order it is applied.
struct Selection {
    int Minutes = 5;                          // 5, 15, 30 or 60
    std::optional<std::pair<int, int>> Range; // first and last record of the joined intervals
    std::optional<int> Limit;                 // km/h; switches the limit display on
    std::optional<int> Lower;
    std::optional<int> Upper;
    std::optional<int> CalcV50; // 0 the 50 % value, 1 the mean
    std::optional<int> Pkw;
    std::optional<int> Lkw;
    std::optional<int> Lz;
    std::vector<std::string> Marks; // record filter conditions, all of which a vehicle must meet
    bool DropMarked = false;
    bool KeepMarked = false;
};

class EvaluationContext {
public:
    // Reads the settings file and the language file. A language file that cannot be read ends the
    // start with CoreError; a settings warning (lengths that are not whole numbers) is returned for
    // the front to show.
    std::optional<CoreError> Start(const StartupOptions& options);

    // Loads a data file as "Öffnen" does, or imports a Pelo file as "Import" does.
    void Load(const InputFile& input);

    // Applies a selection: settings overrides, the speed limit, marking and removing vehicles;
    // then, when intervals are wanted, building the 5-minute intervals, joining them to the chosen
    // length and cutting them to the range. A bad range or condition throws CoreError.
    void Select(const Selection& selection, bool intervalsWanted);

    // The intervals of another length (5, 15, 30 or 60 minutes as factor 1, 3, 6, 12), joined from
    // the 5-minute intervals. Throws CoreError.
    void JoinIntervals(int factor);
    // Builds the 5-minute intervals again where a change of the vehicles left them out of date;
    // true when they were built. Throws CoreError.
    bool BuildPendingIntervals();

    // Whether the measurement holds single vehicles.
    bool HasVehicles() const { return data.DataMode == DataMode::SingleVehicle; }
    // The list view a measurement opens with.
    View ListView() const { return HasVehicles() ? View::VehicleList : View::IntervalList; }

    // The lines of a list as one unlimited page, or of the summary of the chosen kind.
    std::vector<std::string> Lines(View shown) const;
    std::vector<std::string> SummaryLines() const;
    StatisticsSettings Statistics() const;

    // Saves the records of a list view as an own data file.
    void Save(const std::filesystem::path& file, View shown, SaveScope scope) const;
    // The ASCII export of a view.
    void ExportAscii(const std::filesystem::path& file, View shown) const;
    // What a printout of the view reads: the chart as the front drew it (for the chart view) and
    // the summary of the chosen kind (for the summary).
    PrintSource PrintSourceOf(View shown, const ChartDescription& chart,
                              const ChartAppearance& appearance) const;
    // The description of a CSV export of this measurement; source is the file it was loaded from.
    CsvExportRequest CsvRequest(CsvStyle style, const std::filesystem::path& source) const;

    Settings settings;
    LanguageTexts texts;
    MeasurementData data;
    ViewSelections view;
    LoadInfo loaded;
    SettingsFileLocation settingsLocation; // the settings file Start read
    bool imported = false;                 // the measurement came from a Pelo file
};
