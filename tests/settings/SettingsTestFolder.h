#pragma once
// A fresh folder per test for settings files, removed afterwards.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

class SettingsTestFolder {
public:
    explicit SettingsTestFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("korvelan-settings-" + std::to_string(::getpid()) + "-" + name)) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~SettingsTestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SettingsTestFolder(const SettingsTestFolder&) = delete;
    SettingsTestFolder& operator=(const SettingsTestFolder&) = delete;

    // The folder with a trailing separator, as the program folder is given.
    std::string Folder() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
};
