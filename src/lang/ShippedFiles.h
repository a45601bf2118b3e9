#pragma once
// Where the files shipped with the program (language files, logo.txt, the help, the sample) are
// found: beside the program first, so that a build folder works as it stands, then in the shared
// data folder of an installed program (<prefix>/share/korvelan2 beside <prefix>/bin).

#include <filesystem>
#include <string_view>

// The shared data folder that belongs to a program installed in programDirectory.
std::filesystem::path InstalledDataDirectory(const std::filesystem::path& programDirectory);

// The shipped file relativePath: beside the program when it is there, else in the installed data
// folder when it is there; else the place beside the program, so that a message names it.
std::filesystem::path FindShippedFile(const std::filesystem::path& programDirectory,
                                      const std::filesystem::path& relativePath);

// The help's language code ("de", "en", "fr") that goes with a language file name; German for
// a file the program does not know, as German is also the program's own language.
std::string_view HelpLanguageOfLanguageFile(std::string_view languageFile);

// The shipped help page in the language of languageFile, relative to the data folders.
std::filesystem::path HelpPageOf(std::string_view languageFile);
