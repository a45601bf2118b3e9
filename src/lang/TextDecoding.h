#pragma once
// Decoding of the text files the program reads (language files, the settings file).

#include <string>
#include <string_view>
#include <vector>

// The bytes of a text file as UTF-8. The program's own files are Windows-1252; a file that a user
// saved as UTF-8 (with a byte-order mark, or valid UTF-8 holding non-ASCII characters) is taken as
// UTF-8, because Windows-1252 text with umlauts is practically never valid UTF-8.
std::string DecodeTextFile(std::string_view bytes);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Lines of a text, ended by LF or CR LF; a last line without a line end counts, an empty rest
// after the last line end does not.
std::vector<std::string> SplitLines(std::string_view text);

// The whole file as bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);
