#include "settings/IniFile.h"
#include "base/CoreError.h"

#include "SettingsTestFolder.h"

#include <gtest/gtest.h>

#include <vector>

TEST(IniFile, ReadsNamesWithoutRegardToCase) {
    SettingsTestFolder folder("read");
    folder.Write("a.ini", "; Kommentar\r\n"
                          "[length]\r\n"
                          "  pkw =  3  \r\n"
                          "LKW=\r\n"
                          "[DefaultPath]\n" // a line with LF only among CR LF lines
                          "DataPath=\"/daten/mit Blank /\"\r\n"
                          "[Length]\r\n"
                          "PKW=9\r\n");
    const IniFile ini(folder.File("a.ini"));
    EXPECT_FALSE(ini.ReadFailed());
    EXPECT_EQ(ini.ReadString("Length", "PKW", "1"), "3"); // the first matching section counts
    EXPECT_EQ(ini.ReadString("LENGTH", "lkw", "8"), "");  // present but empty is not missing
    EXPECT_EQ(ini.ReadString("Length", "LZ", "12"), "12");
    EXPECT_EQ(ini.ReadString("defaultpath", "datapath", ""), "/daten/mit Blank /");
    EXPECT_FALSE(ini.Find("Kommentar", "x"));
}

TEST(IniFile, WritesInPlaceAndKeepsForeignLines) {
    SettingsTestFolder folder("write");
    folder.Write("a.ini", "; von Hand\r\n"
                          "[Language]\r\n"
                          "LFile=english.cty\r\n"
                          "change=yes\r\n"
                          "\r\n"
                          "[length]\r\n"
                          "pkw=3\r\n"
                          "Fremd=bleibt\r\n"
                          "\r\n"
                          "[Diagram]\r\n"
                          "Pelo=yes\r\n");
    IniFile ini(folder.File("a.ini"));
    ini.WriteString("Length", "PKW", "4");         // replaces the key, spelled as the program writes it
    ini.WriteString("Length", "LZ", "12");         // new key: at the end of its section
    ini.WriteString("Calculation", "VLow", "V15"); // new section: at the end of the file
    ini.WriteString("DefaultPath", "DataPath", " /mit Blank/");
    EXPECT_EQ(folder.Read("a.ini"), "; von Hand\r\n"
                                    "[Language]\r\n"
                                    "LFile=english.cty\r\n"
                                    "change=yes\r\n"
                                    "\r\n"
                                    "[length]\r\n"
                                    "PKW=4\r\n"
                                    "Fremd=bleibt\r\n"
                                    "LZ=12\r\n"
                                    "\r\n"
                                    "[Diagram]\r\n"
                                    "Pelo=yes\r\n"
                                    "\r\n"
                                    "[Calculation]\r\n"
                                    "VLow=V15\r\n"
                                    "\r\n"
                                    "[DefaultPath]\r\n"
                                    "DataPath=\" /mit Blank/\"\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("a.ini.tmp")));
    EXPECT_EQ(IniFile(folder.File("a.ini")).ReadString("DefaultPath", "DataPath", ""), " /mit Blank/");
}

TEST(IniFile, KeepsTheFileEncodingAndLineEnds) {
    SettingsTestFolder folder("encoding");
    folder.Write("lf.ini", "[DefaultPath]\nDataPath=/M\xFC"
                           "ll/\n"); // Windows-1252 ü, LF only
    IniFile ini(folder.File("lf.ini"));
    EXPECT_EQ(ini.ReadString("DefaultPath", "DataPath", ""), "/Müll/");
    ini.WriteString("DefaultPath", "CardPath", "/Karte/");
    EXPECT_EQ(folder.Read("lf.ini"), "[DefaultPath]\nDataPath=/M\xFC"
                                     "ll/\nCardPath=/Karte/\n");

    // A folder name that Windows-1252 cannot hold makes the file UTF-8 instead of losing it.
    ini.WriteString("DefaultPath", "CardPath", "/Карта/");
    EXPECT_EQ(IniFile(folder.File("lf.ini")).ReadString("DefaultPath", "CardPath", ""), "/Карта/");
    EXPECT_EQ(IniFile(folder.File("lf.ini")).ReadString("DefaultPath", "DataPath", ""), "/Müll/");
}

TEST(IniFile, NeverOverwritesWhatItCannotRead) {
    SettingsTestFolder folder("unreadable");
    std::filesystem::create_directory(folder.File("dir.ini")); // there, but no readable file
    IniFile blocked(folder.File("dir.ini"));
    EXPECT_TRUE(blocked.ReadFailed());
    EXPECT_EQ(blocked.ReadString("Length", "PKW", "1"), "1");
    try {
        blocked.WriteString("Length", "PKW", "2");
        FAIL() << "writing over an unreadable file must fail";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.textNumber(), 422);
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("dir.ini")));

    folder.Write("plain", "x");
    IniFile impossible(folder.File("plain") + "/sub/a.ini"); // below a file: cannot be created
    EXPECT_THROW(impossible.WriteString("Length", "PKW", "2"), CoreError);
}

