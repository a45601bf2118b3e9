#pragma once
// The main window: owns the measurement, the settings, the language texts and the view
// selections; dispatches every menu and tool-button command to the unit that does the work and
// switches between the four views (vehicle list, interval list, chart, summary).

#include "app/MainViewState.h"
#include "base/LanguageTexts.h"
#include "charts/ReportContent.h"
#include "data/MeasurementData.h"
#include "evaluation/ListHost.h"
#include "settings/Settings.h"
#include "ui/FileDialogs.h"

#include <QMainWindow>
#include <QPlainTextEdit>

#include <array>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ChartPanel;
class IniFile;
class QAction;
class QButtonGroup;
class QLabel;
class QMenu;
class QPrinter;
class QScrollBar;
class QStackedWidget;
class QToolBar;
class QToolButton;
class TimeRangeDialog;
class RecordFilterDialog;
class SettingsDialog;
class CommentDialog;
class CardFileDialog;
class SmartMediaDialog;
class AboutDialog;
class HelpWindow;

// The list control `listView`: a read-only text that shows one page; the wheel and the paging keys
// move the list instead of the text.
class ListTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ListTextView(QWidget* parent = nullptr);

signals:
    void doubleClicked();
    // Records to move: the wheel moves by three records a notch, the paging keys by a page.
    void pageRequested(int delta);
    void homeEndRequested(bool end);
    // Down on the last line of the page (+1) or Up on its first record line (-1).
    void stepPastPageRequested(int direction);
    void resized();

public:
    // Height of one list line as the list lays it out, in pixels.
    int LineHeight() const;
    // Height the list's lines can fill, in pixels.
    int TextHeight() const;
    // Where, in the list's own coordinates, its lines begin and its widest line ends.
    int TextLeft() const;
    int TextRight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int wheelRemainder_ = 0;
};

// Where the main window finds its files; empty fields mean the program's own folder and the
// settings file beside it. Tests point them elsewhere and answer the file dialogs themselves.
struct MainWindowOptions {
    std::filesystem::path ProgramDirectory;
    std::filesystem::path SettingsFile;
    FileDialogs* Dialogs = nullptr; // not owned; null: the desktop's dialogs
};

class MainWindow : public QMainWindow, public ListHost {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // False when the language file could not be loaded at start: the program then ends.
    bool StartedOk() const { return startedOk_; }
    // Why the start failed (the message shown under "Fehler!").
    const QString& StartError() const { return startError_; }

    MeasurementData& Data() { return data_; }
    Settings& Config() { return settings_; }
    const LanguageTexts& Texts() const { return texts_; }
    ViewSelections& Selections() { return selections_; }
    MainView CurrentView() const { return view_; }
    const std::vector<std::string>& SummaryText() const { return summaryLines_; }
    const std::filesystem::path& ProgramFolder() const { return programDirectory_; }
    const std::filesystem::path& SettingsFile() const { return settingsFile_; }

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
    void ListScrollBarMoved(int position);
    void ListScrollBarScrolled(bool ended);
    void ListDoubleClicked();
    void OnShow();
    // The language file in use ("deutsch.cty", ...): the language menu shows it checked.
    const std::string& LanguageFileInUse() const { return languageFile_; }

signals:
    // The chart tool bar and chart (`chartToolBar`, `chartWidget`) live on `chartPage`; they follow these.
    void chartViewEntered();     // the chart view was chosen: automatic scaling, "Anzahl", draw
    void chartRedrawRequested(); // interval length or speed-limit display changed
    // The percentile menus changed the "V1" / "V3" choice: new percentages and hints.
    void percentilesChanged(int lowerPercentile, int upperPercentile, const QString& lowerHint,
                            const QString& upperHint);
    // The language changed: every control that shows texts takes them again.
    void textsChanged();
    // "alles speichern" in the chart view: the chart as a picture in this file.
    void chartPictureRequested(const QString& fileName);
    // The print button, with the view that is to be printed.
    void printRequested(MainView view);

public:
    // The end of every card read: the vehicles arrive unmarked, the views open, the user enters
    // the comment.
    void FinishCardRead(const std::filesystem::path& cardFile, const std::string& device);

    // --- ListHost ------------------------------------------------------------------------------
    int ListCursorLine() const override;
    void ShowVehicleList() override;
    void RedrawVehiclePage() override;
    void ShowIntervalList() override;
    int IntervalFactor() const override { return selections_.IntervalFactor; }
    void SetIntervalFactor(int factor) override;
    void SetMainToolBarVisible(bool visible) override;

    void RenderVehiclePage(int first);
    void RenderIntervalPage(int first);
    // Lines per page of the list, from the height of `listView`.
    int PageLines() const;

    // --- controls -----------------------------------------------------------------------------------
    QMenu* fileMenu = nullptr;
    QAction* openAction = nullptr;
    QMenu* saveMenu = nullptr;
    QAction* saveFilteredAction = nullptr;
    QAction* saveAllAction = nullptr;
    QAction* commentAction = nullptr;
    QAction* importAction = nullptr;
    QAction* exportAction = nullptr;
    QAction* ExportCsv1 = nullptr;
    QAction* reportAction = nullptr;
    QAction* settingsAction = nullptr;
    QAction* quitAction = nullptr;
    QMenu* readCardMenu = nullptr;
    QAction* smartMediaAction = nullptr;
    QAction* cardFileAction = nullptr;
    QMenu* infoMenu = nullptr;
    QAction* aboutAction = nullptr;
    QAction* helpAction_ = nullptr;

