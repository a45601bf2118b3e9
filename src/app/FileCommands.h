#pragma once
// The main window's file commands: they ask for the file (each kind in the folder last used for
// it), let the evaluation context read or write it and say what happened. What a save, export or
// printout holds depends on the view in front. They also keep track of data that exist nowhere
// else (read from a card, imported, a changed comment, vehicles the filter removed) and ask before
// a load, a card read or an import replaces them.

#include "base/View.h"
#include "charts/ReportContent.h"
#include "session/UnsavedChanges.h"
#include "session/WindowTexts.h"
#include "settings/DialogFolders.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CommandGuard;
class EvaluationContext;
class FileDialogPlaces;
class FileDialogs;
class IniFile;
class QPrinter;
class QWidget;
class UnsavedChangesPrompt;
struct ChartAppearance;
struct ChartDescription;

// What the chart view shows, for the exports and the printout of the chart.
struct ShownChart {
    const ChartDescription& Chart;
    const ChartAppearance& Appearance;
};

class FileCommands {
public:
    // The settings file `ini` keeps the dialogs' last folders; it must outlive the commands.
    FileCommands(QWidget& window, FileDialogs& dialogs, const CommandGuard& guard, EvaluationContext& context,
                 IniFile& ini);
    ~FileCommands();

    // Where a written file's name is shown for a while.
    std::function<void(const QString&)> ShowStatus;
    // "alles speichern" in the chart view: the chart as a picture in this file.
    std::function<void(const QString&)> SaveChartPicture;
    // The source of the data or whether they are saved changed: the title and status line follow.
    std::function<void()> DocumentChanged;
    // A file now holds the whole measurement (it was opened or all of it saved there).
    std::function<void(const QString&)> DataFileNamed;

    // Whether the data in memory may be replaced: while some exist nowhere else the user is asked
    // to save them (the save that fits), discard them or cancel.
    bool MayReplaceData();

    // Each returns true when new data were loaded; all but OpenDataFile ask MayReplaceData first.
    bool AskAndOpenDataFile(const QString& caption);
    bool OpenDataFile(const std::filesystem::path& file);
    // A recent or dropped file: opened as "Öffnen" opens it.
    bool AskThenOpenDataFile(const std::filesystem::path& file);
    bool AskAndImportPelo(const QString& caption);
    // Asks for a card file and lets readCard read it; false when nothing was read.
    bool AskAndReadCardFile(const QString& caption, const std::function<bool(const QString&)>& readCard);
    // Data read from a card: the card file they came from, or the port of the card reader.
    void CardRead(const std::filesystem::path& cardFile, const std::string& port);
    // Where the data on screen came from.
    const DataSource& Source() const { return source_; }
    const UnsavedChanges& Changes() const { return unsaved_; }
    // The comment dialog closed; `before` is the comment it opened with.
    void CommentEdited(const std::string& before);
    // A list was shown again: the filter may have removed vehicles or given them back.
    void WorkingSetShown();

    // The settings file could not keep a dialog's folder or the recent files: told once for each
    // message, not at every dialog or opened file.
    void TellSettingsNotWritten(const QString& message);

    // "Vergleich…": the loaded measurement against another file, in a window of its own.
    void ShowComparison(View view);

    void SaveView(View view, bool filteredOnly, const QString& caption,
                  const std::vector<std::string>& summaryLines);
    void ExportAscii(View view, const QString& caption);
    void ExportCsv(View view, const QString& caption, const ChartDescription& chart);
    // "Bericht…": asks for the report's fields, keeps them in the settings file and previews the report.
    void ShowReport(View view, const std::filesystem::path& settingsFile);
    // The report's request for the loaded measurement: the fields with where the data came from.
    ReportRequest ReportRequestOf(const ReportFields& fields) const;
    // The print dialog, or the print preview, of the view as the evaluation context holds it (the
    // chart as the chart view drew it); the printer keeps its settings for the run.
    void Print(View view, const ShownChart& chart);
    void Preview(View view, const ShownChart& chart);

private:
    QString AskOpenFile(FileKind kind, const QString& pipeFilter, const QString& caption);
    QString AskSaveFile(FileKind kind, const QString& pipeFilter, const QString& defaultSuffix,
                        const QString& caption);
    void TellRememberError();
    // The save the question about unsaved data runs; true when it wrote the file.
    bool SaveFitting(const FittingSave& fitting);
    void SavedList(const QString& file, View view, SaveScope scope);
    void NewSource(const DataSource& source);
    void Written(const QString& file) const;
    void TellDocumentChanged() const;
    QPrinter& Printer();

    QWidget& window_;
    FileDialogs& dialogs_;
    const CommandGuard& guard_;
    EvaluationContext& context_;
    IniFile& ini_;
    std::unique_ptr<FileDialogPlaces> places_;
    std::unique_ptr<UnsavedChangesPrompt> prompt_;
    UnsavedChanges unsaved_;
    DataSource source_;
    QStringList settingsWarningsTold_;
    std::string cardReaderPort_; // the port a card read without a file came through
    std::unique_ptr<QPrinter> printer_;
};
