// korvelan2-cli report --compare: the comparison report read back with poppler.

#include "CliTestSupport.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

std::string PageText(const fs::path& pdf, int page) {
    return Command("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                   pdf.string() + "' -");
}

std::string Sha256(const fs::path& file) {
    return Command("sha256sum '" + file.string() + "'").substr(0, 64);
}

// Three days from Monday 2 March 2026, `perHour` vehicles an hour from `fromHour` on, with speeds
// base + 0..9 km/h, every fifth a LKW, alternating directions.
std::vector<VehicleRecord> ThreeDays(int base, int perHour, int fromHour = 0) {
    std::vector<VehicleRecord> vehicles;
    for (int day = 2; day <= 4; ++day)
        for (int hour = fromHour; hour < 24; ++hour)
            for (int i = 0; i < perHour; ++i)
                vehicles.push_back(Vehicle(2026, 3, day, hour, i * 60 / perHour, 0, base + (i * 7) % 10,
                                           i % 5 == 0 ? 10 : 4, i % 2 == 0 ? '1' : '2'));
    return vehicles;
}

struct Measurements {
    fs::path Folder;
    fs::path Before;
    fs::path After;
};

Measurements WriteBoth(const std::string& name) {
    const fs::path folder = TestFolder(name);
    return {folder, WriteVehicles(folder / "vorher.lng", ThreeDays(45, 20), "Hauptstraße vorher"),
            WriteVehicles(folder / "nachher.lng", ThreeDays(40, 16, 5), "Hauptstraße nachher")};
}

std::string AllPages(const fs::path& pdf) {
    std::string all;
    for (int page = 1; page <= Pages(pdf); ++page)
        all += PageText(pdf, page);
    return all;
}

} // namespace

TEST(ComparisonReportCli, EveryPageNamesBothFilesWithTheirChecksums) {
    const Measurements m = WriteBoth("compare-report");
    const fs::path pdf = m.Folder / "vergleich.pdf";
    const CliResult result =
        RunCli({"report", m.Before.string(), "--compare", m.After.string(), "-o", pdf.string(), "--site",
                "Lindenallee 4", "--author", "A. Planer", "--today", "01.04.2026", "--lang", "deutsch.cty"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const int pages = Pages(pdf);
    ASSERT_GE(pages, 5); // title, ADT, raw figures (may continue), matched figures, charts
    const std::string before = Sha256(m.Before);
    const std::string after = Sha256(m.After);
    for (int page = 1; page <= pages; ++page) {
        const std::string text = PageText(pdf, page);
        EXPECT_NE(text.find("Lindenallee 4"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find("vorher: vorher.lng"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find("nachher: nachher.lng"), std::string::npos) << "page " << page;
        EXPECT_NE(text.find(before), std::string::npos) << "page " << page;
        EXPECT_NE(text.find(after), std::string::npos) << "page " << page;
        EXPECT_NE(text.find("Seite " + std::to_string(page) + " von " + std::to_string(pages)),
                  std::string::npos)
            << "page " << page;
    }
    const std::string title = PageText(pdf, 1);
    for (const char* expected : {"Messung vorher", "Messung nachher", "Hauptstraße vorher",
                                 "Hauptstraße nachher", "02.03.2026 - 04.03.2026", "A. Planer", "01.04.2026"})
        EXPECT_NE(title.find(expected), std::string::npos) << expected << "\n" << title;

    const std::string all = AllPages(pdf);
    for (const char* expected :
         {"DTV vorher und nachher", "Kennwerte vorher und nachher", "Kennwerte nach Tageszeit abgeglichen",
          "V85 freier Verkehr", "nicht deutlich", "ohne die Stunden 00-01",
          "Summenlinien der Geschwindigkeit vorher und nachher",
          "V85 nach Stunde des Tages vorher und nachher"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected;
    // 45..54 km/h before, 40..49 after: every V85 difference is -5 and clear.
    EXPECT_NE(all.find("-5"), std::string::npos);
    EXPECT_NE(Command("pdffonts '" + pdf.string() + "'").find("yes"), std::string::npos); // embedded
}

TEST(ComparisonReportCli, EnglishWithTheComparisonOptions) {
    const Measurements m = WriteBoth("compare-report-en");
    const fs::path pdf = m.Folder / "comparison.pdf";
    const CliResult result =
        RunCli({"report", m.Before.string(), "--compare", m.After.string(), "-o", pdf.string(), "--lang",
                "english.cty", "--swap-directions", "--thresholds", "50,55", "--limit", "40", "--mark",
                "speed>60", "--drop-marked"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const int pages = Pages(pdf);
    EXPECT_NE(PageText(pdf, 1).find("Page 1 of " + std::to_string(pages)), std::string::npos);
    const std::string all = AllPages(pdf);
    for (const char* expected :
         {"Measurement before", "The directions of the after measurement are swapped.", "50, 55 km/h",
          "Share > 55 km/h", "Cumulative speed distributions before and after"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected;
}

TEST(ComparisonReportCli, RefusedOptionsAndFailuresLeaveNoReport) {
    const Measurements m = WriteBoth("compare-report-errors");
    const fs::path pdf = m.Folder / "r.pdf";
    const auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> arguments{"report", m.Before.string(), "-o", pdf.string()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunCli(arguments);
    };
    const CliResult range = run({"--compare", m.After.string(), "--range", "1:5"});
    EXPECT_EQ(range.ExitCode, 2);
    EXPECT_NE(range.Err.find("--range"), std::string::npos) << range.Err;
    EXPECT_EQ(run({"--compare", m.After.string(), "--bundle", (m.Folder / "b").string()}).ExitCode, 2);
    EXPECT_EQ(run({"--swap-directions"}).ExitCode, 2);
    EXPECT_EQ(run({"--compare", m.After.string(), "--free-flow", "abc"}).ExitCode, 2);
    EXPECT_EQ(run({"--compare", (m.Folder / "none.lng").string()}).ExitCode, 1);

    const fs::path intervals = m.Folder / "nachher.sht";
    ASSERT_EQ(RunCli({"save", m.After.string(), "--view", "intervals", "-o", intervals.string()}).ExitCode,
              0);
    const CliResult kinds = run({"--compare", intervals.string()});
    EXPECT_EQ(kinds.ExitCode, 1);
    EXPECT_FALSE(kinds.Err.empty());
    EXPECT_FALSE(fs::exists(pdf));
    EXPECT_FALSE(fs::exists(m.Folder / "b"));
}
