#include "settings/DialogFolders.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include "SettingsTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(DialogFolders, EachKindStartsWhereItWasLastUsed) {
    SettingsTestFolder folder("folders");
    std::filesystem::create_directories(folder.File("exports"));
    std::filesystem::create_directories(folder.File("pictures"));
    Settings settings;
    settings.DataPath = "/daten/";
    settings.CardPath = "/karte/";
    IniFile ini(folder.File("korvelan2.ini"));

    // Nothing remembered: card files start in the card folder, everything else in the data folder.
    EXPECT_EQ(StartFolder(ini, settings, FileKind::CardFile), "/karte/");
    EXPECT_EQ(StartFolder(ini, settings, FileKind::Export), "/daten/");

    RememberFolder(ini, FileKind::Export, folder.File("exports/sample.asc"));
    RememberFolder(ini, FileKind::Picture, folder.File("pictures/chart.wmf"));
    EXPECT_EQ(StartFolder(ini, settings, FileKind::Export), folder.File("exports") + "/");
    EXPECT_EQ(StartFolder(ini, settings, FileKind::Picture), folder.File("pictures") + "/");
    EXPECT_EQ(StartFolder(ini, settings, FileKind::Pdf), "/daten/") << "kinds remember their folders each";

    // Kept in the settings file, in a section of its own.
    const IniFile reread(folder.File("korvelan2.ini"));
    EXPECT_EQ(reread.Find("LastFolders", "Export"), folder.File("exports") + "/");
    EXPECT_EQ(StartFolder(reread, settings, FileKind::Picture), folder.File("pictures") + "/");

    // A folder that has gone since is not offered.
    std::filesystem::remove_all(folder.File("pictures"));
    EXPECT_EQ(StartFolder(ini, settings, FileKind::Picture), "/daten/");
}

TEST(DialogFolders, ASaveProposesTheDataFilesNameWithTheNewExtension) {
    EXPECT_EQ(ProposedFileName("/m/Messung Nord.lng", "asc"), "Messung Nord.asc");
    EXPECT_EQ(ProposedFileName("/m/archiv.2026.sht", "pdf"), "archiv.2026.pdf");
    EXPECT_EQ(ProposedFileName("/m/ohne", "csv"), "ohne.csv");
    EXPECT_EQ(ProposedFileName("/m/sample.lng", "lng"), "sample.lng");
    EXPECT_EQ(ProposedFileName("", "asc"), "") << "a card read has no data file to name it after";

    SettingsTestFolder folder("start");
    Settings settings;
    settings.DataPath = "/daten/";
    const IniFile ini(folder.File("korvelan2.ini"));
    EXPECT_EQ(DialogStartFor(ini, settings, FileKind::Pdf, "/m/sample.lng", "pdf"),
              (DialogStart{"/daten/", "sample.pdf"}));
    EXPECT_EQ(DialogStartFor(ini, settings, FileKind::DataFile, "/m/sample.lng"),
              (DialogStart{"/daten/", ""}))
        << "an open dialog proposes no name";
}
