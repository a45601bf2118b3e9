// The main window's logic that needs no window: the view table, file-dialog filters, logo.txt
// and the minimum-length buttons of the settings dialog.

#include "app/Logo.h"
#include "app/MainViewState.h"
#include "app/Mnemonics.h"
#include "lang/FileFilter.h"
#include "settings/LengthThresholdSteps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

LengthThresholds Lengths(int pkw, int lkw, int lz) {
    LengthThresholds t;
    t.PkwMinLength = pkw;
    t.LkwMinLength = lkw;
    t.LzMinLength = lz;
    return t;
}

void ExpectLengths(const LengthThresholds& t, int pkw, int lkw, int lz) {
    EXPECT_EQ(t.PkwMinLength, pkw);
    EXPECT_EQ(t.LkwMinLength, lkw);
    EXPECT_EQ(t.LzMinLength, lz);
}

} // namespace

TEST(MainViewState, EachViewShowsOneAreaAndEnablesItsCommands) {
    const ViewControls none = ControlsOfView(View::None);
    EXPECT_FALSE(none.ListShown || none.ChartShown || none.SummaryShown || none.SaveMenuEnabled);

    const ViewControls vehicles = ControlsOfView(View::VehicleList);
    EXPECT_TRUE(vehicles.ListShown && vehicles.FilterRangeEnabled && vehicles.FilteredSaveEnabled);
    EXPECT_FALSE(vehicles.IntervalEnabled || vehicles.ChartShown || vehicles.SummaryShown);

    const ViewControls intervals = ControlsOfView(View::IntervalList);
    EXPECT_TRUE(intervals.ListShown && intervals.FilterRangeEnabled && intervals.IntervalEnabled &&
                intervals.FilteredSaveEnabled);

    const ViewControls chart = ControlsOfView(View::Chart);
    EXPECT_TRUE(chart.ChartShown && chart.IntervalEnabled && chart.SaveMenuEnabled);
    EXPECT_FALSE(chart.ListShown || chart.FilterRangeEnabled || chart.FilteredSaveEnabled);

    const ViewControls summary = ControlsOfView(View::Summary);
    EXPECT_TRUE(summary.SummaryShown && summary.SaveMenuEnabled);
    EXPECT_FALSE(summary.FilterRangeEnabled || summary.IntervalEnabled || summary.FilteredSaveEnabled);

    EXPECT_TRUE(IsIntervalFactor(12));
    EXPECT_FALSE(IsIntervalFactor(2));
    EXPECT_EQ(MinutesOfFactor(6), 30);
}

TEST(FileFilter, PipeFiltersBecomeDesktopFilters) {
    EXPECT_EQ(DesktopFileFilter("Korvelan - File (*.lng)|*.lng"), "Korvelan - File (*.lng)");
    EXPECT_EQ(DesktopFileFilter("Korvelan - Dateien (*.lng;*.sht)|*.lng;*.sht|Alle Dateien (*.*)|*.*"),
              "Korvelan - Dateien (*.lng *.sht);;Alle Dateien (*.*)");
    // A description without its patterns gets them; a missing pattern means every file.
    EXPECT_EQ(DesktopFileFilter("Karten-Dateien|*.txt;*.bin"), "Karten-Dateien (*.txt *.bin)");
    EXPECT_EQ(DesktopFileFilter("Alles"), "Alles (*)");
    EXPECT_EQ(DesktopFileFilter(""), "");

    const auto entries = ParseFileFilter("Diagramm - Metafile (*.wmf)|*.wmf|Diagramm - Bitmap (*.bmp)|*.bmp");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(FirstExtension(entries[0]), "wmf");
    EXPECT_EQ(FirstExtension(entries[1]), "bmp");
    EXPECT_EQ(FirstExtension(ParseFileFilter("Alle (*.*)|*.*")[0]), "");
}

