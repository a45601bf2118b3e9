// Drawing a chart on the largest working data: the distribution views sum every interval,
// the time views read a window of 24.

#include "base/LanguageTexts.h"
#include "charts/ChartViews.h"
#include "data/DateTime.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<MeasurementData> FullIntervals() {
    auto data = std::make_unique<MeasurementData>();
    data->WorkIntervals.EnsureSize(MaxIntervals);
    const double start = *TryEncodeDateTime(2005, 3, 7, 0, 0, 0);
    for (int i = 1; i <= MaxIntervals; ++i) {
        IntervalRecord& r = data->WorkIntervals[i];
        r.StartTime = IncMinute(start, 5LL * (i - 1));
        for (int d = 1; d <= 2; ++d)
            for (int k = 1; k <= SpeedClassCount; ++k) {
                r.PkwSpeedClasses(k)[d] = (i + k) % 7;
                r.LkwSpeedClasses(k)[d] = (i + k) % 3;
                r.GapClasses(k)[d] = (i * k) % 5;
            }
    }
    data->WorkIntervalCount = MaxIntervals;
    data->DataMode = DataMode::Interval;
    return data;
}

void DrawView(benchmark::State& state, int quantity) {
    const auto data = FullIntervals();
    const LanguageTexts texts;
    const ViewSelections view{};
    ChartScaleState scale;
    ChartRequest request;
    request.Quantity = quantity;
    for (auto _ : state) {
        ChartDescription chart = DrawSelectedChart(request, scale, *data, view, texts, GermanLocaleFormat());
        benchmark::DoNotOptimize(chart);
    }
}

void BM_SpeedDistribution60000(benchmark::State& state) {
    DrawView(state, ChartQuantity::Speed);
}
void BM_GapDistribution60000(benchmark::State& state) {
    DrawView(state, ChartQuantity::Gap);
}
void BM_CountTimeView(benchmark::State& state) {
    DrawView(state, ChartQuantity::Count);
}
void BM_PercentileTimeView(benchmark::State& state) {
    DrawView(state, ChartQuantity::V3);
}

} // namespace

BENCHMARK(BM_SpeedDistribution60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapDistribution60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountTimeView)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PercentileTimeView)->Unit(benchmark::kMicrosecond);
