#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/CommentDialog.h"
#include "app/HelpWindow.h"
#include "app/Logo.h"
#include "app/Mnemonics.h"
#include "app/Pictures.h"
#include "app/ReportDialog.h"
#include "app/ScreenCsv.h"
#include "base/CoreError.h"
#include "base/TextNames.h"
#include "cards/CardCommon.h"
#include "cards/CardFileDialog.h"
#include "cards/PeloImport.h"
#include "cards/SmartMediaDialog.h"
#include "charts/ChartPanel.h"
#include "charts/ChartWidget.h"
#include "charts/Printing.h"
#include "data/AsciiExport.h"
#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "evaluation/IntervalList.h"
#include "evaluation/RecordFilterDialog.h"
#include "evaluation/StatisticsText.h"
#include "evaluation/Summary.h"
#include "evaluation/TimeRangeDialog.h"
#include "evaluation/VehicleList.h"
#include "lang/LanguageFile.h"
#include "lang/LanguageLocale.h"
#include "lang/ShippedFiles.h"
#include "settings/IniFile.h"
#include "settings/SettingsDialog.h"
#include "settings/SettingsStore.h"
#include "ui/QtText.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace {

// Pages of the view stack.
enum ViewPage { EmptyPage = 0, ListPageIndex = 1, ChartPageIndex = 2, SummaryPageIndex = 3 };

constexpr auto Q = &ToQString;

std::string PathText(const std::filesystem::path& path) {
    return path.string();
}

QString Folder(const std::string& path) {
    return Q(path);
}

// The list font: "Courier New" where it exists, else a monospace font with the same metrics.
QFont ListFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    return font;
}

// Menu captions and hints come from the language texts; an empty text keeps the built-in one.
void SetCaption(QAction* action, const std::string& text) {
    if (!text.empty())
        action->setText(Q(text));
}

void SetCaption(QMenu* menu, const std::string& text) {
    if (!text.empty())
        menu->setTitle(Q(text));
}

void SetHint(QToolButton* button, const std::string& text) {
    if (text.empty())
        return;
    button->setToolTip(Q(text));
    button->setStatusTip(Q(text));
    button->setAccessibleName(Q(text));
}

QString JoinLines(const std::vector<std::string>& lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += Q(lines[i]);
    }
    return text;
}

QToolButton* NewToolButton(QToolBar* bar, const char* name, const QIcon& icon, const QString& hint) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

} // namespace

// --- ListTextView -----------------------------------------------------------------------------------

ListTextView::ListTextView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUndoRedoEnabled(false);
}

void ListTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The default handling puts the caret on the clicked line first.
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void ListTextView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        QPlainTextEdit::wheelEvent(event);
        return;
    }
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0)
        emit pageRequested(-3 * notches);
    event->accept();
}

int ListTextView::LineHeight() const {
    const int laidOut = qRound(blockBoundingRect(document()->firstBlock()).height());
    return laidOut > 0 ? laidOut : fontMetrics().lineSpacing();
}

int ListTextView::TextHeight() const {
    return viewport()->height() - 2 * qRound(document()->documentMargin());
}

int ListTextView::TextLeft() const {
    return viewport()->geometry().left() + qRound(document()->documentMargin());
}

int ListTextView::TextRight() const {
    int widest = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
        widest = std::max(widest, fontMetrics().horizontalAdvance(block.text()));
    return TextLeft() + widest;
}

void ListTextView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    emit resized();
}

void ListTextView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        emit pageRequested(+1000000); // the window turns this into one page
        return;
    case Qt::Key_PageUp:
        emit pageRequested(-1000000);
        return;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            emit homeEndRequested(event->key() == Qt::Key_End);
            return;
        }
        break;
    case Qt::Key_Down:
    case Qt::Key_Up: {
        // The arrows move within the page; past its last line (or above its first record line)
        // they turn the page.
        const int line = textCursor().blockNumber();
        const bool down = event->key() == Qt::Key_Down;
        if (event->modifiers() == Qt::NoModifier &&
            ((down && line >= document()->blockCount() - 1) || (!down && line == 2))) {
            emit stepPastPageRequested(down ? +1 : -1);
            return;
        }
        break;
    }
    default:
        break;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// --- MainWindow: creation ----------------------------------------------------------------------------

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

    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Korvelan II"));

    CreatePopupMenus();
    CreateMenus();
    CreateToolBar();
    CreateViews();
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);

    SetIntervalFactor(1);
    ApplyViewControls(MainView::None);
    // Until data are loaded only opening, reading, settings and the about box work.
    for (QToolButton* button :
         {vehicleListButton, intervalListButton, chartButton, summaryButton, speedLimitButton, printButton})
        button->setEnabled(false);
    commentAction->setEnabled(false);
    exportAction->setEnabled(false);
    ExportCsv1->setEnabled(false);
    reportAction->setEnabled(false);

    LoadConfig();
    if (!startedOk_)
        return;
    data_.SpeedLimitIndex = 5;
    data_.LimitDisplayOn = 0;
    data_.SummaryKind = 1;
    UpdateSpeedLimitButton();

    CreateDialogs();
    ConnectCommands();
    ConnectChart();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreatePopupMenus() {
    intervalMenu = new QMenu(QStringLiteral("Intervall"), this);
    intervalMenu->setObjectName(QStringLiteral("intervalMenu"));
    auto* intervals = new QActionGroup(this);
    const struct {
        QAction** action;
        const char* name;
        int factor;
        QString caption;
    } intervalItems[] = {{&interval5Action, "interval5Action", 1, QStringLiteral("5 Minuten")},
                         {&interval15Action, "interval15Action", 3, QStringLiteral("15 Minuten")},
                         {&interval30Action, "interval30Action", 6, QStringLiteral("30 Minuten")},
                         {&interval60Action, "interval60Action", 12, QStringLiteral("1 Stunde")}};
    for (const auto& item : intervalItems) {
        QAction* action = intervalMenu->addAction(IntervalIcon(item.factor), item.caption);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
        action->setData(item.factor);
        intervals->addAction(action);
        *item.action = action;
    }

    languageMenu = new QMenu(QStringLiteral("Sprache"), this);
    languageMenu->setObjectName(QStringLiteral("languageMenu"));
    germanAction = languageMenu->addAction(QStringLiteral("Deutsch"));
    germanAction->setObjectName(QStringLiteral("germanAction"));
    englishAction = languageMenu->addAction(QStringLiteral("English"));
    englishAction->setObjectName(QStringLiteral("englishAction"));
    frenchAction = languageMenu->addAction(QStringLiteral("Français"));
    frenchAction->setObjectName(QStringLiteral("frenchAction"));
    frenchAction->setVisible(false);
    auto* languages = new QActionGroup(this);
    for (QAction* action : {germanAction, englishAction, frenchAction}) {
        action->setCheckable(true);
        languages->addAction(action);
    }

    lowerPercentileMenu = new QMenu(QStringLiteral("V1"), this);
    lowerPercentileMenu->setObjectName(QStringLiteral("lowerPercentileMenu"));
    upperPercentileMenu = new QMenu(QStringLiteral("V3"), this);
    upperPercentileMenu->setObjectName(QStringLiteral("upperPercentileMenu"));
    auto* lower = new QActionGroup(this);
    auto* upper = new QActionGroup(this);
    for (int i = 0; i < 5; ++i) {
        QAction* low =
            lowerPercentileMenu->addAction(QStringLiteral("V %1").arg(5 + 5 * i, 2, 10, QLatin1Char('0')));
        low->setObjectName(QStringLiteral("V%1").arg(5 + 5 * i, 2, 10, QLatin1Char('0')));
        low->setCheckable(true);
        lower->addAction(low);
        QAction* high = upperPercentileMenu->addAction(QStringLiteral("V %1").arg(75 + 5 * i));
        high->setObjectName(QStringLiteral("V%1").arg(75 + 5 * i));
        high->setCheckable(true);
        upper->addAction(high);
    }

    speedLimitMenu = new QMenu(QStringLiteral("Tempolimit"), this);
    speedLimitMenu->setObjectName(QStringLiteral("speedLimitMenu"));
    auto* limits = new QActionGroup(this);
    for (int k = 1; k <= 10; ++k) {
        QAction* action =
            speedLimitMenu->addAction(SpeedLimitIcon(k, true), QStringLiteral("%1 km/h").arg(10 * k));
        action->setObjectName(QStringLiteral("Tempolimit%1").arg(10 * k));
        action->setCheckable(true);
        action->setData(k);
        limits->addAction(action);
    }

    summaryKindMenu = new QMenu(QStringLiteral("Zusammenfassung"), this);
    summaryKindMenu->setObjectName(QStringLiteral("summaryKindMenu"));
    auto* kinds = new QActionGroup(this);
    overviewAction = summaryKindMenu->addAction(QStringLiteral("Übersicht"));
    overviewAction->setObjectName(QStringLiteral("overviewAction"));
    speedSummaryAction = summaryKindMenu->addAction(QStringLiteral("Geschwindigkeit"));
    speedSummaryAction->setObjectName(QStringLiteral("speedSummaryAction"));
    dailyCourseAction = summaryKindMenu->addAction(QStringLiteral("Tagesgang"));
    dailyCourseAction->setObjectName(QStringLiteral("dailyCourseAction"));
    keyFiguresAction = summaryKindMenu->addAction(QStringLiteral("Kennwerte"));
    keyFiguresAction->setObjectName(QStringLiteral("keyFiguresAction"));
    int kind = 1;
    for (QAction* action : {overviewAction, speedSummaryAction, dailyCourseAction, keyFiguresAction}) {
        action->setCheckable(true);
        action->setData(kind++);
        kinds->addAction(action);
    }
    overviewAction->setChecked(true);
}

