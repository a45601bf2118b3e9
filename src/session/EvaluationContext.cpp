#include "session/EvaluationContext.h"

#include "cards/PeloImport.h"
#include "data/AsciiExport.h"
#include "data/Sha256.h"
#include "evaluation/IntervalList.h"
#include "evaluation/RecordFilter.h"
#include "evaluation/Summary.h"
#include "evaluation/TimeRange.h"
#include "evaluation/VehicleList.h"
#include "lang/LanguageFile.h"
#include "lang/ShippedFiles.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"

std::optional<CoreError> EvaluationContext::Start(const StartupOptions& options) {
    const SettingsFileLocation location = options.SettingsPath.empty()
                                              ? LocateSettingsFile(options.ProgramDirectory)
                                              : SettingsFileLocation{options.SettingsPath, {}};
    settingsLocation = location;
    const IniFile ini(location.path, location.seedPath);
    LoadedConfig config = LoadConfig(ini, options.ProgramDirectory);
    settings = config.settings;

    const std::string languageFile =
        options.LanguageFile.empty() ? settings.LanguageFile : options.LanguageFile;
    try {
        LoadLanguageFile(FindShippedFile(options.ProgramDirectory, languageFile).string(), texts);
    } catch (const CoreError& error) {
        // Without its texts the program can say no more than this.
        throw CoreError::WithText("Fehler!", error.Message(texts));
    }
    view.LowerPercentile = LowerPercentileOf(settings.VLowIndex);
    view.UpperPercentile = UpperPercentileOf(settings.VHighIndex);
    view.LimitColourShift = LimitColourShiftOf(settings);
    return config.warning;
}

void EvaluationContext::Load(const InputFile& input) {
    if (!input.Import) {
        loaded = LoadDataFile(input.Path, data);
        imported = false;
        view.ChartOffset = 0;
        return;
    }
    ImportPeloFile(data, input.Path);
    imported = true;
    view.ChartOffset = 0;
    loaded.FileKind = DataFileKind::Own;
    loaded.RecordKind = "PEL";
    loaded.Count = data.IntervalCount;
    loaded.DataMode = data.DataMode;
}

namespace {
void ApplyOverrides(Settings& settings, ViewSelections& view, const Selection& s) {
    if (s.Pkw)
        settings.Lengths.PkwMinLength = *s.Pkw;
    if (s.Lkw)
        settings.Lengths.LkwMinLength = *s.Lkw;
    if (s.Lz)
        settings.Lengths.LzMinLength = *s.Lz;
    if (s.Lower)
        view.LowerPercentile = *s.Lower;
    if (s.Upper)
        view.UpperPercentile = *s.Upper;
    if (s.CalcV50)
        settings.CalcV50 = *s.CalcV50;
    if (s.Limit) {
        view.LimitDisplayOn = true;
        view.SpeedLimitIndex = *s.Limit / 10;
    }
    view.IntervalFactor = s.Minutes / 5;
}

void ApplyVehicleFilter(MeasurementData& data, const Selection& s) {
    if (!s.Marks.empty())
        MarkVehicles(data, MarkConditionFromTexts(s.Marks), WholeWorkingSet(data));
    if (s.DropMarked)
        EraseMarkedVehicles(data);
    if (s.KeepMarked)
        UseMarkedVehicles(data);
}
} // namespace

void EvaluationContext::Select(const Selection& selection, bool intervalsWanted) {
    ApplyOverrides(settings, view, selection);
    ApplyVehicleFilter(data, selection);
    if (!intervalsWanted)
        return;
    BuildPendingIntervals();
    JoinIntervals(view.IntervalFactor);
    if (selection.Range) {
        SetIntervalRange(data, selection.Range->first, selection.Range->second);
        view.ChartOffset = 0;
    }
}

void EvaluationContext::JoinIntervals(int factor) {
    view.IntervalFactor = factor;
    AggregateIntervals(data, factor);
    // The chart's window must not stay on intervals that no longer exist.
    view.ChartOffset = 0;
}

bool EvaluationContext::BuildPendingIntervals() {
    if (data.IntervalRebuildPending == 0)
        return false;
    BuildFiveMinuteIntervals(data, settings.Lengths);
    return true;
}

std::vector<std::string> EvaluationContext::Lines(View shown) const {
    switch (shown) {
    case View::VehicleList:
        return RenderVehiclePage(data, 1, data.WorkVehicleCount - 1, texts);
    case View::IntervalList:
        return RenderIntervalPage(data, 1, data.WorkIntervalCount - 1, texts);
    case View::Summary:
        return SummaryLines();
    case View::Chart:
    case View::None:
        break;
    }
    return {};
}

std::vector<std::string> EvaluationContext::SummaryLines() const {
    return ::SummaryLines(data, view, texts, Statistics());
}

StatisticsSettings EvaluationContext::Statistics() const {
    return StatisticsSettingsOf(settings, data, view);
}

void EvaluationContext::Save(const std::filesystem::path& file, View shown, SaveScope scope) const {
    if (shown == View::VehicleList)
        SaveVehicleList(file, data, scope);
    else
        SaveIntervalList(file, data, scope, view.IntervalFactor);
}

void EvaluationContext::ExportAscii(const std::filesystem::path& file, View shown) const {
    ::ExportAscii(file, shown, data, shown == View::Summary ? SummaryLines() : std::vector<std::string>{});
}

PrintSource EvaluationContext::PrintSourceOf(View shown, const ChartDescription& chart,
                                             const ChartAppearance& appearance) const {
    return PrintSource{data, texts, chart, appearance,
                       shown == View::Summary ? SummaryLines() : std::vector<std::string>{}};
}

CsvExportRequest EvaluationContext::CsvRequest(CsvStyle style, const std::filesystem::path& source) const {
    CsvExportRequest request;
    request.Style = style;
    request.Settings = Statistics();
    request.IntervalMinutes = 5 * view.IntervalFactor;
    if (!source.empty())
        request.Source = DataPackageSource{source.filename().string(), FileSha256Hex(source.string())};
    return request;
}
