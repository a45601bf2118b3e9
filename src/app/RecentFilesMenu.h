#pragma once
// The "Zuletzt geöffnet" menu: the last eight files, numbered 1..8 as their Alt keys, those that are
// no longer there greyed; "Nicht vorhandene entfernen" drops them, "Liste leeren" all. The list is
// kept in the settings file at every change and checked against the disk each time the menu opens.

#include "settings/RecentFiles.h"

#include <QObject>
#include <QString>

class IniFile;
class LanguageTexts;
class QMenu;

class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    // Fills `menu` (which it does not own) from the list in `ini`; both and `texts` must outlive it.
    RecentFilesMenu(QMenu* menu, IniFile& ini, const LanguageTexts& texts, QObject* parent = nullptr);

    QMenu* Menu() const { return menu_; }
    const RecentFiles& Files() const { return files_; }

    // After a file was opened or saved as the measurement's file: it moves to the top.
    void Add(const QString& path);
    void Remove(const QString& path);
    void RemoveMissing();
    void Clear();

    // The menu's title and entries again, in the language of the texts and as the disk is now.
    void Rebuild();

signals:
    void fileChosen(const QString& path);
    // The list could not be kept in the settings file (the message in the language of the texts).
    void notWritten(const QString& message);

private:
    void Store();

    QMenu* menu_;
    IniFile& ini_;
    const LanguageTexts& texts_;
    RecentFiles files_;
};
