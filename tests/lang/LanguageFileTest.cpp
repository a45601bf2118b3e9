#include "lang/LanguageFile.h"
#include "base/CoreError.h"
#include "lang/LanguageLocale.h"
#include "lang/ProgramDirectory.h"
#include "lang/TextDecoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

fs::path WriteTempFile(const std::string& name, const std::string& bytes) {
    const fs::path path = fs::temp_directory_path() / (std::to_string(::getpid()) + "_" + name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string TextOf(std::string_view line) {
    const auto parsed = ParseLanguageLine(line);
    return parsed ? parsed->text : "<none>";
}
} // namespace

TEST(LanguageLine, ExactlyOneCharacterAfterTheNumberIsDropped) {
    EXPECT_EQ(ParseLanguageLine("12 Datei")->number, 12);
    EXPECT_EQ(TextOf("12 Datei"), "Datei");
    EXPECT_EQ(TextOf("12=Datei"), "Datei");
    EXPECT_EQ(TextOf("12Datei"), "atei");                 // no separator: the first letter goes
    EXPECT_EQ(TextOf("12  zwei Blanks"), " zwei Blanks"); // only one blank is the separator
    EXPECT_EQ(TextOf("12 "), "");
    EXPECT_EQ(TextOf("12\xC3\xA4text"), "text"); // a separator outside ASCII is one character too
    EXPECT_EQ(TextOf("  7 eingerückt"), "eingerückt");
    EXPECT_EQ(ParseLanguageLine("+8 plus")->number, 8);
    EXPECT_EQ(ParseLanguageLine("-3 minus")->number, -3);
}

TEST(LanguageLine, LinesWithoutANumber) {
    EXPECT_EQ(TextOf("12"), "12"); // only the number: nothing follows, nothing is removed
    EXPECT_FALSE(ParseLanguageLine(""));
    EXPECT_FALSE(ParseLanguageLine("Datei"));
    EXPECT_FALSE(ParseLanguageLine("   "));
    EXPECT_FALSE(ParseLanguageLine("- 5 kein Vorzeichen"));
    EXPECT_EQ(ParseLanguageLine("99999999999999999999 x")->number > 500, true);
}

TEST(LanguageFile, LoadsWindows1252AndKeepsWhatTheFileLacks) {
    LanguageTexts texts;
    texts.Set(30, "Programm");
    texts.Set(12, "alt");
    const std::string bytes = "12 \xD6"
                              "ffnen \x80\r\n" // Öffnen €
                              "0 null\r\n"
                              "501 zu gro\xDF\r\n"
                              "Kommentarzeile\r\n"
                              "40 erster\r\n"
                              "40 zweiter\r\n"
                              "41\r\n"
                              "202 Anzahl         \r\n"
                              "45 ohne Zeilenende";
    const auto path = WriteTempFile("texts.cty", bytes);
    LoadLanguageFile(path.string(), texts);
    fs::remove(path);

    EXPECT_EQ(texts[12], "Öffnen €");
    EXPECT_EQ(texts[30], "Programm"); // missing in the file: the previous text stays
    EXPECT_EQ(texts[40], "zweiter");  // repeated: the last one wins
    EXPECT_EQ(texts[41], "41");
    EXPECT_EQ(texts[202], "Anzahl         "); // trailing blanks belong to the text
    EXPECT_EQ(texts[45], "ohne Zeilenende");
    EXPECT_EQ(texts[500], "");
}

TEST(LanguageFile, UnreadableFileLeavesTheTextsAlone) {
    LanguageTexts texts;
    texts.Set(1, "Datei");
    const std::string missing = (fs::temp_directory_path() / "korvelan-no-such.cty").string();
    try {
        LoadLanguageFile(missing, texts);
        FAIL() << "a missing language file must be reported";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.textNumber(), 420);
        EXPECT_NE(error.Message(LanguageTexts()).find(missing), std::string::npos);
    }
    EXPECT_THROW(LoadLanguageFile(fs::temp_directory_path().string(), texts), CoreError); // a folder
    EXPECT_EQ(texts[1], "Datei");
}

TEST(LanguageFile, Utf8FilesAreRecognised) {
    EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF"
                             "10 \xC3\x96"
                             "ffnen"),
              "10 Öffnen");
    EXPECT_EQ(DecodeTextFile("10 \xC3\x96"
                             "ffnen"),
              "10 Öffnen");
    EXPECT_EQ(DecodeTextFile("10 \xD6"
                             "ffnen"),
              "10 Öffnen");                    // not UTF-8: Windows-1252
    EXPECT_FALSE(IsValidUtf8("\xC3"));         // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(SplitLines("a\r\nb\nc"), (std::vector<std::string_view>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string_view>{"a", ""}));
}

TEST(ProgramFolder, IsTheFolderOfTheExecutableWithTheShippedLanguageFiles) {
    const std::string folder = ProgramDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::equivalent(folder, KORVELAN_BIN_DIR));
    EXPECT_EQ(LanguageFilePath("english.cty"), folder + "english.cty");

    LanguageTexts texts;
    LoadLanguageFile(LanguageFilePath("deutsch.cty"), texts);
    EXPECT_EQ(texts[10], "Öffnen");
    EXPECT_EQ(texts[25], "gefiltert speichern");
    LoadLanguageFile(LanguageFilePath("francais.cty"), texts);
    EXPECT_EQ(texts[16], "Quitter");
}

TEST(LanguageLocale, FollowsTheLanguageFile) {
    EXPECT_EQ(LocaleNameOfLanguageFile("deutsch.cty"), "de_DE");
    EXPECT_EQ(LocaleNameOfLanguageFile("English.CTY"), "en_GB");
    EXPECT_EQ(LocaleNameOfLanguageFile("/opt/korvelan/francais.cty"), "fr_FR");
    EXPECT_EQ(LocaleNameOfLanguageFile("eigene.cty"), "de_DE");
}
