// The comparison of two of the largest single-vehicle measurements (500000 vehicles each, 42 days),
// all bootstraps included, and of two of the largest interval measurements.

#include "evaluation/Comparison.h"
#include "evaluation/IntervalList.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {
constexpr double FirstTime = 46082.25; // 2026-03-01 06:00

// Speeds spread as on a town road (about 50 ± 8 km/h, from 10 to 140) or, with `spread`, evenly
// over 20..119 km/h, which occupies more speed bins and so costs the resampling more.
std::unique_ptr<MeasurementData> Vehicles(double spacingSeconds, int shift, bool spread, std::uint32_t seed) {
    auto data = std::make_unique<MeasurementData>();
    data->WorkVehicles.EnsureSize(MaxVehicles);
    std::uint32_t state = seed;
    const auto next = [&state] {
        state = state * 1664525U + 1013904223U;
        return state;
    };
    for (int n = 1; n <= MaxVehicles; ++n) {
        VehicleRecord& r = data->WorkVehicles[n];
        r = VehicleRecord{};
        r.Time = FirstTime + static_cast<int>((n - 1) * spacingSeconds) / 86400.0;
        const double u1 = (next() + 1.0) / 4294967297.0;
        const double u2 = next() / 4294967296.0;
        const double normal = std::sqrt(-2 * std::log(u1)) * std::cos(6.283185307179586 * u2);
        const int speed =
            spread ? 20 + static_cast<int>(next() % 100) : static_cast<int>(std::lround(50 + 8 * normal));
        r.Speed = static_cast<std::uint8_t>(std::clamp(speed + shift, 10, 140));
        const std::uint32_t bits = next();
        r.Length = static_cast<std::uint8_t>((bits >> 16) % 20);
        r.Direction = (bits & 0x100U) != 0 ? '2' : '1';
    }
    data->WorkVehicleCount = MaxVehicles;
    data->DataMode = DataMode::SingleVehicle;
    return data;
}

void CompareVehicles(benchmark::State& state, bool spread) {
    const double spacing = 42 * 86400.0 / MaxVehicles;
    const auto before = Vehicles(spacing, 0, spread, 12345);
    const auto after = Vehicles(spacing, 2, spread, 54321);
    for (auto _ : state) {
        Comparison c = CompareMeasurements(*before, *after, ComparisonSettings{});
        benchmark::DoNotOptimize(c);
    }
}

void CompareTownRoadVehicles(benchmark::State& state) {
    CompareVehicles(state, false);
}
BENCHMARK(CompareTownRoadVehicles)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void CompareEvenlySpreadVehicles(benchmark::State& state) {
    CompareVehicles(state, true);
}
BENCHMARK(CompareEvenlySpreadVehicles)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void CompareIntervals(benchmark::State& state) {
    const double spacing = MaxIntervals * 300.0 / MaxVehicles - 0.01;
    auto before = Vehicles(spacing, 0, false, 12345);
    auto after = Vehicles(spacing, 2, false, 54321);
    for (auto* data : {before.get(), after.get()}) {
        BuildFiveMinuteIntervals(*data, LengthThresholds{});
        data->DataMode = DataMode::Interval;
    }
    for (auto _ : state) {
        Comparison c = CompareMeasurements(*before, *after, ComparisonSettings{});
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(CompareIntervals)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
} // namespace
