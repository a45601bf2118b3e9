#include "data/LocaleFormat.h"

#include <cstdlib>

LocaleFormat GermanLocaleFormat() {
    return LocaleFormat{};
}

LocaleFormat EnglishLocaleFormat() {
    LocaleFormat f;
    f.DateSeparator = '/';
    f.TimeSeparator = ':';
    f.DecimalSeparator = '.';
    f.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    f.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    f.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    f.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                        "July",    "August",   "September", "October", "November", "December"};
    return f;
}

LocaleFormat FrenchLocaleFormat() {
    LocaleFormat f;
    f.DateSeparator = '/';
    f.TimeSeparator = ':';
    f.DecimalSeparator = ',';
    f.ShortDayNames = {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."};
    f.LongDayNames = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
    f.ShortMonthNames = {"janv.", "févr.", "mars",  "avr.", "mai",  "juin",
                         "juil.", "août",  "sept.", "oct.", "nov.", "déc."};
    f.LongMonthNames = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                        "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
    return f;
}

LocaleFormat LocaleFormatFor(std::string_view name) {
    const std::string_view language = name.substr(0, name.find_first_of("_.@"));
    const std::string_view territory =
        name.find('_') == std::string_view::npos ? std::string_view{} : name.substr(name.find('_') + 1, 2);
    if (language == "en") {
        LocaleFormat f = EnglishLocaleFormat();
        if (territory == "ZA")
            f.DecimalSeparator = ',';
        return f;
    }
    if (language == "fr") {
        LocaleFormat f = FrenchLocaleFormat();
        if (territory == "CH")
            f.DateSeparator = '.';
        return f;
    }
    // German, C, POSIX, nothing set, and languages without a table of their own.
    return GermanLocaleFormat();
}

namespace {
std::string_view FirstSet(std::initializer_list<const char*> variables) {
    for (const char* variable : variables) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

LocaleFormat FromEnvironment() {
    LocaleFormat f = LocaleFormatFor(FirstSet({"LC_ALL", "LC_TIME", "LANG"}));
    f.DecimalSeparator = LocaleFormatFor(FirstSet({"LC_ALL", "LC_NUMERIC", "LANG"})).DecimalSeparator;
    return f;
}
} // namespace

const LocaleFormat& SystemLocaleFormat() {
    static const LocaleFormat format = FromEnvironment();
    return format;
}
