// All traffic statistics of the largest single-vehicle measurement: 500000 vehicles over 42 days,
// and of the largest interval data: 60000 five-minute intervals.

#include "evaluation/IntervalList.h"
#include "evaluation/TrafficStatistics.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr double FirstTime = 46082.25; // 2026-03-01 06:00

std::unique_ptr<MeasurementData> Vehicles(double spacingSeconds) {
    auto data = std::make_unique<MeasurementData>();
    data->WorkVehicles.EnsureSize(MaxVehicles);
    std::uint32_t state = 12345;
    for (int n = 1; n <= MaxVehicles; ++n) {
        state = state * 1664525U + 1013904223U;
        VehicleRecord& r = data->WorkVehicles[n];
        r = VehicleRecord{};
        // Whole seconds, as devices record them.
        r.Time = FirstTime + static_cast<int>((n - 1) * spacingSeconds) / 86400.0;
        r.Speed = static_cast<std::uint8_t>(20 + (state >> 24) % 100);
        r.Length = static_cast<std::uint8_t>((state >> 16) % 20);
        r.Direction = (state & 0x100U) != 0 ? '2' : '1';
    }
    data->WorkVehicleCount = MaxVehicles;
    data->DataMode = DataMode::SingleVehicle;
    return data;
}

void AllStatisticsOfVehicles(benchmark::State& state) {
    const auto data = Vehicles(42 * 86400.0 / MaxVehicles);
    for (auto _ : state) {
        TrafficStatistics s = ComputeTrafficStatistics(*data, StatisticsSettings{});
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(AllStatisticsOfVehicles)->Unit(benchmark::kMillisecond);

void AllStatisticsOfIntervals(benchmark::State& state) {
    auto data = Vehicles(MaxIntervals * 300.0 / MaxVehicles - 0.01);
    BuildFiveMinuteIntervals(*data, LengthThresholds{});
    data->DataMode = DataMode::Interval;
    for (auto _ : state) {
        TrafficStatistics s = ComputeTrafficStatistics(*data, StatisticsSettings{});
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(AllStatisticsOfIntervals)->Unit(benchmark::kMillisecond);
} // namespace
