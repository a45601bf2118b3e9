#pragma once
// File and message dialogs that answer from lists the test fills and remember what they were asked
// and told, so that no real dialog opens.

#include "ui/FileDialogs.h"

#include <QList>
#include <QStringList>

class FakeDialogs : public FileDialogs {
public:
    QStringList OpenAnswers;
    QStringList SaveAnswers;
    QStringList FolderAnswers;
    QStringList Filters;
    QStringList Directories;
    QStringList Messages;
    // Dialogs started with a folder and a proposed name (the ...At calls).
    QList<FileDialogStart> Starts;
    // Answers to the question before data are lost; none left answers "Abbrechen".
    QList<SaveAnswer> SaveQuestionAnswers;
    QList<SaveQuestion> SaveQuestions;

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
    QString OpenFileNameAt(QWidget* parent, const QString& caption, const FileDialogStart& start,
                           const QString& filter) override {
        Starts << start;
        return OpenFileName(parent, caption, start.Folder, filter);
    }
    QString SaveFileNameAt(QWidget* parent, const QString& caption, const FileDialogStart& start,
                           const QString& filter, const QString& suffix) override {
        Starts << start;
        return SaveFileName(parent, caption, start.Folder, filter, suffix);
    }
    SaveAnswer AskToSave(QWidget*, const SaveQuestion& question) override {
        SaveQuestions << question;
        return SaveQuestionAnswers.isEmpty() ? SaveAnswer::Cancel : SaveQuestionAnswers.takeFirst();
    }
};
