#pragma once
// The one way the windows ask the user for a file or folder and tell a message: an interface
// that the main window holds, so that tests can answer without a modal dialog.

#include <QString>

class QWidget;

// Where a file dialog starts: a folder, and the file name it proposes (either may be empty).
struct FileDialogStart {
    QString Folder;
    QString FileName;
    // The two as one path, as a dialog that takes a single start path wants it.
    QString Path() const;
};

// A question before data are lost, with its three answers' captions.
struct SaveQuestion {
    QString Title;
    QString Text;
    QString Save;    // "Speichern"
    QString Discard; // "Verwerfen"
    QString Cancel;  // "Abbrechen"
};

class FileDialogs {
public:
    enum class MessageKind { Information, Warning, Error };
    enum class SaveAnswer { Save, Discard, Cancel };

    virtual ~FileDialogs() = default;

    // Filters are written "Description (*.ext)|*.ext|..."; an empty result means cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& pipeFilter) = 0;
    // A name without an extension gets the extension of the chosen filter, or defaultSuffix.
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& pipeFilter, const QString& defaultSuffix) = 0;
    virtual QString ExistingDirectory(QWidget* parent, const QString& caption, const QString& directory) = 0;
    virtual void ShowMessage(QWidget* parent, MessageKind kind, const QString& title,
                             const QString& text) = 0;

    // The same dialogs started in a folder with a proposed name. Unless a dialog class knows better,
    // they pass both as one start path (a file dialog selects the named file).
    virtual QString OpenFileNameAt(QWidget* parent, const QString& caption, const FileDialogStart& start,
                                   const QString& pipeFilter) {
        return OpenFileName(parent, caption, start.Path(), pipeFilter);
    }
    virtual QString SaveFileNameAt(QWidget* parent, const QString& caption, const FileDialogStart& start,
                                   const QString& pipeFilter, const QString& defaultSuffix) {
        return SaveFileName(parent, caption, start.Path(), pipeFilter, defaultSuffix);
    }

    // "Speichern", "Verwerfen" or "Abbrechen"; closing the box cancels.
    virtual SaveAnswer AskToSave(QWidget* parent, const SaveQuestion& question) = 0;
};

// The desktop's file dialogs and message boxes.
class QtFileDialogs : public FileDialogs {
public:
    QString OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& pipeFilter) override;
    QString SaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& pipeFilter, const QString& defaultSuffix) override;
    QString ExistingDirectory(QWidget* parent, const QString& caption, const QString& directory) override;
    void ShowMessage(QWidget* parent, MessageKind kind, const QString& title, const QString& text) override;
    QString OpenFileNameAt(QWidget* parent, const QString& caption, const FileDialogStart& start,
                           const QString& pipeFilter) override;
    QString SaveFileNameAt(QWidget* parent, const QString& caption, const FileDialogStart& start,
                           const QString& pipeFilter, const QString& defaultSuffix) override;
    SaveAnswer AskToSave(QWidget* parent, const SaveQuestion& question) override;
};
