#include "settings/SettingsStore.h"
#include "base/LanguageTexts.h"
#include "settings/LengthThresholdSteps.h"

#include "SettingsTestFolder.h"

#include <gtest/gtest.h>

TEST(LoadConfig, WithoutAFileEverythingHasItsDefault) {
    SettingsTestFolder folder("defaults");
    const IniFile ini(folder.File("korvelan2.ini"));
    const LoadedConfig config = LoadConfig(ini, "/opt/korvelan2/");
    const Settings& s = config.settings;
    EXPECT_FALSE(config.warning);
    EXPECT_EQ(s.LanguageFile, "deutsch.cty");
    EXPECT_EQ(s.Lengths.PkwMinLength, 1);
    EXPECT_EQ(s.Lengths.LkwMinLength, 8);
    EXPECT_EQ(s.Lengths.LzMinLength, 12);
    EXPECT_EQ(s.AboveLimitStyle, 0);
    EXPECT_EQ(s.CalcV50, 0);
    EXPECT_EQ(LowerPercentileOf(s.VLowIndex), 15);
    EXPECT_EQ(UpperPercentileOf(s.VHighIndex), 85);
    EXPECT_EQ(s.DataPath, "/opt/korvelan2/");
    EXPECT_EQ(s.CardPath, "/opt/korvelan2/");
    EXPECT_FALSE(s.LanguageSwitchShown);
    EXPECT_FALSE(s.PeloEnabled);
}

TEST(LoadConfig, ValueWordsAreComparedExactly) {
    SettingsTestFolder folder("words");
    folder.Write("korvelan2.ini", "[Language]\r\nLFile=english.cty\r\nchange=Yes\r\n"
                                  "[Diagram]\r\nAboveLimit=area\r\nPelo=yes\r\n"
                                  "[Calculation]\r\nCalcV50=Mean\r\nVLow=v05\r\nVHigh=V80\r\n"
                                  "[Length]\r\nPKW=2\r\nLKW=20\r\nLZ=10\r\n"
                                  "[DefaultPath]\r\nDataPath=\r\nCardPath=/karte/\r\n");
    const Settings s = LoadConfig(IniFile(folder.File("korvelan2.ini")), "/prog/").settings;
    EXPECT_EQ(s.LanguageFile, "english.cty");
    EXPECT_FALSE(s.LanguageSwitchShown); // only "yes" switches on
    EXPECT_TRUE(s.PeloEnabled);
    EXPECT_EQ(s.AboveLimitStyle, 0); // "area" is no "Area": the first choice stays
    EXPECT_EQ(s.CalcV50, 1);
    EXPECT_EQ(s.VLowIndex, 4); // "v05" is no "V05": the last choice, V25
    EXPECT_EQ(s.VHighIndex, 1);
    EXPECT_EQ(s.Lengths.LkwMinLength, 20); // out of order, taken as it is
    EXPECT_EQ(s.Lengths.LzMinLength, 10);
    EXPECT_EQ(s.DataPath, "/prog/"); // present but empty: the program folder
    EXPECT_EQ(s.CardPath, "/karte/");

    EXPECT_EQ(AboveLimitStyleOfWord("Area"), 1);
    EXPECT_EQ(CalcV50OfWord("mean"), 0);
    EXPECT_EQ(VHighIndexOfWord("V75"), 0);
    EXPECT_EQ(VHighIndexOfWord(""), 4);
}

TEST(LoadConfig, LengthsThatAreNoWholeNumbersFallBackWithOneMessage) {
    SettingsTestFolder folder("lengths");
    folder.Write("korvelan2.ini", "[Length]\r\nPKW=abc\r\nLKW= -3 \r\nLZ=12.5\r\n");
    const LoadedConfig config = LoadConfig(IniFile(folder.File("korvelan2.ini")), "/prog/");
    EXPECT_EQ(config.settings.Lengths.PkwMinLength, 1);
    EXPECT_EQ(config.settings.Lengths.LkwMinLength, 1); // a whole number, brought into the stepping range
    EXPECT_EQ(config.settings.Lengths.LzMinLength, 12);
    ASSERT_TRUE(config.warning);
    EXPECT_EQ(config.warning->textNumber(), 421);
    const std::string message = config.warning->Message(LanguageTexts());
    EXPECT_NE(message.find("PKW=abc"), std::string::npos) << message;
    EXPECT_NE(message.find("LZ=12.5"), std::string::npos) << message;
    EXPECT_EQ(message.find("LKW"), std::string::npos) << message;
}

