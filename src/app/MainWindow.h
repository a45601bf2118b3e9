#pragma once
// The main window: a shell around the evaluation context. It wires the menus and the tool bar to
// its commands, shows the list, chart and summary panels one at a time and hands the file
// commands to FileCommands; the context does the work.

#include "app/MainMenus.h"
#include "app/MainToolBar.h"
#include "base/View.h"
#include "charts/ReportContent.h"
#include "session/EvaluationContext.h"
#include "ui/FileDialogs.h"

#include <QMainWindow>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ChartPanel;
class CommandGuard;
class FileCommands;
class IniFile;
class ListPanel;
class QStackedWidget;
class SummaryPanel;
class WindowDialogs;
class WindowStatus;

// Where the main window finds its files; empty fields mean the program's own folder and the
// settings file beside it. Tests point them elsewhere and answer the file dialogs themselves.
struct MainWindowOptions {
    std::filesystem::path ProgramDirectory;
    std::filesystem::path SettingsFile;
    FileDialogs* Dialogs = nullptr; // not owned; null: the desktop's dialogs
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // False when the language file could not be loaded at start: the program then ends.
    bool StartedOk() const { return startedOk_; }
    // Why the start failed (the message shown under "Fehler!").
    const QString& StartError() const { return startError_; }

    EvaluationContext& Context() { return context_; }
    MeasurementData& Data() { return context_.data; }
    Settings& Config() { return context_.settings; }
    const LanguageTexts& Texts() const { return context_.texts; }
    ViewSelections& Selections() { return context_.view; }
    View CurrentView() const { return view_; }
    const std::vector<std::string>& SummaryText() const;
    const std::filesystem::path& ProgramFolder() const { return programDirectory_; }
    const std::filesystem::path& SettingsFile() const { return settingsFile_; }
    // The language file in use ("deutsch.cty", ...): the language menu shows it checked.
    const std::string& LanguageFileInUse() const { return languageFile_; }

    // Loads a data file without asking (the file named on the command line, tests).
    bool OpenDataFile(const std::filesystem::path& file);

    // --- commands of the menus and tool buttons ----------------------------------------------------
    void LoadDataFile();     // "Öffnen", openButton
    void SaveFilteredData(); // "gefiltert speichern"
    void SaveAllData();      // "alles speichern"
    void EditComment();      // "Kommentar ändern"
    void ImportPeloData();   // "Import"
    void ExportAscii();      // "Export"
    void ExportCsv();        // "Exportieren als CSV…"
    void ShowReport();       // "Bericht…"
    void ShowComparison();   // "Vergleich…"
    // The report's request for the loaded measurement: the fields with where the data came from.
    ReportRequest ReportRequestOf(const ReportFields& fields) const;
    void ShowSettings();                                // "Einstellungen"
    void Quit();                                        // "Beenden"
    void ReadSmartMediaCard();                          // "SmartMedia - Card"
    void ReadCardFile();                                // "MM / SD - Card"
    void ShowAbout();                                   // "Programm", aboutButton
    void ShowHelp();                                    // "Hilfe", F1
    void ShowFilterOrRange();                           // filter or time range
    void ShowVehicleListView();                         // vehicle list
    void ShowIntervalListView();                        // interval list
    void ShowChartView();                               // chart
    void ShowSummaryView();                             // summary
    void ToggleSpeedLimit();                            // speed-limit display on/off
    void PrintView();                                   // print
    void ChooseIntervalLength(int factor);              // the four interval actions
    void LoadLanguageFile(const std::string& fileName); // germanAction, englishAction, frenchAction
    void ChooseLowerPercentile(int index);              // "V 05" .. "V 25"
    void ChooseUpperPercentile(int index);              // "V 75" .. "V 95"
    void ChooseSpeedLimit(int limitIndex);              // "10 km/h" .. "100 km/h"
    void ChooseSummaryKind(int kind); // "Übersicht", "Geschwindigkeit", "Tagesgang", "Kennwerte"
    // The end of every card read: the vehicles arrive unmarked, the views open, the user enters
    // the comment. A read through the card reader has no file, only the port.
    void FinishCardRead(const std::filesystem::path& cardFile, const std::string& port);

signals:
    // The chart panel follows these.
    void chartViewEntered();     // the chart view was chosen: automatic scaling, "Anzahl", draw
    void chartRedrawRequested(); // interval length or speed-limit display changed
    // The percentile menus changed the "V1" / "V3" choice: new percentages and hints.
    void percentilesChanged(int lowerPercentile, int upperPercentile, const QString& lowerHint,
                            const QString& upperHint);
    // The language changed: every control that shows texts takes them again.
    void textsChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateViews();
    void CreateFileCommands();
    void CreateDialogs();
    void ConnectMenuCommands();
    void ConnectToolButtons();
    void ConnectPopupMenus();
    void ConnectPanels();
    void LoadConfig();
    void WriteConfig();
    void ApplyTexts();
    void ApplyPercentileHints();
    void ApplyLanguageChoice();
    // Draws again what shows texts or selections: the list page, the chart or the summary.
    void RedrawCurrentView();
    void UpdateFilterRangeHint();
    void NameLists();
    void HideListTools();

    void ActivateView(View view);
    void ApplyViewControls(View view);
    bool RebuildIntervalsIfPending();
    // The summary and chart need the intervals; without them the vehicle list stays in front.
    void ShowIntervalView(View view, const std::function<void()>& show);
    void ShowSummary();
    void RedrawChart();
    void FinishLoad();
    void UpdateSpeedLimitButton();
    void TellStartWarning();
    // Runs a command; an error it raises is shown in a message box instead of ending the program.
    bool Guarded(const std::function<void()>& command);

    MainWindowOptions options_;
    std::unique_ptr<FileDialogs> ownDialogs_;
    FileDialogs* dialogs_ = nullptr;
    std::filesystem::path programDirectory_;
    std::filesystem::path settingsFile_;
    std::unique_ptr<IniFile> ini_;

    EvaluationContext context_;
    View view_ = View::None;
    std::unique_ptr<CommandGuard> guard_;
    std::unique_ptr<FileCommands> files_;
    MainMenus menus_;
    MainToolBar toolBar_;

    QStackedWidget* viewStack_ = nullptr;
    ListPanel* listPanel_ = nullptr;
    ChartPanel* chartPanel_ = nullptr;
    SummaryPanel* summaryPanel_ = nullptr;

    std::unique_ptr<WindowDialogs> windowDialogs_;
    WindowStatus* status_ = nullptr; // title, status line, recent files and drops

    bool startedOk_ = true;
    QString startError_;
    bool shownOnce_ = false;
    QString pendingWarning_; // a settings problem, told once the window is shown
    std::string languageFile_;
};
