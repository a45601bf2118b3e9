#pragma once
// The main window: owns the measurement, the settings, the language texts and the view
// selections; dispatches every menu and tool-button command to the unit that does the work and
// switches between the four views (vehicle list, interval list, chart, summary).

#include "app/FileDialogs.h"
#include "app/MainViewState.h"
#include "data/MeasurementData.h"
#include "evaluation/ListHost.h"
#include "lang/LanguageTexts.h"
#include "settings/Settings.h"

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
class TDBereich;
class TDFilter;
class TEinstellungen;
class TKommentar_aen;
class TMM_SD_Card;
class TSM_Card;
class TfrmAbout;
class HelpWindow;

// The list control `Memo1`: a read-only text that shows one page; the wheel and the paging keys
// move the list instead of the text.
class ListMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ListMemo(QWidget* parent = nullptr);

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
struct TMainOptions {
    std::filesystem::path ProgramDirectory;
    std::filesystem::path SettingsFile;
    FileDialogs* Dialogs = nullptr; // not owned; null: the desktop's dialogs
};

class TMain : public QMainWindow, public ListHost {
    Q_OBJECT
public:
    explicit TMain(TMainOptions options = {}, QWidget* parent = nullptr);
    ~TMain() override;

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

    // --- commands, named after their controls and events -----------------------------------------
    void LoadDataFile();                                // "Öffnen", ToolButton2
    void Bereich1Click();                               // "gefiltert speichern"
    void Alles1Click();                                 // "alles speichern"
    void Kommentar1Click();                             // "Kommentar ändern"
    void Import1Click();                                // "Import"
    void ExportAscii();                                 // "Export"
    void Einstellungen1Click();                         // "Einstellungen"
    void Beenden1Click();                               // "Beenden"
    void SmartMediaCard1Click();                        // "SmartMedia - Card"
    void MMSDCard1Click();                              // "MM / SD - Card"
    void Programm1Click();                              // "Programm", ToolButton18
    void ShowHelp();                                    // "Hilfe", F1
    void ToolButton6Click();                            // filter or time range
    void ToolButton8Click();                            // vehicle list
    void ToolButton9Click();                            // interval list
    void ToolButton10Click();                           // chart
    void ToolButton11Click();                           // summary
    void ToolButton13Click();                           // speed-limit display on/off
    void ToolButton16Click();                           // print
    void IntervallClick(int factor);                    // N5min1, N15Minuten1, N30Minuten1, N1Stunde1
    void LoadLanguageFile(const std::string& fileName); // Deutsch1, English1, Franais1
    void Vmenu1Click(int index);                        // "V 05" .. "V 25"
    void Vmenu2Click(int index);                        // "V 75" .. "V 95"
    void Tempolimit_menuClick(int limitIndex);          // "10 km/h" .. "100 km/h"
    void Zusa_MenuClick(int kind);                      // "Übersicht", "Geschwindigkeit", "Tagesgang"
    void ScrollBar1Change(int position);
    void ScrollBar1Scroll(bool ended);
    void Memo1DblClick();
    void FormShow();
    // The language file in use ("deutsch.cty", ...): the language menu shows it checked.
    const std::string& LanguageFileInUse() const { return languageFile_; }

signals:
    // The chart tool bar and chart (`GrafikBar`, `Diag`) live on `ChartPage`; they follow these.
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
    void FinishCardRead();

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
    // Lines per page of the list, from the height of `Memo1`.
    int PageLines() const;

    // --- controls, named as in the form ---------------------------------------------------------
    QMenu* Datei1 = nullptr;
    QAction* ffnen1 = nullptr;
    QMenu* Speichern1 = nullptr;
    QAction* Bereich1 = nullptr;
    QAction* Alles1 = nullptr;
    QAction* Kommentar1 = nullptr;
    QAction* Import1 = nullptr;
    QAction* Export1 = nullptr;
    QAction* Einstellungen1 = nullptr;
    QAction* Beenden1 = nullptr;
    QMenu* Einlesen1 = nullptr;
    QAction* SmartMediaCard1 = nullptr;
    QAction* MMSDCard1 = nullptr;
    QMenu* Info1 = nullptr;
    QAction* Programm1 = nullptr;
    QAction* helpAction_ = nullptr;

    QMenu* Intervall1 = nullptr;
    QAction* N5min1 = nullptr;
    QAction* N15Minuten1 = nullptr;
    QAction* N30Minuten1 = nullptr;
    QAction* N1Stunde1 = nullptr;
    QMenu* Sprache1 = nullptr;
    QAction* Deutsch1 = nullptr;
    QAction* English1 = nullptr;
    QAction* Franais1 = nullptr;
    QMenu* Vmenu1 = nullptr;
    QMenu* Vmenu2 = nullptr;
    QMenu* Tempolimit_menu = nullptr;
    QMenu* Zusa_Menu = nullptr;
    QAction* Uebersicht1 = nullptr;
    QAction* Geschwindigkeit1 = nullptr;
    QAction* Tagesgang1 = nullptr;
    QAction* Drucken1 = nullptr; // the print shortcut
    // Ctrl+1 .. Ctrl+4: the vehicle list, interval list, chart and summary buttons.
    std::array<QAction*, 4> ViewShortcuts{};

    QToolBar* EinzeldatenBar = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* ToolButton6 = nullptr;
    QToolButton* ToolButton8 = nullptr;
    QToolButton* ToolButton9 = nullptr;
    QToolButton* ToolButton10 = nullptr;
    QToolButton* ToolButton11 = nullptr;
    QToolButton* ToolButton43 = nullptr;
    QToolButton* ToolButton13 = nullptr;
    QToolButton* ToolButton16 = nullptr;
    QToolButton* ToolButton18 = nullptr;
    QToolButton* ToolButton19 = nullptr;

    QStackedWidget* Views = nullptr;
    QWidget* ListPage = nullptr;
    QLabel* SatzNummer = nullptr;
    ListMemo* Memo1 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QWidget* ChartPage = nullptr; // the chart tool bar `GrafikBar` and the chart `Diag` go here
    ChartPanel* Grafik = nullptr; // `GrafikBar` above `Diag`
    QPlainTextEdit* Memo2 = nullptr;

    TfrmAbout* frmAbout = nullptr;
    HelpWindow* helpWindow_ = nullptr; // made on first use
    std::string languageFileInUse_;    // the help follows it
    TDFilter* DFilter = nullptr;
    TEinstellungen* Einstellungen = nullptr;
    TDBereich* DBereich = nullptr;
    TKommentar_aen* Kommentar_aen = nullptr;
    TSM_Card* SM_Card = nullptr;
    TMM_SD_Card* MM_SD_Card = nullptr;

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

    TMainOptions options_;
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
    // The main tool bar's buttons hidden while the filter or time range is open; the bar keeps
    // its height so that the list does not move.
    std::vector<QAction*> hiddenBarActions_;
    bool barEmptied_ = false;
};
