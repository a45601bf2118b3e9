#pragma once
// Where the open and save dialogs start: the folder last used for the same kind of file, kept in the
// settings file ("[LastFolders]"), else the folder the settings name for data or card files; and
// the file name a save dialog proposes (the data file's name with the new extension).

#include <string>
#include <string_view>

class IniFile;
struct Settings;

inline constexpr std::string_view LastFoldersSection = "LastFolders";

// The kinds of file that remember their folder each.
enum class FileKind {
    DataFile,    // own data files and device raw files, opened and saved
    CardFile,    // MM/SD card files
    ImportFile,  // Pelo files
    Export,      // ASCII and CSV exports
    Picture,     // chart pictures
    Pdf,         // reports and printouts to PDF
    SummaryText, // summaries saved as text
};

// The key a kind keeps its folder under ("Data", "Card", ...).
std::string_view FolderKey(FileKind kind);

// Where a dialog starts: a folder (with a trailing separator) and a proposed file name, either
// possibly empty.
struct DialogStart {
    std::string Folder;
    std::string FileName;
    friend bool operator==(const DialogStart&, const DialogStart&) = default;
};

// The folder last used for the kind when it still exists; else the card folder of the settings for
// card files and the data folder for every other kind.
std::string StartFolder(const IniFile& ini, const Settings& settings, FileKind kind);

// Remembers the folder of a file the user chose. Throws CoreError SettingsNotWritten when the
// settings file cannot be written.
void RememberFolder(IniFile& ini, FileKind kind, const std::string& chosenFile);

// The name of `dataFile` with `extension` in place of its own ("/m/sample.lng", "asc" gives
// "sample.asc"); empty when there is no data file.
std::string ProposedFileName(const std::string& dataFile, std::string_view extension);

// Both together: the start folder of the kind and, when an extension is given, the proposed name.
DialogStart DialogStartFor(const IniFile& ini, const Settings& settings, FileKind kind,
                           const std::string& dataFile = {}, std::string_view extension = {});
