#pragma once
// What every fuzz target does after a parse succeeded: what a user does next with a measurement,
// and the checks that must hold beyond not crashing.

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "charts/ChartDescription.h"
#include "charts/ChartState.h"
#include "charts/ChartViews.h"
#include "data/AsciiExport.h"
#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"
#include "data/MeasurementData.h"
#include "evaluation/IntervalList.h"
#include "evaluation/RecordFilter.h"
#include "evaluation/Summary.h"
#include "evaluation/TimeRange.h"
#include "evaluation/VehicleList.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

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

// The measurement every target starts from: three vehicles. It lives as long as the target, as
// the program's one measurement does, so its record arrays keep what they allocated; a fresh
// measurement per input would allocate (and, under the address sanitizer, quarantine) tens of
// megabytes whenever an input spans many intervals.
inline MeasurementData& StartingMeasurement() {
    static MeasurementData data;
    data.Vehicles.EnsureSize(3);
    for (int n = 1; n <= 3; ++n)
        data.Vehicles[n] =
            VehicleRecord{46082.25 + n / 86400.0, static_cast<std::uint8_t>(40 + n), 5, '1', {}, 0, {}};
    data.LoadedCount = 3;
    data.IntervalCount = 0;
    data.WorkIntervalCount = 0;
    data.MarkedCount = 0;
    data.VehicleListTop = 1;
    data.IntervalListTop = 1;
    data.Comment.clear();
    data.ImportCodeCount = 0;
    data.DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(data);
    data.IntervalRebuildPending = 1;
    return data;
}

// A second measurement to reopen saved files into, kept for the same reason.
inline MeasurementData& ReopenedMeasurement() {
    static MeasurementData data;
    return data;
}

// Marks or unmarks the vehicles the choice bits select (so loaded marks may be cleared as well),
// then removes the marked ones: the counter agrees with the marks, and exactly the unmarked
// vehicles remain, in their order.
inline void MarkEraseAndCheck(MeasurementData& data, std::span<const std::uint8_t> choice) {
    if (data.DataMode != DataMode::SingleVehicle)
        return;
    Check(CountMarked(data) == data.MarkedCount, "the loaded marks are not counted as marked");
    if (!choice.empty())
        for (int n = 1; n <= data.WorkVehicleCount; ++n) {
            const std::size_t bit = static_cast<std::size_t>(n - 1);
            if ((choice[(bit / 8) % choice.size()] >> (bit % 8) & 1) != 0)
                Check(ToggleMark(data, n), "a vehicle of the working set could not be marked");
        }
    std::vector<VehicleRecord> unmarked;
    int marked = 0;
    for (int n = 1; n <= data.WorkVehicleCount; ++n) {
        const VehicleRecord& v = data.WorkVehicles[n];
        Check(v.Marked == 0 || v.Marked == 1, "a mark is neither 0 nor 1");
        if (v.Marked == 1)
            ++marked;
        else
            unmarked.push_back(v);
    }
    Check(marked == data.MarkedCount && marked == CountMarked(data), "marked count differs from the marks");
    EraseMarkedVehicles(data);
    Check(data.WorkVehicleCount == static_cast<int>(unmarked.size()),
          "erasing removed other vehicles than the marked");
    Check(data.MarkedCount == 0, "marks counted after erasing");
    Check(unmarked.empty() || std::memcmp(&data.WorkVehicles[1], unmarked.data(),
                                          unmarked.size() * sizeof(VehicleRecord)) == 0,
          "erasing changed the vehicles it kept");
}

// A chart holds what it promises: as many values per series as bars, finite and not negative,
// and no stacked bar above the left axis.
inline void CheckChart(const ChartDescription& chart) {
    for (std::size_t bar = 0; bar < chart.Labels.size(); ++bar) {
        double stacked = 0;
        for (const ChartSeries& series : chart.Series) {
            Check(series.Values.size() == chart.Labels.size(), "a series has not one value per bar");
            const double value = series.Values[bar];
            Check(std::isfinite(value) && value >= 0, "a bar value is negative or not finite");
            stacked += value;
        }
        Check(stacked <= chart.LeftAxisMax, "a bar is cut by the left axis");
    }
}

inline constexpr int WeekOfIntervals = 7 * 24 * 12;

