#include "lang/ShippedFiles.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace fs = std::filesystem;

fs::path InstalledDataDirectory(const fs::path& programDirectory) {
    // "/usr/bin/" has an empty file name; its parent is taken from the folder itself.
    fs::path folder = programDirectory;
    if (!folder.empty() && !folder.has_filename())
        folder = folder.parent_path();
    return folder.parent_path() / "share" / "korvelan2";
}

fs::path FindShippedFile(const fs::path& programDirectory, const fs::path& relativePath) {
    std::error_code error;
    const fs::path besideProgram = programDirectory / relativePath;
    if (fs::exists(besideProgram, error))
        return besideProgram;
    const fs::path installed = InstalledDataDirectory(programDirectory) / relativePath;
    if (fs::exists(installed, error))
        return installed;
    return besideProgram;
}

std::string_view HelpLanguageOfLanguageFile(std::string_view languageFile) {
    std::string name(languageFile);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name.starts_with("english"))
        return "en";
    if (name.starts_with("francais") || name.starts_with("français"))
        return "fr";
    return "de";
}

fs::path HelpPageOf(std::string_view languageFile) {
    return fs::path("help") / HelpLanguageOfLanguageFile(languageFile) / "index.html";
}
