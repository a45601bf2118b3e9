#pragma once
// Files of the program are single-byte Windows-1252 text; the program holds text as UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

std::string Cp1252ToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold become the replacement character.
std::string Utf8ToCp1252(std::string_view text, char replacement = '?');

// Number of characters (code points) of UTF-8 text.
std::size_t Utf8Length(std::string_view text);
// The first n characters of UTF-8 text.
std::string Utf8Left(std::string_view text, std::size_t n);
