#include "data/TextFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {
struct Directive {
    bool left = false, zero = false, space = false, plus = false;
    int width = -1;
    int precision = -1;
    char conversion = 0;
};

void Pad(std::string& out, const std::string& body, const Directive& directive) {
    const int missing = directive.width - static_cast<int>(body.size());
    if (missing <= 0) {
        out += body;
    } else if (directive.left) {
        out += body;
        out.append(static_cast<std::size_t>(missing), ' ');
    } else if (directive.zero && directive.precision < 0 && !body.empty()) {
        const bool sign = body[0] == '-' || body[0] == '+' || body[0] == ' ';
        if (sign)
            out += body[0];
        out.append(static_cast<std::size_t>(missing), '0');
        out += sign ? body.substr(1) : body;
    } else {
        out.append(static_cast<std::size_t>(missing), ' ');
        out += body;
    }
}

std::string IntegerBody(long long value, const Directive& directive) {
    const bool negative = value < 0;
    unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    if (directive.precision > static_cast<int>(digits.size()))
        digits.insert(0, static_cast<std::size_t>(directive.precision) - digits.size(), '0');
    if (negative)
        return "-" + digits;
    if (directive.plus)
        return "+" + digits;
    if (directive.space)
        return " " + digits;
    return digits;
}

std::string FixedBody(double value, const Directive& directive, char decimal) {
    const int precision = directive.precision < 0 ? 2 : directive.precision; // Delphi's Format default
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    const char* begin = buffer;
    // "-0.0" reads as "0.0"
    if (*begin == '-' &&
        std::string_view(begin + 1, result.ptr).find_first_not_of("0.") == std::string_view::npos)
        ++begin;
    std::string body;
    body.reserve(static_cast<std::size_t>(result.ptr - begin) + 1);
    if (*begin != '-' && directive.plus)
        body += '+';
    for (const char* c = begin; c != result.ptr; ++c)
        body += *c == '.' ? decimal : *c;
    return body;
}
} // namespace

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args,
                   const LocaleFormat& locale) {
    std::string out;
    out.reserve(pattern.size() + 16);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        Directive directive;
        const std::size_t directiveStart = i;
        std::size_t j = i + 1;
        for (; j < pattern.size(); ++j) {
            const char f = pattern[j];
            if (f == '-')
                directive.left = true;
            else if (f == '0')
                directive.zero = true;
            else if (f == ' ')
                directive.space = true;
            else if (f == '+')
                directive.plus = true;
            else
                break;
        }
        auto readNumber = [&](int& target) {
            if (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9') {
                target = 0;
                while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9')
                    target = target * 10 + (pattern[j++] - '0');
            }
        };
        readNumber(directive.width);
        if (j < pattern.size() && pattern[j] == '.') {
            ++j;
            directive.precision = 0;
            readNumber(directive.precision);
        }
        while (j < pattern.size() && (pattern[j] == 'l' || pattern[j] == 'h'))
            ++j;
        if (j >= pattern.size())
            break;
        directive.conversion = pattern[j];
        i = j;
        if (next == args.end())
            continue; // a pattern asking for more values than given shows nothing for them
        const FormatArg& arg = *next++;
        switch (directive.conversion) {
        case 'd':
        case 'i':
        case 'u':
            Pad(out, IntegerBody(arg.integer(), directive), directive);
            break;
        case 'f':
            Pad(out, FixedBody(arg.floating(), directive, locale.DecimalSeparator), directive);
            break;
        case 's': {
            std::string text(arg.kind() == FormatArg::Kind::Text ? std::string(arg.text())
                                                                 : IntToStr(arg.integer()));
            if (directive.precision >= 0 && static_cast<int>(text.size()) > directive.precision)
                text.resize(static_cast<std::size_t>(directive.precision));
            Directive noZero = directive;
            noZero.zero = false;
            Pad(out, text, noZero);
            break;
        }
        default:
            out += pattern.substr(directiveStart,
                                  j - directiveStart + 1); // unknown conversions stand for themselves
            break;
        }
    }
    return out;
}

std::string FloatToStr(double value, const LocaleFormat& locale) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == '.')
            c = locale.DecimalSeparator;
    if (text == "-0")
        text = "0";
    return text;
}

std::string IntToStr(long long value) {
    return std::to_string(value);
}

std::optional<int> StrToIntStrict(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    std::size_t end = text.size();
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    std::string_view body = text.substr(begin, end - begin);
    if (!body.empty() && body[0] == '+')
        body.remove_prefix(1);
    if (body.empty())
        return std::nullopt;
    long long value = 0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
    if (result.ec != std::errc() || result.ptr != body.data() + body.size() ||
        value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

long long RoundHalfEven(long double value) {
    return static_cast<long long>(std::nearbyint(value));
}
