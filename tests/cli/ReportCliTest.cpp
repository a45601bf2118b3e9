// korvelan2-cli report: the PDF read back with poppler, and the bundle beside it.

#include "CliTestSupport.h"

#include "../cards/CardTestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <regex>

namespace {

namespace fs = std::filesystem;

std::string PageText(const fs::path& pdf, int page) {
    return Command("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                   pdf.string() + "' -");
}

// Two days and a bit of traffic from Monday 2026-03-09, one vehicle every 2 minutes.
std::vector<VehicleRecord> TwoDays() {
    std::vector<VehicleRecord> vehicles;
    for (int i = 0; i < 720 * 2 + 30; ++i)
        vehicles.push_back(Vehicle(2026, 3, 9 + i / 720, (i % 720) / 30, (i % 30) * 2, 5, 35 + i % 30,
                                   i % 17 == 0 ? 14 : 4, i % 2 ? '1' : '2'));
    return vehicles;
}

std::vector<std::string> Files(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(ReportCli, EveryPageCarriesSiteSourceChecksumAndPageNumber) {
    const fs::path folder = TestFolder("report-pages");
    const fs::path data = WriteVehicles(folder / "mess.lng", TwoDays(), "Kommentar");
    const fs::path pdf = folder / "bericht.pdf";
    const CliResult result =
        RunCli({"report", data.string(), "-o", pdf.string(), "--site", "Lindenallee 4", "--dir1",
                "stadteinwärts", "--author", "A. Planer", "--today", "01.04.2026"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const std::string sha256 = Command("sha256sum '" + data.string() + "'").substr(0, 64);
    const int pages = Pages(pdf);
    ASSERT_GE(pages, 7);
    for (int page = 1; page <= pages; ++page) {
        const std::string text = PageText(pdf, page);
        EXPECT_NE(text.find("Lindenallee 4"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find("mess.lng"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find(sha256), std::string::npos) << "page " << page;
        EXPECT_NE(text.find("Seite " + std::to_string(page) + " von " + std::to_string(pages)),
                  std::string::npos);
    }
    const std::string title = PageText(pdf, 1);
    EXPECT_NE(title.find("1470 von 1470 Fahrzeugen"), std::string::npos) << title;
    EXPECT_NE(title.find("3 Tage, davon 1 vollständig"), std::string::npos) << title;
    EXPECT_NE(title.find("stadteinwärts"), std::string::npos);
    EXPECT_NE(title.find("01.04.2026"), std::string::npos);
    const std::string figures = PageText(pdf, 2);
    EXPECT_NE(figures.find("V85"), std::string::npos);
    EXPECT_NE(figures.find("Spitzenstunden"), std::string::npos);
    EXPECT_NE(Command("pdffonts '" + pdf.string() + "'").find("yes"), std::string::npos); // embedded
    EXPECT_TRUE(fs::exists(pdf));
    EXPECT_EQ(Files(folder), (std::vector<std::string>{"bericht.pdf", "mess.lng"}));
}

TEST(ReportCli, EnglishTextsAndIntervalDataNotes) {
    const fs::path folder = TestFolder("report-intervals");
    const fs::path data = WriteVehicles(folder / "mess.lng", TwoDays());
    const fs::path intervals = folder / "mess.sht";
    ASSERT_EQ(RunCli({"save", data.string(), "--view", "intervals", "-o", intervals.string()}).ExitCode, 0);
    const fs::path pdf = folder / "report.pdf";
    const CliResult result =
        RunCli({"report", intervals.string(), "-o", pdf.string(), "--lang", "english.cty"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const int pages = Pages(pdf);
    ASSERT_GE(pages, 7);
    EXPECT_NE(PageText(pdf, 1).find("Page 1 of " + std::to_string(pages)), std::string::npos);
    std::string all;
    for (int page = 1; page <= pages; ++page)
        all += PageText(pdf, page);
    EXPECT_NE(all.find("These figures need single-vehicle data"), std::string::npos);
    EXPECT_NE(all.find("mess.sht"), std::string::npos);
}

TEST(ReportCli, AnImportedPeloFileIsNamedWithItsChecksum) {
    const fs::path folder = TestFolder("report-pelo");
    const fs::path pelo = folder / "count.pel";
    std::ofstream(pelo, std::ios::binary)
        << PeloHeader("QT", 1, 2, "0000", 5, 3, 1, 7) << PeloValues({10, 20, 30})
        << PeloHeader("VC", 1, 0, "3237") << PeloValues({10, 20, 30});
    const fs::path pdf = folder / "bericht.pdf";
    const CliResult result = RunCli({"report", pelo.string(), "--import", "-o", pdf.string()});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const std::string sha256 = Command("sha256sum '" + pelo.string() + "'").substr(0, 64);
    const int pages = Pages(pdf);
    ASSERT_GE(pages, 7);
    for (int page = 1; page <= pages; ++page) {
        const std::string text = PageText(pdf, page);
        EXPECT_NE(text.find("Pelo-Datei: count.pel"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find(sha256), std::string::npos) << "page " << page;
    }
}

TEST(ReportCli, UnwritableTargetsAndUsedBundleFoldersLeaveNothingBehind) {
    const fs::path folder = TestFolder("report-errors");
    const fs::path data = WriteVehicles(folder / "mess.lng", TwoDays());

    const CliResult missing = RunCli({"report", data.string(), "-o", (folder / "nicht/da.pdf").string()});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_NE(missing.Err.find("nicht/da.pdf"), std::string::npos) << missing.Err;

    const fs::path used = folder / "used";
    fs::create_directories(used);
    std::FILE* file = std::fopen((used / "old.txt").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    const CliResult refused =
        RunCli({"report", data.string(), "-o", (folder / "r.pdf").string(), "--bundle", used.string()});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(Files(folder), (std::vector<std::string>{"mess.lng", "used"}));
    EXPECT_EQ(Files(used), (std::vector<std::string>{"old.txt"}));

    const CliResult bundled = RunCli(
        {"report", data.string(), "-o", (folder / "r.pdf").string(), "--bundle", (folder / "b").string()});
    ASSERT_EQ(bundled.ExitCode, 0) << bundled.Err;
    EXPECT_TRUE(fs::exists(folder / "r.pdf"));
    const auto tables = Files(folder / "b");
    EXPECT_TRUE(std::find(tables.begin(), tables.end(), "datapackage.json") != tables.end());
    EXPECT_TRUE(std::find(tables.begin(), tables.end(), "vehicles.csv") != tables.end());
}
