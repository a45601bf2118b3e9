#include "session/WindowTexts.h"

#include "base/LanguageTexts.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"
#include "session/ShellTexts.h"

#include <filesystem>

namespace {
constexpr std::string_view ProgramName = "Korvelan II";

struct Span {
    long long FirstMs; // at or after
    long long EndMs;   // before
};

// The time the displayed intervals cover, in whole milliseconds (as the interval builder compares).
Span DisplayedSpan(const MeasurementData& data, int intervalFactor) {
    const double last = data.WorkIntervals[data.WorkIntervalCount].StartTime;
    return {ToMilliseconds(data.WorkIntervals[1].StartTime),
            ToMilliseconds(IncMinute(last, 5LL * intervalFactor))};
}

bool Within(double time, const Span& span) {
    const long long ms = ToMilliseconds(time);
    return ms >= span.FirstMs && ms < span.EndMs;
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

std::string Substituted(std::string pattern, const std::string& detail) {
    if (const auto at = pattern.find("%s"); at != std::string::npos)
        pattern.replace(at, 2, detail);
    return pattern;
}

std::string SourceName(const DataSource& source, const LanguageTexts& texts) {
    switch (source.Origin) {
    case DataOrigin::DataFile:
    case DataOrigin::Import:
        return FileNameOf(source.Path);
    case DataOrigin::CardFile:
    case DataOrigin::SmartMediaCard:
        return ShellTextOf(texts, ShellText::CardData);
    case DataOrigin::None:
        break;
    }
    return {};
}

std::string SourceDescription(const DataSource& source, const LanguageTexts& texts) {
    switch (source.Origin) {
    case DataOrigin::DataFile:
        return source.Path;
    case DataOrigin::CardFile:
        return Substituted(ShellTextOf(texts, ShellText::CardDataFrom), source.Path);
    case DataOrigin::SmartMediaCard:
        return ShellTextOf(texts, ShellText::CardData);
    case DataOrigin::Import:
        return Substituted(ShellTextOf(texts, ShellText::ImportedFrom), source.Path);
    case DataOrigin::None:
        break;
    }
    return {};
}
} // namespace

bool RangeInForce(const MeasurementData& data, int intervalFactor) {
    if (data.IntervalRebuildPending != 0 || data.WorkIntervalCount <= 0 || data.IntervalCount <= 0)
        return false;
    const Span shown = DisplayedSpan(data, intervalFactor);
    const long long baseFirst = ToMilliseconds(data.Intervals[1].StartTime);
    const long long baseEnd = ToMilliseconds(IncMinute(data.Intervals[data.IntervalCount].StartTime, 5));
    return shown.FirstMs > baseFirst || shown.EndMs < baseEnd;
}

RecordCounts CountRecordsInForce(const MeasurementData& data, int intervalFactor) {
    RecordCounts counts;
    counts.Vehicles = data.DataMode == DataMode::SingleVehicle;
    const bool range = RangeInForce(data, intervalFactor);
    if (counts.Vehicles) {
        counts.Total = data.LoadedCount;
        counts.InForce = data.WorkVehicleCount;
        if (range) {
            const Span shown = DisplayedSpan(data, intervalFactor);
            counts.InForce = 0;
            for (int i = 1; i <= data.WorkVehicleCount; ++i)
                counts.InForce += Within(data.WorkVehicles[i].Time, shown) ? 1 : 0;
        }
    } else {
        counts.Total = data.IntervalCount;
        counts.InForce = data.IntervalCount;
        if (range) {
            const Span shown = DisplayedSpan(data, intervalFactor);
            counts.InForce = 0;
            for (int i = 1; i <= data.IntervalCount; ++i)
                counts.InForce += Within(data.Intervals[i].StartTime, shown) ? 1 : 0;
        }
    }
    return counts;
}

std::string WindowTitle(const DataSource& source, bool unsaved, const LanguageTexts& texts) {
    const std::string name = SourceName(source, texts);
    if (name.empty())
        return std::string(ProgramName);
    return (unsaved ? "*" : "") + name + " – " + std::string(ProgramName);
}

std::string StatusLine::Text() const {
    if (Source.empty() || Records.empty())
        return Source + Records;
    return Source + "   " + Records;
}

StatusLine StatusLineFor(const DataSource& source, bool unsaved, const RecordCounts& counts,
                         const LanguageTexts& texts) {
    StatusLine line;
    if (source.Origin == DataOrigin::None)
        return line;
    line.Source = SourceDescription(source, texts);
    if (unsaved)
        line.Source += " (" + ShellTextOf(texts, ShellText::NotSaved) + ")";
    const bool narrowed = counts.InForce != counts.Total;
    const int pattern = counts.Vehicles ? (narrowed ? ShellText::VehiclesInForce : ShellText::VehicleCount)
                                        : (narrowed ? ShellText::IntervalsInForce : ShellText::IntervalCount);
    const std::string text = ShellTextOf(texts, pattern);
    line.Records = narrowed ? Format(text, {counts.InForce, counts.Total}) : Format(text, {counts.Total});
    return line;
}
