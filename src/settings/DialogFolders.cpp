#include "settings/DialogFolders.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <filesystem>

namespace {
namespace fs = std::filesystem;

std::string WithTrailingSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}
} // namespace

std::string_view FolderKey(FileKind kind) {
    switch (kind) {
    case FileKind::DataFile:
        return "Data";
    case FileKind::CardFile:
        return "Card";
    case FileKind::ImportFile:
        return "Import";
    case FileKind::Export:
        return "Export";
    case FileKind::Picture:
        return "Picture";
    case FileKind::Pdf:
        return "Pdf";
    case FileKind::SummaryText:
        return "Text";
    }
    return "Data";
}

std::string StartFolder(const IniFile& ini, const Settings& settings, FileKind kind) {
    if (const auto last = ini.Find(LastFoldersSection, FolderKey(kind)); last && IsFolder(*last))
        return WithTrailingSeparator(*last);
    return kind == FileKind::CardFile ? settings.CardPath : settings.DataPath;
}

void RememberFolder(IniFile& ini, FileKind kind, const std::string& chosenFile) {
    const std::string folder = fs::path(chosenFile).parent_path().string();
    if (folder.empty())
        return;
    const std::string remembered = WithTrailingSeparator(folder);
    if (ini.Find(LastFoldersSection, FolderKey(kind)) == remembered)
        return; // no write when nothing changes
    ini.WriteString(LastFoldersSection, FolderKey(kind), remembered);
}

std::string ProposedFileName(const std::string& dataFile, std::string_view extension) {
    if (dataFile.empty())
        return {};
    fs::path name = fs::path(dataFile).filename();
    if (name.empty())
        return {};
    if (!extension.empty())
        name.replace_extension(std::string(extension));
    return name.string();
}

DialogStart DialogStartFor(const IniFile& ini, const Settings& settings, FileKind kind,
                           const std::string& dataFile, std::string_view extension) {
    return {StartFolder(ini, settings, kind),
            extension.empty() ? std::string() : ProposedFileName(dataFile, extension)};
}
