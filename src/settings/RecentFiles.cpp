#include "settings/RecentFiles.h"

#include "settings/IniFile.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>

namespace {
namespace fs = std::filesystem;

constexpr std::string_view KeyPrefix = "File";
constexpr std::size_t LongestFolderShown = 48; // characters

std::string NormalisedPath(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(fs::path(path), error);
    if (error)
        absolute = fs::path(path);
    return absolute.lexically_normal().string();
}

// The number of a "FileN" key; 0 for other keys.
int KeyNumber(std::string_view key) {
    if (key.size() <= KeyPrefix.size())
        return 0;
    for (std::size_t i = 0; i < KeyPrefix.size(); ++i)
        if ((key[i] | 0x20) != (KeyPrefix[i] | 0x20))
            return 0;
    const std::string_view digits = key.substr(KeyPrefix.size());
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return error == std::errc() && end == digits.data() + digits.size() && number > 0 ? number : 0;
}

bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

// The byte offset of character `n` of a UTF-8 text (its size when there are fewer).
std::size_t OffsetOfCharacter(std::string_view text, std::size_t n) {
    std::size_t offset = 0;
    for (std::size_t seen = 0; offset < text.size(); ++offset) {
        if (IsUtf8Continuation(text[offset]))
            continue;
        if (seen++ == n)
            return offset;
    }
    return text.size();
}

std::string ShortenedInTheMiddle(const std::string& text, std::size_t longest) {
    const std::size_t count = CharacterCount(text);
    if (count <= longest)
        return text;
    const std::size_t head = (longest - 1) / 2;
    const std::size_t tail = longest - 1 - head;
    return text.substr(0, OffsetOfCharacter(text, head)) + "…" +
           text.substr(OffsetOfCharacter(text, count - tail));
}

std::string WithAmpersandsDoubled(std::string_view text) {
    std::string doubled;
    for (const char c : text) {
        doubled += c;
        if (c == '&')
            doubled += '&';
    }
    return doubled;
}
} // namespace

RecentFiles::RecentFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (paths_.size() == Capacity)
            break;
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end())
            paths_.push_back(path);
    }
}

void RecentFiles::Add(const std::string& path) {
    if (path.empty())
        return;
    const std::string normalised = NormalisedPath(path);
    std::erase(paths_, normalised);
    paths_.insert(paths_.begin(), normalised);
    if (paths_.size() > Capacity)
        paths_.resize(Capacity);
}

bool RecentFiles::Remove(const std::string& path) {
    return std::erase(paths_, path) > 0;
}

std::size_t RecentFiles::RemoveMissing(const std::function<bool(const std::string&)>& exists) {
    return std::erase_if(paths_, [&](const std::string& path) { return !exists(path); });
}

RecentFiles ReadRecentFiles(const IniFile& ini) {
    std::map<int, std::string> numbered;
    for (const IniEntry& entry : ini.SectionEntries(RecentFilesSection))
        if (const int number = KeyNumber(entry.key); number > 0)
            numbered.emplace(number, entry.value);
    std::vector<std::string> paths;
    for (const auto& [number, path] : numbered)
        paths.push_back(path);
    return RecentFiles(paths);
}

void WriteRecentFiles(IniFile& ini, const RecentFiles& files) {
    std::vector<IniEntry> entries;
    for (std::size_t i = 0; i < files.Paths().size(); ++i)
        entries.push_back({std::string(KeyPrefix) + std::to_string(i + 1), files.Paths()[i]});
    ini.ReplaceSection(RecentFilesSection, entries);
}

std::string RecentFileCaption(int number, const std::string& path) {
    const fs::path file(path);
    std::string caption =
        "&" + std::to_string(number) + " " + WithAmpersandsDoubled(file.filename().string());
    const std::string folder = file.parent_path().string();
    if (!folder.empty())
        caption += "  (" + WithAmpersandsDoubled(ShortenedInTheMiddle(folder, LongestFolderShown)) + ")";
    return caption;
}
