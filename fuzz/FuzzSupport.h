#pragma once
// What every fuzz target does after a parse succeeded: what a user does next with a measurement,
// and the checks that must hold beyond not crashing.

#include "charts/Grafik.h"
#include "data/CoreError.h"
#include "data/Daten_Load.h"
#include "data/Export.h"
#include "data/MeasurementData.h"
#include "data/Speichern.h"
#include "evaluation/Bereich.h"
#include "evaluation/Filter.h"
#include "evaluation/Mode_Lng.h"
#include "evaluation/Mode_Sht.h"
#include "evaluation/Zusammen.h"
#include "lang/LanguageTexts.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

namespace fuzz {

[[noreturn]] inline void Fail(const char* what) {
    __builtin_trap(); // libFuzzer keeps the input that got here
    (void)what;
}

inline void Check(bool holds, const char* what) {
    if (!holds)
        Fail(what);
}

// A private scratch folder for the files a target saves and reopens.
inline std::filesystem::path Scratch(std::string_view name) {
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("korvelan-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return folder / std::string(name);
}

inline std::string Bytes(const void* p, std::size_t n) {
    return std::string(static_cast<const char*>(p), n);
}

// Everything a load replaces, as bytes, to see that a refused load changed nothing.
inline std::string Snapshot(const MeasurementData& d) {
    std::string s;
    s += Bytes(&d.LoadedCount, sizeof d.LoadedCount) + Bytes(&d.IntervalCount, sizeof d.IntervalCount);
    s += Bytes(&d.WorkVehicleCount, sizeof d.WorkVehicleCount) +
         Bytes(&d.WorkIntervalCount, sizeof d.WorkIntervalCount);
    s += Bytes(&d.MarkedCount, sizeof d.MarkedCount) + Bytes(&d.DataMode, sizeof d.DataMode) + d.Comment;
    if (d.LoadedCount > 0 && d.DataMode == DataMode::SingleVehicle)
        s += Bytes(d.Vehicles.data(), sizeof(VehicleRecord) * static_cast<std::size_t>(d.LoadedCount));
    if (d.IntervalCount > 0)
        s += Bytes(d.Intervals.data(), sizeof(IntervalRecord) * static_cast<std::size_t>(d.IntervalCount));
    return s;
}

// A small measurement that every target starts from: three vehicles.
inline std::unique_ptr<MeasurementData> StartingMeasurement() {
    auto data = std::make_unique<MeasurementData>();
    data->Vehicles.EnsureSize(3);
    for (int n = 1; n <= 3; ++n)
        data->Vehicles[n] =
            VehicleRecord{46082.25 + n / 86400.0, static_cast<std::uint8_t>(40 + n), 5, '1', {}, 0, {}};
    data->LoadedCount = 3;
    data->DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(*data);
    data->IntervalRebuildPending = 1;
    return data;
}

// Removing marked vehicles removes exactly those counted as marked.
inline void EraseMarksAndCheck(MeasurementData& data) {
    if (data.DataMode != DataMode::SingleVehicle)
        return;
    const int before = data.WorkVehicleCount;
    const int marked = CountMarked(data);
    Check(marked == data.MarkedCount, "marked count differs from the marks");
    EraseMarkedVehicles(data);
    Check(data.WorkVehicleCount == before - marked, "erasing removed other vehicles than the marked");
    for (int n = 1; n <= data.WorkVehicleCount; ++n)
        Check(data.WorkVehicles[n].Marked == 0, "a vehicle kept its mark");
}

// The 5-minute build, joining at 15/30/60 minutes, list pages, every summary kind, the chart
// values, export and a time range. Refusals (CoreError) are fine; faults are not.
inline void EvaluateAsAUserWould(MeasurementData& data) {
    static const LanguageTexts texts;
    const auto path = Scratch("export.txt");
    try {
        if (data.DataMode == DataMode::SingleVehicle) {
            RenderVehiclePage(data, 1, 40, texts);
            RenderVehiclePage(data, data.WorkVehicleCount, 40, texts);
            BuildFiveMinuteIntervals(data, LengthThresholds{});
            CopyIntervalsToWork(data);
        }
        for (const int factor : {1, 3, 6, 12}) {
            AggregateIntervals(data, factor);
            ViewSelections view;
            view.IntervalFactor = factor;
            RenderIntervalPage(data, 1, 40, texts);
            RenderIntervalPage(data, data.WorkIntervalCount, 40, texts);
            for (int kind = 1; kind <= 3; ++kind) {
                data.SummaryKind = kind;
                data.LimitDisplayOn = static_cast<std::uint8_t>(kind & 1);
                SummaryLines(data, view, texts);
            }
            BuildIntervalWindowTable(data);
            BuildSpeedClassTotals(data);
            BuildGapClassTotals(data);
            ScrollChart(data, 1);
        }
        ExportAscii(path, ExportView::IntervalList, data, {});
        if (data.DataMode == DataMode::SingleVehicle)
            ExportAscii(path, ExportView::VehicleList, data, {});
        if (data.WorkIntervalCount >= 2)
            SetIntervalRange(data, 2, data.WorkIntervalCount);
    } catch (const CoreError&) {
    }
}

// What is saved reopens with the same records.
inline void SaveReopenAndCompare(const MeasurementData& data) {
    if (data.DataMode == DataMode::None)
        return;
    const auto file = Scratch("saved.dat");
    auto reopened = std::make_unique<MeasurementData>();
    if (data.DataMode == DataMode::SingleVehicle) {
        const auto records = VehicleRecordsToSave(data, SaveScope::All);
        SaveVehicleList(file, data, SaveScope::All);
        LoadDataFile(file, *reopened);
        Check(reopened->LoadedCount == static_cast<int>(records.size()), "reopened vehicle count differs");
        Check(records.empty() ||
                  std::memcmp(reopened->Vehicles.data(), records.data(), records.size_bytes()) == 0,
              "reopened vehicles differ");
    } else {
        const auto records = IntervalRecordsToSave(data, SaveScope::All, 1);
        SaveIntervalList(file, data, SaveScope::All, 1);
        LoadDataFile(file, *reopened);
        Check(reopened->IntervalCount == static_cast<int>(records.size()), "reopened interval count differs");
        Check(records.empty() ||
                  std::memcmp(reopened->Intervals.data(), records.data(), records.size_bytes()) == 0,
              "reopened intervals differ");
    }
}

} // namespace fuzz
