#pragma once
// What happens to files dropped on the window: the first file is opened as "Öffnen" opens it (a
// file that is no data file gets the loader's own message); folders are never opened, and when only
// folders came the user is told so.

#include <functional>
#include <optional>
#include <string>
#include <vector>

class LanguageTexts;

struct DropDecision {
    std::optional<std::string> FileToOpen;
    std::vector<std::string> IgnoredFolders;
    friend bool operator==(const DropDecision&, const DropDecision&) = default;
};

// `isFolder` tells folders from files; paths that are not there count as files, so that opening
// them reports why they cannot be read.
DropDecision DecideDrop(const std::vector<std::string>& localPaths,
                        const std::function<bool(const std::string&)>& isFolder);
// The same with the file system's answer.
DropDecision DecideDrop(const std::vector<std::string>& localPaths);

// The message for a drop of nothing but folders; empty when a file is opened or nothing came.
std::string DropMessage(const DropDecision& decision, const LanguageTexts& texts);
