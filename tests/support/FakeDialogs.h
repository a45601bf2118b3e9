#pragma once
// File and message dialogs that answer from lists the test fills and remember what they were asked
// and told, so that no real dialog opens.

#include "ui/FileDialogs.h"

#include <QStringList>

class FakeDialogs : public FileDialogs {
public:
    QStringList OpenAnswers;
    QStringList SaveAnswers;
    QStringList FolderAnswers;
    QStringList Filters;
    QStringList Directories;
    QStringList Messages;

    QString OpenFileName(QWidget*, const QString&, const QString& directory, const QString& filter) override {
        Filters << filter;
        Directories << directory;
        return OpenAnswers.isEmpty() ? QString() : OpenAnswers.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString&, const QString& directory, const QString& filter,
                         const QString&) override {
        Filters << filter;
        Directories << directory;
        return SaveAnswers.isEmpty() ? QString() : SaveAnswers.takeFirst();
    }
    QString ExistingDirectory(QWidget*, const QString&, const QString&) override {
        return FolderAnswers.isEmpty() ? QString() : FolderAnswers.takeFirst();
    }
    void ShowMessage(QWidget*, MessageKind, const QString&, const QString& text) override {
        Messages << text;
    }
};