inline void DrawChartView(const MeasurementData& data, const ViewSelections& view, ChartScaleState& scale,
                          int quantity, int group, int direction, int variant, bool asJson) {
    static const LanguageTexts texts;
    ChartRequest request;
    request.Quantity = quantity;
    request.VehicleGroup = group;
    request.DirectionSelection = direction;
    request.LowerPercentile = view.LowerPercentile;
    request.UpperPercentile = view.UpperPercentile;
    request.CalcV50 = variant;
    request.SingleVehicleData = variant == 1;
    const ChartDescription chart = DrawSelectedChart(request, scale, data, view, texts);
    CheckChart(chart);
    if (asJson)
        ChartDescriptionToJson(chart);
}

// Every chart view, with both meanings of "V2" and "V4", and the scaling automatic as it is when
// the chart mode is entered. Each distribution view sums all intervals again, so drawing every
// group and direction costs more than all else a target does: only the 5-minute intervals of a
// measurement of up to a week get all of them; joined intervals and longer measurements get each
// view once, in a group and direction that `turn` picks. The text form is made once per quantity.
inline void DrawEveryChartView(const MeasurementData& data, const ViewSelections& view, bool everyGroup,
                               int turn) {
    ChartScaleState scale;
    for (int quantity = ChartQuantity::V4; quantity <= ChartQuantity::Speed; ++quantity) {
        const bool groupMatters = quantity != ChartQuantity::Length && quantity != ChartQuantity::Gap;
        const int variants = quantity == ChartQuantity::V2 || quantity == ChartQuantity::V4 ? 2 : 1;
        for (int variant = 0; variant < variants; ++variant) {
            if (!everyGroup) {
                DrawChartView(data, view, scale, quantity, turn % (SumGroup + 1), 1 + turn % 3, variant,
                              variant == 0);
                continue;
            }
            for (int group = groupMatters ? StackedGroup : SumGroup; group <= SumGroup; ++group)
                for (int direction = 1; direction <= 3; ++direction)
                    DrawChartView(data, view, scale, quantity, group, direction, variant,
                                  variant == 0 && group == SumGroup && direction == 3);
        }
    }
}

// The 5-minute build, joining at 15/30/60 minutes, list pages, every summary kind, every chart
// view, export and a time range. Refusals (CoreError) are fine; faults are not.
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
        constexpr int factors[4] = {1, 3, 6, 12};
        for (int k = 0; k < 4; ++k) {
            const int factor = factors[k];
            AggregateIntervals(data, factor);
            ViewSelections view;
            view.IntervalFactor = factor;
            view.LowerPercentile = 5 + 5 * k;
            view.UpperPercentile = 95 - 5 * k;
            RenderIntervalPage(data, 1, 40, texts);
            RenderIntervalPage(data, data.WorkIntervalCount, 40, texts);
            for (int kind = 1; kind <= 3; ++kind) {
                view.SummaryKind = kind;
                view.LimitDisplayOn = (kind & 1) != 0;
                SummaryLines(data, view, texts);
            }
            view.ChartOffset = ScrolledChartOffset(view.ChartOffset, data.WorkIntervalCount, 1);
            DrawEveryChartView(data, view, factor == 1 && data.WorkIntervalCount <= WeekOfIntervals,
                               k + data.IntervalCount);
        }
        ExportAscii(path, View::IntervalList, data, {});
        if (data.DataMode == DataMode::SingleVehicle)
            ExportAscii(path, View::VehicleList, data, {});
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
    MeasurementData& reopened = ReopenedMeasurement();
    if (data.DataMode == DataMode::SingleVehicle) {
        const auto records = VehicleRecordsToSave(data, SaveScope::All);
        SaveVehicleList(file, data, SaveScope::All);
        LoadDataFile(file, reopened);
        Check(reopened.LoadedCount == static_cast<int>(records.size()), "reopened vehicle count differs");
        Check(records.empty() ||
                  std::memcmp(reopened.Vehicles.data(), records.data(), records.size_bytes()) == 0,
              "reopened vehicles differ");
    } else {
        const auto records = IntervalRecordsToSave(data, SaveScope::All, 1);
        SaveIntervalList(file, data, SaveScope::All, 1);
        LoadDataFile(file, reopened);
        Check(reopened.IntervalCount == static_cast<int>(records.size()), "reopened interval count differs");
        Check(records.empty() ||
                  std::memcmp(reopened.Intervals.data(), records.data(), records.size_bytes()) == 0,
              "reopened intervals differ");
    }
}

} // namespace fuzz