void MainWindow::CreateMenus() {
    fileMenu = menuBar()->addMenu(QStringLiteral("Datei"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    openAction = fileMenu->addAction(ToolIcon(ToolPicture::Open), QStringLiteral("Öffnen"));
    openAction->setObjectName(QStringLiteral("openAction"));
    openAction->setShortcut(QKeySequence::Open);
    saveMenu = fileMenu->addMenu(ToolIcon(ToolPicture::Save), QStringLiteral("Speichern"));
    saveMenu->setObjectName(QStringLiteral("saveMenu"));
    saveFilteredAction = saveMenu->addAction(QStringLiteral("gefiltert speichern"));
    saveFilteredAction->setObjectName(QStringLiteral("saveFilteredAction"));
    saveFilteredAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    saveAllAction = saveMenu->addAction(QStringLiteral("alles speichern"));
    saveAllAction->setObjectName(QStringLiteral("saveAllAction"));
    saveAllAction->setShortcut(QKeySequence::Save);
    commentAction = fileMenu->addAction(QStringLiteral("Kommentar ändern"));
    commentAction->setObjectName(QStringLiteral("commentAction"));
    importAction = fileMenu->addAction(QStringLiteral("Import"));
    importAction->setObjectName(QStringLiteral("importAction"));
    importAction->setVisible(false);
    exportAction = fileMenu->addAction(QStringLiteral("Export"));
    exportAction->setObjectName(QStringLiteral("exportAction"));
    ExportCsv1 = fileMenu->addAction(QStringLiteral("Exportieren als CSV…"));
    ExportCsv1->setObjectName(QStringLiteral("ExportCsv1"));
    reportAction = fileMenu->addAction(QStringLiteral("Bericht…"));
    reportAction->setObjectName(QStringLiteral("reportAction"));
    fileMenu->addSeparator();
    settingsAction = fileMenu->addAction(QStringLiteral("Einstellungen"));
    settingsAction->setObjectName(QStringLiteral("settingsAction"));
    fileMenu->addSeparator();
    quitAction = fileMenu->addAction(QStringLiteral("Beenden"));
    quitAction->setObjectName(QStringLiteral("quitAction"));
    quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    readCardMenu = menuBar()->addMenu(QStringLiteral("Einlesen"));
    readCardMenu->setObjectName(QStringLiteral("readCardMenu"));
    smartMediaAction = readCardMenu->addAction(QStringLiteral("SmartMedia - Card"));
    smartMediaAction->setObjectName(QStringLiteral("smartMediaAction"));
    cardFileAction = readCardMenu->addAction(QStringLiteral("MM / SD - Card"));
    cardFileAction->setObjectName(QStringLiteral("cardFileAction"));

    infoMenu = menuBar()->addMenu(QStringLiteral("Info"));
    infoMenu->setObjectName(QStringLiteral("infoMenu"));
    aboutAction = infoMenu->addAction(ToolIcon(ToolPicture::About), QStringLiteral("Programm"));
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
    helpAction_ = infoMenu->addAction(QStringLiteral("Hilfe"));
    helpAction_->setObjectName(QStringLiteral("HelpAction"));
    helpAction_->setShortcut(QKeySequence::HelpContents);

    // The print button has no menu item; its shortcut belongs to the window.
    printAction = new QAction(QStringLiteral("Drucken"), this);
    printAction->setObjectName(QStringLiteral("printAction"));
    printAction->setShortcut(QKeySequence::Print);
    addAction(printAction);

    const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    for (std::size_t i = 0; i < ViewShortcuts.size(); ++i) {
        ViewShortcuts[i] = new QAction(this);
        ViewShortcuts[i]->setObjectName(QStringLiteral("ViewShortcut%1").arg(i + 1));
        ViewShortcuts[i]->setShortcut(QKeySequence(Qt::CTRL | digits[i]));
        addAction(ViewShortcuts[i]);
    }
}

void MainWindow::CreateToolBar() {
    mainToolBar = new QToolBar(QStringLiteral("mainToolBar"), this);
    mainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    mainToolBar->setMovable(false);
    mainToolBar->setFloatable(false);
    mainToolBar->setIconSize(QSize(24, 24));
    mainToolBar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, mainToolBar);

    openButton =
        NewToolButton(mainToolBar, "openButton", ToolIcon(ToolPicture::Open), QStringLiteral("Öffnen"));
    saveButton =
        NewToolButton(mainToolBar, "saveButton", ToolIcon(ToolPicture::Save), QStringLiteral("Speichern"));
    saveButton->setMenu(saveMenu);
    saveButton->setPopupMode(QToolButton::InstantPopup);
    readCardButton = NewToolButton(mainToolBar, "readCardButton", ToolIcon(ToolPicture::ReadCard),
                                   QStringLiteral("Einlesen"));
    readCardButton->setMenu(readCardMenu);
    readCardButton->setPopupMode(QToolButton::InstantPopup);
    mainToolBar->addSeparator();
    filterButton = NewToolButton(mainToolBar, "filterButton", ToolIcon(ToolPicture::Filter),
                                 QStringLiteral("Datenfilter"));
    mainToolBar->addSeparator();
    vehicleListButton = NewToolButton(mainToolBar, "vehicleListButton", ToolIcon(ToolPicture::VehicleList),
                                      QStringLiteral("Einzelfahrzeug-Liste"));
    intervalListButton = NewToolButton(mainToolBar, "intervalListButton", ToolIcon(ToolPicture::IntervalList),
                                       QStringLiteral("Intervall-Liste"));
    chartButton =
        NewToolButton(mainToolBar, "chartButton", ToolIcon(ToolPicture::Chart), QStringLiteral("Grafik"));
    summaryButton = NewToolButton(mainToolBar, "summaryButton", ToolIcon(ToolPicture::Summary),
                                  QStringLiteral("Zusammenfassung"));
    viewButtons_ = new QButtonGroup(this);
    viewButtons_->setExclusive(true);
    for (QToolButton* button : {vehicleListButton, intervalListButton, chartButton, summaryButton}) {
        button->setCheckable(true);
        viewButtons_->addButton(button);
    }
    // The summary kind is chosen with the right mouse button, or from the button's arrow.
    summaryButton->setMenu(summaryKindMenu);
    summaryButton->setPopupMode(QToolButton::MenuButtonPopup);
    summaryButton->setContextMenuPolicy(Qt::CustomContextMenu);
    mainToolBar->addSeparator();
    intervalLengthButton =
        NewToolButton(mainToolBar, "intervalLengthButton", IntervalIcon(1), QStringLiteral("Intervalllänge"));
    intervalLengthButton->setMenu(intervalMenu);
    intervalLengthButton->setPopupMode(QToolButton::InstantPopup);
    speedLimitButton = NewToolButton(mainToolBar, "speedLimitButton", SpeedLimitIcon(5, false),
                                     QStringLiteral("Tempolimit"));
    speedLimitButton->setCheckable(true);
    speedLimitButton->setMenu(speedLimitMenu);
    speedLimitButton->setPopupMode(QToolButton::MenuButtonPopup);
    speedLimitButton->setContextMenuPolicy(Qt::CustomContextMenu);
    mainToolBar->addSeparator();
    printButton =
        NewToolButton(mainToolBar, "printButton", ToolIcon(ToolPicture::Print), QStringLiteral("Drucken"));
    aboutButton =
        NewToolButton(mainToolBar, "aboutButton", ToolIcon(ToolPicture::About), QStringLiteral("Info"));
    languageButton = NewToolButton(mainToolBar, "languageButton", ToolIcon(ToolPicture::Language),
                                   QStringLiteral("Sprache"));
    languageButton->setMenu(languageMenu);
    languageButton->setPopupMode(QToolButton::InstantPopup);
    // QToolBar shows and hides the action that carries a widget, not the widget.
    for (QAction* action : mainToolBar->actions())
        if (mainToolBar->widgetForAction(action) == languageButton)
            action->setObjectName(QStringLiteral("languageButtonAction"));
}

void MainWindow::CreateViews() {
    viewStack = new QStackedWidget(this);
    viewStack->setObjectName(QStringLiteral("viewStack"));
    setCentralWidget(viewStack);

    auto* empty = new QWidget(viewStack);
    empty->setObjectName(QStringLiteral("EmptyPage"));
    viewStack->addWidget(empty);

    listPage = new QWidget(viewStack);
    listPage->setObjectName(QStringLiteral("listPage"));
    auto* listLayout = new QGridLayout(listPage);
    listLayout->setContentsMargins(5, 2, 5, 5);
    listLayout->setHorizontalSpacing(5);
    listLayout->setVerticalSpacing(2);
    recordNumberLabel = new QLabel(listPage);
    recordNumberLabel->setObjectName(QStringLiteral("recordNumberLabel"));
    recordNumberLabel->setFont(ListFont());
    recordNumberLabel->setMinimumHeight(18);
    QSizePolicy keep = recordNumberLabel->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    recordNumberLabel->setSizePolicy(keep);
    recordNumberLabel->hide();
    listView = new ListTextView(listPage);
    listView->setObjectName(QStringLiteral("listView"));
    listView->setFont(ListFont());
    listView->setAccessibleName(QStringLiteral("Liste"));
    listScrollBar = new QScrollBar(Qt::Vertical, listPage);
    listScrollBar->setObjectName(QStringLiteral("listScrollBar"));
    listScrollBar->setAccessibleName(QStringLiteral("Liste blättern"));
    listScrollBar->setFixedWidth(20);
    listScrollBar->setRange(1, 1);
    listScrollBar->setSingleStep(1);
    listScrollBar->setPageStep(15);
    listLayout->addWidget(recordNumberLabel, 0, 0);
    listLayout->addWidget(listView, 1, 0);
    listLayout->addWidget(listScrollBar, 1, 1);
    listLayout->setColumnStretch(0, 1);
    listLayout->setRowStretch(1, 1);
    viewStack->addWidget(listPage);

    chartPage = new QWidget(viewStack);
    chartPage->setObjectName(QStringLiteral("chartPage"));
    auto* chartLayout = new QVBoxLayout(chartPage);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->setSpacing(0);
    chartPanel = new ChartPanel(data_, settings_, texts_, selections_, chartPage);
    chartLayout->addWidget(chartPanel);
    viewStack->addWidget(chartPage);

    auto* summaryPage = new QWidget(viewStack);
    summaryPage->setObjectName(QStringLiteral("SummaryPage"));
    auto* summaryLayout = new QVBoxLayout(summaryPage);
    summaryLayout->setContentsMargins(5, 5, 5, 5);
    summaryView = new QPlainTextEdit(summaryPage);
    summaryView->setObjectName(QStringLiteral("summaryView"));
    summaryView->setReadOnly(true);
    summaryView->setLineWrapMode(QPlainTextEdit::NoWrap);
    summaryView->setFont(ListFont());
    summaryView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    summaryView->setAccessibleName(QStringLiteral("Zusammenfassung"));
    summaryLayout->addWidget(summaryView);
    viewStack->addWidget(summaryPage);

    viewStack->setCurrentIndex(EmptyPage);
}

void MainWindow::CreateDialogs() {
    // Created once, in the order the program has always created its forms, and only hidden
    // when closed.
    aboutDialog = new AboutDialog(programDirectory_, this);
    filterDialog = new RecordFilterDialog(data_, texts_, *this, this);
    filterDialog->UseDialogs(*dialogs_);
    settingsDialog = new SettingsDialog(settings_, data_, texts_, *dialogs_, this);
    settingsDialog->LowerPercentileChosen = [this](int index) { ChooseLowerPercentile(index); };
    settingsDialog->UpperPercentileChosen = [this](int index) { ChooseUpperPercentile(index); };
    settingsDialog->WriteSettings = [this] { WriteConfig(); };
    rangeDialog = new TimeRangeDialog(data_, texts_, *this, this);
    rangeDialog->UseDialogs(*dialogs_);
    smartMediaDialog = new SmartMediaDialog(data_, settings_, texts_, this);
    commentDialog = new CommentDialog(data_, texts_, this);
    cardFileDialog = new CardFileDialog(data_, settings_, texts_, this);
    // The card dialogs tell their failures the way the main window does.
    smartMediaDialog->UseDialogs(*dialogs_);
    cardFileDialog->UseDialogs(*dialogs_);
    ApplyLanguageChoice(); // the calendar's month and day names
}

void MainWindow::ConnectCommands() {
    connect(openAction, &QAction::triggered, this, [this] { LoadDataFile(); });
    connect(openButton, &QToolButton::clicked, this, [this] { LoadDataFile(); });
    connect(saveFilteredAction, &QAction::triggered, this, [this] { SaveFilteredData(); });
    connect(saveAllAction, &QAction::triggered, this, [this] { SaveAllData(); });
    connect(commentAction, &QAction::triggered, this, [this] { EditComment(); });
    connect(importAction, &QAction::triggered, this, [this] { ImportPeloData(); });
    connect(exportAction, &QAction::triggered, this, [this] { ExportAscii(); });
    connect(ExportCsv1, &QAction::triggered, this, [this] { ExportCsv(); });
    connect(reportAction, &QAction::triggered, this, [this] { ShowReport(); });
    connect(settingsAction, &QAction::triggered, this, [this] { ShowSettings(); });
    connect(quitAction, &QAction::triggered, this, [this] { Quit(); });
    connect(smartMediaAction, &QAction::triggered, this, [this] { ReadSmartMediaCard(); });
    connect(cardFileAction, &QAction::triggered, this, [this] { ReadCardFile(); });
    connect(aboutAction, &QAction::triggered, this, [this] { ShowAbout(); });
    connect(helpAction_, &QAction::triggered, this, [this] { ShowHelp(); });
    connect(aboutButton, &QToolButton::clicked, this, [this] { ShowAbout(); });
    connect(filterButton, &QToolButton::clicked, this, [this] { ShowFilterOrRange(); });
    connect(vehicleListButton, &QToolButton::clicked, this, [this] { ShowVehicleListView(); });
    connect(intervalListButton, &QToolButton::clicked, this, [this] { ShowIntervalListView(); });
    connect(chartButton, &QToolButton::clicked, this, [this] { ShowChartView(); });
    connect(summaryButton, &QToolButton::clicked, this, [this] { ShowSummaryView(); });
    connect(speedLimitButton, &QToolButton::clicked, this, [this] { ToggleSpeedLimit(); });
    connect(printButton, &QToolButton::clicked, this, [this] { PrintView(); });
    connect(printAction, &QAction::triggered, this, [this] {
        if (printButton->isEnabled())
            PrintView();
    });
    connect(summaryButton, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { summaryKindMenu->popup(summaryButton->mapToGlobal(at)); });
    connect(speedLimitButton, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { speedLimitMenu->popup(speedLimitButton->mapToGlobal(at)); });

    for (QAction* action : intervalMenu->actions())
        connect(action, &QAction::triggered, this,
                [this, action] { ChooseIntervalLength(action->data().toInt()); });
    connect(germanAction, &QAction::triggered, this, [this] { LoadLanguageFile("deutsch.cty"); });
    connect(englishAction, &QAction::triggered, this, [this] { LoadLanguageFile("english.cty"); });
    connect(frenchAction, &QAction::triggered, this, [this] { LoadLanguageFile("francais.cty"); });
    for (int i = 0; i < 5; ++i) {
        connect(lowerPercentileMenu->actions().at(i), &QAction::triggered, this,
                [this, i] { ChooseLowerPercentile(i); });
        connect(upperPercentileMenu->actions().at(i), &QAction::triggered, this,
                [this, i] { ChooseUpperPercentile(i); });
    }
    for (QAction* action : speedLimitMenu->actions())
        connect(action, &QAction::triggered, this,
                [this, action] { ChooseSpeedLimit(action->data().toInt()); });
    for (QAction* action : summaryKindMenu->actions())
        connect(action, &QAction::triggered, this,
                [this, action] { ChooseSummaryKind(action->data().toInt()); });

    connect(listScrollBar, &QScrollBar::valueChanged, this, [this](int position) {
        ListScrollBarMoved(position);
        // A click on an arrow or the track, a key or the wheel ends its scroll at once; a drag
        // ends when the thumb is released.
        if (!listScrollBar->isSliderDown())
            ListScrollBarScrolled(true);
    });
    connect(listScrollBar, &QScrollBar::sliderReleased, this, [this] { ListScrollBarScrolled(true); });
    connect(listView, &ListTextView::doubleClicked, this, [this] { ListDoubleClicked(); });
    connect(listView, &ListTextView::pageRequested, this, [this](int delta) {
        const int page = std::max(1, PageLines() + 1);
        if (delta >= 1000000)
            delta = page;
        else if (delta <= -1000000)
            delta = -page;
        SetListPosition(listScrollBar->value() + delta);
    });
    // A page holds as many lines as the list's height allows; a new height draws it again.
    connect(listView, &ListTextView::resized, this, [this] {
        if (view_ == MainView::VehicleList)
            RedrawVehiclePage();
        else if (view_ == MainView::IntervalList)
            RenderIntervalPage(data_.IntervalListTop);
    });
    // Ctrl+End shows the last full page, not a page holding only the last record.
    connect(listView, &ListTextView::homeEndRequested, this, [this](bool end) {
        SetListPosition(end ? LastFullPageTop(RecordCountOfList(), PageLines()) : listScrollBar->minimum());
    });
    connect(listView, &ListTextView::stepPastPageRequested, this,
            [this](int direction) { StepPastPage(direction); });
    const std::array<QToolButton*, 4> viewButtons{vehicleListButton, intervalListButton, chartButton,
                                                  summaryButton};
    for (std::size_t i = 0; i < ViewShortcuts.size(); ++i)
        connect(ViewShortcuts[i], &QAction::triggered, this, [button = viewButtons[i]] {
            // Not while the filter or time range has emptied the tool bar.
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
}

// --- settings and language ----------------------------------------------------------------------

void MainWindow::LoadConfig() {
    std::string folder = PathText(programDirectory_);
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    SettingsFileLocation location;
    if (settingsFile_.empty()) {
        location = LocateSettingsFile(folder);
        settingsFile_ = location.path;
    } else {
        location.path = PathText(settingsFile_);
    }
    ini_ = std::make_unique<IniFile>(location.path, location.seedPath);
    LoadedConfig loaded = ::LoadConfig(*ini_, folder);
    settings_ = loaded.settings;

    // The texts come first: the percentile choices below set hints from them.
    try {
        ::LoadLanguageFile(PathText(FindShippedFile(programDirectory_, settings_.LanguageFile)), texts_);
        languageFileInUse_ = settings_.LanguageFile;
    } catch (const CoreError& error) {
        startedOk_ = false;
        startError_ = Q(error.Message(texts_));
        return;
    }
    languageFile_ = settings_.LanguageFile;
    ApplyTexts();

    for (QAction* action : mainToolBar->actions())
        if (mainToolBar->widgetForAction(action) == languageButton)
            action->setVisible(settings_.LanguageSwitchShown);
    importAction->setVisible(settings_.PeloEnabled);
    ChooseLowerPercentile(settings_.VLowIndex);
    ChooseUpperPercentile(settings_.VHighIndex);
    if (loaded.warning)
        pendingWarning_ = Q(loaded.warning->Message(texts_));
}

void MainWindow::WriteConfig() {
    Guarded([this] { ::WriteConfig(*ini_, settings_); });
}

void MainWindow::LoadLanguageFile(const std::string& fileName) {
    try {
        ::LoadLanguageFile(PathText(FindShippedFile(programDirectory_, fileName)), texts_);
        languageFileInUse_ = fileName;
    } catch (const CoreError& error) {
        // The measurement stays: the texts in use are kept and the user is told.
        dialogs_->ShowMessage(this, FileDialogs::MessageKind::Error, QStringLiteral("Fehler!"),
                              QStringLiteral("Fehler!\n\n") + Q(error.Message(texts_)));
        ApplyLanguageChoice(); // the menu keeps showing the language still in use
        return;
    }
    languageFile_ = fileName;
    ApplyTexts();
    RedrawCurrentView();
}

void MainWindow::ApplyLanguageChoice() {
    germanAction->setChecked(languageFile_ == "deutsch.cty");
    englishAction->setChecked(languageFile_ == "english.cty");
    frenchAction->setChecked(languageFile_ == "francais.cty");
    if (rangeDialog != nullptr)
        rangeDialog->SetCalendarLocale(QLocale(Q(LocaleNameOfLanguageFile(languageFile_))));
}

void MainWindow::ApplyMnemonics() {
    // Each menu's captions get their own Alt letters, the menu bar's too.
    const auto mark = [](const std::vector<QAction*>& actions) {
        std::vector<std::string> plain;
        for (QAction* action : actions)
            plain.push_back(WithoutMnemonic(action->text().toStdString()));
        const std::vector<std::string> marked = WithMnemonics(plain);
        for (std::size_t i = 0; i < actions.size(); ++i)
            actions[i]->setText(Q(marked[i]));
    };
    const auto itemsOf = [](const QMenu* menu) {
        std::vector<QAction*> items;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                items.push_back(action);
        return items;
    };
    mark({fileMenu->menuAction(), readCardMenu->menuAction(), infoMenu->menuAction()});
    for (const QMenu* menu : {fileMenu, saveMenu, readCardMenu, infoMenu})
        mark(itemsOf(menu));
}

void MainWindow::ApplyViewHints() {
    // The view buttons name their shortcuts, in the words of the language ("Strg+1").
    const QString control = texts_[265].empty() ? QStringLiteral("Strg") : Q(texts_[265]);
    const std::array<std::pair<QToolButton*, int>, 4> buttons{
        {{vehicleListButton, 41}, {intervalListButton, 42}, {chartButton, 43}, {summaryButton, 44}}};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const auto [button, number] = buttons[i];
        const QString hint = texts_[number].empty() ? button->toolTip().section(QStringLiteral(" ("), 0, 0)
                                                    : Q(texts_[number]);
        const QString withKey = QStringLiteral("%1 (%2+%3)").arg(hint, control).arg(i + 1);
        button->setToolTip(withKey);
        button->setStatusTip(withKey);
        button->setAccessibleName(hint);
        button->setAccessibleDescription(withKey);
        ViewShortcuts[i]->setText(hint);
    }
}

void MainWindow::ApplyTexts() {
    SetCaption(fileMenu, texts_[Text::FileMenu]);
    SetCaption(readCardMenu, texts_[Text::ReadCard]);
    SetCaption(infoMenu, texts_[Text::InfoMenu]);
    SetCaption(openAction, texts_[Text::Open]);
    SetCaption(saveMenu, texts_[Text::Save]);
    SetCaption(commentAction, texts_[Text::EditComment]);
    SetCaption(importAction, texts_[Text::Import]);
    SetCaption(exportAction, texts_[Text::Export]);
    SetCaption(ExportCsv1, texts_[602]);
    SetCaption(reportAction, texts_[ReportText::ReportCommand]);
    SetCaption(settingsAction, texts_[Text::Settings]);
    SetCaption(quitAction, texts_[Text::Exit]);
    SetCaption(smartMediaAction, texts_[Text::SmartMediaCard]);
    SetCaption(cardFileAction, texts_[Text::MmSdCard]);
    SetCaption(saveFilteredAction, texts_[Text::SaveFilteredData]);
    SetCaption(saveAllAction, texts_[Text::SaveAllData]);
    SetCaption(aboutAction, texts_[Text::AboutTheProgram]);
    SetCaption(helpAction_, texts_[31]);
    SetCaption(overviewAction, texts_[Text::Overview]);
    SetCaption(speedSummaryAction, texts_[Text::SpeedSummary]);
    SetCaption(dailyCourseAction, texts_[StatisticsText::DayProfileTitle]);
    SetCaption(keyFiguresAction, texts_[StatisticsText::KeyFiguresTitle]);
    if (!texts_[Text::Minutes].empty()) {
        interval5Action->setText(QStringLiteral("5 ") + Q(texts_[Text::Minutes]));
        interval15Action->setText(QStringLiteral("15 ") + Q(texts_[Text::Minutes]));
        interval30Action->setText(QStringLiteral("30 ") + Q(texts_[Text::Minutes]));
    }
    if (!texts_[Text::Hour].empty())
        interval60Action->setText(QStringLiteral("1 ") + Q(texts_[Text::Hour]));
    SetCaption(printAction, texts_[Text::Print]);

    SetHint(openButton, texts_[Text::Open]);
    SetHint(saveButton, texts_[Text::Save]);
    SetHint(readCardButton, texts_[Text::ReadCard]);
    UpdateFilterRangeHint();
    ApplyViewHints();
    SetHint(intervalLengthButton, texts_[Text::IntervalLength]);
    SetHint(speedLimitButton, texts_[Text::SpeedLimitHint]);
    SetHint(printButton, texts_[Text::Print]);
    SetHint(aboutButton, texts_[Text::About]);
    SetHint(languageButton, texts_[Text::Language]);
    if (!texts_[264].empty())
        listScrollBar->setAccessibleName(Q(texts_[264]));
    ApplyMnemonics();
    ApplyLanguageChoice();
    NameLists();
    ApplyPercentileHints();
    if (filterDialog != nullptr)
        filterDialog->ApplyTexts();
    if (rangeDialog != nullptr)
        rangeDialog->ApplyTexts();
    emit textsChanged();
}

void MainWindow::RedrawCurrentView() {
    // The caret stays on its line: the filter and time range take record numbers from it.
    const auto redrawListPage = [this](const std::function<void()>& render) {
        const int line = ListCursorLine();
        render();
        listView->setTextCursor(QTextCursor(
            listView->document()->findBlockByNumber(std::min(line, listView->document()->blockCount() - 1))));
    };
    switch (view_) {
    case MainView::VehicleList:
        redrawListPage([this] { RedrawVehiclePage(); });
        break;
    case MainView::IntervalList:
        redrawListPage([this] { RenderIntervalPage(data_.IntervalListTop); });
        break;
    case MainView::Chart:
        RedrawChart();
        break;
    case MainView::Summary:
        ShowSummary();
        break;
    case MainView::None:
        break;
    }
}

void MainWindow::NameLists() {
    // A list is named after its view and described by its column heading.
    const bool intervals = view_ == MainView::IntervalList;
    const std::string& name = intervals ? texts_[Text::IntervalList] : texts_[Text::VehicleList];
    const std::string& heading =
        intervals ? texts_[Text::IntervalListHeader] : texts_[Text::VehicleListHeader];
    if (!name.empty())
        listView->setAccessibleName(Q(name));
    listView->setAccessibleDescription(Q(heading).simplified());
    if (!texts_[Text::SummaryHint].empty())
        summaryView->setAccessibleName(Q(texts_[Text::SummaryHint]));
}

void MainWindow::ApplyPercentileHints() {
    static constexpr int LowerHints[] = {60, 61, 62, 63, 64}; // V 05 .. V 25
    static constexpr int UpperHints[] = {66, 67, 68, 69, 70}; // V 75 .. V 95
    const int lower = std::clamp((selections_.LowerPercentile - 5) / 5, 0, 4);
    const int upper = std::clamp((selections_.UpperPercentile - 75) / 5, 0, 4);
    const std::string& lowerText = texts_[LowerHints[lower]];
    const std::string& upperText = texts_[UpperHints[upper]];
    emit percentilesChanged(
        selections_.LowerPercentile, selections_.UpperPercentile,
        lowerText.empty() ? lowerPercentileMenu->actions().at(lower)->text() : Q(lowerText),
        upperText.empty() ? upperPercentileMenu->actions().at(upper)->text() : Q(upperText));
}

// --- views --------------------------------------------------------------------------------------

void MainWindow::ApplyViewControls(MainView view) {
    const ViewControls c = ControlsOfView(view);
    viewStack->setCurrentIndex(c.ListShown      ? ListPageIndex
                               : c.ChartShown   ? ChartPageIndex
                               : c.SummaryShown ? SummaryPageIndex
                                                : EmptyPage);
    filterButton->setEnabled(c.FilterRangeEnabled);
    intervalLengthButton->setEnabled(c.IntervalEnabled);
    saveMenu->menuAction()->setEnabled(c.SaveMenuEnabled);
    saveMenu->setEnabled(c.SaveMenuEnabled);
    saveButton->setEnabled(c.SaveMenuEnabled);
    saveFilteredAction->setEnabled(c.FilteredSaveEnabled);
    saveAllAction->setEnabled(c.SaveMenuEnabled);
}

void MainWindow::UpdateFilterRangeHint() {
    // The button opens the record filter in the vehicle list and the time range elsewhere; its
    // hint names what it opens.
    SetHint(filterButton, view_ == MainView::VehicleList || view_ == MainView::None
                              ? texts_[Text::DataFilter]
                              : texts_[Text::RangeSelection]);
}

void MainWindow::ActivateView(MainView view) {
    view_ = view;
    QToolButton* button = view == MainView::VehicleList    ? vehicleListButton
                          : view == MainView::IntervalList ? intervalListButton
                          : view == MainView::Chart        ? chartButton
                          : view == MainView::Summary      ? summaryButton
                                                           : nullptr;
    if (button != nullptr)
        button->setChecked(true);
    ApplyViewControls(view);
    UpdateFilterRangeHint();
    NameLists();
}

bool MainWindow::RebuildIntervalsIfPending() {
    if (data_.IntervalRebuildPending == 0)
        return true;
    const bool built = Guarded([this] { BuildFiveMinuteIntervals(data_, settings_.Lengths); });
    if (built) {
        // The rebuilt intervals are 5-minute intervals; the interval button says so too.
        SetIntervalFactor(1);
        ShowIntervalList();
    }
    return built;
}

void MainWindow::ShowVehicleListView() {
    if (data_.DataMode != DataMode::SingleVehicle)
        return;
    ActivateView(MainView::VehicleList);
    ShowVehicleList();
}

void MainWindow::ShowIntervalListView() {
    if (data_.DataMode == DataMode::None)
        return;
    ActivateView(MainView::IntervalList);
    if (data_.IntervalRebuildPending != 0) {
        if (!RebuildIntervalsIfPending())
            ShowVehicleListView();
        return;
    }
    ShowIntervalList();
}

void MainWindow::ShowChartView() {
    if (data_.DataMode == DataMode::None)
        return;
    ActivateView(MainView::Chart);
    if (!RebuildIntervalsIfPending()) {
        ShowVehicleListView();
        return;
    }
    EnterChartView();
}

void MainWindow::ShowSummaryView() {
    if (data_.DataMode == DataMode::None)
        return;
    ActivateView(MainView::Summary);
    if (!RebuildIntervalsIfPending()) {
        ShowVehicleListView();
        return;
    }
    ShowSummary();
}

void MainWindow::EnterChartView() {
    data_.ChartOffset = 0;
    emit chartViewEntered();
}

void MainWindow::RedrawChart() {
    emit chartRedrawRequested();
}

void MainWindow::ShowSummary() {
    Guarded([this] {
        summaryLines_ =
            SummaryLines(data_, selections_, texts_, StatisticsSettingsOf(settings_, data_, selections_));
        summaryView->setPlainText(JoinLines(summaryLines_));
        summaryView->setAccessibleDescription(summaryLines_.empty() ? QString() : Q(summaryLines_.front()));
    });
}

// --- lists --------------------------------------------------------------------------------------

int MainWindow::PageLines() const {
    return LinesPerPage(listView->TextHeight(), listView->LineHeight());
}

int MainWindow::RecordCountOfList() const {
    return view_ == MainView::IntervalList ? data_.WorkIntervalCount : data_.WorkVehicleCount;
}

void MainWindow::StepPastPage(int direction) {
    const int before = listScrollBar->value();
    SetListPosition(before + direction * std::max(1, PageLines() + 1));
    if (listScrollBar->value() == before)
        return; // the first or the last page: the cursor stays
    const int line = direction > 0 ? 2 : listView->document()->blockCount() - 1;
    listView->setTextCursor(QTextCursor(listView->document()->findBlockByNumber(line)));
}

int MainWindow::ListCursorLine() const {
    return listView->textCursor().blockNumber();
}

void MainWindow::ShowVehicleList() {
    {
        const QSignalBlocker quiet(listScrollBar);
        listScrollBar->setMinimum(1);
        listScrollBar->setValue(1);
        listScrollBar->setMaximum(std::max(1, data_.WorkVehicleCount));
    }
    listScrollBar->setEnabled(data_.WorkVehicleCount > 1);
    data_.VehicleListTop = 1;
    recordNumberLabel->hide();
    RenderVehiclePage(1);
}

void MainWindow::ShowIntervalList() {
    {
        const QSignalBlocker quiet(listScrollBar);
        listScrollBar->setMinimum(1);
        listScrollBar->setValue(1);
        listScrollBar->setMaximum(std::max(1, data_.WorkIntervalCount));
    }
    listScrollBar->setEnabled(data_.WorkIntervalCount > 1);
    data_.IntervalListTop = 1;
    recordNumberLabel->hide();
    RenderIntervalPage(1);
}

void MainWindow::RedrawVehiclePage() {
    RenderVehiclePage(data_.VehicleListTop);
}

void MainWindow::RenderVehiclePage(int first) {
    listView->setPlainText(JoinLines(::RenderVehiclePage(data_, first, PageLines(), texts_)));
}

void MainWindow::RenderIntervalPage(int first) {
    listView->setPlainText(JoinLines(::RenderIntervalPage(data_, first, PageLines(), texts_)));
}

void MainWindow::ListScrollBarMoved(int position) {
    const bool intervalList = intervalListButton->isChecked();
    if (intervalList)
        data_.IntervalListTop = position;
    else
        data_.VehicleListTop = position;
    recordNumberLabel->setText(Q(RecordNumberText(data_, position, intervalList)));
    recordNumberLabel->show();
}

void MainWindow::ListScrollBarScrolled(bool ended) {
    if (!ended)
        return;
    recordNumberLabel->hide();
    if (intervalListButton->isChecked())
        RenderIntervalPage(data_.IntervalListTop);
    else
        RenderVehiclePage(data_.VehicleListTop);
}

void MainWindow::SetListPosition(int position) {
    if (!listScrollBar->isEnabled())
        return;
    listScrollBar->setValue(std::clamp(position, listScrollBar->minimum(), listScrollBar->maximum()));
}

void MainWindow::ListDoubleClicked() {
    if (!vehicleListButton->isChecked())
        return;
    const int line = ListCursorLine();
    const auto record = RecordOfListLine(data_, line);
    if (!record || !ToggleMark(data_, *record))
        return;
    RedrawVehiclePage();
    // The caret stays on the line, so that the filter can take its record number.
    QTextCursor cursor(listView->document()->findBlockByNumber(line));
    listView->setTextCursor(cursor);
    if (filterDialog != nullptr && filterDialog->isVisible())
        filterDialog->MarkedCountChanged();
}

// --- selections ---------------------------------------------------------------------------------

void MainWindow::SetIntervalFactor(int factor) {
    if (!IsIntervalFactor(factor))
        factor = 1;
    selections_.IntervalFactor = factor;
    intervalLengthButton->setIcon(IntervalIcon(factor));
    for (QAction* action : intervalMenu->actions())
        action->setChecked(action->data().toInt() == factor);
}

void MainWindow::ChooseIntervalLength(int factor) {
    if (!IsIntervalFactor(factor) || data_.DataMode == DataMode::None)
        return;
    SetIntervalFactor(factor);
    if (!Guarded([&] { AggregateIntervals(data_, factor); }))
        return;
    ShowIntervalList();
    if (view_ == MainView::Chart)
        RedrawChart();
}

void MainWindow::ChooseLowerPercentile(int index) {
    index = std::clamp(index, 0, 4);
    selections_.LowerPercentile = LowerPercentileOf(index);
    lowerPercentileMenu->actions().at(index)->setChecked(true);
    ApplyPercentileHints();
    RedrawCurrentView();
}

void MainWindow::ChooseUpperPercentile(int index) {
    index = std::clamp(index, 0, 4);
    selections_.UpperPercentile = UpperPercentileOf(index);
    upperPercentileMenu->actions().at(index)->setChecked(true);
    ApplyPercentileHints();
    RedrawCurrentView();
}

void MainWindow::ChooseSpeedLimit(int limitIndex) {
    data_.SpeedLimitIndex = std::clamp(limitIndex, 1, 10);
    UpdateSpeedLimitButton();
    RedrawCurrentView();
}

void MainWindow::ToggleSpeedLimit() {
    data_.LimitDisplayOn = data_.LimitDisplayOn != 0 ? 0 : 1;
    UpdateSpeedLimitButton();
    if (view_ == MainView::Chart)
        RedrawChart();
}

void MainWindow::UpdateSpeedLimitButton() {
    const bool on = data_.LimitDisplayOn != 0;
    speedLimitButton->setChecked(on);
    speedLimitButton->setIcon(SpeedLimitIcon(data_.SpeedLimitIndex, on));
    for (QAction* action : speedLimitMenu->actions())
        action->setChecked(action->data().toInt() == data_.SpeedLimitIndex);
}

void MainWindow::ChooseSummaryKind(int kind) {
    data_.SummaryKind = std::clamp(kind, 1, 4);
    for (QAction* action : summaryKindMenu->actions())
        action->setChecked(action->data().toInt() == data_.SummaryKind);
    RedrawCurrentView();
}

// --- files --------------------------------------------------------------------------------------

void MainWindow::LoadDataFile() {
    const QString filter = texts_[Text::DataFileFilter].empty()
                               ? QStringLiteral("Korvelan - File (*.lng;*.sht)|*.lng;*.sht")
                               : Q(texts_[Text::DataFileFilter]);
    const QString file =
        dialogs_->OpenFileName(this, openAction->iconText(), Folder(settings_.DataPath), filter);
    if (file.isEmpty())
        return;
    OpenDataFile(file.toStdString());
}

bool MainWindow::OpenDataFile(const std::filesystem::path& file) {
    if (!Guarded([&] { ::LoadDataFile(file, data_); }))
        return false;
    dataSource_ = file;
    dataSourceKind_ = ReportSourceKind::DataFile;
    statusBar()->showMessage(Q(PathText(file)));
    FinishLoad();
    return true;
}

void MainWindow::FinishLoad() {
    // The filter and the time range worked on the measurement that was replaced.
    for (QWidget* dialog : std::initializer_list<QWidget*>{filterDialog, rangeDialog})
        if (dialog != nullptr)
            dialog->hide();
    summaryLines_.clear();
    summaryView->clear();
    SetIntervalFactor(1);
    const bool vehicles = data_.DataMode == DataMode::SingleVehicle;
    vehicleListButton->setEnabled(vehicles);
    for (QToolButton* button :
         {intervalListButton, chartButton, summaryButton, speedLimitButton, printButton})
        button->setEnabled(true);
    commentAction->setEnabled(true);
    exportAction->setEnabled(true);
    ExportCsv1->setEnabled(true);
    reportAction->setEnabled(true);
    if (vehicles) {
        ActivateView(MainView::VehicleList);
        ShowVehicleList();
    } else {
        ActivateView(MainView::IntervalList);
        ShowIntervalList();
    }
    // Page Down works at once.
    listView->setFocus(Qt::OtherFocusReason);
}

void MainWindow::FinishCardRead(const std::filesystem::path& cardFile, const std::string& device) {
    data_.MarkedCount = 0;
    dataSource_ = cardFile;
    dataSourceKind_ = cardFile.empty() ? ReportSourceKind::CardReader : ReportSourceKind::CardFile;
    dataDevice_ = device;
    FinishLoad();
    commentDialog->exec();
}

QString MainWindow::SaveFileName(const QString& pipeFilter, const QString& defaultSuffix,
                                 const QString& caption) {
    return dialogs_->SaveFileName(this, caption, Folder(settings_.DataPath), pipeFilter, defaultSuffix);
}

void MainWindow::SaveView(int scopeValue) {
    const SaveScope scope = scopeValue == 0 ? SaveScope::Filtered : SaveScope::All;
    QString file;
    switch (view_) {
    case MainView::VehicleList:
        file = SaveFileName(QStringLiteral("Korvelan - File (*.lng)|*.lng"), QStringLiteral("lng"),
                            saveMenu->menuAction()->iconText());
        if (!file.isEmpty() && Guarded([&] { SaveVehicleList(file.toStdString(), data_, scope); }))
            statusBar()->showMessage(file);
        break;
    case MainView::IntervalList:
        file = SaveFileName(QStringLiteral("Korvelan - File (*.sht)|*.sht"), QStringLiteral("sht"),
                            saveMenu->menuAction()->iconText());
        if (!file.isEmpty() &&
            Guarded([&] { SaveIntervalList(file.toStdString(), data_, scope, selections_.IntervalFactor); }))
            statusBar()->showMessage(file);
        break;
    case MainView::Chart:
        if (scope != SaveScope::All)
            return;
        file =
            SaveFileName(QStringLiteral("Diagramm - Metafile (*.wmf)|*.wmf|Diagramm - Bitmap (*.bmp)|*.bmp"),
                         QStringLiteral("wmf"), saveMenu->menuAction()->iconText());
        if (!file.isEmpty())
            emit chartPictureRequested(file);
        break;
    case MainView::Summary:
        if (scope != SaveScope::All)
            return;
        file = SaveFileName(QStringLiteral("Korvelan - File (*.txt)|*.txt"), QStringLiteral("txt"),
                            saveMenu->menuAction()->iconText());
        if (!file.isEmpty() && Guarded([&] { SaveSummaryText(file.toStdString(), summaryLines_); }))
            statusBar()->showMessage(file);
        break;
    case MainView::None:
        break;
    }
}

void MainWindow::SaveFilteredData() {
    SaveView(0);
}

void MainWindow::SaveAllData() {
    SaveView(1);
}

void MainWindow::ExportAscii() {
    if (view_ == MainView::None)
        return;
    const QString file = SaveFileName(QStringLiteral("ASCII - Export - File (*.asc)|*.asc"),
                                      QStringLiteral("asc"), exportAction->iconText());
    if (file.isEmpty())
        return;
    const ExportView exportView = view_ == MainView::VehicleList    ? ExportView::VehicleList
                                  : view_ == MainView::IntervalList ? ExportView::IntervalList
                                  : view_ == MainView::Chart        ? ExportView::Chart
                                                                    : ExportView::Summary;
    if (Guarded([&] { ::ExportAscii(file.toStdString(), exportView, data_, summaryLines_); }))
        statusBar()->showMessage(file);
}

void MainWindow::ExportCsv() {
    if (view_ == MainView::None)
        return;
    const QString file = SaveFileName(Q(texts_[603]), QStringLiteral("csv"), ExportCsv1->iconText());
    if (file.isEmpty())
        return;
    const CsvExportRequest request = CsvRequestOfScreen(settings_, data_, selections_, dataSource_);
    if (Guarded([&] {
            ExportScreenCsv(file.toStdString(), view_, data_, request, chartPanel->chartWidget->Chart());
        }))
        statusBar()->showMessage(file);
}

namespace {
double TodayAsDayCount() {
    const QDate today = QDate::currentDate();
    return TryEncodeDate(today.year(), today.month(), today.day()).value_or(0);
}
} // namespace

ReportRequest MainWindow::ReportRequestOf(const ReportFields& fields) const {
    const CsvExportRequest source = CsvRequestOfScreen(settings_, data_, selections_, dataSource_);
    return {
        fields.Site,          fields.Direction1, fields.Direction2, fields.Author,   source.Source.FileName,
        source.Source.Sha256, ProgramVersion,    TodayAsDayCount(), dataSourceKind_, dataDevice_};
}

void MainWindow::ShowReport() {
    if (view_ == MainView::None)
        return;
    IniFile ini(PathText(settingsFile_));
    ReportDialog dialog(ReadReportFields(ini), texts_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ReportFields fields = dialog.Fields();
    const ReportRequest request = ReportRequestOf(fields);
    ReportDocument document;
    if (!Guarded([&] {
            WriteReportFields(ini, fields);
            document =
                BuildReport(data_, StatisticsSettingsOf(settings_, data_, selections_), request, texts_);
        }))
        return;
    PreviewReport(this, document, texts_);
}

// --- dialogs ------------------------------------------------------------------------------------

void MainWindow::EditComment() {
    commentDialog->exec();
}

void MainWindow::ShowSettings() {
    settingsDialog->exec();
    if (view_ == MainView::Summary)
        ShowSummary(); // the key figures follow the free-flow gap and the thresholds
}

void MainWindow::ShowAbout() {
    aboutDialog->exec();
}

void MainWindow::ShowHelp() {
    const std::filesystem::path page = FindShippedFile(programDirectory_, HelpPageOf(languageFileInUse_));
    if (!std::filesystem::exists(page)) {
        const CoreError missing(ProgramMessage::HelpNotFound, PathText(page));
        dialogs_->ShowMessage(this, FileDialogs::MessageKind::Error, QStringLiteral("Fehler!"),
                              QStringLiteral("Fehler!\n\n") + Q(missing.Message(texts_)));
        return;
    }
    if (helpWindow_ == nullptr)
        helpWindow_ = new HelpWindow(this);
    helpWindow_->ShowPage(page, QStringLiteral("Korvelan II – ") + Q(texts_[31]));
}

void MainWindow::Quit() {
    close();
}

void MainWindow::ShowFilterOrRange() {
    const QRect list(listView->mapToGlobal(QPoint(0, 0)), listView->size());
    const int textLeft = listView->mapToGlobal(QPoint(listView->TextLeft(), 0)).x();
    const int textRight = listView->mapToGlobal(QPoint(listView->TextRight(), 0)).x();
    if (view_ == MainView::VehicleList) {
        filterDialog->PlaceBesideList(list, textLeft, textRight, frameGeometry());
        filterDialog->show();
        filterDialog->raise();
        filterDialog->activateWindow();
    } else if (view_ == MainView::IntervalList) {
        rangeDialog->PlaceBesideList(list, textLeft, textRight, frameGeometry());
        rangeDialog->show();
        rangeDialog->raise();
        rangeDialog->activateWindow();
    }
}

void MainWindow::SetMainToolBarVisible(bool visible) {
    // The buttons go, the bar's room stays: the list below does not move.
    if (!visible && !barEmptied_) {
        barEmptied_ = true;
        mainToolBar->setFixedHeight(mainToolBar->height());
        for (QAction* action : mainToolBar->actions())
            if (action->isVisible()) {
                hiddenBarActions_.push_back(action);
                action->setVisible(false);
            }
        mainToolBar->layout()->activate(); // the buttons go now, not at the next layout pass
    } else if (visible && barEmptied_) {
        barEmptied_ = false;
        for (QAction* action : hiddenBarActions_)
            action->setVisible(true);
        hiddenBarActions_.clear();
        mainToolBar->setMinimumHeight(0);
        mainToolBar->setMaximumHeight(QWIDGETSIZE_MAX);
        mainToolBar->layout()->activate();
    }
}

void MainWindow::PrintView() {
    emit printRequested(view_);
}

void MainWindow::ImportPeloData() {
    // The data file dialog's folder: the import shares it with "Öffnen".
    const QString file = dialogs_->OpenFileName(this, importAction->iconText(), Folder(settings_.DataPath),
                                                QStringLiteral("Pelo-Dateien (*.pel)|*.pel"));
    if (file.isEmpty())
        return;
    if (!Guarded([&] { ImportPeloFile(data_, file.toStdString()); }))
        return;
    dataSource_ = file.toStdString();
    dataSourceKind_ = ReportSourceKind::PeloFile;
    statusBar()->showMessage(file);
    FinishLoad(); // imported intervals: the interval list
}

void MainWindow::ReadSmartMediaCard() {
    smartMediaDialog->SmartMediaReadDone = false;
    smartMediaDialog->exec();
    if (smartMediaDialog->SmartMediaReadDone)
        FinishCardRead({}, smartMediaDialog->portChoice->currentText().toStdString());
}

void MainWindow::ReadCardFile() {
    const QString filter = texts_[Text::CardFileFilter].empty()
                               ? QStringLiteral("MM / SD - Card (*.txt;*.bin)|*.txt;*.bin")
                               : Q(texts_[Text::CardFileFilter]);
    const QString file =
        dialogs_->OpenFileName(this, cardFileAction->iconText(), Folder(settings_.CardPath), filter);
    if (file.isEmpty())
        return;
    if (cardFileDialog->Execute(file) != QDialog::Accepted)
        return;
    CompleteCardRead(data_);
    statusBar()->showMessage(file);
    FinishCardRead(file.toStdString(), {});
}

// --- window -------------------------------------------------------------------------------------

void MainWindow::OnShow() {
    data_.LimitColourShift = LimitColourShiftOf(settings_);
    if (!pendingWarning_.isEmpty()) {
        const QString warning = pendingWarning_;
        pendingWarning_.clear();
        QMetaObject::invokeMethod(
            this,
            [this, warning] {
                dialogs_->ShowMessage(this, FileDialogs::MessageKind::Warning, windowTitle(), warning);
            },
            Qt::QueuedConnection);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        OnShow();
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    for (QWidget* dialog : std::initializer_list<QWidget*>{filterDialog, rangeDialog})
        if (dialog != nullptr)
            dialog->hide();
    event->accept();
}

bool MainWindow::Guarded(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const CoreError& error) {
        if (error.textNumber() == 0)
            ShowWarning(Q(error.Message(texts_)));
        else
            ShowError(error);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    return false;
}

void MainWindow::ShowError(const std::exception& error) {
    const auto* core = dynamic_cast<const CoreError*>(&error);
    const QString text = core != nullptr ? Q(core->Message(texts_)) : QString::fromLocal8Bit(error.what());
    dialogs_->ShowMessage(this, FileDialogs::MessageKind::Error, windowTitle(), text);
}

void MainWindow::ShowWarning(const QString& text) {
    dialogs_->ShowMessage(this, FileDialogs::MessageKind::Warning, windowTitle(), text);
}

// --- chart view and printing ----------------------------------------------------------------------

namespace {
PrintView PrintViewOf(MainView view) {
    switch (view) {
    case MainView::VehicleList:
        return PrintView::VehicleList;
    case MainView::IntervalList:
        return PrintView::IntervalList;
    case MainView::Chart:
        return PrintView::Chart;
    default:
        return PrintView::Summary;
    }
}
} // namespace

void MainWindow::ConnectChart() {
    connect(this, &MainWindow::chartViewEntered, chartPanel,
            [this] { Guarded([this] { chartPanel->EnterChartView(); }); });
    connect(this, &MainWindow::chartRedrawRequested, chartPanel,
            [this] { Guarded([this] { chartPanel->DrawSelectedChart(); }); });
    connect(this, &MainWindow::percentilesChanged, chartPanel, &ChartPanel::SetPercentiles);
    connect(this, &MainWindow::textsChanged, chartPanel, &ChartPanel::ApplyTexts);
    connect(this, &MainWindow::chartPictureRequested, this, [this](const QString& file) {
        if (Guarded([&] { chartPanel->SavePicture(file.toStdString()); }))
            statusBar()->showMessage(file);
    });
    // The print button prints the view; a right click on it shows the print preview.
    auto source = [this](MainView view) {
        return PrintSource{data_, texts_, chartPanel->chartWidget->Chart(),
                           chartPanel->chartWidget->Appearance(),
                           view == MainView::Summary ? summaryLines_ : std::vector<std::string>{}};
    };
    auto printer = [this]() -> QPrinter& {
        if (!printer_)
            printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        return *printer_;
    };
    connect(this, &MainWindow::printRequested, this, [this, source, printer](MainView view) {
        if (view != MainView::None)
            Guarded([&] { PrintCurrentView(this, printer(), PrintViewOf(view), source(view)); });
    });
    printButton->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(printButton, &QWidget::customContextMenuRequested, this, [this, source, printer] {
        if (printButton->isEnabled() && view_ != MainView::None)
            Guarded([&] { PreviewCurrentView(this, printer(), PrintViewOf(view_), source(view_)); });
    });
    // The percentile buttons "V1" and "V3" offer their menus on the right mouse button.
    for (const auto& pair : {std::pair{chartPanel->v1Button, lowerPercentileMenu},
                             std::pair{chartPanel->v3Button, upperPercentileMenu}}) {
        QToolButton* const button = pair.first;
        QMenu* const menu = pair.second;
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [button, menu](const QPoint& at) { menu->popup(button->mapToGlobal(at)); });
    }
    // The texts and percentiles were read before the chart tool bar was connected.
    chartPanel->SetPercentiles(selections_.LowerPercentile, selections_.UpperPercentile, {}, {});
    chartPanel->ApplyTexts();
}
