#pragma once
// Reading whole files and cutting text into lines, as every reader of text files needs it.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The whole file as bytes; false when it cannot be opened or read, or is a folder.
bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes);

// The lines of a text, without their CR LF (or LF) ends; a last line without an end counts, an
// empty rest after the last line end does not. The views point into text.
std::vector<std::string_view> SplitLines(std::string_view text);
