#pragma once
// Files that the card tests write: card text lines, card binary blocks, Pelo lines, temporary files.

#include "data/TextFormat.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A temporary file that is removed with the object.
class TempFile {
public:
    TempFile(const std::string& name, const std::string& bytes) {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("korvelan-cards-" + std::to_string(getpid()) + "-" + std::to_string(++serial)) / name;
        std::filesystem::create_directories(path_.parent_path());
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~TempFile() { std::filesystem::remove_all(path_.parent_path()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// One 32-byte line of a card text file, CR LF included.
inline std::string CardLine(int day, int month, int year2, int hour, int minute, int second, int hundredths,
                            int speed, int length, int directionDigit) {
    return Format("%.2d.%.2d.%.2d %.2d:%.2d:%.2d.%.2d %3d %2d %d \r\n",
                  {day, month, year2, hour, minute, second, hundredths, speed, length, directionDigit});
}

// One 16-byte detector block of a card binary file.
inline std::string CardBlock(int occupancy, int correction, std::int32_t counter) {
    std::string b(16, '\0');
    b[0] = static_cast<char>(occupancy);
    b[1] = static_cast<char>(correction);
    const auto u = static_cast<std::uint32_t>(counter);
    for (int i = 0; i < 4; ++i)
        b[static_cast<std::size_t>(4 + i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
    return b;
}

// A Pelo header line: parameters at columns 1-4, start at 28..49, code at 58, lines at 71, blocks at 76.
inline std::string PeloHeader(const std::string& code, int lines, int blocks = 0,
                              const std::string& params = "0000", int year2 = 5, int month = 3, int day = 1,
                              int hour = 0, int minute = 0) {
    std::string h(80, ' ');
    const auto put = [&](int column, const std::string& text) { h.replace(column - 1, text.size(), text); };
    put(1, params);
    put(28, Format("%.2d", {year2}));
    put(33, Format("%.2d", {month}));
    put(38, Format("%.2d", {day}));
    put(43, Format("%.2d", {hour}));
    put(48, Format("%.2d", {minute}));
    put(58, code);
    put(71, Format("%4d", {lines}));
    put(76, Format("%5d", {blocks}));
    return h + "\r\n";
}

// A Pelo data line: right-aligned 3-column values with one blank between them.
inline std::string PeloValues(std::initializer_list<int> values) {
    std::string line;
    for (const int v : values) {
        if (!line.empty())
            line += ' ';
        line += Format("%3d", {v});
    }
    return line + "\r\n";
}
