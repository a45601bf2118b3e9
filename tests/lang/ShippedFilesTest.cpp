#include "lang/ShippedFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// A prefix laid out as an installation: prefix/bin and prefix/share/korvelan2.
class InstalledLayout : public ::testing::Test {
protected:
    fs::path prefix = fs::temp_directory_path() / ("shipped_" + std::to_string(::getpid()));
    fs::path bin = prefix / "bin";
    fs::path data = prefix / "share" / "korvelan2";

    void SetUp() override {
        fs::remove_all(prefix);
        fs::create_directories(bin);
        fs::create_directories(data / "help" / "fr");
    }
    void TearDown() override { fs::remove_all(prefix); }

    static void Touch(const fs::path& file) { std::ofstream(file) << "x"; }
};

TEST_F(InstalledLayout, ProgramFolderComesBeforeTheInstalledDataFolder) {
    Touch(data / "deutsch.cty");
    EXPECT_EQ(FindShippedFile(bin, "deutsch.cty"), data / "deutsch.cty");

    // A build folder keeps its own copy, even where an installed one exists too.
    Touch(bin / "deutsch.cty");
    EXPECT_EQ(FindShippedFile(bin, "deutsch.cty"), bin / "deutsch.cty");
}

TEST_F(InstalledLayout, AMissingFileIsNamedBesideTheProgram) {
    EXPECT_EQ(FindShippedFile(bin, "logo.txt"), bin / "logo.txt");
}

TEST_F(InstalledLayout, FoldersWithATrailingSlashAndNestedPathsAreFound) {
    Touch(data / "help" / "fr" / "index.html");
    const fs::path withSlash = bin.string() + "/";
    EXPECT_EQ(InstalledDataDirectory(withSlash), data);
    EXPECT_EQ(InstalledDataDirectory(bin), data);
    EXPECT_EQ(FindShippedFile(withSlash, HelpPageOf("francais.cty")), data / "help" / "fr" / "index.html");
}

TEST(HelpLanguage, FollowsTheLanguageFileAndFallsBackToGerman) {
    EXPECT_EQ(HelpLanguageOfLanguageFile("deutsch.cty"), "de");
    EXPECT_EQ(HelpLanguageOfLanguageFile("english.cty"), "en");
    EXPECT_EQ(HelpLanguageOfLanguageFile("English.CTY"), "en");
    EXPECT_EQ(HelpLanguageOfLanguageFile("francais.cty"), "fr");
    EXPECT_EQ(HelpLanguageOfLanguageFile("klingonisch.cty"), "de");
    EXPECT_EQ(HelpLanguageOfLanguageFile(""), "de");
    EXPECT_EQ(HelpPageOf("english.cty"), fs::path("help/en/index.html"));
}

TEST(ShippedHelp, EveryLanguageHasItsPageAndTheScreenshotsItShows) {
    const fs::path help = fs::path(KORVELAN_RESOURCES) / "help";
    for (const char* languageFile : {"deutsch.cty", "english.cty", "francais.cty"}) {
        const fs::path page = help.parent_path() / HelpPageOf(languageFile);
        std::ifstream in(page);
        ASSERT_TRUE(in) << page;
        const std::string html{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        // Every picture the page shows must be shipped beside it.
        for (std::size_t at = html.find("src=\""); at != std::string::npos;
             at = html.find("src=\"", at + 1)) {
            const std::string source = html.substr(at + 5, html.find('"', at + 5) - at - 5);
            EXPECT_TRUE(fs::exists(page.parent_path() / source)) << page << ": " << source;
        }
        for (const char* section : {"id=\"cli\"", "korvelan2-cli", "<img"})
            EXPECT_NE(html.find(section), std::string::npos) << page << " lacks " << section;
    }
}

} // namespace
