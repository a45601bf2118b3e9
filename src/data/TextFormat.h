#pragma once
// printf-style formatting that never depends on the C library's locale: "%6d", "%.6d", "%3.3u",
// "%6.1f", "%s", "%%" with flags "-", "0", " ", "+"; decimals use the locale's decimal separator.

#include "data/LocaleFormat.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

class FormatArg {
public:
    enum class Kind { Integer, Float, Text };
    FormatArg(int v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(unsigned v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(long v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(long long v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(unsigned long v) : kind_(Kind::Integer), integer_(static_cast<long long>(v)) {}
    FormatArg(double v) : kind_(Kind::Float), float_(v) {}
    FormatArg(float v) : kind_(Kind::Float), float_(v) {}
    FormatArg(const char* v) : kind_(Kind::Text), text_(v) {}
    FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}
    FormatArg(const std::string& v) : kind_(Kind::Text), text_(v) {}

    Kind kind() const { return kind_; }
    long long integer() const { return kind_ == Kind::Float ? static_cast<long long>(float_) : integer_; }
    double floating() const { return kind_ == Kind::Float ? float_ : static_cast<double>(integer_); }
    std::string_view text() const { return text_; }

private:
    Kind kind_;
    long long integer_ = 0;
    double float_ = 0;
    std::string_view text_;
};

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args,
                   const LocaleFormat& locale = SystemLocaleFormat());

// The shortest decimal form with at most 15 significant digits, with the locale's decimal
// separator: 1.0 gives "1", 0.2 * 2 + 0.2 gives "0,6" (German).
std::string FloatToStr(double value, const LocaleFormat& locale = SystemLocaleFormat());

// Decimal text of an integer ("IntToStr").
std::string IntToStr(long long value);

// Parses a whole decimal number as a standard integer conversion does: optional blanks, sign and
// digits, nothing else; nullopt for anything else or a value outside 32 bits.
std::optional<int> StrToIntStrict(std::string_view text);

// Rounding to the nearest integer with ties to even.
long long RoundHalfEven(long double value);
