#pragma once
// Fixed-width columns of the text summaries (statistics and comparison).

#include <cstddef>
#include <string>

// What a column shows for a figure that cannot be given.
inline const std::string MissingFigure = "---";

// The text followed by blanks up to width characters (at least one blank after it). Widths count
// characters, not the bytes of UTF-8 umlauts.
inline std::string PadColumn(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (unsigned char c : text)
        characters += (c & 0xC0) != 0x80;
    return characters >= width ? text + " " : text + std::string(width - characters, ' ');
}

// The text right-aligned in width characters (figures: plain ASCII).
inline std::string RightColumn(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}
