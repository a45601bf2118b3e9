#pragma once
// Lets files be dropped on a widget (the main window): drags that carry local files are accepted;
// a drop opens the first file through `fileDropped`, and a drop of folders only is answered with a
// message through the dialog seam. Both happen after the drop has finished, so that a message box
// or the question about unsaved data never opens inside the drag.

#include <QObject>
#include <QString>

class FileDialogs;
class LanguageTexts;
class QWidget;

class FileDropHandler : public QObject {
    Q_OBJECT
public:
    // Watches `target` (and is owned by it); dialogs and texts must outlive it.
    FileDropHandler(QWidget* target, FileDialogs& dialogs, const LanguageTexts& texts);

    void UseDialogs(FileDialogs& dialogs) { dialogs_ = &dialogs; }

signals:
    void fileDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Drop(const QStringList& localPaths);

    QWidget* target_;
    FileDialogs* dialogs_;
    const LanguageTexts& texts_;
};
