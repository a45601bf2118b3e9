// korvelan2-cli without Qt: the commands that draw nothing never load it, and the drawing part the
// others load is reported by name when it is missing or broken, never with a crash.

#include "CliTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
// A measurement of a few vehicles in one test folder.
fs::path SmallMeasurement(const fs::path& folder) {
    return WriteVehicles(folder / "small.lng",
                         {Vehicle(2026, 3, 2, 7, 0, 0, 48, 4, '1'), Vehicle(2026, 3, 2, 7, 3, 0, 55, 9, '2'),
                          Vehicle(2026, 3, 2, 7, 9, 0, 61, 13, '1')});
}

// The program and its language files copied into a folder of their own, without the drawing part.
fs::path CopiedProgram(const fs::path& folder) {
    const fs::path bin = folder / "bin";
    fs::create_directories(bin);
    for (const auto& entry : fs::directory_iterator(KORVELAN_BIN_DIR)) {
        const fs::path name = entry.path().filename();
        if (name == "korvelan2-cli" || name.extension() == ".cty" || name == "logo.txt")
            fs::copy_file(entry.path(), bin / name);
    }
    return bin / "korvelan2-cli";
}

void ExpectRefusedNaming(const CliResult& result, const std::string& what, const std::string& command) {
    EXPECT_EQ(result.ExitCode, 1) << command << ": " << result.Err;
    EXPECT_NE(result.Err.find("korvelan2-cli-drawing.so"), std::string::npos)
        << command << ": " << result.Err;
    EXPECT_NE(result.Err.find(what), std::string::npos) << command << ": " << result.Err;
}
} // namespace

TEST(DrawingPart, CommandsThatDrawNothingLoadNoQtLibrary) {
    const fs::path folder = TestFolder("no-qt");
    const std::string file = SmallMeasurement(folder).string();
    const std::vector<std::vector<std::string>> commands = {
        {"--help"},
        {"info", file},
        {"summary", file, "--minutes", "60"},
        {"intervals", file},
        {"stats", file, "--json"},
        {"chart", file, "--view", "count", "--json"},
        {"export", file, "--view", "vehicles", "-o", (folder / "out.asc").string()},
    };
    for (const auto& arguments : commands) {
        const CliResult result =
            RunProgram(std::string(KORVELAN_BIN_DIR) + "/korvelan2-cli", arguments, "LD_DEBUG=libs");
        EXPECT_EQ(result.ExitCode, 0) << arguments.front();
        // The loader's report goes to standard error; it must show the C library, and no Qt.
        EXPECT_NE(result.Err.find("libc.so"), std::string::npos) << arguments.front();
        EXPECT_EQ(result.Err.find("libQt6"), std::string::npos) << arguments.front();
    }
}

TEST(DrawingPart, AMissingPartIsNamedWhileTheOtherCommandsStillRun) {
    const fs::path folder = TestFolder("part-missing");
    const std::string file = SmallMeasurement(folder).string();
    const std::string program = CopiedProgram(folder).string();
    const std::string picture = (folder / "chart.png").string();

    ExpectRefusedNaming(RunProgram(program, {"chart", file, "--view", "count", "-o", picture}), "fehlt",
                        "chart");
    EXPECT_FALSE(fs::exists(picture));
    ExpectRefusedNaming(RunProgram(program, {"print", file, "--view", "summary", "-o", folder / "p.pdf"}),
                        "fehlt", "print");
    ExpectRefusedNaming(RunProgram(program, {"report", file, "-o", folder / "r.pdf"}), "fehlt", "report");
    ExpectRefusedNaming(RunProgram(program, {"smcard", "/dev/null", "-o", folder / "s.lng"}), "fehlt",
                        "smcard");
    // In the user's language, like every other message.
    ExpectRefusedNaming(
        RunProgram(program, {"chart", file, "--view", "count", "-o", picture, "--lang", "english.cty"}),
        "is missing", "chart --lang english.cty");

    const CliResult info = RunProgram(program, {"info", file});
    EXPECT_EQ(info.ExitCode, 0) << info.Err;
    EXPECT_NE(info.Out.find("records: 3"), std::string::npos);
    const CliResult json = RunProgram(program, {"chart", file, "--view", "count", "--json"});
    EXPECT_EQ(json.ExitCode, 0) << json.Err;
    EXPECT_EQ(json.Out.rfind("{", 0), 0u);
    // Usage errors are found before the part is needed.
    EXPECT_EQ(
        RunProgram(program, {"chart", file, "--view", "count", "--size", "0x0", "-o", picture}).ExitCode, 2);
}

TEST(DrawingPart, ABrokenPartIsRefusedWithoutACrash) {
    const fs::path folder = TestFolder("part-broken");
    const std::string file = SmallMeasurement(folder).string();
    const fs::path program = CopiedProgram(folder);
    const fs::path part = program.parent_path() / "korvelan2-cli-drawing.so";
    const std::vector<std::string> chart = {"chart", file, "--view", "count", "-o", folder / "chart.png"};

    std::ofstream(part) << "not a shared object\n";
    ExpectRefusedNaming(RunProgram(program.string(), chart), "nicht laden", "a text file");

    // A shared object, but not the drawing part: its entry function is missing.
    const fs::path otherLibrary = "/lib/x86_64-linux-gnu/libm.so.6";
    if (!fs::exists(otherLibrary))
        GTEST_SKIP() << "no " << otherLibrary << " to stand in for a wrong part";
    fs::remove(part);
    fs::copy_file(otherLibrary, part);
    ExpectRefusedNaming(RunProgram(program.string(), chart), "KorvelanDrawingPart", "another library");
    EXPECT_FALSE(fs::exists(folder / "chart.png"));
}