TEST(WriteConfig, WritesTheElevenKeysInTheirOrderAndNothingElse) {
    SettingsTestFolder folder("writer");
    Settings s;
    s.Lengths = {2, 9, 13};
    s.AboveLimitStyle = 1;
    s.CalcV50 = 0;
    s.VLowIndex = 0;
    s.VHighIndex = 4;
    s.DataPath = "/daten/";
    s.CardPath = "/karte/";
    s.FreeFlowGapSeconds = 2.5;
    s.LanguageFile = "english.cty"; // read-only settings: never written
    s.PeloEnabled = true;
    IniFile created(folder.File("new.ini"));
    WriteConfig(created, s);
    EXPECT_EQ(folder.Read("new.ini"), "[Length]\r\nPKW=2\r\nLKW=9\r\nLZ=13\r\n\r\n"
                                      "[Diagram]\r\nAboveLimit=Area\r\n\r\n"
                                      "[Calculation]\r\nCalcV50=Count\r\nVLow=V05\r\nVHigh=V95\r\n\r\n"
                                      "[DefaultPath]\r\nDataPath=/daten/\r\nCardPath=/karte/\r\n\r\n"
                                      "[Statistics]\r\nFreeFlowGap=2.5\r\nThresholds=\r\n");

    // A hand-kept file keeps LFile, change and Pelo as they were; reading gives back what was written.
    s.SpeedThresholds = {30, 50, 65};
    folder.Write("kept.ini", "[Language]\r\nLFile=francais.cty\r\nchange=yes\r\n[Diagram]\r\nPelo=no\r\n");
    IniFile kept(folder.File("kept.ini"));
    WriteConfig(kept, s);
    const Settings back = LoadConfig(IniFile(folder.File("kept.ini")), "/prog/").settings;
    EXPECT_EQ(back.LanguageFile, "francais.cty");
    EXPECT_TRUE(back.LanguageSwitchShown);
    EXPECT_FALSE(back.PeloEnabled);
    EXPECT_EQ(back.Lengths.LzMinLength, 13);
    EXPECT_EQ(back.AboveLimitStyle, 1);
    EXPECT_EQ(back.VLowIndex, 0);
    EXPECT_EQ(back.VHighIndex, 4);
    EXPECT_EQ(back.DataPath, "/daten/");
    EXPECT_DOUBLE_EQ(back.FreeFlowGapSeconds, 2.5);
    EXPECT_EQ(back.SpeedThresholds, s.SpeedThresholds);
}

TEST(SettingsFile, LiesBesideTheProgramOrInTheUsersConfiguration) {
    EXPECT_EQ(LocateSettingsFile("/opt/k/", true, "/x", "/home/u").path, "/opt/k/korvelan2.ini");
    const SettingsFileLocation xdg = LocateSettingsFile("/opt/k/", false, "/home/u/conf", "/home/u");
    EXPECT_EQ(xdg.path, "/home/u/conf/korvelan2/korvelan2.ini");
    EXPECT_EQ(xdg.seedPath, "/opt/k/korvelan2.ini");
    EXPECT_EQ(LocateSettingsFile("/opt/k/", false, "", "/home/u").path,
              "/home/u/.config/korvelan2/korvelan2.ini");
    EXPECT_EQ(LocateSettingsFile("/opt/k/", false, "relative", "/home/u").path,
              "/home/u/.config/korvelan2/korvelan2.ini"); // a relative XDG_CONFIG_HOME is ignored

    SettingsTestFolder folder("locate");
    EXPECT_EQ(OpenSettingsFile(folder.Folder()).Path(), folder.File("korvelan2.ini"));
}

TEST(LoadConfig, StatisticsGapAndThresholdsKeepTheirDefaultsUnlessTheyParse) {
    SettingsTestFolder folder("statistics");
    folder.Write("korvelan2.ini", "[Statistics]\r\nFreeFlowGap=4,5\r\nThresholds=70,50\r\n");
    const Settings s = LoadConfig(IniFile(folder.File("korvelan2.ini")), "/prog/").settings;
    EXPECT_DOUBLE_EQ(s.FreeFlowGapSeconds, 4.5);
    EXPECT_EQ(s.SpeedThresholds, (std::vector<int>{70, 50}));

    folder.Write("korvelan2.ini", "[Statistics]\r\nFreeFlowGap=-1\r\nThresholds=50;60\r\n");
    const Settings bad = LoadConfig(IniFile(folder.File("korvelan2.ini")), "/prog/").settings;
    EXPECT_DOUBLE_EQ(bad.FreeFlowGapSeconds, 5.0);
    EXPECT_TRUE(bad.SpeedThresholds.empty());
}

