#include "data/DateTime.h"

#include <cmath>
#include <ctime>

namespace {
constexpr long long MsPerDay = 86400000;
constexpr long long DaysFrom1970To1899_12_30 = -25569;

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}
} // namespace

bool IsValidDate(int year, int month, int day) {
    static constexpr int DaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const int last = DaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    return day <= last;
}

bool IsValidTime(int hour, int minute, int second, int millisecond) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           millisecond >= 0 && millisecond < 1000;
}

std::optional<double> TryEncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day))
        return std::nullopt;
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                               DaysFrom1970To1899_12_30);
}

std::optional<double> TryEncodeTime(int hour, int minute, int second, int millisecond) {
    if (!IsValidTime(hour, minute, second, millisecond))
        return std::nullopt;
    const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(ms) / static_cast<double>(MsPerDay);
}

std::optional<double> TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                                        int millisecond) {
    const auto date = TryEncodeDate(year, month, day);
    const auto time = TryEncodeTime(hour, minute, second, millisecond);
    if (!date || !time)
        return std::nullopt;
    return *date + *time;
}

long long ToMilliseconds(double t) {
    // The product in double precision lies within half a unit in its last place of the exact
    // one, so it rounds the same way unless it lies that near a half millisecond; only then is
    // the slower extended precision needed. Lists and exports convert every record.
    const double x = t * static_cast<double>(MsPerDay);
    const double rounded = std::nearbyint(x);
    const double margin = std::abs(x) * 1e-15; // several units in the last place
    if (std::abs(x) < 1e15 && std::abs(std::abs(x - rounded) - 0.5) > margin)
        return static_cast<long long>(rounded);
    return static_cast<long long>(std::nearbyint(static_cast<long double>(t) * MsPerDay));
}

DateTimeParts DecodeDateTime(double t) {
    return DecodeMilliseconds(ToMilliseconds(t));
}

DateTimeParts DecodeMilliseconds(long long ms) {
    const long long days = FloorDiv(ms, MsPerDay);
    long long rest = ms - days * MsPerDay;
    DateTimeParts p;
    CivilFromDays(days + DaysFrom1970To1899_12_30, p.Year, p.Month, p.Day);
    p.Millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    p.Second = static_cast<int>(rest % 60);
    rest /= 60;
    p.Minute = static_cast<int>(rest % 60);
    p.Hour = static_cast<int>(rest / 60);
    // 1899-12-30 was a Saturday.
    p.DayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7);
    return p;
}

double IncMinute(double t, long long n) {
    const long double minutes = static_cast<long double>(t) * 1440.0L + static_cast<long double>(n);
    return static_cast<double>(minutes / 1440.0L);
}

double DateOf(double t) {
    return static_cast<double>(FloorDiv(ToMilliseconds(t), MsPerDay));
}

namespace {
void AppendNumber(std::string& out, int value, int digits) {
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < digits)
        out.append(static_cast<std::size_t>(digits) - s.size(), '0');
    out += s;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

std::string FormatDateTime(std::string_view pattern, double t, const LocaleFormat& locale) {
    const DateTimeParts p = DecodeDateTime(t);
    std::string out;
    char lastToken = 0;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char starter = pattern[i];
        if (starter == '"' || starter == '\'') {
            const std::size_t end = pattern.find(starter, i + 1);
            const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
            out.append(pattern.substr(i + 1, stop - i - 1));
            i = stop == pattern.size() ? stop : stop + 1;
            continue;
        }
        char token = Upper(starter);
        std::size_t count = 1;
        if (token >= 'A' && token <= 'Z') {
            while (i + count < pattern.size() && Upper(pattern[i + count]) == token)
                ++count;
            if (token == 'M' && lastToken == 'H')
                token = 'N';
            lastToken = token;
        }
        switch (token) {
        case 'Y':
            if (count <= 2)
                AppendNumber(out, p.Year % 100, 2);
            else
                AppendNumber(out, p.Year, 4);
            break;
        case 'M':
            if (count <= 2)
                AppendNumber(out, p.Month, static_cast<int>(count));
            else
                out += (count == 3 ? locale.ShortMonthNames
                                   : locale.LongMonthNames)[static_cast<std::size_t>(p.Month - 1)];
            break;
        case 'D':
            if (count <= 2)
                AppendNumber(out, p.Day, static_cast<int>(count));
            else if (count == 3)
                out += locale.ShortDayNames[static_cast<std::size_t>(p.DayOfWeek)];
            else
                out += locale.LongDayNames[static_cast<std::size_t>(p.DayOfWeek)];
            break;
        case 'H':
            AppendNumber(out, p.Hour, count >= 2 ? 2 : 1);
            break;
        case 'N':
            AppendNumber(out, p.Minute, count >= 2 ? 2 : 1);
            break;
        case 'S':
            AppendNumber(out, p.Second, count >= 2 ? 2 : 1);
            break;
        case 'Z':
            AppendNumber(out, p.Millisecond, count >= 3 ? 3 : 1);
            break;
        case '/':
            out += locale.DateSeparator;
            break;
        case ':':
            out += locale.TimeSeparator;
            break;
        default:
            out.append(count, starter);
            break;
        }
        i += count;
    }
    return out;
}

bool IsStorableDayCount(double t) {
    return std::isfinite(t) && t >= FirstStorableDayCount && t < EndOfStorableDayCounts;
}

double TodayDayCount() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(0);
}
