#include "app/MainWindow.h"

#include "app/CommandGuard.h"
#include "app/FileCommands.h"
#include "app/ListPanel.h"
#include "app/MainViewState.h"
#include "app/Pictures.h"
#include "app/SummaryPanel.h"
#include "app/WindowDialogs.h"
#include "app/WindowStatus.h"
#include "base/CoreError.h"
#include "base/TextNames.h"
#include "charts/ChartPanel.h"
#include "lang/LanguageFile.h"
#include "lang/ShippedFiles.h"
#include "settings/IniFile.h"
#include "settings/SettingsDialog.h"
#include "ui/QtText.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// Pages of the view stack.
enum ViewPage { EmptyPage = 0, ListPageIndex = 1, ChartPageIndex = 2, SummaryPageIndex = 3 };

constexpr auto Q = &ToQString;

ShownList ShownListOf(View view) {
    return view == View::VehicleList    ? ShownList::Vehicles
           : view == View::IntervalList ? ShownList::Intervals
                                        : ShownList::None;
}

// The menu entry (0..4) of a percentile choice.
int LowerPercentileIndex(const ViewSelections& view) {
    return std::clamp((view.LowerPercentile - 5) / 5, 0, 4);
}
int UpperPercentileIndex(const ViewSelections& view) {
    return std::clamp((view.UpperPercentile - 75) / 5, 0, 4);
}

} // namespace

