#pragma once
// The separators and day names of a locale, as the date, time and number formatting uses them.
// The core never asks the C library's locale (it changes under a running Qt application).

#include <array>
#include <string>
#include <string_view>

struct LocaleFormat {
    char DateSeparator = '.';
    char TimeSeparator = ':';
    char DecimalSeparator = ',';
    std::array<std::string, 7> ShortDayNames{"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}; // Sunday first
    std::array<std::string, 7> LongDayNames{"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                            "Donnerstag", "Freitag", "Samstag"};
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                                "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    std::array<std::string, 12> LongMonthNames{"Januar",    "Februar", "März",     "April",
                                               "Mai",       "Juni",    "Juli",     "August",
                                               "September", "Oktober", "November", "Dezember"};
};

// The German conventions; also what the C and POSIX locales (or none) give.
LocaleFormat GermanLocaleFormat();
LocaleFormat EnglishLocaleFormat(); // en_US
LocaleFormat FrenchLocaleFormat();

// The conventions of a POSIX locale name such as "de_DE.UTF-8", "en_GB", "fr_CH.utf8", "C".
// Unknown languages get the German conventions.
LocaleFormat LocaleFormatFor(std::string_view localeName);

// The conventions of the process's environment (LC_ALL, then LC_TIME / LC_NUMERIC, then LANG),
// determined once at first use.
const LocaleFormat& SystemLocaleFormat();
