// korvelan2-cli print and the picture files of korvelan2-cli chart, checked with poppler and libwmf.

#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>

namespace {

namespace fs = std::filesystem;

std::string Command(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    ::pclose(pipe);
    return out;
}

int Pages(const fs::path& pdf) {
    std::smatch match;
    const std::string info = Command("pdfinfo '" + pdf.string() + "'");
    return std::regex_search(info, match, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(match[1]) : -1;
}

bool Landscape(const fs::path& pdf) {
    std::smatch match;
    const std::string info = Command("pdfinfo '" + pdf.string() + "'");
    return std::regex_search(info, match, std::regex(R"(Page size:\s+([\d.]+) x ([\d.]+))")) &&
           std::stod(match[1]) > std::stod(match[2]);
}

std::string PageText(const fs::path& pdf, int page, bool monospaced = true) {
    return Command("pdftotext -layout " + std::string(monospaced ? "-fixed 6 " : "") + "-f " +
                   std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf.string() + "' -");
}

std::vector<VehicleRecord> VehiclesOfOneMorning(int count) {
    std::vector<VehicleRecord> vehicles;
    for (int i = 0; i < count; ++i)
        vehicles.push_back(
            Vehicle(2005, 3, 2, 8 + i / 60, i % 60, 9, 40 + i % 30, 4 + i % 10, i % 3 ? '1' : '2'));
    return vehicles;
}

const std::string Sample = std::string(KORVELAN_BIN_DIR) + "/sample.lng";

} // namespace

TEST(PrintCli, ListsArePrintedInPortraitWith64LinesAPage) {
    const fs::path folder = TestFolder("print-lists");
    const fs::path data = WriteVehicles(folder / "morning.lng", VehiclesOfOneMorning(65), "Schulweg");
    const fs::path pdf = folder / "vehicles.pdf";
    const CliResult result = RunCli({"print", data.string(), "--view", "vehicles", "-o", pdf.string()});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(Pages(pdf), 2);
    EXPECT_FALSE(Landscape(pdf));
    const std::string second = PageText(pdf, 2);
    EXPECT_NE(second.find("Schulweg"), std::string::npos);
    const std::regex line(R"(\d\d\.03\.2005  \d\d:\d\d:09)");
    EXPECT_EQ(std::distance(std::sregex_iterator(second.begin(), second.end(), line), std::sregex_iterator()),
              1);
    EXPECT_NE(PageText(pdf, 1).find("02.03.2005  08:00:09         40        4       <="), std::string::npos);

    // Intervals of the same vehicles: one page; a vehicle list of interval data is not offered.
    const fs::path intervals = folder / "intervals.pdf";
    ASSERT_EQ(
        RunCli({"print", data.string(), "--view", "intervals", "--minutes", "60", "-o", intervals.string()})
            .ExitCode,
        0);
    EXPECT_EQ(Pages(intervals), 1);
    EXPECT_NE(PageText(intervals, 1).find("02.03.2005  08:00:00        40"), std::string::npos);
}

TEST(PrintCli, ChartAndSummaryAreLandscape) {
    const fs::path folder = TestFolder("print-chart");
    const fs::path chart = folder / "chart.pdf";
    const CliResult drawn = RunCli({"print", Sample, "--view", "chart", "--chart", "v3", "--limit", "50",
                                    "--values", "bars", "-o", chart.string()});
    ASSERT_EQ(drawn.ExitCode, 0) << drawn.Err;
    EXPECT_EQ(Pages(chart), 1);
    EXPECT_TRUE(Landscape(chart));
    const std::string text = PageText(chart, 1, false);
    EXPECT_NE(text.find("V 85%"), std::string::npos);
    EXPECT_NE(text.find("00:05"), std::string::npos);

    const fs::path summary = folder / "summary.pdf";
    ASSERT_EQ(RunCli({"print", Sample, "--view", "summary", "-o", summary.string()}).ExitCode, 0);
    EXPECT_TRUE(Landscape(summary));
    EXPECT_NE(PageText(summary, 1, false).find("V85"), std::string::npos);

    EXPECT_EQ(RunCli({"print", Sample, "--view", "chart", "--chart", "gap", "-o", chart.string()}).ExitCode,
              0);
    EXPECT_EQ(
        RunCli({"print", Sample, "--view", "chart", "--chart", "length", "-o", chart.string()}).ExitCode, 2);
    EXPECT_EQ(RunCli({"print", Sample, "--view", "chart", "-o", (folder / "no" / "x.pdf").string()}).ExitCode,
              1);
}

TEST(PrintCli, ChartPicturesByExtension) {
    const fs::path folder = TestFolder("chart-pictures");
    const fs::path wmf = folder / "speed.WMF";
    ASSERT_EQ(RunCli({"chart", Sample, "--view", "speed", "--group", "all", "-o", wmf.string()}).ExitCode, 0);
    const std::string svg = Command("wmf2svg '" + wmf.string() + "'");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find(">150"), std::string::npos);

    const fs::path bmp = folder / "count.bmp";
    ASSERT_EQ(RunCli({"chart", Sample, "--view", "count", "--size", "640x480", "-o", bmp.string()}).ExitCode,
              0);
    std::ifstream in(bmp, std::ios::binary);
    const std::string header(std::istreambuf_iterator<char>(in), {});
    ASSERT_GT(header.size(), 30u);
    EXPECT_EQ(header.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(header[18]) | static_cast<unsigned char>(header[19]) << 8, 640);

    const CliResult jpeg =
        RunCli({"chart", Sample, "--view", "count", "-o", (folder / "count.jpg").string()});
    EXPECT_EQ(jpeg.ExitCode, 1);
    EXPECT_NE(jpeg.Err.find(".wmf, .bmp, .png, .svg"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "count.jpg"));
}

TEST(PrintCli, StatisticsSummariesArePrintedLikeTheOthers) {
    const fs::path folder = TestFolder("print-statistics");
    const fs::path file = WriteVehicles(folder / "morning.lng", VehiclesOfOneMorning(120));
    const fs::path stats = folder / "stats.pdf";
    ASSERT_EQ(RunCli({"print", file.string(), "--view", "summary", "--kind", "stats", "-o", stats.string()})
                  .ExitCode,
              0);
    EXPECT_TRUE(Landscape(stats));
    EXPECT_GE(Pages(stats), 2); // twelve groups in four tables, hourly figures and quality
    const std::string first = PageText(stats, 1, false);
    EXPECT_NE(first.find("Kennwerte"), std::string::npos) << first;
    EXPECT_NE(first.find("Geschwindigkeiten"), std::string::npos);

    const fs::path daily = folder / "daily.pdf";
    ASSERT_EQ(RunCli({"print", file.string(), "--view", "summary", "--kind", "daily", "--lang",
                      "francais.cty", "-o", daily.string()})
                  .ExitCode,
              0);
    EXPECT_NE(PageText(daily, 1, false).find("Profil journalier"), std::string::npos);
}