// --- creation -----------------------------------------------------------------------------------

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), options_(std::move(options)) {
    dialogs_ = options_.Dialogs;
    if (dialogs_ == nullptr) {
        ownDialogs_ = std::make_unique<QtFileDialogs>();
        dialogs_ = ownDialogs_.get();
    }
    programDirectory_ = options_.ProgramDirectory.empty()
                            ? std::filesystem::path(QCoreApplication::applicationDirPath().toStdString())
                            : options_.ProgramDirectory;
    settingsFile_ = options_.SettingsFile;
    guard_ = std::make_unique<CommandGuard>(*this, *dialogs_, context_.texts);

    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Korvelan II"));
    menus_ = CreateMainMenus(*this);
    toolBar_ = CreateMainToolBar(*this, menus_);
    CreateViews();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    listPanel_->SetIntervalFactor(1);
    ApplyViewControls(View::None);
    EnableDataCommands(toolBar_, menus_, false, false);

    LoadConfig();
    if (!startedOk_)
        return;
    context_.view.SpeedLimitIndex = 5;
    context_.view.LimitDisplayOn = false;
    context_.view.SummaryKind = 1;
    UpdateSpeedLimitButton();

    CreateFileCommands();
    CreateDialogs();
    ConnectMenuCommands();
    ConnectToolButtons();
    ConnectPopupMenus();
    ConnectPanels();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateViews() {
    viewStack_ = new QStackedWidget(this);
    viewStack_->setObjectName(QStringLiteral("viewStack"));
    setCentralWidget(viewStack_);

    auto* empty = new QWidget(viewStack_);
    empty->setObjectName(QStringLiteral("EmptyPage"));
    viewStack_->addWidget(empty);

    listPanel_ = new ListPanel(context_.data, context_.texts, context_.view, viewStack_);
    listPanel_->IntervalFactorChanged = [this](int factor) { ShowIntervalFactor(toolBar_, menus_, factor); };
    listPanel_->ToolBarVisibilityRequested = [this](bool visible) {
        SetToolBarButtonsVisible(toolBar_, visible);
    };
    viewStack_->addWidget(listPanel_);

    auto* chartPage = new QWidget(viewStack_);
    chartPage->setObjectName(QStringLiteral("chartPage"));
    auto* chartLayout = new QVBoxLayout(chartPage);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->setSpacing(0);
    chartPanel_ = new ChartPanel(context_.data, context_.settings, context_.texts, context_.view, chartPage);
    chartLayout->addWidget(chartPanel_);
    viewStack_->addWidget(chartPage);

    summaryPanel_ = new SummaryPanel(viewStack_);
    viewStack_->addWidget(summaryPanel_);
    viewStack_->setCurrentIndex(EmptyPage);
}

void MainWindow::CreateFileCommands() {
    files_ = std::make_unique<FileCommands>(*this, *dialogs_, *guard_, context_, *ini_);
    // A written file is named for a while; the source of the data comes back after it.
    files_->ShowStatus = [this](const QString& file) { statusBar()->showMessage(file, 5000); };
    files_->SaveChartPicture = [this](const QString& file) {
        if (Guarded([&] { chartPanel_->SavePicture(file.toStdString()); }))
            files_->ShowStatus(file);
    };
    status_ = new WindowStatus(*this, menus_.recentMenu, *ini_, *dialogs_, context_, *files_);
    connect(status_, &WindowStatus::openRequested, this, [this](const QString& file) {
        if (files_->AskThenOpenDataFile(file.toStdString()))
            FinishLoad();
    });
    connect(listPanel_, &ListPanel::listShown, this, [this] { files_->WorkingSetShown(); });
}

void MainWindow::CreateDialogs() {
    windowDialogs_ =
        std::make_unique<WindowDialogs>(*this, context_, *listPanel_, *dialogs_, programDirectory_);
    SettingsDialog& settings = windowDialogs_->Settings();
    settings.LowerPercentileChosen = [this](int index) { ChooseLowerPercentile(index); };
    settings.UpperPercentileChosen = [this](int index) { ChooseUpperPercentile(index); };
    settings.AboveLimitStyleChosen = [this] {
        context_.view.LimitColourShift = LimitColourShiftOf(context_.settings);
    };
    settings.WriteSettings = [this] { WriteConfig(); };
    ApplyLanguageChoice(); // the calendar's month and day names
}

// --- wiring -------------------------------------------------------------------------------------

void MainWindow::ConnectMenuCommands() {
    const std::pair<QAction*, void (MainWindow::*)()> commands[] = {
        {menus_.openAction, &MainWindow::LoadDataFile},
        {menus_.saveFilteredAction, &MainWindow::SaveFilteredData},
        {menus_.saveAllAction, &MainWindow::SaveAllData},
        {menus_.commentAction, &MainWindow::EditComment},
        {menus_.importAction, &MainWindow::ImportPeloData},
        {menus_.exportAction, &MainWindow::ExportAscii},
        {menus_.csvExportAction, &MainWindow::ExportCsv},
        {menus_.reportAction, &MainWindow::ShowReport},
        {menus_.compareAction, &MainWindow::ShowComparison},
        {menus_.settingsAction, &MainWindow::ShowSettings},
        {menus_.quitAction, &MainWindow::Quit},
        {menus_.smartMediaAction, &MainWindow::ReadSmartMediaCard},
        {menus_.cardFileAction, &MainWindow::ReadCardFile},
        {menus_.aboutAction, &MainWindow::ShowAbout},
        {menus_.helpAction, &MainWindow::ShowHelp}};
    for (const auto& [action, command] : commands)
        connect(action, &QAction::triggered, this, [this, command = command] { (this->*command)(); });
    connect(menus_.printAction, &QAction::triggered, this, [this] {
        if (toolBar_.printButton->isEnabled())
            PrintView();
    });
    // Ctrl+1 .. Ctrl+4 press the view buttons, but not while the filter or time range has
    // emptied the tool bar.
    QToolButton* const viewButtons[] = {toolBar_.vehicleListButton, toolBar_.intervalListButton,
                                        toolBar_.chartButton, toolBar_.summaryButton};
    for (std::size_t i = 0; i < menus_.viewShortcuts.size(); ++i)
        connect(menus_.viewShortcuts[i], &QAction::triggered, this, [button = viewButtons[i]] {
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
}

void MainWindow::ConnectToolButtons() {
    const std::pair<QToolButton*, void (MainWindow::*)()> commands[] = {
        {toolBar_.openButton, &MainWindow::LoadDataFile},
        {toolBar_.aboutButton, &MainWindow::ShowAbout},
        {toolBar_.filterButton, &MainWindow::ShowFilterOrRange},
        {toolBar_.vehicleListButton, &MainWindow::ShowVehicleListView},
        {toolBar_.intervalListButton, &MainWindow::ShowIntervalListView},
        {toolBar_.chartButton, &MainWindow::ShowChartView},
        {toolBar_.summaryButton, &MainWindow::ShowSummaryView},
        {toolBar_.speedLimitButton, &MainWindow::ToggleSpeedLimit},
        {toolBar_.printButton, &MainWindow::PrintView}};
    for (const auto& [button, command] : commands)
        connect(button, &QToolButton::clicked, this, [this, command = command] { (this->*command)(); });
    // The summary kind and the speed limit are chosen with the right mouse button too.
    for (const auto& [button, menu] : {std::pair{toolBar_.summaryButton, menus_.summaryKindMenu},
                                       std::pair{toolBar_.speedLimitButton, menus_.speedLimitMenu}})
        connect(button, &QWidget::customContextMenuRequested, this,
                [button = button, menu = menu](const QPoint& at) { menu->popup(button->mapToGlobal(at)); });
    // A right click on the print button shows the print preview.
    toolBar_.printButton->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(toolBar_.printButton, &QWidget::customContextMenuRequested, this, [this] {
        if (toolBar_.printButton->isEnabled())
            files_->Preview(view_, {chartPanel_->Chart(), chartPanel_->Appearance()});
    });
}

void MainWindow::ConnectPopupMenus() {
    const auto onChoice = [this](const QMenu* menu, void (MainWindow::*choose)(int)) {
        for (QAction* action : menu->actions())
            connect(action, &QAction::triggered, this,
                    [this, action, choose] { (this->*choose)(action->data().toInt()); });
    };
    onChoice(menus_.intervalMenu, &MainWindow::ChooseIntervalLength);
    onChoice(menus_.speedLimitMenu, &MainWindow::ChooseSpeedLimit);
    onChoice(menus_.summaryKindMenu, &MainWindow::ChooseSummaryKind);
    for (int i = 0; i < 5; ++i) {
        connect(menus_.lowerPercentileMenu->actions().at(i), &QAction::triggered, this,
                [this, i] { ChooseLowerPercentile(i); });
        connect(menus_.upperPercentileMenu->actions().at(i), &QAction::triggered, this,
                [this, i] { ChooseUpperPercentile(i); });
    }
    const std::pair<QAction*, const char*> languages[] = {{menus_.germanAction, "deutsch.cty"},
                                                          {menus_.englishAction, "english.cty"},
                                                          {menus_.frenchAction, "francais.cty"}};
    for (const auto& [action, file] : languages)
        connect(action, &QAction::triggered, this, [this, file = file] { LoadLanguageFile(file); });
}

void MainWindow::ConnectPanels() {
    connect(listPanel_, &ListPanel::marksChanged, this, [this] { windowDialogs_->MarksChanged(); });
    connect(this, &MainWindow::chartViewEntered, chartPanel_,
            [this] { Guarded([this] { chartPanel_->EnterChartView(); }); });
    connect(this, &MainWindow::chartRedrawRequested, chartPanel_,
            [this] { Guarded([this] { chartPanel_->DrawSelectedChart(); }); });
    connect(this, &MainWindow::percentilesChanged, chartPanel_, &ChartPanel::SetPercentiles);
    connect(this, &MainWindow::textsChanged, chartPanel_, &ChartPanel::ApplyTexts);
    chartPanel_->OfferPercentileMenus(menus_.lowerPercentileMenu, menus_.upperPercentileMenu);
    // The texts and percentiles were read before the chart tool bar was connected.
    chartPanel_->SetPercentiles(context_.view.LowerPercentile, context_.view.UpperPercentile, {}, {});
    chartPanel_->ApplyTexts();
}

// --- settings and language ----------------------------------------------------------------------

void MainWindow::LoadConfig() {
    std::string folder = programDirectory_.string();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    std::optional<CoreError> warning;
    try {
        warning = context_.Start(StartupOptions{folder, {}, settingsFile_.string()});
    } catch (const CoreError& error) {
        startedOk_ = false;
        startError_ = Q(error.detail());
        return;
    }
    settingsFile_ = context_.settingsLocation.path;
    ini_ = std::make_unique<IniFile>(context_.settingsLocation.path, context_.settingsLocation.seedPath);
    languageFile_ = context_.settings.LanguageFile;
    // The texts come first: the percentile choices below set hints from them.
    ApplyTexts();
    SetLanguageButtonShown(toolBar_, context_.settings.LanguageSwitchShown);
    menus_.importAction->setVisible(context_.settings.PeloEnabled);
    ChooseLowerPercentile(context_.settings.VLowIndex);
    ChooseUpperPercentile(context_.settings.VHighIndex);
    if (warning)
        pendingWarning_ = Q(warning->Message(context_.texts));
}

void MainWindow::WriteConfig() {
    Guarded([this] { ::WriteConfig(*ini_, context_.settings); });
}

void MainWindow::LoadLanguageFile(const std::string& fileName) {
    try {
        ::LoadLanguageFile(FindShippedFile(programDirectory_, fileName).string(), context_.texts);
    } catch (const CoreError& error) {
        // The measurement stays: the texts in use are kept and the user is told.
        dialogs_->ShowMessage(this, FileDialogs::MessageKind::Error, QStringLiteral("Fehler!"),
                              QStringLiteral("Fehler!\n\n") + Q(error.Message(context_.texts)));
        ApplyLanguageChoice(); // the menu keeps showing the language still in use
        return;
    }
    languageFile_ = fileName;
    ApplyTexts();
    RedrawCurrentView();
}

void MainWindow::ApplyLanguageChoice() {
    ShowLanguageChoice(menus_, languageFile_);
    if (windowDialogs_)
        windowDialogs_->ApplyLanguage(languageFile_);
}

void MainWindow::ApplyTexts() {
    ApplyMenuTexts(menus_, context_.texts);
    ApplyToolBarHints(toolBar_, menus_, context_.texts);
    UpdateFilterRangeHint();
    ApplyLanguageChoice();
    NameLists();
    ApplyPercentileHints();
    if (windowDialogs_)
        windowDialogs_->ApplyTexts();
    if (status_)
        status_->ApplyTexts();
    emit textsChanged();
}

void MainWindow::RedrawCurrentView() {
    switch (view_) {
    case View::VehicleList:
    case View::IntervalList:
        listPanel_->RedrawKeepingCaret();
        break;
    case View::Chart:
        RedrawChart();
        break;
    case View::Summary:
        ShowSummary();
        break;
    case View::None:
        break;
    }
}

void MainWindow::NameLists() {
    listPanel_->ApplyTexts();
    summaryPanel_->ApplyTexts(context_.texts);
}

void MainWindow::ApplyPercentileHints() {
    const ViewSelections& view = context_.view;
    const auto [lowerHint, upperHint] =
        PercentileHints(menus_, context_.texts, LowerPercentileIndex(view), UpperPercentileIndex(view));
    emit percentilesChanged(view.LowerPercentile, view.UpperPercentile, lowerHint, upperHint);
}

// --- views --------------------------------------------------------------------------------------

void MainWindow::ApplyViewControls(View view) {
    const ViewControls c = ControlsOfView(view);
    viewStack_->setCurrentIndex(c.ListShown      ? ListPageIndex
                                : c.ChartShown   ? ChartPageIndex
                                : c.SummaryShown ? SummaryPageIndex
                                                 : EmptyPage);
    ShowView(toolBar_, menus_, view);
}

void MainWindow::UpdateFilterRangeHint() {
    // The button opens the record filter in the vehicle list and the time range elsewhere; its
    // hint names what it opens.
    SetHint(toolBar_.filterButton, view_ == View::VehicleList || view_ == View::None
                                       ? context_.texts[Text::DataFilter]
                                       : context_.texts[Text::RangeSelection]);
}

void MainWindow::ActivateView(View view) {
    view_ = view;
    listPanel_->SetShownList(ShownListOf(view));
    ApplyViewControls(view);
    UpdateFilterRangeHint();
    NameLists();
}

bool MainWindow::RebuildIntervalsIfPending() {
    bool built = false;
    if (!Guarded([this, &built] { built = context_.BuildPendingIntervals(); }))
        return false;
    if (built) {
        // The rebuilt intervals are 5-minute intervals; the interval button says so too.
        listPanel_->SetIntervalFactor(1);
        listPanel_->ShowIntervalList();
    }
    return true;
}

void MainWindow::ShowVehicleListView() {
    if (!context_.HasVehicles())
        return;
    ActivateView(View::VehicleList);
    listPanel_->ShowVehicleList();
}

void MainWindow::ShowIntervalListView() {
    if (context_.data.DataMode == DataMode::None)
        return;
    ActivateView(View::IntervalList);
    if (context_.data.IntervalRebuildPending != 0) {
        if (!RebuildIntervalsIfPending())
            ShowVehicleListView();
        return;
    }
    listPanel_->ShowIntervalList();
}

void MainWindow::ShowIntervalView(View view, const std::function<void()>& show) {
    if (context_.data.DataMode == DataMode::None)
        return;
    ActivateView(view);
    if (!RebuildIntervalsIfPending()) {
        ShowVehicleListView();
        return;
    }
    show();
}

void MainWindow::ShowChartView() {
    ShowIntervalView(View::Chart, [this] {
        context_.view.ChartOffset = 0;
        emit chartViewEntered();
    });
}

void MainWindow::ShowSummaryView() {
    ShowIntervalView(View::Summary, [this] { ShowSummary(); });
}

void MainWindow::RedrawChart() {
    emit chartRedrawRequested();
}

void MainWindow::ShowSummary() {
    Guarded([this] { summaryPanel_->ShowLines(context_.SummaryLines()); });
}

const std::vector<std::string>& MainWindow::SummaryText() const {
    return summaryPanel_->Lines();
}

// --- selections ---------------------------------------------------------------------------------

void MainWindow::ChooseIntervalLength(int factor) {
    if (!IsIntervalFactor(factor) || context_.data.DataMode == DataMode::None)
        return;
    listPanel_->SetIntervalFactor(factor);
    if (!Guarded([&] { context_.JoinIntervals(factor); }))
        return;
    listPanel_->ShowIntervalList();
    if (view_ == View::Chart)
        RedrawChart();
}

void MainWindow::ChooseLowerPercentile(int index) {
    index = std::clamp(index, 0, 4);
    context_.view.LowerPercentile = LowerPercentileOf(index);
    menus_.lowerPercentileMenu->actions().at(index)->setChecked(true);
    ApplyPercentileHints();
    RedrawCurrentView();
}

void MainWindow::ChooseUpperPercentile(int index) {
    index = std::clamp(index, 0, 4);
    context_.view.UpperPercentile = UpperPercentileOf(index);
    menus_.upperPercentileMenu->actions().at(index)->setChecked(true);
    ApplyPercentileHints();
    RedrawCurrentView();
}

void MainWindow::ChooseSpeedLimit(int limitIndex) {
    context_.view.SpeedLimitIndex = std::clamp(limitIndex, 1, 10);
    UpdateSpeedLimitButton();
    RedrawCurrentView();
}

void MainWindow::ToggleSpeedLimit() {
    context_.view.LimitDisplayOn = !context_.view.LimitDisplayOn;
    UpdateSpeedLimitButton();
    if (view_ == View::Chart)
        RedrawChart();
}

void MainWindow::UpdateSpeedLimitButton() {
    ShowSpeedLimit(toolBar_, menus_, context_.view.SpeedLimitIndex, context_.view.LimitDisplayOn);
}

void MainWindow::ChooseSummaryKind(int kind) {
    context_.view.SummaryKind = std::clamp(kind, 1, 4);
    ShowSummaryKind(menus_, context_.view.SummaryKind);
    RedrawCurrentView();
}

// --- files --------------------------------------------------------------------------------------

void MainWindow::LoadDataFile() {
    if (files_->AskAndOpenDataFile(menus_.openAction->iconText()))
        FinishLoad();
}

bool MainWindow::OpenDataFile(const std::filesystem::path& file) {
    if (!files_->OpenDataFile(file))
        return false;
    FinishLoad();
    return true;
}

void MainWindow::ImportPeloData() {
    if (files_->AskAndImportPelo(menus_.importAction->iconText()))
        FinishLoad(); // imported intervals: the interval list
}

void MainWindow::HideListTools() {
    if (windowDialogs_)
        windowDialogs_->HideListTools();
}

void MainWindow::FinishLoad() {
    // The filter and the time range worked on the measurement that was replaced.
    HideListTools();
    summaryPanel_->Clear();
    listPanel_->SetIntervalFactor(1);
    EnableDataCommands(toolBar_, menus_, true, context_.HasVehicles());
    ActivateView(context_.ListView());
    if (context_.HasVehicles())
        listPanel_->ShowVehicleList();
    else
        listPanel_->ShowIntervalList();
    listPanel_->FocusList(); // Page Down works at once
}

void MainWindow::FinishCardRead(const std::filesystem::path& cardFile, const std::string& port) {
    context_.data.MarkedCount = 0;
    files_->CardRead(cardFile, port);
    FinishLoad();
    windowDialogs_->EditComment();
}

void MainWindow::ReadSmartMediaCard() {
    if (files_->MayReplaceData() && windowDialogs_->ReadSmartMediaCard())
        FinishCardRead({}, windowDialogs_->SmartMediaPort());
}

void MainWindow::ReadCardFile() {
    QString cardFile;
    const auto readCard = [this, &cardFile](const QString& file) {
        cardFile = file;
        return windowDialogs_->ReadCardFile(file);
    };
    if (files_->AskAndReadCardFile(menus_.cardFileAction->iconText(), readCard))
        FinishCardRead(cardFile.toStdString(), {});
}

void MainWindow::SaveFilteredData() {
    files_->SaveView(view_, true, menus_.saveMenu->menuAction()->iconText(), summaryPanel_->Lines());
}

void MainWindow::SaveAllData() {
    files_->SaveView(view_, false, menus_.saveMenu->menuAction()->iconText(), summaryPanel_->Lines());
}

void MainWindow::ExportAscii() {
    files_->ExportAscii(view_, menus_.exportAction->iconText());
}

void MainWindow::ExportCsv() {
    files_->ExportCsv(view_, menus_.csvExportAction->iconText(), chartPanel_->Chart());
}

void MainWindow::ShowReport() {
    files_->ShowReport(view_, settingsFile_);
}

void MainWindow::ShowComparison() {
    files_->ShowComparison(view_);
}

ReportRequest MainWindow::ReportRequestOf(const ReportFields& fields) const {
    return files_->ReportRequestOf(fields);
}

void MainWindow::PrintView() {
    files_->Print(view_, {chartPanel_->Chart(), chartPanel_->Appearance()});
}

// --- dialogs ------------------------------------------------------------------------------------

void MainWindow::EditComment() {
    const std::string before = context_.data.Comment;
    windowDialogs_->EditComment();
    files_->CommentEdited(before);
}

void MainWindow::ShowSettings() {
    windowDialogs_->Settings().exec();
    if (view_ == View::Summary)
        ShowSummary(); // the key figures follow the free-flow gap and the thresholds
}

void MainWindow::ShowAbout() {
    windowDialogs_->ShowAbout();
}

void MainWindow::ShowHelp() {
    windowDialogs_->ShowHelp(languageFile_);
}

void MainWindow::Quit() {
    close();
}

void MainWindow::ShowFilterOrRange() {
    windowDialogs_->ShowListTool(view_, listPanel_->Placement(), frameGeometry());
}

// --- window -------------------------------------------------------------------------------------

void MainWindow::TellStartWarning() {
    context_.view.LimitColourShift = LimitColourShiftOf(context_.settings);
    if (pendingWarning_.isEmpty())
        return;
    const QString warning = std::exchange(pendingWarning_, QString());
    QMetaObject::invokeMethod(
        this,
        [this, warning] {
            dialogs_->ShowMessage(this, FileDialogs::MessageKind::Warning, windowTitle(), warning);
        },
        Qt::QueuedConnection);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        TellStartWarning();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (files_ && !files_->MayReplaceData()) {
        event->ignore();
        return;
    }
    HideListTools();
    event->accept();
}

bool MainWindow::Guarded(const std::function<void()>& command) {
    return guard_->Run(command);
}
