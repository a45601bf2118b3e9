// korvelan2-cli card, smcard and import end to end: card files, Pelo files and a simulated card
// reader written by the test, the saved own data files loaded back.

#include "CliTestSupport.h"

#include "CardImage.h"
#include "data/DataFileLoader.h"
#include "data/TextFormat.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string CardLine(int day, int month, int year2, int hour, int minute, int second, int speed, int length,
                     int direction) {
    return Format("%.2d.%.2d.%.2d %.2d:%.2d:%.2d.00 %3d %2d %d \r\n",
                  {day, month, year2, hour, minute, second, speed, length, direction});
}

std::string PeloHeader(const std::string& code, int lines, int blocks, const std::string& params) {
    std::string h(80, ' ');
    const auto put = [&](int column, const std::string& text) { h.replace(column - 1, text.size(), text); };
    put(1, params);
    put(28, "26");
    put(33, "04");
    put(38, "20");
    put(43, "06");
    put(48, "00");
    put(58, code);
    put(71, Format("%4d", {lines}));
    put(76, Format("%5d", {blocks}));
    return h + "\r\n";
}

// korvelan2-cardsim serving an image; ended with the object.
class CardSimulator {
public:
    CardSimulator(const std::filesystem::path& image, const std::vector<std::string>& options) {
        int out[2];
        if (pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<std::string> words{std::string(KORVELAN_BIN_DIR) + "/korvelan2-cardsim", image.string()};
        words.insert(words.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        char c = 0;
        while (read(out[0], &c, 1) == 1 && c != '\n')
            path_ += c;
        close(out[0]);
    }
    ~CardSimulator() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& path() const { return path_; }

private:
    pid_t pid_ = -1;
    std::string path_;
};
} // namespace

TEST(CardCommands, CardTextAndBinaryFiles) {
    const auto folder = TestFolder("card-files");
    WriteFile(folder / "MESS.TXT",
              CardLine(20, 4, 26, 7, 0, 0, 48, 4, 0) + CardLine(20, 4, 26, 7, 0, 5, 62, 13, 1));
    const CliResult own = RunCli({"card", (folder / "MESS.TXT").string(), "-o", (folder / "own.lng").string(),
                                  "--comment", "Kartenmessung"});
    ASSERT_EQ(own.ExitCode, 0) << own.Err;
    MeasurementData data;
    const LoadInfo loaded = LoadDataFile(folder / "own.lng", data);
    EXPECT_EQ(loaded.RecordKind, "LNG");
    ASSERT_EQ(data.LoadedCount, 2);
    EXPECT_EQ(data.Comment.rfind("Kartenmessung", 0), 0u) << data.Comment; // the header pads it
    EXPECT_EQ(ToMilliseconds(data.Vehicles[2].Time),
              ToMilliseconds(*TryEncodeDateTime(2026, 4, 20, 7, 0, 5)));
    EXPECT_EQ(data.Vehicles[2].Direction, '2');

    const CliResult shifted = RunCli({"card", (folder / "MESS.TXT").string(), "--start",
                                      "01.05.2026 12:00:00", "-o", (folder / "shifted.lng").string()});
    ASSERT_EQ(shifted.ExitCode, 0) << shifted.Err;
    LoadDataFile(folder / "shifted.lng", data);
    EXPECT_EQ(ToMilliseconds(data.Vehicles[2].Time),
              ToMilliseconds(*TryEncodeDateTime(2026, 5, 1, 12, 0, 5)));

    // Binary files hold no date: the start must be given.
    std::string blocks;
    for (int k = 1; k <= 3; ++k) {
        std::string b(16, '\0');
        b[0] = 10;
        b[4] = static_cast<char>(32 * k);
        blocks += b;
    }
    WriteFile(folder / "MESS.BIN", blocks);
    EXPECT_EQ(RunCli({"card", (folder / "MESS.BIN").string(), "-o", (folder / "bin.lng").string()}).ExitCode,
              2);
    const CliResult binary = RunCli({"card", (folder / "MESS.BIN").string(), "--start", "02.05.2026 00:00:00",
                                     "-o", (folder / "bin.lng").string()});
    ASSERT_EQ(binary.ExitCode, 0) << binary.Err;
    LoadDataFile(folder / "bin.lng", data);
    EXPECT_EQ(data.LoadedCount, 3);
    EXPECT_EQ(data.Vehicles[1].Speed, 46);

    WriteFile(folder / "MESS.DAT", "nothing");
    const CliResult foreign =
        RunCli({"card", (folder / "MESS.DAT").string(), "-o", (folder / "x.lng").string()});
    EXPECT_EQ(foreign.ExitCode, 1);
    EXPECT_NE(foreign.Err.find("MESS.DAT"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "x.lng"));
}

TEST(CardCommands, PeloImport) {
    const auto folder = TestFolder("pelo");
    WriteFile(folder / "count.pel", PeloHeader("QT", 1, 2, "0000") + " 10  20  30\r\n" +
                                        PeloHeader("VC", 1, 0, "3237") + "  4   5   6\r\n");
    const CliResult result =
        RunCli({"import", (folder / "count.pel").string(), "-o", (folder / "count.sht").string()});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    MeasurementData data;
    EXPECT_EQ(LoadDataFile(folder / "count.sht", data).RecordKind, "SHT");
    ASSERT_EQ(data.IntervalCount, 3);
    EXPECT_EQ(data.Intervals[3].Total().Dir1, 30);
    EXPECT_EQ(data.Intervals[3].PkwSpeedClasses(9).Dir1, 6);
    EXPECT_EQ(ToMilliseconds(data.Intervals[3].StartTime),
              ToMilliseconds(*TryEncodeDateTime(2026, 4, 20, 6, 10, 0)));

    WriteFile(folder / "bad.pel",
              PeloHeader("QT", 1, 2, "0000") + " 10\r\n" + PeloHeader("LC", 1, 0, "00zz") + " 1\r\n");
    const CliResult bad =
        RunCli({"import", (folder / "bad.pel").string(), "-o", (folder / "bad.sht").string()});
    EXPECT_EQ(bad.ExitCode, 1);
    EXPECT_NE(bad.Err.find("Zeile 3"), std::string::npos) << bad.Err;
    EXPECT_FALSE(std::filesystem::exists(folder / "bad.sht"));
}

TEST(CardCommands, SmartMediaCardThroughTheSimulatedReader) {
    const auto folder = TestFolder("smcard");
    CardImage image;
    image.AddMarker(12, 31, 23);
    for (int k = 0; k < 150; ++k)
        image.AddVehicle(k * 20 / 60, k * 20 % 60, 50 + k % 30, 4 + k % 10, 1 + k % 2);
    image.AddMarker(1, 1, 0);
    image.AddVehicle(0, 10, 44, 5, 1);
    const auto pages = image.Pages();
    WriteFile(folder / "card.img", std::string(pages.begin(), pages.end()));

    {
        CardSimulator reader(folder / "card.img", {});
        ASSERT_FALSE(reader.path().empty());
        const CliResult read = RunCli({"smcard", reader.path(), "-o", (folder / "card.lng").string(),
                                       "--today", "02.01.2027", "--comment", "SmartMedia"});
        ASSERT_EQ(read.ExitCode, 0) << read.Err;
        EXPECT_NE(read.Err.find("Start: 31.12.2026  23:00"), std::string::npos) << read.Err;
        MeasurementData data;
        LoadDataFile(folder / "card.lng", data);
        ASSERT_EQ(data.LoadedCount, 151);
        EXPECT_EQ(data.Comment.rfind("SmartMedia", 0), 0u) << data.Comment;
        EXPECT_EQ(ToMilliseconds(data.Vehicles[151].Time),
                  ToMilliseconds(*TryEncodeDateTime(2027, 1, 1, 0, 0, 10)));
        EXPECT_LT(data.Vehicles[150].Time, data.Vehicles[151].Time);
    }
    {
        CardSimulator noCard(folder / "card.img", {"--no-card"});
        const CliResult refused = RunCli({"smcard", noCard.path(), "-o", (folder / "none.lng").string()});
        EXPECT_EQ(refused.ExitCode, 1);
        EXPECT_FALSE(std::filesystem::exists(folder / "none.lng"));
        EXPECT_FALSE(refused.Err.empty());
    }
    const CliResult noPort = RunCli({"smcard", "/nonexistent/ttyX", "-o", (folder / "none.lng").string()});
    EXPECT_EQ(noPort.ExitCode, 1);
    EXPECT_NE(noPort.Err.find("/nonexistent/ttyX"), std::string::npos);
}
