#pragma once
// An INI profile file: "[Section]" lines and "Key=Value" lines. Section and key names are matched
// without regard to case and written as the caller gives them. Every write goes to the file at
// once; lines the program does not write (comments, keys of others) stay as they are.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IniEntry {
    std::string key;
    std::string value;
    friend bool operator==(const IniEntry&, const IniEntry&) = default;
};

class IniFile {
public:
    // Reads `path` when it exists; a missing file is an empty profile. While `path` does not
    // exist, `seedPath` (when given and present) supplies the starting content, so that the
    // first write keeps the lines of that file.
    explicit IniFile(std::string path, std::string seedPath = {});

    const std::string& Path() const { return path_; }
    // True when a file was there but could not be read; reads then give their defaults.
    bool ReadFailed() const { return readFailed_; }

    // The value of the first matching key of the first matching section, blanks around it and a
    // pair of enclosing quotes removed; nullopt when there is no such key.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Replaces the key's value, or adds the key at the end of its section, or the section at the
    // end of the file, and writes the file (a temporary file renamed over it). Throws
    // CoreError SettingsNotWritten when the file cannot be read back or written.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The keys of a section in the order of the file, values as Find gives them; empty when the
    // section is missing.
    std::vector<IniEntry> SectionEntries(std::string_view section) const;
    // Makes `entries` the only keys of the section, in one write: its other keys, comments and blank
    // lines go; the section keeps its place, or is added at the end. No entries remove the section.
    // Throws like WriteString.
    void ReplaceSection(std::string_view section, const std::vector<IniEntry>& entries);

    // The profile as it would be written, lines without their ends (UTF-8).
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    bool Load(const std::string& file);
    // Reads the file again before a write, so that lines edited by hand meanwhile are kept.
    void ReloadBeforeWrite();
    void Save() const;

    std::string path_;
    std::vector<std::string> lines_;
    bool crlf_ = true;
    bool readFailed_ = false;
};
