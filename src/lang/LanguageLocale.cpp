#include "lang/LanguageLocale.h"

#include <algorithm>
#include <cctype>

std::string LocaleNameOfLanguageFile(const std::string& fileName) {
    std::string name = fileName.substr(fileName.find_last_of("/\\") + 1);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == "english.cty")
        return "en_GB";
    if (name == "francais.cty")
        return "fr_FR";
    return "de_DE";
}
