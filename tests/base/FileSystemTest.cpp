#include "base/FileSystem.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
namespace fs = std::filesystem;

// A fresh folder for one test, removed afterwards.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ =
            fs::temp_directory_path() / ("korvelan-fs-" + std::to_string(FileSystem::ProcessId()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
        return folder_ / name;
    }
    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder_;
};

std::errc ErrorOfMapping(const fs::path& file) {
    try {
        FileSystem::MappedFile mapped(file, 0);
    } catch (const std::system_error& error) {
        return static_cast<std::errc>(error.code().value());
    }
    return std::errc{};
}
} // namespace

TEST_F(FileSystemTest, MapsTheBytesOfAFileWithOrWithoutPrefaulting) {
    const std::string bytes = std::string("KORVELAN2\0\xff", 11) + std::string(10000, 'x');
    const fs::path file = Write("a.lng", bytes);
    EXPECT_EQ(FileSystem::MappedFile(file, 1 << 20).bytes(), bytes);
    EXPECT_EQ(FileSystem::MappedFile(file, 10).bytes(), bytes);
    EXPECT_EQ(FileSystem::MappedFile(Write("empty.lng", ""), 0).bytes(), "");
}

TEST_F(FileSystemTest, RefusesWhatIsNoReadableRegularFile) {
    EXPECT_EQ(ErrorOfMapping(folder_ / "missing.lng"), std::errc::no_such_file_or_directory);
    EXPECT_EQ(ErrorOfMapping(folder_), std::errc::is_a_directory);
}

TEST_F(FileSystemTest, NewFileNeverOpensOneThatExists) {
    const fs::path existing = Write("taken.tmp", "old");
    FileSystem::NewFile file;
    std::error_code error;
    EXPECT_FALSE(file.Create(existing, error));
    EXPECT_EQ(error, std::errc::file_exists);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(Read(existing), "old");
    EXPECT_FALSE(file.WriteAll("x", 1, error));
    EXPECT_FALSE(file.SyncAndClose(error));
}

TEST_F(FileSystemTest, WrittenFileReplacesTheTargetWithItsPermissions) {
    const fs::path target = Write("data.lng", "old contents");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path temporary = folder_ / "data.lng.tmp";
    std::error_code error;
    {
        FileSystem::NewFile file;
        ASSERT_TRUE(file.Create(temporary, error)) << error.message();
        ASSERT_TRUE(file.WriteAll("new ", 4, error));
        ASSERT_TRUE(file.WriteAll("contents", 8, error));
        file.CopyPermissionsOf(target);
        ASSERT_TRUE(file.SyncAndClose(error)) << error.message();
        EXPECT_FALSE(file.IsOpen());
    }
    ASSERT_TRUE(FileSystem::ReplaceFile(temporary, target, error)) << error.message();
    EXPECT_EQ(Read(target), "new contents");
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    EXPECT_FALSE(FileSystem::ReplaceFile(temporary, target, error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
}

TEST_F(FileSystemTest, WritableFoldersAndFiles) {
    EXPECT_TRUE(FileSystem::IsWritable(folder_));
    EXPECT_TRUE(FileSystem::IsWritable(Write("settings.ini", "")));
    EXPECT_FALSE(FileSystem::IsWritable(folder_ / "absent.ini"));
}
