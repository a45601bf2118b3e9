#include "settings/IniFile.h"

#include "base/CoreError.h"
#include "base/Cp1252.h"
#include "lang/TextDecoding.h"

#include <filesystem>
#include <fstream>

namespace {
namespace fs = std::filesystem;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

bool IsComment(std::string_view trimmed) {
    return trimmed.starts_with(';') || trimmed.starts_with('#');
}

// The name of a "[Section]" line; nullopt for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (!trimmed.starts_with('['))
        return std::nullopt;
    std::string_view name = trimmed.substr(1);
    if (const auto close = name.find(']'); close != std::string_view::npos)
        name = name.substr(0, close);
    return Trim(name);
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> SplitKeyValue(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || IsComment(trimmed) || trimmed.starts_with('['))
        return std::nullopt;
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return KeyValue{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

bool IsQuoted(std::string_view v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

std::string Unquote(std::string_view value) {
    return std::string(IsQuoted(value) ? value.substr(1, value.size() - 2) : value);
}

// Blanks at either end would be lost on reading, and enclosing quotes would be taken off:
// such values are written in quotes.
std::string Quoted(std::string_view value) {
    const bool needsQuotes =
        !value.empty() && (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
                           value.back() == '\t' || IsQuoted(value));
    std::string text;
    if (needsQuotes)
        text += '"';
    text += value;
    if (needsQuotes)
        text += '"';
    return text;
}

struct SectionSpan {
    std::size_t header; // index of the "[Section]" line
    std::size_t end;    // one past its last line
};

std::optional<SectionSpan> FindSection(const std::vector<std::string>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name || !EqualNoCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end]))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, SectionSpan span,
                                   std::string_view key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i)
        if (const auto kv = SplitKeyValue(lines[i]); kv && EqualNoCase(kv->key, key))
            return i;
    return std::nullopt;
}

bool IsBlank(std::string_view line) {
    return Trim(line).empty();
}

// A new section at the end of the file, after a blank line.
void AppendSection(std::vector<std::string>& lines, std::string_view section,
                   const std::vector<std::string>& keyLines) {
    if (!lines.empty() && !IsBlank(lines.back()))
        lines.emplace_back();
    std::string header = "[";
    header += section;
    header += ']';
    lines.push_back(std::move(header));
    lines.insert(lines.end(), keyLines.begin(), keyLines.end());
}

// Windows-1252 as the program's files are, unless the text holds characters that Windows-1252
// cannot (a folder name in another script): then UTF-8 behind a byte-order mark, so that nothing
// is lost and the reader never has to guess.
std::string EncodeForFile(const std::string& text) {
    std::string bytes = Utf8ToCp1252(text);
    return Cp1252ToUtf8(bytes) == text ? bytes : std::string(Utf8ByteOrderMark) + text;
}
} // namespace

IniFile::IniFile(std::string path, std::string seedPath) : path_(std::move(path)) {
    std::error_code error;
    if (fs::exists(path_, error))
        readFailed_ = !Load(path_);
    else if (!seedPath.empty() && fs::exists(seedPath, error))
        readFailed_ = !Load(seedPath);
}

bool IniFile::Load(const std::string& file) {
    std::string bytes;
    if (!ReadFileBytes(file, bytes))
        return false;
    // Keep the line ends the file has: LF-only files stay LF-only.
    crlf_ = bytes.find('\n') == std::string::npos || bytes.find("\r\n") != std::string::npos;
    const std::string text = DecodeSettingsFile(bytes);
    const auto lines = SplitLines(text);
    lines_.assign(lines.begin(), lines.end());
    return true;
}

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
    const auto span = FindSection(lines_, section);
    if (!span)
        return std::nullopt;
    const auto index = FindKey(lines_, *span, key);
    if (!index)
        return std::nullopt;
    return Unquote(SplitKeyValue(lines_[*index])->value);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    return Find(section, key).value_or(std::string(defaultValue));
}

void IniFile::ReloadBeforeWrite() {
    // A file that is there but cannot be read is never overwritten.
    std::error_code error;
    if (fs::exists(path_, error)) {
        if (!Load(path_))
            throw CoreError(ProgramMessage::SettingsNotWritten, path_);
        readFailed_ = false;
    }
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    ReloadBeforeWrite();
    const std::string line = std::string(key) + "=" + Quoted(value);
    if (const auto span = FindSection(lines_, section)) {
        if (const auto index = FindKey(lines_, *span, key)) {
            lines_[*index] = line;
        } else {
            std::size_t insertAt = span->end;
            while (insertAt > span->header + 1 && IsBlank(lines_[insertAt - 1]))
                --insertAt;
            lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
        }
    } else {
        AppendSection(lines_, section, {line});
    }
    Save();
}

std::vector<IniEntry> IniFile::SectionEntries(std::string_view section) const {
    std::vector<IniEntry> entries;
    const auto span = FindSection(lines_, section);
    if (!span)
        return entries;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (const auto kv = SplitKeyValue(lines_[i]))
            entries.push_back({std::string(kv->key), Unquote(kv->value)});
    return entries;
}

void IniFile::ReplaceSection(std::string_view section, const std::vector<IniEntry>& entries) {
    ReloadBeforeWrite();
    std::vector<std::string> keyLines;
    for (const IniEntry& entry : entries)
        keyLines.push_back(entry.key + "=" + Quoted(entry.value));

    if (const auto span = FindSection(lines_, section)) {
        // The blank line that separates the section from the next one stays.
        std::size_t end = span->end;
        while (end > span->header + 1 && IsBlank(lines_[end - 1]))
            --end;
        const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(span->header);
        if (keyLines.empty()) {
            lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(span->end));
            while (!lines_.empty() && IsBlank(lines_.back()))
                lines_.pop_back();
        } else {
            const auto keys = lines_.erase(first + 1, lines_.begin() + static_cast<std::ptrdiff_t>(end));
            lines_.insert(keys, keyLines.begin(), keyLines.end());
        }
    } else if (!keyLines.empty()) {
        AppendSection(lines_, section, keyLines);
    } else {
        return; // nothing there and nothing to write
    }
    Save();
}

void IniFile::Save() const {
    const std::string_view lineEnd = crlf_ ? "\r\n" : "\n";
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += lineEnd;
    }
    const std::string bytes = EncodeForFile(text);

    std::error_code error;
    const fs::path target(path_);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), error);
    const std::string temporary = path_ + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            throw CoreError(ProgramMessage::SettingsNotWritten, path_);
        }
    }
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        throw CoreError(ProgramMessage::SettingsNotWritten, path_);
    }
}
