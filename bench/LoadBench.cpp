// Loading 500000 vehicles from a device raw file and from an own file: the first load into a
// fresh measurement (its arrays are allocated and touched for the first time) and a repeated
// load into the same one, plus the peak resident memory of a full measurement.

#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {
constexpr int VehicleCount = MaxVehicles;

struct Files {
    std::filesystem::path Folder;
    std::filesystem::path Raw;
    std::filesystem::path Own;

    Files() {
        Folder =
            std::filesystem::temp_directory_path() / ("korvelan-loadbench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Folder);
        Raw = Folder / "raw.dat";
        Own = Folder / "own.lng";
        WriteRawFile();
        // The own file is what "alles speichern" writes after loading the raw file.
        auto data = std::make_unique<MeasurementData>();
        LoadDataFile(Raw, *data);
        SaveVehicleList(Own, *data, SaveScope::All);
    }
    ~Files() { std::filesystem::remove_all(Folder); }

    // Records are streamed to the file so that building it does not raise the peak memory.
    void WriteRawFile() const {
        std::string header(RawHeaderSize, ' ');
        const std::string fields =
            std::string(RawMagic) + "   LNG" + Format("%.6d", {VehicleCount}) + "  01.03.2026  06:00";
        header.replace(0, fields.size(), fields);
        const std::string comment = "Benchmark";
        header[71] = static_cast<char>(comment.size());
        header.replace(72, comment.size(), comment);
        AtomicFileWriter out(Raw);
        out.Write(header);
        const double start = *TryEncodeDateTime(2026, 3, 1, 6, 0, 0);
        for (int n = 0; n < VehicleCount; ++n) {
            const DateTimeParts p = DecodeDateTime(start + n * 2.5 / 86400.0); // one vehicle each 2.5 s
            const char record[8] = {static_cast<char>(p.Day),      static_cast<char>(p.Month),
                                    static_cast<char>(p.Hour),     static_cast<char>(p.Minute),
                                    static_cast<char>(p.Second),   static_cast<char>(30 + n % 40),
                                    static_cast<char>(3 + n % 15), n % 3 == 0 ? '2' : '1'};
            out.Write(record, sizeof record);
        }
        out.Commit();
    }
};

const Files& TestFiles() {
    static const Files files;
    return files;
}

double KilobytesFromStatus(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0) {
            const auto digits = line.substr(prefix.size(), line.find("kB") - prefix.size());
            return StrToIntStrict(digits).value_or(0);
        }
    return 0;
}

void ColdLoad(benchmark::State& state, const std::filesystem::path& file) {
    for (auto _ : state) {
        auto data = std::make_unique<MeasurementData>();
        benchmark::DoNotOptimize(LoadDataFile(file, *data));
        state.PauseTiming();
        data.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * VehicleCount);
}

void WarmLoad(benchmark::State& state, const std::filesystem::path& file) {
    auto data = std::make_unique<MeasurementData>();
    LoadDataFile(file, *data);
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadDataFile(file, *data));
    state.SetItemsProcessed(state.iterations() * VehicleCount);
}

void BM_ColdLoadRaw(benchmark::State& state) {
    ColdLoad(state, TestFiles().Raw);
}
void BM_ColdLoadOwn(benchmark::State& state) {
    ColdLoad(state, TestFiles().Own);
}
void BM_WarmLoadRaw(benchmark::State& state) {
    WarmLoad(state, TestFiles().Raw);
}
void BM_WarmLoadOwn(benchmark::State& state) {
    WarmLoad(state, TestFiles().Own);
}

// Peak resident memory of the process with a full measurement loaded (both vehicle arrays and
// the mapped file at once).
void BM_PeakMemoryFullMeasurement(benchmark::State& state) {
    auto data = std::make_unique<MeasurementData>();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadDataFile(TestFiles().Own, *data));
    state.counters["VmHWM_MB"] = KilobytesFromStatus("VmHWM") / 1024.0;
    state.counters["VmRSS_MB"] = KilobytesFromStatus("VmRSS") / 1024.0;
}
} // namespace

BENCHMARK(BM_ColdLoadRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdLoadOwn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmLoadRaw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmLoadOwn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemoryFullMeasurement)->Unit(benchmark::kMillisecond)->Iterations(3);
