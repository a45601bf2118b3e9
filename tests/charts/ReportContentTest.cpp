#include "charts/ReportContent.h"

#include "base/LanguageTexts.h"
#include "data/DateTime.h"
#include "lang/LanguageFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

namespace {

LanguageTexts GermanTexts() {
    LanguageTexts texts;
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/deutsch.cty", texts);
    return texts;
}

bool Contains(const std::vector<std::string>& cells, const std::string& text) {
    return std::any_of(cells.begin(), cells.end(),
                       [&](const std::string& cell) { return cell.find(text) != std::string::npos; });
}

bool PageMentions(const ReportPage& page, const std::string& text) {
    for (const ReportBlock& block : page.Blocks) {
        if (Contains(block.Lines, text) || Contains(block.Table.Header, text) || block.Chart.Title == text)
            return true;
        for (const auto& row : block.Table.Rows)
            if (Contains(row, text))
                return true;
    }
    return false;
}

int Charts(const ReportPage& page) {
    return static_cast<int>(
        std::count_if(page.Blocks.begin(), page.Blocks.end(),
                      [](const ReportBlock& block) { return block.Type == ReportBlock::Kind::Chart; }));
}

class ReportContentTest : public ::testing::Test {
protected:
    std::unique_ptr<MeasurementData> data = std::make_unique<MeasurementData>();
    LanguageTexts texts = GermanTexts();
    LocaleFormat german = GermanLocaleFormat();
    StatisticsSettings settings;
    ReportRequest request{
        "", "stadteinwärts", "", "A. Planer", "mess.lng", "ab12", "4.01.03", 0, ReportSourceKind::DataFile,
        ""};

    // `count` vehicles from Monday 2026-03-09 00:00, one every 10 minutes, 30..69 km/h.
    void LoadVehicles(int count, int loaded) {
        data->DataMode = DataMode::SingleVehicle;
        data->Comment = "Hauptstraße";
        data->WorkVehicles.EnsureSize(count + 1);
        const double start = *TryEncodeDate(2026, 3, 9);
        for (int i = 1; i <= count; ++i)
            data->WorkVehicles[i] = VehicleRecord{start + (i - 1) / 144.0,
                                                  static_cast<std::uint8_t>(30 + i % 40),
                                                  5,
                                                  i % 2 ? '1' : '2',
                                                  {},
                                                  0,
                                                  {}};
        data->WorkVehicleCount = count;
        data->LoadedCount = loaded;
        request.ReportDate = *TryEncodeDate(2026, 4, 1);
    }
};

} // namespace

TEST_F(ReportContentTest, SevenPagesWithHeaderAndFooterOfTheSource) {
    LoadVehicles(144 * 2 + 10, 400);
    const ReportDocument report = BuildReport(*data, settings, request, texts, german);
    ASSERT_EQ(report.Pages.size(), 7u);
    EXPECT_EQ(report.Header, "Hauptstraße"); // no site given: the comment
    ASSERT_EQ(report.Footer.size(), 2u);
    EXPECT_NE(report.Footer[0].find("mess.lng"), std::string::npos);
    EXPECT_NE(report.Footer[0].find("ab12"), std::string::npos);
    EXPECT_NE(report.Footer[1].find("4.01.03"), std::string::npos);
    EXPECT_EQ(PageNumberText(report, 2, 9, german), "Seite 2 von 9");
    EXPECT_TRUE(report.Pages[1].Landscape); // the key-figure table needs the width
    EXPECT_EQ(Charts(report.Pages[2]), 2);  // average day: working days and weekend
    EXPECT_EQ(Charts(report.Pages[3]), 2);  // histogram and cumulative curve
    EXPECT_EQ(Charts(report.Pages[4]), 1);
}

TEST_F(ReportContentTest, TitlePageNamesSelectionDaysAndDirections) {
    LoadVehicles(144 * 2 + 10, 400);
    const ReportPage title = BuildReport(*data, settings, request, texts, german).Pages[0];
    EXPECT_TRUE(PageMentions(title, "298 von 400 Fahrzeugen"));
    EXPECT_TRUE(PageMentions(title, "3 Tage, davon 1 vollständig"));
    EXPECT_TRUE(PageMentions(title, "09.03.2026 00:00:00 - 11.03.2026 01:30:00"));
    EXPECT_TRUE(PageMentions(title, "(stadteinwärts)"));
    EXPECT_TRUE(PageMentions(title, "A. Planer"));
    EXPECT_TRUE(PageMentions(title, "01.04.2026"));
    EXPECT_TRUE(PageMentions(title, "ganze Messung"));
}

