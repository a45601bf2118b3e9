// The PDF report of the largest measurement: 500000 vehicles over 42 days, from the statistics to
// the written file (the target is 1.5 s), and the contents alone.

#include "base/LanguageTexts.h"
#include "charts/ReportContent.h"
#include "charts/ReportPrinter.h"
#include "lang/LanguageFile.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {
constexpr double FirstTime = 46082.25; // 2026-03-01 06:00

std::unique_ptr<MeasurementData> Vehicles() {
    auto data = std::make_unique<MeasurementData>();
    data->WorkVehicles.EnsureSize(MaxVehicles);
    const double spacing = 42 * 86400.0 / MaxVehicles;
    std::uint32_t state = 12345;
    for (int n = 1; n <= MaxVehicles; ++n) {
        state = state * 1664525U + 1013904223U;
        VehicleRecord& r = data->WorkVehicles[n];
        r = VehicleRecord{};
        r.Time = FirstTime + static_cast<int>((n - 1) * spacing) / 86400.0;
        r.Speed = static_cast<std::uint8_t>(20 + (state >> 24) % 100);
        r.Length = static_cast<std::uint8_t>(1 + (state >> 16) % 20);
        r.Direction = (state & 0x100U) != 0 ? '2' : '1';
    }
    data->WorkVehicleCount = MaxVehicles;
    data->LoadedCount = MaxVehicles;
    data->DataMode = DataMode::SingleVehicle;
    return data;
}

LanguageTexts GermanTexts() {
    LanguageTexts texts;
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/deutsch.cty", texts);
    return texts;
}

const ReportRequest Request{
    "Bench", "", "", "", "bench.lng", std::string(64, 'a'), "4.01.03", 46113, ReportSourceKind::DataFile, ""};

void ReportContents(benchmark::State& state) {
    const auto data = Vehicles();
    const LanguageTexts texts = GermanTexts();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildReport(*data, StatisticsSettings{}, Request, texts).Pages.size());
}
BENCHMARK(ReportContents)->Unit(benchmark::kMillisecond);

void ReportPdf(benchmark::State& state) {
    const auto data = Vehicles();
    const LanguageTexts texts = GermanTexts();
    const auto file =
        std::filesystem::temp_directory_path() / ("korvelan-bench-" + std::to_string(::getpid()) + ".pdf");
    for (auto _ : state)
        WriteReportPdf(file, BuildReport(*data, StatisticsSettings{}, Request, texts));
    state.counters["kB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e3;
    std::filesystem::remove(file);
}
BENCHMARK(ReportPdf)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv); // the PDF writer needs fonts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
