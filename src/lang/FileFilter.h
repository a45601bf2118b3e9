#pragma once
// File-dialog filters are kept as the language files and the program's texts write them:
// "Description (*.ext)|*.ext|Other (*.x)|*.x". The desktop's dialogs want "Description (*.ext);;...".

#include <string>
#include <string_view>
#include <vector>

struct FileFilterEntry {
    std::string Description;
    std::vector<std::string> Patterns; // "*.lng", "*.*"
};

// The pairs of a "|"-separated filter; a description without a pattern gets "*".
std::vector<FileFilterEntry> ParseFileFilter(std::string_view pipeFilter);
// The same filter for a desktop file dialog; each description carries its patterns in brackets.
std::string DesktopFileFilter(std::string_view pipeFilter);
// The extension of the first pattern of an entry ("lng" for "*.lng"), empty for "*" or "*.*".
std::string FirstExtension(const FileFilterEntry& entry);