TEST_F(ReportContentTest, FiguresFromFewVehiclesAreMarkedAndDaysListed) {
    LoadVehicles(20, 20);
    const ReportDocument report = BuildReport(*data, settings, request, texts, german);
    const ReportTable& figures = report.Pages[1].Blocks[0].Table;
    ASSERT_FALSE(figures.Rows.empty());
    EXPECT_EQ(figures.Rows[0][2], "10 *"); // direction 1, all classes
    EXPECT_EQ(figures.Header.size(), figures.Rows[0].size());

    const ReportTable& days = report.Pages[5].Blocks[0].Table;
    ASSERT_EQ(days.Rows.size(), 1u);
    EXPECT_EQ(days.Rows[0][0], "Mo");
    EXPECT_EQ(days.Rows[0][2], "nein"); // 20 vehicles until 03:10: not a complete day
    EXPECT_EQ(days.Rows[0][5], "20");
}

TEST_F(ReportContentTest, IntervalDataSayWhichPagesNeedSingleVehicles) {
    data->DataMode = DataMode::Interval;
    data->Comment = "Intervalle";
    const ReportDocument report = BuildReport(*data, settings, request, texts, german);
    ASSERT_EQ(report.Pages.size(), 7u);
    for (const int page : {3, 4}) {
        EXPECT_EQ(Charts(report.Pages[static_cast<std::size_t>(page)]), 0);
        EXPECT_TRUE(PageMentions(report.Pages[static_cast<std::size_t>(page)],
                                 texts[ReportText::NeedsSingleVehicles]));
    }
    EXPECT_TRUE(PageMentions(report.Pages[0], "0 von 0 Intervallen"));
}

TEST_F(ReportContentTest, FooterNamesTheCardFileThePeloFileOrTheCardReader) {
    LoadVehicles(20, 20);
    request.SourceKind = ReportSourceKind::CardFile;
    request.SourceFileName = "karte.bin";
    std::string footer = BuildReport(*data, settings, request, texts, german).Footer.at(0);
    EXPECT_EQ(footer, "Kartendatei: karte.bin   SHA-256: ab12");

    request.SourceKind = ReportSourceKind::PeloFile;
    request.SourceFileName = "zaehlung.pel";
    footer = BuildReport(*data, settings, request, texts, german).Footer.at(0);
    EXPECT_EQ(footer, "Pelo-Datei: zaehlung.pel   SHA-256: ab12");

    // Read through the card reader there is no file to name or check.
    request.SourceKind = ReportSourceKind::CardReader;
    request.SourceFileName.clear();
    request.SourceSha256.clear();
    request.SourceDevice = "/dev/ttyUSB0";
    footer = BuildReport(*data, settings, request, texts, german).Footer.at(0);
    EXPECT_NE(footer.find("SmartMedia"), std::string::npos) << footer;
    EXPECT_NE(footer.find("/dev/ttyUSB0"), std::string::npos) << footer;
    EXPECT_EQ(footer.find("SHA-256"), std::string::npos) << footer;
}

TEST_F(ReportContentTest, DayTableWeekdaysFollowTheProgramsLanguageNotTheLocale) {
    LoadVehicles(144 * 8, 144 * 8); // Monday 9 to Monday 16 March
    for (const auto& [file, monday, sunday] :
         {std::tuple{"deutsch.cty", "Mo", "So"}, std::tuple{"english.cty", "Mon", "Sun"},
          std::tuple{"francais.cty", "lun.", "dim."}}) {
        LanguageTexts language;
        LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/" + file, language);
        // The German conventions, as a system without a locale of its own gives them.
        const ReportDocument report = BuildReport(*data, settings, request, language, german);
        const ReportTable& days = report.Pages[5].Blocks[0].Table;
        ASSERT_EQ(days.Rows.size(), 8u) << file;
        EXPECT_EQ(days.Rows[0][0], monday) << file;
        EXPECT_EQ(days.Rows[6][0], sunday) << file;
    }
    // A language file without the names falls back on the locale's.
    LanguageTexts withoutNames = texts;
    withoutNames.Set(ReportText::WeekdayNames, "");
    const ReportDocument report = BuildReport(*data, settings, request, withoutNames, EnglishLocaleFormat());
    EXPECT_EQ(report.Pages[5].Blocks[0].Table.Rows.at(1)[0], "Tue");
}
