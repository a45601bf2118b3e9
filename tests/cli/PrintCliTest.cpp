// korvelan2-cli print and the picture files of korvelan2-cli chart, checked with poppler and libwmf.

#include "CliTestSupport.h"

#include "../cards/CardTestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>

namespace {

namespace fs = std::filesystem;

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

namespace {
// Three 5-minute intervals from 07:00 on 1 March 2005 of a foreign count: totals, heavy vehicles,
// mean speeds, speed classes 51..55 km/h, and two length categories (codes 100 and 200).
fs::path WritePeloFile(const fs::path& folder) {
    const fs::path file = folder / "count.pel";
    std::ofstream(file, std::ios::binary)
        << PeloHeader("QT", 1, 6, "0000", 5, 3, 1, 7) << PeloValues({10, 20, 30}) << PeloHeader("QL", 1)
        << PeloValues({2, 4, 6}) << PeloHeader("VT", 1) << PeloValues({48, 52, 55})
        << PeloHeader("VC", 1, 0, "3237") << PeloValues({10, 20, 30}) << PeloHeader("LC", 1, 0, "0064")
        << PeloValues({7, 8, 9}) << PeloHeader("LC", 1, 0, "00C8") << PeloValues({3, 12, 0});
    return file;
}
} // namespace

TEST(ImportCli, PeloFilesReachTheImportedViewsSummaryAndPrintouts) {
    const fs::path folder = TestFolder("import");
    const std::string pelo = WritePeloFile(folder).string();

    // Without --import a Pelo file is no data file.
    const CliResult refused = RunCli({"summary", pelo});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(refused.Err, "Keine Korvelan - Datei\n");

    const CliResult summary = RunCli({"summary", pelo, "--import"});
    ASSERT_EQ(summary.ExitCode, 0) << summary.Err;
    EXPECT_NE(summary.Out.find("Zeitraum: 01.03.2005 07:00  -  01.03.2005 07:10"), std::string::npos);
    EXPECT_NE(summary.Out.find("Anzahl                60       0       0       0          0"),
              std::string::npos)
        << summary.Out;
    EXPECT_NE(summary.Out.find("V50                   50,5"), std::string::npos);

    // The length view exists only for imported data: one bar per category, labelled code / 10.
    const CliResult length = RunCli({"chart", pelo, "--import", "--view", "length", "--json"});
    ASSERT_EQ(length.ExitCode, 0) << length.Err;
    EXPECT_NE(length.Out.find("\"labels\":[\"10\",\"20\",\" \","), std::string::npos) << length.Out;
    EXPECT_NE(length.Out.find("\"values\":[24,15,0,"), std::string::npos);
    // LKW stands for all heavy vehicles; V2 as mean is the imported mean speed.
    const CliResult heavy =
        RunCli({"chart", pelo, "--import", "--view", "count", "--group", "lkw", "--json"});
    EXPECT_NE(heavy.Out.find("\"values\":[2,4,6,0,"), std::string::npos) << heavy.Out;
    const CliResult mean =
        RunCli({"chart", pelo, "--import", "--view", "v2", "--calc-v50", "mean", "--json"});
    EXPECT_NE(mean.Out.find("\"values\":[48,52,55,0,"), std::string::npos) << mean.Out;
    // Only sum and LKW are offered.
    EXPECT_EQ(RunCli({"chart", pelo, "--import", "--view", "count", "--group", "pkw", "--json"}).ExitCode, 2);

    const fs::path chart = folder / "length.pdf";
    const CliResult printedChart =
        RunCli({"print", pelo, "--import", "--view", "chart", "--chart", "length", "-o", chart.string()});
    ASSERT_EQ(printedChart.ExitCode, 0) << printedChart.Err;
    EXPECT_TRUE(Landscape(chart));
    EXPECT_NE(PageText(chart, 1, false).find("Längenverteilung"), std::string::npos);

    const fs::path printedSummary = folder / "summary.pdf";
    ASSERT_EQ(
        RunCli({"print", pelo, "--import", "--view", "summary", "-o", printedSummary.string()}).ExitCode, 0);
    EXPECT_NE(PageText(printedSummary, 1, false).find("01.03.2005 07:00"), std::string::npos);

    const CliResult list = RunCli({"list", pelo, "--import"});
    EXPECT_NE(list.Out.find(" 000003     01-03-2005  07:10:00        30"), std::string::npos) << list.Out;
    fs::remove_all(folder);
}

TEST(PrintCli, SuccessfulChartsAndPrintoutsLeaveStandardErrorEmpty) {
    // As under cron or in CI: no runtime folder, or one that is not private. The run's own
    // temporary folder shows that nothing is left behind.
    const fs::path folder = TestFolder("quiet");
    const fs::path temp = folder / "tmp";
    fs::create_directories(temp);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntime = runtime ? runtime : "";
    const char* tmpdir = std::getenv("TMPDIR");
    const std::string savedTmpdir = tmpdir ? tmpdir : "";
    ::setenv("TMPDIR", temp.c_str(), 1);
    for (const char* setting : {"", "/tmp"}) {
        if (*setting == '\0')
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", setting, 1);
        const CliResult chart =
            RunCli({"chart", Sample, "--view", "v3", "--limit", "50", "-o", (folder / "v3.png").string()});
        EXPECT_EQ(chart.ExitCode, 0);
        EXPECT_EQ(chart.Err, "") << setting;
        const CliResult print =
            RunCli({"print", Sample, "--view", "chart", "-o", (folder / "c.pdf").string()});
        EXPECT_EQ(print.ExitCode, 0);
        EXPECT_EQ(print.Err, "") << setting;
        EXPECT_TRUE(fs::is_empty(temp));
    }
    if (runtime)
        ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    if (tmpdir)
        ::setenv("TMPDIR", savedTmpdir.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    fs::remove_all(folder);
}