    QMenu* intervalMenu = nullptr;
    QAction* interval5Action = nullptr;
    QAction* interval15Action = nullptr;
    QAction* interval30Action = nullptr;
    QAction* interval60Action = nullptr;
    QMenu* languageMenu = nullptr;
    QAction* germanAction = nullptr;
    QAction* englishAction = nullptr;
    QAction* frenchAction = nullptr;
    QMenu* lowerPercentileMenu = nullptr;
    QMenu* upperPercentileMenu = nullptr;
    QMenu* speedLimitMenu = nullptr;
    QMenu* summaryKindMenu = nullptr;
    QAction* overviewAction = nullptr;
    QAction* speedSummaryAction = nullptr;
    QAction* dailyCourseAction = nullptr;
    QAction* keyFiguresAction = nullptr;
    QAction* printAction = nullptr; // the print shortcut
    // Ctrl+1 .. Ctrl+4: the vehicle list, interval list, chart and summary buttons.
    std::array<QAction*, 4> ViewShortcuts{};

    QToolBar* mainToolBar = nullptr;
    QToolButton* openButton = nullptr;
    QToolButton* saveButton = nullptr;
    QToolButton* readCardButton = nullptr;
    QToolButton* filterButton = nullptr;
    QToolButton* vehicleListButton = nullptr;
    QToolButton* intervalListButton = nullptr;
    QToolButton* chartButton = nullptr;
    QToolButton* summaryButton = nullptr;
    QToolButton* intervalLengthButton = nullptr;
    QToolButton* speedLimitButton = nullptr;
    QToolButton* printButton = nullptr;
    QToolButton* aboutButton = nullptr;
    QToolButton* languageButton = nullptr;

    QStackedWidget* viewStack = nullptr;
    QWidget* listPage = nullptr;
    QLabel* recordNumberLabel = nullptr;
    ListTextView* listView = nullptr;
    QScrollBar* listScrollBar = nullptr;
    QWidget* chartPage = nullptr;     // the chart tool bar `chartToolBar` and the chart `chartWidget` go here
    ChartPanel* chartPanel = nullptr; // `chartToolBar` above `chartWidget`
    QPlainTextEdit* summaryView = nullptr;

    AboutDialog* aboutDialog = nullptr;
    HelpWindow* helpWindow_ = nullptr; // made on first use
    std::string languageFileInUse_;    // the help follows it
    RecordFilterDialog* filterDialog = nullptr;
    SettingsDialog* settingsDialog = nullptr;
    TimeRangeDialog* rangeDialog = nullptr;
    CommentDialog* commentDialog = nullptr;
    SmartMediaDialog* smartMediaDialog = nullptr;
    CardFileDialog* cardFileDialog = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreatePopupMenus();
    void CreateToolBar();
    void CreateViews();
    void CreateDialogs();
    void ConnectCommands();
    void ConnectChart();
    void LoadConfig();
    void WriteConfig();
    void ApplyTexts();
    void ApplyPercentileHints();
    void ApplyMnemonics();
    void ApplyViewHints();
    void ApplyLanguageChoice();
    // Draws again what shows texts or selections: the list page, the chart or the summary.
    void RedrawCurrentView();
    void StepPastPage(int direction);
    int RecordCountOfList() const;
    void UpdateFilterRangeHint();
    void NameLists();

    void ActivateView(MainView view);
    void ApplyViewControls(MainView view);
    bool RebuildIntervalsIfPending();
    void ShowSummary();
    void EnterChartView();
    void RedrawChart();
    void FinishLoad();
    void UpdateSpeedLimitButton();
    void SetListPosition(int position);
    void SaveView(int scope);

    QString SaveFileName(const QString& pipeFilter, const QString& defaultSuffix, const QString& caption);
    // Runs a command; an error it raises is shown in a message box instead of ending the program.
    bool Guarded(const std::function<void()>& command);
    void ShowError(const std::exception& error);
    void ShowWarning(const QString& text);

    MainWindowOptions options_;
    std::unique_ptr<FileDialogs> ownDialogs_;
    FileDialogs* dialogs_ = nullptr;
    std::filesystem::path programDirectory_;
    std::filesystem::path settingsFile_;
    std::unique_ptr<IniFile> ini_;
    std::unique_ptr<QPrinter> printer_; // keeps the chosen printer and its settings for the run

    MeasurementData data_;
    Settings settings_;
    LanguageTexts texts_;
    ViewSelections selections_;
    MainView view_ = MainView::None;
    std::vector<std::string> summaryLines_;
    QButtonGroup* viewButtons_ = nullptr;
    bool startedOk_ = true;
    QString startError_;
    bool shownOnce_ = false;
    QString pendingWarning_; // a settings problem, told once the window is shown
    std::string languageFile_;
    std::filesystem::path dataSource_; // the file the data came from; empty for a card reader's read
    ReportSourceKind dataSourceKind_ = ReportSourceKind::DataFile;
    std::string dataDevice_; // the card reader's port the data came through
    // The main tool bar's buttons hidden while the filter or time range is open; the bar keeps
    // its height so that the list does not move.
    std::vector<QAction*> hiddenBarActions_;
    bool barEmptied_ = false;
};
