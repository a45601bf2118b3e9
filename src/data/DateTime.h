#pragma once
// Date and time as day counts: whole days since 1899-12-30 00:00, the fraction is the time of day.

#include "data/LocaleFormat.h"

#include <optional>
#include <string>
#include <string_view>

struct DateTimeParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
    int DayOfWeek = 0; // 0 Sunday .. 6 Saturday
};

bool IsValidDate(int year, int month, int day);
bool IsValidTime(int hour, int minute, int second, int millisecond = 0);

// Day count of a calendar date (years 1..9999); nullopt when the date does not exist.
std::optional<double> TryEncodeDate(int year, int month, int day);
// Today's date in local time as a day count (no time of day).
double TodayDayCount();
// Fraction of a day; nullopt when the time does not exist.
std::optional<double> TryEncodeTime(int hour, int minute, int second, int millisecond = 0);
// Date plus time; nullopt when either does not exist.
std::optional<double> TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                                        int millisecond = 0);

// Day counts of the years 1..9999, the range every file of the program can hold: 01.01.0001
// 00:00 up to the end of 31.12.9999.
inline constexpr double FirstStorableDayCount = -693594.0;
inline constexpr double EndOfStorableDayCounts = 2958466.0; // 01.01.10000, itself outside
bool IsStorableDayCount(double t);

// Splits a day count into its parts, rounded to the nearest millisecond.
DateTimeParts DecodeDateTime(double t);
// The same for a time already in whole milliseconds since 1899-12-30 00:00.
DateTimeParts DecodeMilliseconds(long long ms);

// The day count rounded to whole milliseconds, for comparisons with interval boundaries
// (times computed from counters can lie one unit in the last place below an exact boundary).
long long ToMilliseconds(double t);

// t plus n minutes, computed as (t * 1440 + n) / 1440 in extended precision, stored as double.
double IncMinute(double t, long long n);

// The whole day of t (00:00 of its date).
double DateOf(double t);

// Formats a day count by a date-time pattern: d dd ddd dddd, m mm mmm mmmm, yy yyyy, h hh,
// n nn, s ss, z zzz; "m" right after an "h" token means minutes; text in double or single
// quotes is literal; "/" and ":" are the locale's date and time separators; any other
// character stands for itself.
std::string FormatDateTime(std::string_view pattern, double t,
                           const LocaleFormat& locale = SystemLocaleFormat());
