#pragma once
// Which locale goes with a language file, for texts the program does not take from the file
// itself (month and day names of the calendar).

#include <string>

// "de_DE" for "deutsch.cty", "en_GB" for "english.cty", "fr_FR" for "francais.cty" (case and a
// folder in front do not matter); other files are taken as German, the program's own language.
std::string LocaleNameOfLanguageFile(const std::string& fileName);
