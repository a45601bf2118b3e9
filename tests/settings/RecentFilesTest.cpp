#include "settings/RecentFiles.h"
#include "settings/IniFile.h"

#include "SettingsTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
std::vector<std::string> Paths(std::initializer_list<const char*> paths) {
    return {paths.begin(), paths.end()};
}
} // namespace

TEST(RecentFiles, NewestFirstEachFileOnceAndAtMostEight) {
    RecentFiles files;
    for (int n = 1; n <= 10; ++n)
        files.Add("/m/" + std::to_string(n) + ".lng");
    files.Add("/m/7.lng"); // opened again: to the top, not twice
    EXPECT_EQ(files.Paths(), Paths({"/m/7.lng", "/m/10.lng", "/m/9.lng", "/m/8.lng", "/m/6.lng", "/m/5.lng",
                                    "/m/4.lng", "/m/3.lng"}));

    // One file by two spellings is one entry, kept as an absolute path.
    RecentFiles spelled;
    spelled.Add("/m/a/../b.lng");
    spelled.Add("/m/./b.lng");
    EXPECT_EQ(spelled.Paths(), Paths({"/m/b.lng"}));
    spelled.Add("relative.lng");
    EXPECT_EQ(spelled.Paths().front(), (std::filesystem::current_path() / "relative.lng").string());

    // A list read from a file drops blanks and repeats and keeps its first eight.
    const RecentFiles read(Paths({"/a", "", "/b", "/a", "/c", "/d", "/e", "/f", "/g", "/h", "/i"}));
    EXPECT_EQ(read.Paths(), Paths({"/a", "/b", "/c", "/d", "/e", "/f", "/g", "/h"}));
}

TEST(RecentFiles, MissingFilesAreDroppedOnRequest) {
    RecentFiles files(Paths({"/here/a.lng", "/gone/b.lng", "/here/c.sht", "/gone/d.lng"}));
    EXPECT_EQ(files.RemoveMissing([](const std::string& p) { return p.starts_with("/here/"); }), 2U);
    EXPECT_EQ(files.Paths(), Paths({"/here/a.lng", "/here/c.sht"}));
    EXPECT_TRUE(files.Remove("/here/a.lng"));
    EXPECT_FALSE(files.Remove("/here/a.lng"));
    EXPECT_EQ(files.Paths(), Paths({"/here/c.sht"}));
}

TEST(RecentFiles, KeptInASectionOfTheirOwn) {
    SettingsTestFolder folder("recent");
    folder.Write("korvelan2.ini", "[Length]\r\nPKW=2\r\n\r\n[RecentFiles]\r\nfile2=/m/second.lng\r\n"
                                  "File1=/m/first.lng\r\nFile9=/m/ninth.lng\r\nComment=x\r\n\r\n"
                                  "[DefaultPath]\r\nDataPath=/m/\r\n");
    IniFile ini(folder.File("korvelan2.ini"));
    // Read in the order of the numbers, whatever the order of the lines or the case of the keys.
    RecentFiles files = ReadRecentFiles(ini);
    EXPECT_EQ(files.Paths(), Paths({"/m/first.lng", "/m/second.lng", "/m/ninth.lng"}));

    files.Remove("/m/second.lng");
    files.Add("/m/new file.sht");
    WriteRecentFiles(ini, files);
    EXPECT_EQ(folder.Read("korvelan2.ini"),
              "[Length]\r\nPKW=2\r\n\r\n[RecentFiles]\r\nFile1=/m/new file.sht\r\n"
              "File2=/m/first.lng\r\nFile3=/m/ninth.lng\r\n\r\n"
              "[DefaultPath]\r\nDataPath=/m/\r\n");
    EXPECT_EQ(ReadRecentFiles(IniFile(folder.File("korvelan2.ini"))), files);

    WriteRecentFiles(ini, RecentFiles());
    EXPECT_EQ(folder.Read("korvelan2.ini"), "[Length]\r\nPKW=2\r\n\r\n[DefaultPath]\r\nDataPath=/m/\r\n");
}

TEST(RecentFiles, CaptionsAreNumberedAndShowTheFolder) {
    EXPECT_EQ(RecentFileCaption(1, "/home/anna/messungen/sample.lng"),
              "&1 sample.lng  (/home/anna/messungen)");
    // An ampersand in a name is shown, not taken as the mnemonic.
    EXPECT_EQ(RecentFileCaption(8, "/m/A&B/Nord & Süd.lng"), "&8 Nord && Süd.lng  (/m/A&&B)");

    // A long folder is shortened in its middle, never inside a character.
    const std::string folder = "/home/anna/Zählungen/Ortsdurchfahrt Großenhain/2026/März/Woche 11";
    const std::string caption = RecentFileCaption(2, folder + "/k.lng");
    EXPECT_EQ(caption, "&2 k.lng  (/home/anna/Zählungen/Or…nhain/2026/März/Woche 11)");
}
