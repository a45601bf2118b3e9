#include "app/FileDialogPlaces.h"

#include "base/CoreError.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "ui/FileDialogs.h"
#include "ui/QtText.h"

namespace {
FileDialogStart QtStart(const DialogStart& start) {
    return {ToQString(start.Folder), ToQString(start.FileName)};
}
} // namespace

FileDialogPlaces::FileDialogPlaces(FileDialogs& dialogs, IniFile& ini, const Settings& settings)
    : dialogs_(&dialogs), ini_(ini), settings_(settings) {}

QString FileDialogPlaces::OpenFile(QWidget* parent, FileKind kind, const QString& caption,
                                   const QString& pipeFilter) {
    const DialogStart start = DialogStartFor(ini_, settings_, kind);
    const QString chosen = dialogs_->OpenFileNameAt(parent, caption, QtStart(start), pipeFilter);
    Remember(kind, chosen);
    return chosen;
}

QString FileDialogPlaces::SaveFile(QWidget* parent, FileKind kind, const QString& caption,
                                   const QString& pipeFilter, const QString& extension,
                                   const std::string& dataFile) {
    const DialogStart start = DialogStartFor(ini_, settings_, kind, dataFile, extension.toStdString());
    const QString chosen = dialogs_->SaveFileNameAt(parent, caption, QtStart(start), pipeFilter, extension);
    Remember(kind, chosen);
    return chosen;
}

void FileDialogPlaces::Remember(FileKind kind, const QString& chosen) {
    if (chosen.isEmpty())
        return;
    try {
        RememberFolder(ini_, kind, chosen.toStdString());
    } catch (const CoreError& error) {
        rememberError_ = error;
    }
}

std::optional<CoreError> FileDialogPlaces::TakeRememberError() {
    std::optional<CoreError> error;
    error.swap(rememberError_);
    return error;
}
