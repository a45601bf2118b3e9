#include "lang/LanguageFile.h"

#include "base/CoreError.h"
#include "lang/ProgramDirectory.h"
#include "lang/ShippedFiles.h"
#include "lang/TextDecoding.h"

#include <vector>

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bytes of the UTF-8 character that starts at text[i].
std::size_t CharacterLength(std::string_view text, std::size_t i) {
    std::size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}
} // namespace

std::optional<LanguageLine> ParseLanguageLine(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        negative = line[i++] == '-';
    const std::size_t digitsStart = i;
    long long value = 0;
    for (; i < line.size() && IsDigit(line[i]); ++i)
        if (value <= LanguageTexts::Count) // larger numbers are out of range anyway; stop growing
            value = value * 10 + (line[i] - '0');
    if (i == digitsStart)
        return std::nullopt;

    LanguageLine result;
    result.number = static_cast<int>(negative ? -value : value);
    if (i == line.size())
        result.text = std::string(line);
    else
        result.text = std::string(line.substr(i + CharacterLength(line, i)));
    return result;
}

void LoadLanguageFile(const std::string& path, LanguageTexts& texts) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        throw CoreError(ProgramMessage::LanguageFileUnreadable, path);

    // Parse everything first, so that a failure never leaves half a language behind.
    std::vector<LanguageLine> lines;
    const std::string text = DecodeTextFile(bytes);
    for (const std::string_view line : SplitLines(text))
        if (auto parsed = ParseLanguageLine(line);
            parsed && parsed->number >= 1 && parsed->number <= LanguageTexts::Count)
            lines.push_back(std::move(*parsed));
    for (LanguageLine& line : lines)
        texts.Set(line.number, std::move(line.text));
}

std::string LanguageFilePath(std::string_view fileName) {
    return FindShippedFile(ProgramDirectory(), fileName).string();
}
