#pragma once
// The about box's name and address come from "logo.txt" beside the program: line 1 is the name,
// every further line one line of the address. The address block begins with one blank line,
// because the first line's end is read as an empty rest of that line.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* ProgramVersion = "4.01.03";
// "Rev. 4.01.03"
std::string RevisionText();

struct LogoText {
    std::string Name;    // UTF-8
    std::string Address; // UTF-8, lines ended by "\n"
};

// The name and address of a "logo.txt" held as Windows-1252 bytes (CR LF, LF or CR line ends).
LogoText ParseLogoText(std::string_view bytes);
// Reads and parses the file; nullopt when it cannot be read (the box then shows no name and address).
std::optional<LogoText> ReadLogoText(const std::filesystem::path& file);
