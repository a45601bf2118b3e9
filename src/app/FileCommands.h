#pragma once
// The main window's file commands: they ask for the file, let the evaluation context read or
// write it and name the file in the status bar. What a save, export or printout holds depends on
// the view in front. Every data file that is opened goes through OpenDataFile, so whatever should
// happen to each opened file (a list of recent files, a prompt about unsaved changes) belongs there.

#include "base/View.h"
#include "charts/ReportContent.h"
#include "session/WindowTexts.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CommandGuard;
class EvaluationContext;
class FileDialogs;
class QPrinter;
class QWidget;
struct ChartAppearance;
struct ChartDescription;

// What the chart view shows, for the exports and the printout of the chart.
struct ShownChart {
    const ChartDescription& Chart;
    const ChartAppearance& Appearance;
};

class FileCommands {
public:
    FileCommands(QWidget& window, FileDialogs& dialogs, const CommandGuard& guard,
                 EvaluationContext& context);
    ~FileCommands();

    // Where a file's name is shown once it was read or written.
    std::function<void(const QString&)> ShowStatus;
    // "alles speichern" in the chart view: the chart as a picture in this file.
    std::function<void(const QString&)> SaveChartPicture;

    // Each returns true when new data were loaded.
    bool AskAndOpenDataFile(const QString& caption);
    bool OpenDataFile(const std::filesystem::path& file);
    bool AskAndImportPelo(const QString& caption);
    // Asks for a card file and lets readCard read it; false when nothing was read.
    bool AskAndReadCardFile(const QString& caption, const std::function<bool(const QString&)>& readCard);
    // Data read from a card: the card file they came from, or the port of the card reader.
    void CardRead(const std::filesystem::path& cardFile, const std::string& port);
    // Where the data on screen came from.
    const DataSource& Source() const { return source_; }

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
    QString AskSaveFile(const QString& pipeFilter, const QString& defaultSuffix, const QString& caption);
    void Written(const QString& file) const;
    QPrinter& Printer();

    QWidget& window_;
    FileDialogs& dialogs_;
    const CommandGuard& guard_;
    EvaluationContext& context_;
    DataSource source_;
    std::string cardReaderPort_; // the port a card read without a file came through
    std::unique_ptr<QPrinter> printer_;
};
