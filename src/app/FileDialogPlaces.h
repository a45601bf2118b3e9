#pragma once
// File dialogs that start where the user last was: each kind of file (data files, card files,
// exports, pictures, PDF, texts …) in the folder last used for it, a save dialog with the data
// file's name and the new extension proposed; the chosen file's folder is remembered in the
// settings file for the next dialog of that kind.

#include "base/CoreError.h"
#include "settings/DialogFolders.h"

#include <QString>

#include <optional>
#include <string>

class FileDialogs;
class IniFile;
class QWidget;
struct Settings;

class FileDialogPlaces {
public:
    // All three must outlive this.
    FileDialogPlaces(FileDialogs& dialogs, IniFile& ini, const Settings& settings);

    void UseDialogs(FileDialogs& dialogs) { dialogs_ = &dialogs; }

    // An empty result means cancelled.
    QString OpenFile(QWidget* parent, FileKind kind, const QString& caption, const QString& pipeFilter);
    // `dataFile` is the measurement's file (empty for none); the dialog proposes its name with
    // `extension`.
    QString SaveFile(QWidget* parent, FileKind kind, const QString& caption, const QString& pipeFilter,
                     const QString& extension, const std::string& dataFile);

    // Why the last folder could not be remembered (the settings file cannot be written), once;
    // the dialog's answer counts all the same.
    std::optional<CoreError> TakeRememberError();

private:
    void Remember(FileKind kind, const QString& chosen);

    FileDialogs* dialogs_;
    IniFile& ini_;
    const Settings& settings_;
    std::optional<CoreError> rememberError_;
};
