#pragma once
// Comma-separated tables (RFC 4180, UTF-8, CR LF) for spreadsheets and data tools. The plain
// style is what data tools expect ("," between fields, "." decimals, ISO 8601 local times); the
// spreadsheet style is what a German spreadsheet opens directly (";" between fields, ","
// decimals, "09.03.2026 00:00:22", a byte-order mark so that it reads UTF-8).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class CsvStyle { Plain, Spreadsheet };

class CsvWriter {
public:
    explicit CsvWriter(CsvStyle style, std::size_t expectedBytes = 0);

    CsvStyle Style() const { return style_; }

    // Text, quoted when it holds the separator, a quote or a line end.
    void Text(std::string_view value);
    void Integer(long long value);
    // The shortest decimal that reads back as the same double.
    void Number(double value);
    // A day count as a local date and time; with milliseconds when asked for.
    void DateTime(double dayCount, bool milliseconds);
    // The same for a time in whole milliseconds since 1899-12-30 00:00.
    void DateTimeOfMilliseconds(long long ms, bool milliseconds);
    // A day count's date alone.
    void Date(double dayCount);
    void Boolean(bool value);
    void Empty();

    // Optional figures: an empty field when there is none.
    void Integer(const std::optional<long long>& value);
    void Number(const std::optional<double>& value);

    void EndRow();

    const std::string& Bytes() const { return out_; }
    std::string TakeBytes() { return std::move(out_); }

private:
    void Separate();

    CsvStyle style_;
    char separator_;
    bool rowStarted_ = false;
    std::string out_;
};

// A text field as it stands in a row of the given separator (quoted when needed).
std::string CsvQuoted(std::string_view value, char separator);
