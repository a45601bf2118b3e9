#include "lang/FileFilter.h"

namespace {

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        parts.push_back(Trim(text.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

std::vector<FileFilterEntry> ParseFileFilter(std::string_view pipeFilter) {
    std::vector<FileFilterEntry> entries;
    if (Trim(pipeFilter).empty())
        return entries;
    const auto parts = Split(pipeFilter, '|');
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        FileFilterEntry entry;
        entry.Description = parts[i];
        if (i + 1 < parts.size())
            for (auto& pattern : Split(parts[i + 1], ';'))
                if (!pattern.empty())
                    entry.Patterns.push_back(pattern);
        if (entry.Patterns.empty())
            entry.Patterns.push_back("*");
        if (entry.Description.empty())
            entry.Description = entry.Patterns.front();
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string DesktopFileFilter(std::string_view pipeFilter) {
    std::string result;
    for (const auto& entry : ParseFileFilter(pipeFilter)) {
        std::string patterns;
        for (const auto& pattern : entry.Patterns)
            patterns += (patterns.empty() ? "" : " ") + pattern;
        if (!result.empty())
            result += ";;";
        // The dialog reads the patterns from the brackets at the end, separated by blanks; the
        // brackets the description shows ("(*.lng;*.sht)") are replaced by that form.
        std::string description = entry.Description;
        if (!description.empty() && description.back() == ')') {
            const auto open = description.rfind('(');
            if (open != std::string::npos && open > 0)
                description = Trim(description.substr(0, open));
        }
        result += description + " (" + patterns + ")";
    }
    return result;
}

std::string FirstExtension(const FileFilterEntry& entry) {
    if (entry.Patterns.empty())
        return {};
    const std::string& pattern = entry.Patterns.front();
    const auto dot = pattern.rfind('.');
    if (dot == std::string::npos)
        return {};
    std::string extension = pattern.substr(dot + 1);
    return extension.find_first_of("*?") == std::string::npos ? extension : std::string();
}
