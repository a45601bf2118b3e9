// Interval building, joining, the summary and list pages on the largest data: 500000 vehicles and
// 60000 five-minute intervals. "Cold" runs start from a measurement whose interval arrays were
// never touched (the first write to fresh memory costs page faults); "warm" runs repeat the work
// on arrays that are already in place, as every later rebuild in the program does.

#include "base/LanguageTexts.h"
#include "evaluation/IntervalList.h"
#include "evaluation/Summary.h"
#include "evaluation/VehicleList.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr double FirstTime = 46082.25; // 2026-03-01 06:00

// 500000 vehicles, `spacingSeconds` apart, with pseudo-random speeds, lengths and directions.
std::unique_ptr<MeasurementData> Vehicles(double spacingSeconds) {
    auto data = std::make_unique<MeasurementData>();
    data->WorkVehicles.EnsureSize(MaxVehicles);
    std::uint32_t state = 12345;
    for (int n = 1; n <= MaxVehicles; ++n) {
        state = state * 1664525U + 1013904223U;
        VehicleRecord& r = data->WorkVehicles[n];
        r = VehicleRecord{};
        r.Time = FirstTime + (n - 1) * spacingSeconds / 86400.0;
        r.Speed = static_cast<std::uint8_t>(20 + (state >> 24) % 100);
        r.Length = static_cast<std::uint8_t>((state >> 16) % 20);
        r.Direction = (state & 0x100U) != 0 ? '2' : '1';
    }
    data->WorkVehicleCount = MaxVehicles;
    data->DataMode = DataMode::SingleVehicle;
    return data;
}

// 60000 five-minute intervals built from vehicles spread over them.
std::unique_ptr<MeasurementData> FullIntervals() {
    auto data = Vehicles(MaxIntervals * 300.0 / MaxVehicles - 0.01);
    BuildFiveMinuteIntervals(*data, LengthThresholds{});
    return data;
}

void BuildCold(benchmark::State& state, double spacingSeconds) {
    const auto source = Vehicles(spacingSeconds);
    for (auto _ : state) {
        state.PauseTiming();
        auto data = std::make_unique<MeasurementData>();
        data->WorkVehicles.swap(source->WorkVehicles);
        data->WorkVehicleCount = source->WorkVehicleCount;
        state.ResumeTiming();
        BuildFiveMinuteIntervals(*data, LengthThresholds{});
        state.PauseTiming();
        state.counters["intervals"] = data->IntervalCount;
        data->WorkVehicles.swap(source->WorkVehicles);
        data.reset();
        state.ResumeTiming();
    }
}

void BuildWarm(benchmark::State& state, double spacingSeconds) {
    auto data = Vehicles(spacingSeconds);
    BuildFiveMinuteIntervals(*data, LengthThresholds{});
    for (auto _ : state)
        BuildFiveMinuteIntervals(*data, LengthThresholds{});
    state.counters["intervals"] = data->IntervalCount;
}

void BM_BuildOneVehiclePerSecondCold(benchmark::State& state) {
    BuildCold(state, 1.0);
}
void BM_BuildOneVehiclePerSecondWarm(benchmark::State& state) {
    BuildWarm(state, 1.0);
}
void BM_BuildOver60000IntervalsCold(benchmark::State& state) {
    BuildCold(state, 35.99);
}
void BM_BuildOver60000IntervalsWarm(benchmark::State& state) {
    BuildWarm(state, 35.99);
}
BENCHMARK(BM_BuildOneVehiclePerSecondCold)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BuildOneVehiclePerSecondWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildOver60000IntervalsCold)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildOver60000IntervalsWarm)->Unit(benchmark::kMillisecond);

void BM_AggregateCold(benchmark::State& state) {
    const int factor = static_cast<int>(state.range(0));
    const auto source = FullIntervals();
    for (auto _ : state) {
        state.PauseTiming();
        auto data = std::make_unique<MeasurementData>();
        data->Intervals.swap(source->Intervals);
        data->IntervalCount = source->IntervalCount;
        state.ResumeTiming();
        AggregateIntervals(*data, factor);
        state.PauseTiming();
        state.counters["joined"] = data->WorkIntervalCount;
        data->Intervals.swap(source->Intervals);
        data.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AggregateCold)->Arg(1)->Arg(3)->Arg(12)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AggregateWarm(benchmark::State& state) {
    const int factor = static_cast<int>(state.range(0));
    const auto data = FullIntervals();
    AggregateIntervals(*data, 1);
    for (auto _ : state)
        AggregateIntervals(*data, factor);
    state.counters["joined"] = data->WorkIntervalCount;
}
BENCHMARK(BM_AggregateWarm)->Arg(1)->Arg(3)->Arg(12)->Unit(benchmark::kMillisecond);

LanguageTexts SummaryTexts() {
    LanguageTexts texts;
    for (int n = 200; n <= 221; ++n)
        texts.Set(n, "Zeile          ");
    return texts;
}

void BM_SummaryOverview(benchmark::State& state) {
    const auto data = FullIntervals();
    ViewSelections view;
    view.LimitDisplayOn = true;
    view.SummaryKind = static_cast<int>(state.range(0));
    const LanguageTexts texts = SummaryTexts();
    for (auto _ : state)
        benchmark::DoNotOptimize(SummaryLines(*data, view, texts));
    state.counters["intervals"] = data->WorkIntervalCount;
}
BENCHMARK(BM_SummaryOverview)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_VehiclePage(benchmark::State& state) {
    const auto data = Vehicles(1.0);
    LanguageTexts texts;
    const int first = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderVehiclePage(*data, first, 40, texts));
}
BENCHMARK(BM_VehiclePage)->Arg(1)->Arg(499990)->Arg(499960)->Unit(benchmark::kMicrosecond);

void BM_IntervalPage(benchmark::State& state) {
    const auto data = FullIntervals();
    LanguageTexts texts;
    const int first = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderIntervalPage(*data, first, 40, texts));
}
BENCHMARK(BM_IntervalPage)->Arg(1)->Arg(59960)->Unit(benchmark::kMicrosecond);
} // namespace
