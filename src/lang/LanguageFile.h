#pragma once
// Language files: numbered user-interface texts, one "N text" line each, Windows-1252, CR LF.

#include "base/LanguageTexts.h"

#include <optional>
#include <string>
#include <string_view>

struct LanguageLine {
    int number = 0;
    std::string text;
};

// A line sets text n when it begins with a decimal number (leading blanks, optional sign): exactly
// one character after the number, whatever it is, is dropped and the rest is the text; a line
// that is only the number keeps itself as the text. nullopt for lines without a number.
std::optional<LanguageLine> ParseLanguageLine(std::string_view line);

// Reads the language file at `path` into `texts`: numbers 1..500 set their text (the last of
// repeated numbers wins), missing numbers keep what they held. A file that cannot be read throws
// CoreError LanguageFileUnreadable and leaves `texts` unchanged.
void LoadLanguageFile(const std::string& path, LanguageTexts& texts);

// The path of a language file given by name ("deutsch.cty"): beside the program, or in the data
// folder of an installed program.
std::string LanguageFilePath(std::string_view fileName);