TEST(LoadConfig, LengthsNearTheIntegerLimitStayWhereTheButtonsCanStep) {
    SettingsTestFolder folder("hugelengths");
    folder.Write("korvelan2.ini", "[Length]\r\nPKW=2147483647\r\nLKW=2147483647\r\nLZ=-2147483648\r\n");
    LengthThresholds t = LoadConfig(IniFile(folder.File("korvelan2.ini")), "/prog/").settings.Lengths;
    EXPECT_EQ(t.PkwMinLength, LongestLzMinLength - 2);
    EXPECT_EQ(t.LkwMinLength, LongestLzMinLength - 1);
    EXPECT_EQ(t.LzMinLength, 2);

    // Every button at the top of the range leaves the thresholds in it and in order.
    t = SteppableLengths({LongestLzMinLength, LongestLzMinLength, LongestLzMinLength});
    PkwLengthUp(t);
    LkwLengthUp(t);
    LzLengthUp(t);
    EXPECT_EQ(t.PkwMinLength, LongestLzMinLength - 2);
    EXPECT_EQ(t.LkwMinLength, LongestLzMinLength - 1);
    EXPECT_EQ(t.LzMinLength, LongestLzMinLength);
    t = {0, 1, 2};
    for (int press = 0; press < 300; ++press)
        PkwLengthUp(t);
    EXPECT_EQ(t.PkwMinLength, LongestLzMinLength - 2);
    EXPECT_LT(t.LkwMinLength, t.LzMinLength);
    EXPECT_LE(t.LzMinLength, LongestLzMinLength);
}

TEST(StatisticsEntries, AcceptBlanksAndADecimalCommaAndRefuseTheRest) {
    EXPECT_EQ(FreeFlowGapOfEntry(" 2,5 "), 2.5);
    EXPECT_EQ(FreeFlowGapOfEntry("0.1"), 0.1);
    for (const char* refused : {"", "0", "-1", "abc", "5s", "1e999", "nan"})
        EXPECT_FALSE(FreeFlowGapOfEntry(refused)) << refused;

    EXPECT_EQ(ThresholdsOfEntry(" 50, 60 ,70"), (std::vector<int>{50, 60, 70}));
    EXPECT_EQ(ThresholdsOfEntry("  "), std::vector<int>{}); // none: the limit and its two steps
    for (const char* refused : {"50,", ",50", "50,,60", "50.5", "-10", "256", "50;60", "5 0"})
        EXPECT_FALSE(ThresholdsOfEntry(refused)) << refused;

    // What the file holds reads back unchanged, whatever the C library's locale says.
    for (const double gap : {5.0, 2.5, 0.1, 12.25})
        EXPECT_EQ(FreeFlowGapOfEntry(FreeFlowGapText(gap)), gap);
    EXPECT_EQ(FreeFlowGapText(5), "5");
    EXPECT_EQ(ThresholdsText({70, 50}), "70,50");
}

TEST(StatisticsSettingsText, GapAndThresholdsAsUsersWriteThem) {
    EXPECT_EQ(ParseFreeFlowGap("5"), 5.0);
    EXPECT_EQ(ParseFreeFlowGap("2.5"), 2.5);
    EXPECT_EQ(ParseFreeFlowGap("2,5"), 2.5);
    for (const char* bad : {"0", "-3", "", "5s", "nan", "inf", "1e9"})
        EXPECT_FALSE(ParseFreeFlowGap(bad)) << bad;
    EXPECT_EQ(ParseThresholds("50"), (std::vector<int>{50}));
    EXPECT_EQ(ParseThresholds("70,50,70"), (std::vector<int>{70, 50, 70})); // sorting is the statistics'
    for (const char* bad : {"", "50,", ",50", "50.5", "50 ,60", "256", "-1", "5x"})
        EXPECT_FALSE(ParseThresholds(bad)) << bad;
}
