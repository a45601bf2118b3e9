#include "session/FileDrop.h"

#include "session/ShellTexts.h"

#include <filesystem>

DropDecision DecideDrop(const std::vector<std::string>& localPaths,
                        const std::function<bool(const std::string&)>& isFolder) {
    DropDecision decision;
    for (const std::string& path : localPaths) {
        if (path.empty())
            continue;
        if (isFolder(path))
            decision.IgnoredFolders.push_back(path);
        else if (!decision.FileToOpen)
            decision.FileToOpen = path;
    }
    return decision;
}

DropDecision DecideDrop(const std::vector<std::string>& localPaths) {
    return DecideDrop(localPaths, [](const std::string& path) {
        std::error_code error;
        return std::filesystem::is_directory(path, error);
    });
}

std::string DropMessage(const DropDecision& decision, const LanguageTexts& texts) {
    if (decision.FileToOpen || decision.IgnoredFolders.empty())
        return {};
    std::string folders;
    for (const std::string& folder : decision.IgnoredFolders)
        folders += (folders.empty() ? "" : ", ") + folder;
    std::string message = ShellTextOf(texts, ShellText::FoldersNotOpened);
    if (const auto at = message.find("%s"); at != std::string::npos)
        message.replace(at, 2, folders);
    return message;
}
