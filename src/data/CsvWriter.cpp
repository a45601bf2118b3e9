#include "data/CsvWriter.h"

#include "data/DateTime.h"

#include <charconv>
#include <cmath>

namespace {
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

void AppendDigits(std::string& out, int value, int width) {
    char digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 12);
    for (int i = n; i < width; ++i)
        out.push_back('0');
    while (n > 0)
        out.push_back(digits[--n]);
}

bool NeedsQuotes(std::string_view value, char separator) {
    return value.find_first_of(std::string{separator} + "\"\r\n") != std::string_view::npos;
}
// "09.03.2026" for spreadsheets, "2026-03-09" (ISO 8601) otherwise.
void AppendDate(std::string& out, const DateTimeParts& p, CsvStyle style) {
    const bool spreadsheet = style == CsvStyle::Spreadsheet;
    const char separator = spreadsheet ? '.' : '-';
    AppendDigits(out, spreadsheet ? p.Day : p.Year, spreadsheet ? 2 : 4);
    out.push_back(separator);
    AppendDigits(out, p.Month, 2);
    out.push_back(separator);
    AppendDigits(out, spreadsheet ? p.Year : p.Day, spreadsheet ? 4 : 2);
}
} // namespace

std::string CsvQuoted(std::string_view value, char separator) {
    if (!NeedsQuotes(value, separator))
        return std::string(value);
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

CsvWriter::CsvWriter(CsvStyle style, std::size_t expectedBytes)
    : style_(style), separator_(style == CsvStyle::Spreadsheet ? ';' : ',') {
    out_.reserve(expectedBytes + ByteOrderMark.size());
    if (style_ == CsvStyle::Spreadsheet)
        out_ += ByteOrderMark;
}

void CsvWriter::Separate() {
    if (rowStarted_)
        out_.push_back(separator_);
    rowStarted_ = true;
}

void CsvWriter::Text(std::string_view value) {
    Separate();
    if (NeedsQuotes(value, separator_))
        out_ += CsvQuoted(value, separator_);
    else
        out_ += value;
}

void CsvWriter::Integer(long long value) {
    Separate();
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out_.append(digits, result.ptr);
}

void CsvWriter::Number(double value) {
    Separate();
    if (!std::isfinite(value))
        return; // no spreadsheet or data tool reads "inf"; an empty field says "no figure"
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    for (char* c = digits; c != result.ptr; ++c)
        out_.push_back(*c == '.' && style_ == CsvStyle::Spreadsheet ? ',' : *c);
}

void CsvWriter::DateTime(double dayCount, bool milliseconds) {
    DateTimeOfMilliseconds(ToMilliseconds(dayCount), milliseconds);
}

void CsvWriter::DateTimeOfMilliseconds(long long ms, bool milliseconds) {
    Separate();
    const DateTimeParts p = DecodeMilliseconds(ms);
    AppendDate(out_, p, style_);
    out_.push_back(style_ == CsvStyle::Spreadsheet ? ' ' : 'T');
    AppendDigits(out_, p.Hour, 2);
    out_.push_back(':');
    AppendDigits(out_, p.Minute, 2);
    out_.push_back(':');
    AppendDigits(out_, p.Second, 2);
    if (milliseconds) {
        out_.push_back(style_ == CsvStyle::Spreadsheet ? ',' : '.');
        AppendDigits(out_, p.Millisecond, 3);
    }
}

void CsvWriter::Date(double dayCount) {
    Separate();
    const DateTimeParts p = DecodeDateTime(dayCount);
    AppendDate(out_, p, style_);
}

void CsvWriter::Boolean(bool value) {
    Separate();
    out_ += value ? "true" : "false";
}

void CsvWriter::Empty() {
    Separate();
}

void CsvWriter::Integer(const std::optional<long long>& value) {
    if (value)
        Integer(*value);
    else
        Empty();
}

void CsvWriter::Number(const std::optional<double>& value) {
    if (value)
        Number(*value);
    else
        Empty();
}

void CsvWriter::EndRow() {
    out_ += "\r\n";
    rowStarted_ = false;
}
