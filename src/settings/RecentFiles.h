#pragma once
// The files opened last, newest first, as the "Zuletzt geöffnet" menu lists them. They live in the
// settings file in a section of their own ("[RecentFiles]", keys File1..File8), so that they stay
// apart from the preferences the settings dialog writes.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class IniFile;

inline constexpr std::string_view RecentFilesSection = "RecentFiles";

class RecentFiles {
public:
    static constexpr std::size_t Capacity = 8;

    RecentFiles() = default;
    // Blank entries and repeats are dropped; the first eight are kept.
    explicit RecentFiles(const std::vector<std::string>& paths);

    const std::vector<std::string>& Paths() const { return paths_; }
    bool Empty() const { return paths_.empty(); }

    // Puts a file at the front: an absolute, normalised path, so that one file opened by two
    // spellings ("./a.lng", "/data/a.lng") is listed once. The oldest falls off beyond eight.
    void Add(const std::string& path);
    // Whether the file was listed.
    bool Remove(const std::string& path);
    // Drops the files `exists` denies; returns how many went.
    std::size_t RemoveMissing(const std::function<bool(const std::string&)>& exists);
    void Clear() { paths_.clear(); }

    friend bool operator==(const RecentFiles&, const RecentFiles&) = default;

private:
    std::vector<std::string> paths_;
};

// The list from the settings file, in the order of its numbered keys (gaps are skipped).
RecentFiles ReadRecentFiles(const IniFile& ini);
// Writes the list as File1..FileN in one write; an empty list removes the section. Throws
// CoreError SettingsNotWritten when the file cannot be written.
void WriteRecentFiles(IniFile& ini, const RecentFiles& files);

// The menu caption of entry `number` (1..8): "&3 sample.lng  (/home/anna/messungen)", the number
// its mnemonic, "&" in names doubled, a long folder shortened in its middle with "…".
std::string RecentFileCaption(int number, const std::string& path);
