#pragma once
// A small RFC 4180 reader for the tests: fields separated by one character, quoted fields with
// doubled quotes, rows ended by CR LF. It refuses what a strict reader would refuse, so that a
// table that reads back here reads back in data tools too.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using CsvRow = std::vector<std::string>;

inline std::vector<CsvRow> ReadCsv(std::string_view text, char separator) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '"') {
            ++i;
            while (true) {
                if (i >= text.size())
                    throw std::runtime_error("unterminated quoted field");
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            if (i < text.size() && text[i] != separator && text[i] != '\r')
                throw std::runtime_error("text after a closing quote");
        }
        while (i < text.size() && text[i] != separator && text[i] != '\r') {
            if (text[i] == '"' || text[i] == '\n')
                throw std::runtime_error("quote or bare line feed in an unquoted field");
            field += text[i++];
        }
        if (i >= text.size())
            throw std::runtime_error("last row without CR LF");
        row.push_back(std::move(field));
        field.clear();
        if (text[i] == separator) {
            ++i;
            continue;
        }
        if (i + 1 >= text.size() || text[i + 1] != '\n')
            throw std::runtime_error("CR without LF");
        i += 2;
        rows.push_back(std::move(row));
        row.clear();
    }
    return rows;
}

// Rows of a table whose every row has as many fields as its header.
inline std::vector<CsvRow> ReadRectangularCsv(std::string_view text, char separator) {
    std::vector<CsvRow> rows = ReadCsv(text, separator);
    for (const CsvRow& row : rows)
        if (rows.empty() || row.size() != rows.front().size())
            throw std::runtime_error("row with another number of fields than the header");
    return rows;
}
