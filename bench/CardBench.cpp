// Card files and Pelo files at the capacities: a full MM/SD text file (500000 lines), a binary file
// of 500000 blocks, a Pelo file of 60000 intervals; conversion alone and conversion into a fresh
// measurement (cold) and into one that has held a measurement before (warm).

#include "cards/CardFileReader.h"
#include "cards/PeloImport.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {
std::string TextCard() {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(MaxVehicles) * 32);
    for (int n = 0; n < MaxVehicles; ++n) {
        const int s = n / 4;
        bytes += Format("%.2d.03.24 %.2d:%.2d:%.2d.%.2d %3d %2d %d \r\n",
                        {1 + s / 86400, s / 3600 % 24, s / 60 % 60, s % 60, (n % 4) * 25, 30 + n % 90,
                         3 + n % 15, n % 2});
    }
    return bytes;
}

std::string BinaryCard() {
    std::string bytes(static_cast<std::size_t>(MaxVehicles) * 16, '\0');
    for (int n = 0; n < MaxVehicles; ++n) {
        char* b = bytes.data() + static_cast<std::size_t>(n) * 16;
        b[0] = static_cast<char>(5 + n % 20);
        const std::int32_t counter = 40 * (n + 1);
        std::memcpy(b + 4, &counter, 4);
    }
    return bytes;
}

std::string PeloFile() {
    std::string h(80, ' ');
    h.replace(27, 2, "24");
    h.replace(32, 2, "03");
    h.replace(37, 2, "01");
    h.replace(57, 2, "QT");
    h.replace(70, 4, "5000");
    h.replace(75, 5, "    1");
    std::string text = h + "\r\n";
    for (int line = 0; line < 5000; ++line)
        text += " 10  20  30  40  50  60  70  80  90 100 110 120\r\n";
    return text;
}

void BM_ConvertCardText(benchmark::State& state) {
    const std::string bytes = TextCard();
    const double t0 = *TryEncodeDateTime(2024, 3, 1, 0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertCardText(bytes, t0, t0));
}
BENCHMARK(BM_ConvertCardText)->Unit(benchmark::kMillisecond);

void BM_ConvertCardBinary(benchmark::State& state) {
    const std::string bytes = BinaryCard();
    for (auto _ : state)
        benchmark::DoNotOptimize(ConvertCardBinary(bytes, 45000.0));
}
BENCHMARK(BM_ConvertCardBinary)->Unit(benchmark::kMillisecond);

void BM_ReadCardTextFileCold(benchmark::State& state) {
    const std::string path = "/tmp/korvelan-card-bench.txt";
    {
        const std::string bytes = TextCard();
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        auto data = std::make_unique<MeasurementData>();
        const auto preview = PrepareCardFile(path, *data);
        ReadCardFile(*data, path, preview, preview.FileStart);
        benchmark::DoNotOptimize(data->LoadedCount);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadCardTextFileCold)->Unit(benchmark::kMillisecond);

void BM_ParsePelo(benchmark::State& state) {
    const std::string text = PeloFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(ParsePeloFile(text));
}
BENCHMARK(BM_ParsePelo)->Unit(benchmark::kMillisecond);

void BM_ImportPeloWarm(benchmark::State& state) {
    const std::string text = PeloFile();
    auto data = std::make_unique<MeasurementData>();
    CommitPeloImport(*data, ParsePeloFile(text));
    for (auto _ : state) {
        CommitPeloImport(*data, ParsePeloFile(text));
        benchmark::DoNotOptimize(data->IntervalCount);
    }
}
BENCHMARK(BM_ImportPeloWarm)->Unit(benchmark::kMillisecond);
} // namespace
