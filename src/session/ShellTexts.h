#pragma once
// The language texts of the window's frame: the recent-files menu, the title and status line, the
// question about unsaved data and dropped files. Each has a German wording for a language file
// that does not have it yet.

#include <span>
#include <string>
#include <string_view>

class LanguageTexts;

namespace ShellText {
inline constexpr int RecentFilesMenu = 760; // "Zuletzt geöffnet"
inline constexpr int RemoveMissingFiles = 761;
inline constexpr int ClearRecentFiles = 762;
inline constexpr int NoRecentFiles = 763;
inline constexpr int FileMissing = 764;  // %s: the file
inline constexpr int CardData = 765;     // data read from a card, in the title
inline constexpr int CardDataFrom = 766; // %s: the card file
inline constexpr int ImportedFrom = 767; // %s: the imported file
inline constexpr int NotSaved = 768;
inline constexpr int VehicleCount = 769;     // %d
inline constexpr int VehiclesInForce = 770;  // %d of %d
inline constexpr int IntervalCount = 771;    // %d
inline constexpr int IntervalsInForce = 772; // %d of %d
inline constexpr int SaveButton = 773;
inline constexpr int DiscardButton = 774;
inline constexpr int CancelButton = 775;
inline constexpr int CardDataUnsaved = 776;
inline constexpr int ImportUnsaved = 777;
inline constexpr int CommentUnsaved = 778;
inline constexpr int FilteredUnsaved = 779;
inline constexpr int FoldersNotOpened = 780; // %s: the folders
inline constexpr int UnsavedTitle = 781;
} // namespace ShellText

struct ShellTextDefault {
    int number;
    std::string_view german;
};

// Every text above with its German wording.
std::span<const ShellTextDefault> ShellTextDefaults();

// The text in the language of the texts, or its German wording when the language file lacks it.
std::string ShellTextOf(const LanguageTexts& texts, int number);
