// The record filter over a full working set of 500000 vehicles: "Daten markieren" (speed > 50,
// about half of the vehicles pass), "Markierte Daten löschen" of those marks and "Markierte Daten
// verwenden", each from the same starting state. The working set is prepared outside the timing.

#include "evaluation/RecordFilter.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {
std::unique_ptr<MeasurementData> FullMeasurement() {
    auto data = std::make_unique<MeasurementData>();
    data->Vehicles.EnsureSize(MaxVehicles);
    std::uint32_t state = 12345;
    for (int n = 1; n <= MaxVehicles; ++n) {
        state = state * 1664525U + 1013904223U; // a fixed pseudo-random sequence
        VehicleRecord& r = data->Vehicles[n];
        r = VehicleRecord{};
        r.Time = 45000.0 + n / 86400.0;
        r.Speed = static_cast<std::uint8_t>(20 + (state >> 24) % 61); // 20..80 km/h
        r.Length = static_cast<std::uint8_t>(3 + (state >> 16) % 15);
        r.Direction = (state & 0x100U) != 0 ? '2' : '1';
    }
    data->LoadedCount = MaxVehicles;
    data->DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(*data);
    return data;
}

const MarkCondition SpeedAbove50 = MarkConditionFromTexts({"speed>50"});

// Marks the 500000 vehicles anew on every iteration; only the marking is timed.
void MarkEveryIteration(benchmark::State& state, const MarkCondition& condition) {
    auto data = FullMeasurement();
    for (auto _ : state) {
        state.PauseTiming();
        ClearVehicleFilter(*data);
        state.ResumeTiming();
        benchmark::DoNotOptimize(MarkVehicles(*data, condition, WholeWorkingSet(*data)));
    }
    state.counters["marked"] = data->MarkedCount;
}

void BM_MarkVehicles(benchmark::State& state) {
    MarkEveryIteration(state, SpeedAbove50);
}
BENCHMARK(BM_MarkVehicles)->Unit(benchmark::kMillisecond);

// A condition no vehicle meets: the working vehicles keep sharing the loaded ones.
void BM_MarkVehiclesNoneMatching(benchmark::State& state) {
    MarkEveryIteration(state, MarkConditionFromTexts({"speed>200"}));
}
BENCHMARK(BM_MarkVehiclesNoneMatching)->Unit(benchmark::kMillisecond);

void BM_MarkVehiclesAllConditions(benchmark::State& state) {
    MarkEveryIteration(state, MarkConditionFromTexts({"dir=2", "length<12", "speed>50"}));
}
BENCHMARK(BM_MarkVehiclesAllConditions)->Unit(benchmark::kMillisecond);

void BM_EraseMarkedVehicles(benchmark::State& state) {
    auto data = FullMeasurement();
    for (auto _ : state) {
        state.PauseTiming();
        ClearVehicleFilter(*data);
        MarkVehicles(*data, SpeedAbove50, WholeWorkingSet(*data));
        state.ResumeTiming();
        EraseMarkedVehicles(*data);
        benchmark::DoNotOptimize(data->WorkVehicleCount);
    }
    state.counters["kept"] = data->WorkVehicleCount;
}
BENCHMARK(BM_EraseMarkedVehicles)->Unit(benchmark::kMillisecond);

void BM_UseMarkedVehicles(benchmark::State& state) {
    auto data = FullMeasurement();
    for (auto _ : state) {
        state.PauseTiming();
        ClearVehicleFilter(*data);
        MarkVehicles(*data, SpeedAbove50, WholeWorkingSet(*data));
        state.ResumeTiming();
        UseMarkedVehicles(*data);
        benchmark::DoNotOptimize(data->WorkVehicleCount);
    }
    state.counters["kept"] = data->WorkVehicleCount;
}
BENCHMARK(BM_UseMarkedVehicles)->Unit(benchmark::kMillisecond);

void BM_ClearVehicleFilter(benchmark::State& state) {
    auto data = FullMeasurement();
    for (auto _ : state) {
        ClearVehicleFilter(*data);
        benchmark::DoNotOptimize(data->WorkVehicleCount);
    }
}
BENCHMARK(BM_ClearVehicleFilter)->Unit(benchmark::kMillisecond);
} // namespace
