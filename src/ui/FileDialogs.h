#pragma once
// The one way the windows ask the user for a file or folder and tell a message: an interface
// that the main window holds, so that tests can answer without a modal dialog.

#include <QString>

class QWidget;

class FileDialogs {
public:
    enum class MessageKind { Information, Warning, Error };

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
};
