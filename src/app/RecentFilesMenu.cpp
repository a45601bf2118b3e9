#include "app/RecentFilesMenu.h"

#include "app/Mnemonics.h"
#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "session/ShellTexts.h"
#include "settings/IniFile.h"
#include "ui/QtText.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace {
bool FileExists(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).isFile();
}
} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu* menu, IniFile& ini, const LanguageTexts& texts, QObject* parent)
    : QObject(parent), menu_(menu), ini_(ini), texts_(texts), files_(ReadRecentFiles(ini)) {
    menu_->setToolTipsVisible(true);
    // The disk may have changed since the menu was last open.
    connect(menu_, &QMenu::aboutToShow, this, &RecentFilesMenu::Rebuild);
    Rebuild();
}

void RecentFilesMenu::Add(const QString& path) {
    files_.Add(path.toStdString());
    Store();
}

void RecentFilesMenu::Remove(const QString& path) {
    if (files_.Remove(path.toStdString()))
        Store();
}

void RecentFilesMenu::RemoveMissing() {
    if (files_.RemoveMissing(FileExists) > 0)
        Store();
}

void RecentFilesMenu::Clear() {
    if (files_.Empty())
        return;
    files_.Clear();
    Store();
}

void RecentFilesMenu::Store() {
    try {
        WriteRecentFiles(ini_, files_);
    } catch (const CoreError& error) {
        emit notWritten(ToQString(error.Message(texts_)));
    }
    Rebuild();
}

void RecentFilesMenu::Rebuild() {
    // The file menu gives the title its Alt letter; a title that reads the same keeps it.
    const std::string title = ShellTextOf(texts_, ShellText::RecentFilesMenu);
    if (WithoutMnemonic(menu_->title().toStdString()) != title)
        menu_->setTitle(ToQString(title));
    // The entry that asked for this may still be delivering its signal: it goes later.
    for (QAction* action : menu_->actions()) {
        menu_->removeAction(action);
        if (action->parent() == menu_)
            action->deleteLater();
    }
    bool anyMissing = false;
    int number = 0;
    for (const std::string& path : files_.Paths()) {
        QAction* entry = menu_->addAction(ToQString(RecentFileCaption(++number, path)));
        const QString file = ToQString(path);
        entry->setData(file);
        entry->setStatusTip(file);
        if (FileExists(path)) {
            entry->setToolTip(file);
            connect(entry, &QAction::triggered, this, [this, file] { emit fileChosen(file); });
        } else {
            anyMissing = true;
            entry->setEnabled(false);
            std::string missing = ShellTextOf(texts_, ShellText::FileMissing);
            if (const auto at = missing.find("%s"); at != std::string::npos)
                missing.replace(at, 2, path);
            entry->setToolTip(ToQString(missing));
        }
    }
    if (files_.Empty())
        menu_->addAction(ToQString(ShellTextOf(texts_, ShellText::NoRecentFiles)))->setEnabled(false);

    menu_->addSeparator();
    QAction* removeMissing = menu_->addAction(ToQString(ShellTextOf(texts_, ShellText::RemoveMissingFiles)));
    removeMissing->setObjectName(QStringLiteral("removeMissingRecentFiles"));
    removeMissing->setEnabled(anyMissing);
    connect(removeMissing, &QAction::triggered, this, &RecentFilesMenu::RemoveMissing);
    QAction* clear = menu_->addAction(ToQString(ShellTextOf(texts_, ShellText::ClearRecentFiles)));
    clear->setObjectName(QStringLiteral("clearRecentFiles"));
    clear->setEnabled(!files_.Empty());
    connect(clear, &QAction::triggered, this, &RecentFilesMenu::Clear);
}