TEST(IniFile, StartsFromTheSeedUntilItsOwnFileExists) {
    SettingsTestFolder folder("seed");
    folder.Write("seed.ini", "[Language]\r\nLFile=francais.cty\r\n");
    IniFile ini(folder.File("user/korvelan2.ini"), folder.File("seed.ini"));
    EXPECT_EQ(ini.ReadString("Language", "LFile", "deutsch.cty"), "francais.cty");
    ini.WriteString("Length", "PKW", "2"); // creates the missing folder too
    EXPECT_EQ(folder.Read("user/korvelan2.ini"),
              "[Language]\r\nLFile=francais.cty\r\n\r\n[Length]\r\nPKW=2\r\n");
    EXPECT_EQ(folder.Read("seed.ini"), "[Language]\r\nLFile=francais.cty\r\n");
}

TEST(IniFile, ReadsBackExactlyWhatItWrote) {
    SettingsTestFolder folder("roundtrip");
    const std::string file = folder.File("k.ini");
    // Windows-1252 D8 96 is also valid UTF-8 (U+0616): without a mark the file is Windows-1252.
    const std::vector<std::string> names = {"/Kreuzung Ø–Nord/", "/Ã¼/", "/Карта/", "€ „x“", "\xC2\x81"};
    for (const std::string& name : names) {
        IniFile(file).WriteString("DefaultPath", "DataPath", name);
        EXPECT_EQ(IniFile(file).ReadString("DefaultPath", "DataPath", ""), name) << name;
    }
    IniFile(file).WriteString("DefaultPath", "DataPath", "/Kreuzung Ø–Nord/");
    EXPECT_EQ(folder.Read("k.ini"), "[DefaultPath]\r\nDataPath=/Kreuzung \xD8\x96Nord/\r\n");

    // Bytes behind a byte-order mark that are not UTF-8 are taken as Windows-1252, never passed on.
    folder.Write("k.ini", "\xEF\xBB\xBF[DefaultPath]\r\nDataPath=/M\xFCll/\r\n");
    EXPECT_EQ(IniFile(file).ReadString("DefaultPath", "DataPath", ""), "/Müll/");
    folder.Write("k.ini", "\xEF\xBB\xBF[DefaultPath]\r\nDataPath=/Карта/\r\n");
    EXPECT_EQ(IniFile(file).ReadString("DefaultPath", "DataPath", ""), "/Карта/");
}

TEST(IniFile, ASectionIsReplacedWholeInItsPlace) {
    SettingsTestFolder folder("replace");
    folder.Write("k.ini", "; hand-made\n[A]\nx=1\n\n[B]\n; note\nold=1\nolder=2\n\n[C]\ny=2\n");
    IniFile ini(folder.File("k.ini"));
    EXPECT_EQ(ini.SectionEntries("b"), (std::vector<IniEntry>{{"old", "1"}, {"older", "2"}}));

    ini.ReplaceSection("B", {{"new", " padded "}, {"n2", "v"}});
    EXPECT_EQ(folder.Read("k.ini"), "; hand-made\n[A]\nx=1\n\n[B]\nnew=\" padded \"\nn2=v\n\n[C]\ny=2\n");
    EXPECT_EQ(IniFile(folder.File("k.ini")).Find("B", "new"), " padded ");

    ini.ReplaceSection("A", {});
    EXPECT_EQ(folder.Read("k.ini"), "; hand-made\n[B]\nnew=\" padded \"\nn2=v\n\n[C]\ny=2\n");
    ini.ReplaceSection("D", {{"z", "3"}});
    EXPECT_EQ(folder.Read("k.ini"), "; hand-made\n[B]\nnew=\" padded \"\nn2=v\n\n[C]\ny=2\n\n[D]\nz=3\n");
    ini.ReplaceSection("D", {});
    ini.ReplaceSection("Missing", {});
    EXPECT_EQ(folder.Read("k.ini"), "; hand-made\n[B]\nnew=\" padded \"\nn2=v\n\n[C]\ny=2\n");
}
