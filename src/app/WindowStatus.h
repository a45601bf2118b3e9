#pragma once
// What the main window tells about the measurement it holds, and the ways to open one besides
// "Öffnen": the title ("sample.lng – Korvelan II", "*" while data are unsaved), the status line
// (where the data came from and how many records the time range and filter leave), the
// "Zuletzt geöffnet" menu and files dropped on the window.

#include <QObject>
#include <QString>

class EvaluationContext;
class FileCommands;
class FileDialogs;
class IniFile;
class QLabel;
class QMainWindow;
class QMenu;
class RecentFilesMenu;

class WindowStatus : public QObject {
    Q_OBJECT
public:
    // Fills `recentMenu` from `ini`, takes the window's drops and follows the file commands'
    // source and saved state; everything passed must outlive it (it is owned by the window).
    WindowStatus(QMainWindow& window, QMenu* recentMenu, IniFile& ini, FileDialogs& dialogs,
                 const EvaluationContext& context, FileCommands& files);

    // The title and the status line as the measurement and its selections are now.
    void Show();
    // The recent files menu and the status line in the language of the texts.
    void ApplyTexts();

signals:
    // A recent file was chosen or a file dropped: it should be opened as "Öffnen" opens one.
    void openRequested(const QString& file);

private:
    QMainWindow& window_;
    const EvaluationContext& context_;
    FileCommands& files_;
    RecentFilesMenu* recent_ = nullptr;
    QLabel* sourceLabel_ = nullptr;
    QLabel* recordsLabel_ = nullptr;
};