TEST(Logo, NameOnTheFirstLineAndTheAddressAfterABlankLine) {
    EXPECT_EQ(RevisionText(), "Rev. 4.01.03");

    const LogoText one = ParseLogoText("Verkehrstechnik Muster\r\n");
    EXPECT_EQ(one.Name, "Verkehrstechnik Muster");
    EXPECT_EQ(one.Address, "\n");

    const LogoText three = ParseLogoText("Name\r\nHauptstra\xdf"
                                         "e 1\r\n12345 Stadt\r\n");
    EXPECT_EQ(three.Name, "Name");
    EXPECT_EQ(three.Address, "\nHauptstraße 1\n12345 Stadt\n");

    // LF line ends and a last line without an end are read the same way.
    EXPECT_EQ(ParseLogoText("Name\nA\nB").Address, "\nA\nB\n");
    EXPECT_EQ(ParseLogoText("Name").Address, "");

    const auto folder = std::filesystem::temp_directory_path() / "korvelan-logo-test";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "logo.txt", std::ios::binary) << "Firma\r\nOrt\r\n";
    const auto read = ReadLogoText(folder / "logo.txt");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Name, "Firma");
    EXPECT_EQ(read->Address, "\nOrt\n");
    EXPECT_FALSE(ReadLogoText(folder / "missing.txt").has_value());
    std::filesystem::remove_all(folder);
}

TEST(LengthThresholdSteps, LengthButtonsKeepTheClassesInOrder) {
    LengthThresholds t = Lengths(1, 8, 12);
    for (int i = 0; i < 7; ++i)
        PkwLengthUp(t);
    ExpectLengths(t, 8, 9, 12);
    for (int i = 0; i < 3; ++i)
        PkwLengthUp(t);
    ExpectLengths(t, 11, 12, 13);

    t = Lengths(10, 11, 12);
    LzLengthDown(t);
    ExpectLengths(t, 9, 10, 11);
    LkwLengthDown(t);
    ExpectLengths(t, 8, 9, 11);
    LkwLengthUp(t);
    LkwLengthUp(t);
    ExpectLengths(t, 8, 11, 12);
    LzLengthUp(t);
    ExpectLengths(t, 8, 11, 13);

    // The floor: 0, 1 and 2 m, whichever button is pressed.
    t = Lengths(0, 1, 2);
    LkwLengthDown(t);
    ExpectLengths(t, 0, 1, 2);
    LzLengthDown(t);
    ExpectLengths(t, 0, 1, 2);
    PkwLengthDown(t);
    ExpectLengths(t, 0, 1, 2);
}

TEST(LengthThresholdSteps, OnlyVehicleDataIsCountedAgainAfterALengthChange) {
    MeasurementData data;
    data.DataMode = DataMode::Interval;
    MarkRebuildAfterLengthChange(data);
    EXPECT_EQ(data.IntervalRebuildPending, 0);
    data.DataMode = DataMode::SingleVehicle;
    MarkRebuildAfterLengthChange(data);
    EXPECT_EQ(data.IntervalRebuildPending, 1);
}

TEST(Mnemonics, EachCaptionOfAMenuGetsItsOwnLetter) {
    EXPECT_EQ(WithMnemonics({"Datei", "Einlesen", "Info"}),
              (std::vector<std::string>{"&Datei", "&Einlesen", "&Info"}));
    // A taken letter moves the mark to the next free one, case ignored; letters outside ASCII
    // ("Ö") are passed over.
    EXPECT_EQ(WithMnemonics({"Öffnen", "Speichern", "Export", "Einstellungen", "Beenden"}),
              (std::vector<std::string>{"Ö&ffnen", "&Speichern", "&Export", "E&instellungen", "&Beenden"}));
    // A caption's own "&" stays visible; a caption without a free letter gets no mark.
    EXPECT_EQ(WithMnemonics({"A&B", "ab"}), (std::vector<std::string>{"&A&&B", "a&b"}));
    EXPECT_EQ(WithMnemonics({"ab", "ba", "ab"}), (std::vector<std::string>{"&ab", "&ba", "ab"}));
    EXPECT_EQ(WithMnemonics({"5 Minuten", "15 Minuten"}),
              (std::vector<std::string>{"&5 Minuten", "&15 Minuten"}));
    EXPECT_TRUE(WithMnemonics({}).empty());
    // Marking is undone before a caption is marked again (after a language change).
    EXPECT_EQ(WithoutMnemonic("E&instellungen"), "Einstellungen");
    EXPECT_EQ(WithoutMnemonic("&A&&B"), "A&B");
    EXPECT_EQ(WithMnemonics({WithoutMnemonic("&Datei")}), (std::vector<std::string>{"&Datei"}));
}
