#pragma once
// Decoding of the text files the program reads (language files, the settings file).

#include "base/TextFiles.h"

#include <string>
#include <string_view>
#include <vector>

// The bytes of a text file as UTF-8. The program's own files are Windows-1252; a file that a user
// saved as UTF-8 (with a byte-order mark, or valid UTF-8 holding non-ASCII characters) is taken as
// UTF-8, because Windows-1252 text with umlauts is practically never valid UTF-8.
std::string DecodeTextFile(std::string_view bytes);

// The settings file, which the program writes: Windows-1252, or UTF-8 behind a byte-order mark
// when it holds characters Windows-1252 cannot. Without the mark no guessing takes place, since
// a Windows-1252 name such as "Ø–" (D8 96) is also valid UTF-8 for another character.
std::string DecodeSettingsFile(std::string_view bytes);

// The byte-order mark that the settings file carries when it is written as UTF-8.
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);
