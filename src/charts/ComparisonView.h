#pragma once
// The comparison window of the desktop: the comparison table and its two charts on tabs, with
// print, save-as-picture and the comparison report; and the flow behind "Vergleich…", which asks
// for the other measurement and which side the loaded one is, loads it, compares and shows.

#include "evaluation/TrafficStatistics.h"

#include <QDialog>
#include <QWidget>

#include <filesystem>
#include <memory>

// The comparison's own types stay out of this header: the record filter's enum of the same name
// shares translation units with the windows that include it.
struct ComparisonResult;
struct ComparisonReportRequest;
struct ReportDocument;
class ChartWidget;
class FileDialogs;
class LanguageTexts;
class QAction;
class QCheckBox;
class QPlainTextEdit;
class QPrinter;
class QRadioButton;
class QTabWidget;

// Language-text numbers of the window and the flow.
namespace ComparisonViewText {
inline constexpr int Command = 806; // "Vergleich…"
inline constexpr int OpenCaption = 821;
inline constexpr int LoadedIs = 822; // "Die geladene Messung %s ist"
inline constexpr int LoadedIsBefore = 823;
inline constexpr int LoadedIsAfter = 824;
inline constexpr int SwapDirections = 825;
inline constexpr int TableTab = 826;
inline constexpr int Print = 827;
inline constexpr int SavePicture = 828;
inline constexpr int Report = 829;
inline constexpr int PictureFilter = 830;
} // namespace ComparisonViewText

class ComparisonView : public QWidget {
    Q_OBJECT
public:
    // Shows the comparison; request gives the report its files' SHA-256, version and date. The
    // dialogs (which must outlive the view) ask for picture files and show failures.
    ComparisonView(ComparisonResult result, ComparisonReportRequest request, LengthThresholds lengths,
                   const LanguageTexts& texts, FileDialogs& dialogs, QWidget* parent = nullptr);
    ~ComparisonView() override;

    enum class Page { Table = 0, Cumulative = 1, HourlyV85 = 2 };
    void ShowPage(Page page);
    Page CurrentPage() const;

    const ComparisonResult& Result() const { return *result_; }
    // The report of the comparison, as the report action previews it.
    ReportDocument Report() const;

    // Prints the page on display without asking: the table as text, a chart in landscape. Throws
    // CoreError when the job cannot be started.
    void PrintCurrentPage(QPrinter& printer) const;
    // Writes the chart on display as a picture; the type follows the extension. Throws CoreError.
    void SaveCurrentChart(const std::filesystem::path& file) const;

    QTabWidget* tabs = nullptr;
    QPlainTextEdit* tableView = nullptr;
    ChartWidget* cumulativeChart = nullptr;
    ChartWidget* hourlyChart = nullptr;
    QAction* printAction = nullptr;
    QAction* savePictureAction = nullptr;
    QAction* reportAction = nullptr;

private:
    std::unique_ptr<ComparisonResult> result_;
    std::unique_ptr<ComparisonReportRequest> request_;
    LengthThresholds lengths_;
    const LanguageTexts& texts_;
    FileDialogs& dialogs_;

    const ChartWidget* CurrentChart() const;
    void UpdateActions();
    void AskAndPrint();
    void AskAndSavePicture();
    void PreviewReport();
    void ShowFailure(const std::exception& error);
};

// The question of the flow: which side the loaded measurement is, and whether the directions of
// the measurement after are swapped.
class ComparisonSidesDialog : public QDialog {
    Q_OBJECT
public:
    ComparisonSidesDialog(const std::string& loadedName, const LanguageTexts& texts,
                          QWidget* parent = nullptr);

    QRadioButton* loadedBeforeButton = nullptr;
    QRadioButton* loadedAfterButton = nullptr;
    QCheckBox* swapBox = nullptr;

    bool LoadedIsBefore() const;
    bool SwapDirections() const;
};

// The loaded measurement as the main window holds it.
struct LoadedMeasurement {
    // Its working data as the window shows them: vehicles a record filter removed stay removed,
    // while the other file is compared whole.
    const MeasurementData& Data;
    StatisticsSettings Statistics; // limit, thresholds, free-flow gap and lengths hold for both sides
    std::filesystem::path File;    // the file it came from; empty when it was read from a card
    std::filesystem::path Folder;  // where the open dialog starts
    std::string ProgramVersion;    // for the report's footer
};

// "Vergleich…": asks for the other file (through dialogs) and for the sides, loads the other file,
// compares and shows the comparison window (a top-level window that deletes itself when closed).
// A file that cannot be loaded, or measurements of different kinds, give their message and no
// window; the loaded measurement is never changed. Returns the window, or nullptr.
ComparisonView* StartComparison(QWidget* parent, FileDialogs& dialogs, const LoadedMeasurement& loaded,
                                const LanguageTexts& texts);
