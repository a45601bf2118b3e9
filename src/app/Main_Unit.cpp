#include "app/Main_Unit.h"

#include "app/HelpWindow.h"
#include "app/Info.h"
#include "app/Kommentar_aendern.h"
#include "app/Mnemonics.h"
#include "app/Pictures.h"
#include "cards/CardCommon.h"
#include "cards/Import.h"
#include "cards/MM_SD_Card.h"
#include "cards/SM_Card.h"
#include "charts/ChartPanel.h"
#include "charts/ChartWidget.h"
#include "charts/Druck.h"
#include "data/CoreError.h"
#include "data/Daten_Load.h"
#include "data/Export.h"
#include "data/Speichern.h"
#include "evaluation/Mode_Lng.h"
#include "evaluation/Mode_Sht.h"
#include "evaluation/TDBereich.h"
#include "evaluation/TDFilter.h"
#include "evaluation/Zusammen.h"
#include "lang/ShippedFiles.h"
#include "lang/LanguageLocale.h"
#include "lang/Sprachfile.h"
#include "settings/IniFile.h"
#include "settings/SettingsStore.h"
#include "settings/TEinstellungen.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
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

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

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

// --- ListMemo -----------------------------------------------------------------------------------

ListMemo::ListMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUndoRedoEnabled(false);
}

void ListMemo::mouseDoubleClickEvent(QMouseEvent* event) {
    // The default handling puts the caret on the clicked line first.
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void ListMemo::wheelEvent(QWheelEvent* event) {
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

int ListMemo::LineHeight() const {
    const int laidOut = qRound(blockBoundingRect(document()->firstBlock()).height());
    return laidOut > 0 ? laidOut : fontMetrics().lineSpacing();
}

int ListMemo::TextHeight() const {
    return viewport()->height() - 2 * qRound(document()->documentMargin());
}

int ListMemo::TextLeft() const {
    return viewport()->geometry().left() + qRound(document()->documentMargin());
}

int ListMemo::TextRight() const {
    int widest = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
        widest = std::max(widest, fontMetrics().horizontalAdvance(block.text()));
    return TextLeft() + widest;
}

void ListMemo::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    emit resized();
}

void ListMemo::keyPressEvent(QKeyEvent* event) {
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

// --- TMain: creation ----------------------------------------------------------------------------

TMain::TMain(TMainOptions options, QWidget* parent) : QMainWindow(parent), options_(std::move(options)) {
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
         {ToolButton8, ToolButton9, ToolButton10, ToolButton11, ToolButton13, ToolButton16})
        button->setEnabled(false);
    Kommentar1->setEnabled(false);
    Export1->setEnabled(false);

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

TMain::~TMain() = default;

void TMain::CreatePopupMenus() {
    Intervall1 = new QMenu(QStringLiteral("Intervall"), this);
    Intervall1->setObjectName(QStringLiteral("Intervall1"));
    auto* intervals = new QActionGroup(this);
    const struct {
        QAction** action;
        const char* name;
        int factor;
        QString caption;
    } intervalItems[] = {{&N5min1, "N5min1", 1, QStringLiteral("5 Minuten")},
                         {&N15Minuten1, "N15Minuten1", 3, QStringLiteral("15 Minuten")},
                         {&N30Minuten1, "N30Minuten1", 6, QStringLiteral("30 Minuten")},
                         {&N1Stunde1, "N1Stunde1", 12, QStringLiteral("1 Stunde")}};
    for (const auto& item : intervalItems) {
        QAction* action = Intervall1->addAction(IntervalIcon(item.factor), item.caption);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
        action->setData(item.factor);
        intervals->addAction(action);
        *item.action = action;
    }

    Sprache1 = new QMenu(QStringLiteral("Sprache"), this);
    Sprache1->setObjectName(QStringLiteral("Sprache1"));
    Deutsch1 = Sprache1->addAction(QStringLiteral("Deutsch"));
    Deutsch1->setObjectName(QStringLiteral("Deutsch1"));
    English1 = Sprache1->addAction(QStringLiteral("English"));
    English1->setObjectName(QStringLiteral("English1"));
    Franais1 = Sprache1->addAction(QStringLiteral("Français"));
    Franais1->setObjectName(QStringLiteral("Franais1"));
    Franais1->setVisible(false);
    auto* languages = new QActionGroup(this);
    for (QAction* action : {Deutsch1, English1, Franais1}) {
        action->setCheckable(true);
        languages->addAction(action);
    }

    Vmenu1 = new QMenu(QStringLiteral("V1"), this);
    Vmenu1->setObjectName(QStringLiteral("Vmenu1"));
    Vmenu2 = new QMenu(QStringLiteral("V3"), this);
    Vmenu2->setObjectName(QStringLiteral("Vmenu2"));
    auto* lower = new QActionGroup(this);
    auto* upper = new QActionGroup(this);
    for (int i = 0; i < 5; ++i) {
        QAction* low = Vmenu1->addAction(QStringLiteral("V %1").arg(5 + 5 * i, 2, 10, QLatin1Char('0')));
        low->setObjectName(QStringLiteral("V%1").arg(5 + 5 * i, 2, 10, QLatin1Char('0')));
        low->setCheckable(true);
        lower->addAction(low);
        QAction* high = Vmenu2->addAction(QStringLiteral("V %1").arg(75 + 5 * i));
        high->setObjectName(QStringLiteral("V%1").arg(75 + 5 * i));
        high->setCheckable(true);
        upper->addAction(high);
    }

    Tempolimit_menu = new QMenu(QStringLiteral("Tempolimit"), this);
    Tempolimit_menu->setObjectName(QStringLiteral("Tempolimit_menu"));
    auto* limits = new QActionGroup(this);
    for (int k = 1; k <= 10; ++k) {
        QAction* action =
            Tempolimit_menu->addAction(SpeedLimitIcon(k, true), QStringLiteral("%1 km/h").arg(10 * k));
        action->setObjectName(QStringLiteral("Tempolimit%1").arg(10 * k));
        action->setCheckable(true);
        action->setData(k);
        limits->addAction(action);
    }

    Zusa_Menu = new QMenu(QStringLiteral("Zusammenfassung"), this);
    Zusa_Menu->setObjectName(QStringLiteral("Zusa_Menu"));
    auto* kinds = new QActionGroup(this);
    Uebersicht1 = Zusa_Menu->addAction(QStringLiteral("Übersicht"));
    Uebersicht1->setObjectName(QStringLiteral("Uebersicht1"));
    Geschwindigkeit1 = Zusa_Menu->addAction(QStringLiteral("Geschwindigkeit"));
    Geschwindigkeit1->setObjectName(QStringLiteral("Geschwindigkeit1"));
    Tagesgang1 = Zusa_Menu->addAction(QStringLiteral("Tagesgang"));
    Tagesgang1->setObjectName(QStringLiteral("Tagesgang1"));
    Tagesgang1->setVisible(false);
    int kind = 1;
    for (QAction* action : {Uebersicht1, Geschwindigkeit1, Tagesgang1}) {
        action->setCheckable(true);
        action->setData(kind++);
        kinds->addAction(action);
    }
    Uebersicht1->setChecked(true);
}

void TMain::CreateMenus() {
    Datei1 = menuBar()->addMenu(QStringLiteral("Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    ffnen1 = Datei1->addAction(ToolIcon(ToolPicture::Open), QStringLiteral("Öffnen"));
    ffnen1->setObjectName(QStringLiteral("ffnen1"));
    ffnen1->setShortcut(QKeySequence::Open);
    Speichern1 = Datei1->addMenu(ToolIcon(ToolPicture::Save), QStringLiteral("Speichern"));
    Speichern1->setObjectName(QStringLiteral("Speichern1"));
    Bereich1 = Speichern1->addAction(QStringLiteral("gefiltert speichern"));
    Bereich1->setObjectName(QStringLiteral("Bereich1"));
    Bereich1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    Alles1 = Speichern1->addAction(QStringLiteral("alles speichern"));
    Alles1->setObjectName(QStringLiteral("Alles1"));
    Alles1->setShortcut(QKeySequence::Save);
    Kommentar1 = Datei1->addAction(QStringLiteral("Kommentar ändern"));
    Kommentar1->setObjectName(QStringLiteral("Kommentar1"));
    Import1 = Datei1->addAction(QStringLiteral("Import"));
    Import1->setObjectName(QStringLiteral("Import1"));
    Import1->setVisible(false);
    Export1 = Datei1->addAction(QStringLiteral("Export"));
    Export1->setObjectName(QStringLiteral("Export1"));
    Datei1->addSeparator();
    Einstellungen1 = Datei1->addAction(QStringLiteral("Einstellungen"));
    Einstellungen1->setObjectName(QStringLiteral("Einstellungen1"));
    Datei1->addSeparator();
    Beenden1 = Datei1->addAction(QStringLiteral("Beenden"));
    Beenden1->setObjectName(QStringLiteral("Beenden1"));
    Beenden1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    Einlesen1 = menuBar()->addMenu(QStringLiteral("Einlesen"));
    Einlesen1->setObjectName(QStringLiteral("Einlesen1"));
    SmartMediaCard1 = Einlesen1->addAction(QStringLiteral("SmartMedia - Card"));
    SmartMediaCard1->setObjectName(QStringLiteral("SmartMediaCard1"));
    MMSDCard1 = Einlesen1->addAction(QStringLiteral("MM / SD - Card"));
    MMSDCard1->setObjectName(QStringLiteral("MMSDCard1"));

    Info1 = menuBar()->addMenu(QStringLiteral("Info"));
    Info1->setObjectName(QStringLiteral("Info1"));
    Programm1 = Info1->addAction(ToolIcon(ToolPicture::About), QStringLiteral("Programm"));
    Programm1->setObjectName(QStringLiteral("Programm1"));
    helpAction_ = Info1->addAction(QStringLiteral("Hilfe"));
    helpAction_->setObjectName(QStringLiteral("HelpAction"));
    helpAction_->setShortcut(QKeySequence::HelpContents);

    // The print button has no menu item; its shortcut belongs to the window.
    Drucken1 = new QAction(QStringLiteral("Drucken"), this);
    Drucken1->setObjectName(QStringLiteral("Drucken1"));
    Drucken1->setShortcut(QKeySequence::Print);
    addAction(Drucken1);

    const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    for (std::size_t i = 0; i < ViewShortcuts.size(); ++i) {
        ViewShortcuts[i] = new QAction(this);
        ViewShortcuts[i]->setObjectName(QStringLiteral("ViewShortcut%1").arg(i + 1));
        ViewShortcuts[i]->setShortcut(QKeySequence(Qt::CTRL | digits[i]));
        addAction(ViewShortcuts[i]);
    }
}

void TMain::CreateToolBar() {
    EinzeldatenBar = new QToolBar(QStringLiteral("EinzeldatenBar"), this);
    EinzeldatenBar->setObjectName(QStringLiteral("EinzeldatenBar"));
    EinzeldatenBar->setMovable(false);
    EinzeldatenBar->setFloatable(false);
    EinzeldatenBar->setIconSize(QSize(24, 24));
    EinzeldatenBar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, EinzeldatenBar);

    ToolButton2 =
        NewToolButton(EinzeldatenBar, "ToolButton2", ToolIcon(ToolPicture::Open), QStringLiteral("Öffnen"));
    ToolButton3 = NewToolButton(EinzeldatenBar, "ToolButton3", ToolIcon(ToolPicture::Save),
                                QStringLiteral("Speichern"));
    ToolButton3->setMenu(Speichern1);
    ToolButton3->setPopupMode(QToolButton::InstantPopup);
    ToolButton4 = NewToolButton(EinzeldatenBar, "ToolButton4", ToolIcon(ToolPicture::ReadCard),
                                QStringLiteral("Einlesen"));
    ToolButton4->setMenu(Einlesen1);
    ToolButton4->setPopupMode(QToolButton::InstantPopup);
    EinzeldatenBar->addSeparator();
    ToolButton6 = NewToolButton(EinzeldatenBar, "ToolButton6", ToolIcon(ToolPicture::Filter),
                                QStringLiteral("Datenfilter"));
    EinzeldatenBar->addSeparator();
    ToolButton8 = NewToolButton(EinzeldatenBar, "ToolButton8", ToolIcon(ToolPicture::VehicleList),
                                QStringLiteral("Einzelfahrzeug-Liste"));
    ToolButton9 = NewToolButton(EinzeldatenBar, "ToolButton9", ToolIcon(ToolPicture::IntervalList),
                                QStringLiteral("Intervall-Liste"));
    ToolButton10 =
        NewToolButton(EinzeldatenBar, "ToolButton10", ToolIcon(ToolPicture::Chart), QStringLiteral("Grafik"));
    ToolButton11 = NewToolButton(EinzeldatenBar, "ToolButton11", ToolIcon(ToolPicture::Summary),
                                 QStringLiteral("Zusammenfassung"));
    viewButtons_ = new QButtonGroup(this);
    viewButtons_->setExclusive(true);
    for (QToolButton* button : {ToolButton8, ToolButton9, ToolButton10, ToolButton11}) {
        button->setCheckable(true);
        viewButtons_->addButton(button);
    }
    // The summary kind is chosen with the right mouse button, or from the button's arrow.
    ToolButton11->setMenu(Zusa_Menu);
    ToolButton11->setPopupMode(QToolButton::MenuButtonPopup);
    ToolButton11->setContextMenuPolicy(Qt::CustomContextMenu);
    EinzeldatenBar->addSeparator();
    ToolButton43 =
        NewToolButton(EinzeldatenBar, "ToolButton43", IntervalIcon(1), QStringLiteral("Intervalllänge"));
    ToolButton43->setMenu(Intervall1);
    ToolButton43->setPopupMode(QToolButton::InstantPopup);
    ToolButton13 =
        NewToolButton(EinzeldatenBar, "ToolButton13", SpeedLimitIcon(5, false), QStringLiteral("Tempolimit"));
    ToolButton13->setCheckable(true);
    ToolButton13->setMenu(Tempolimit_menu);
    ToolButton13->setPopupMode(QToolButton::MenuButtonPopup);
    ToolButton13->setContextMenuPolicy(Qt::CustomContextMenu);
    EinzeldatenBar->addSeparator();
    ToolButton16 = NewToolButton(EinzeldatenBar, "ToolButton16", ToolIcon(ToolPicture::Print),
                                 QStringLiteral("Drucken"));
    ToolButton18 =
        NewToolButton(EinzeldatenBar, "ToolButton18", ToolIcon(ToolPicture::About), QStringLiteral("Info"));
    ToolButton19 = NewToolButton(EinzeldatenBar, "ToolButton19", ToolIcon(ToolPicture::Language),
                                 QStringLiteral("Sprache"));
    ToolButton19->setMenu(Sprache1);
    ToolButton19->setPopupMode(QToolButton::InstantPopup);
    // QToolBar shows and hides the action that carries a widget, not the widget.
    for (QAction* action : EinzeldatenBar->actions())
        if (EinzeldatenBar->widgetForAction(action) == ToolButton19)
            action->setObjectName(QStringLiteral("ToolButton19Action"));
}

void TMain::CreateViews() {
    Views = new QStackedWidget(this);
    Views->setObjectName(QStringLiteral("Views"));
    setCentralWidget(Views);

    auto* empty = new QWidget(Views);
    empty->setObjectName(QStringLiteral("EmptyPage"));
    Views->addWidget(empty);

    ListPage = new QWidget(Views);
    ListPage->setObjectName(QStringLiteral("ListPage"));
    auto* listLayout = new QGridLayout(ListPage);
    listLayout->setContentsMargins(5, 2, 5, 5);
    listLayout->setHorizontalSpacing(5);
    listLayout->setVerticalSpacing(2);
    SatzNummer = new QLabel(ListPage);
    SatzNummer->setObjectName(QStringLiteral("SatzNummer"));
    SatzNummer->setFont(ListFont());
    SatzNummer->setMinimumHeight(18);
    QSizePolicy keep = SatzNummer->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    SatzNummer->setSizePolicy(keep);
    SatzNummer->hide();
    Memo1 = new ListMemo(ListPage);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(ListFont());
    Memo1->setAccessibleName(QStringLiteral("Liste"));
    ScrollBar1 = new QScrollBar(Qt::Vertical, ListPage);
    ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
    ScrollBar1->setAccessibleName(QStringLiteral("Liste blättern"));
    ScrollBar1->setFixedWidth(20);
    ScrollBar1->setRange(1, 1);
    ScrollBar1->setSingleStep(1);
    ScrollBar1->setPageStep(15);
    listLayout->addWidget(SatzNummer, 0, 0);
    listLayout->addWidget(Memo1, 1, 0);
    listLayout->addWidget(ScrollBar1, 1, 1);
    listLayout->setColumnStretch(0, 1);
    listLayout->setRowStretch(1, 1);
    Views->addWidget(ListPage);

    ChartPage = new QWidget(Views);
    ChartPage->setObjectName(QStringLiteral("ChartPage"));
    auto* chartLayout = new QVBoxLayout(ChartPage);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->setSpacing(0);
    Grafik = new ChartPanel(data_, settings_, texts_, selections_, ChartPage);
    chartLayout->addWidget(Grafik);
    Views->addWidget(ChartPage);

    auto* summaryPage = new QWidget(Views);
    summaryPage->setObjectName(QStringLiteral("SummaryPage"));
    auto* summaryLayout = new QVBoxLayout(summaryPage);
    summaryLayout->setContentsMargins(5, 5, 5, 5);
    Memo2 = new QPlainTextEdit(summaryPage);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setFont(ListFont());
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setAccessibleName(QStringLiteral("Zusammenfassung"));
    summaryLayout->addWidget(Memo2);
    Views->addWidget(summaryPage);

    Views->setCurrentIndex(EmptyPage);
}

void TMain::CreateDialogs() {
    // Created once, in the order the program has always created its forms, and only hidden
    // when closed.
    frmAbout = new TfrmAbout(programDirectory_, this);
    DFilter = new TDFilter(data_, texts_, *this, this);
    Einstellungen = new TEinstellungen(settings_, data_, texts_, *dialogs_, this);
    Einstellungen->LowerPercentileChosen = [this](int index) { Vmenu1Click(index); };
    Einstellungen->UpperPercentileChosen = [this](int index) { Vmenu2Click(index); };
    Einstellungen->WriteSettings = [this] { WriteConfig(); };
    DBereich = new TDBereich(data_, texts_, *this, this);
    SM_Card = new TSM_Card(data_, settings_, texts_, this);
    Kommentar_aen = new TKommentar_aen(data_, texts_, this);
    MM_SD_Card = new TMM_SD_Card(data_, settings_, texts_, this);
    // The card dialogs tell their failures the way the main window does.
    const auto warn = [this](QWidget* parent) {
        return [this, parent](const QString& text) {
            dialogs_->ShowMessage(parent, FileDialogs::MessageKind::Warning, parent->windowTitle(), text);
        };
    };
    SM_Card->ReportError = warn(SM_Card);
    SM_Card->ReportInformation = [this](const QString& text) {
        dialogs_->ShowMessage(SM_Card, FileDialogs::MessageKind::Information, SM_Card->windowTitle(), text);
    };
    MM_SD_Card->ReportError = warn(MM_SD_Card);
    ApplyLanguageChoice(); // the calendar's month and day names
}

void TMain::ConnectCommands() {
    connect(ffnen1, &QAction::triggered, this, [this] { LoadDataFile(); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { LoadDataFile(); });
    connect(Bereich1, &QAction::triggered, this, [this] { Bereich1Click(); });
    connect(Alles1, &QAction::triggered, this, [this] { Alles1Click(); });
    connect(Kommentar1, &QAction::triggered, this, [this] { Kommentar1Click(); });
    connect(Import1, &QAction::triggered, this, [this] { Import1Click(); });
    connect(Export1, &QAction::triggered, this, [this] { ExportAscii(); });
    connect(Einstellungen1, &QAction::triggered, this, [this] { Einstellungen1Click(); });
    connect(Beenden1, &QAction::triggered, this, [this] { Beenden1Click(); });
    connect(SmartMediaCard1, &QAction::triggered, this, [this] { SmartMediaCard1Click(); });
    connect(MMSDCard1, &QAction::triggered, this, [this] { MMSDCard1Click(); });
    connect(Programm1, &QAction::triggered, this, [this] { Programm1Click(); });
    connect(helpAction_, &QAction::triggered, this, [this] { ShowHelp(); });
    connect(ToolButton18, &QToolButton::clicked, this, [this] { Programm1Click(); });
    connect(ToolButton6, &QToolButton::clicked, this, [this] { ToolButton6Click(); });
    connect(ToolButton8, &QToolButton::clicked, this, [this] { ToolButton8Click(); });
    connect(ToolButton9, &QToolButton::clicked, this, [this] { ToolButton9Click(); });
    connect(ToolButton10, &QToolButton::clicked, this, [this] { ToolButton10Click(); });
    connect(ToolButton11, &QToolButton::clicked, this, [this] { ToolButton11Click(); });
    connect(ToolButton13, &QToolButton::clicked, this, [this] { ToolButton13Click(); });
    connect(ToolButton16, &QToolButton::clicked, this, [this] { ToolButton16Click(); });
    connect(Drucken1, &QAction::triggered, this, [this] {
        if (ToolButton16->isEnabled())
            ToolButton16Click();
    });
    connect(ToolButton11, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { Zusa_Menu->popup(ToolButton11->mapToGlobal(at)); });
    connect(ToolButton13, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { Tempolimit_menu->popup(ToolButton13->mapToGlobal(at)); });

    for (QAction* action : Intervall1->actions())
        connect(action, &QAction::triggered, this,
                [this, action] { IntervallClick(action->data().toInt()); });
    connect(Deutsch1, &QAction::triggered, this, [this] { LoadLanguageFile("deutsch.cty"); });
    connect(English1, &QAction::triggered, this, [this] { LoadLanguageFile("english.cty"); });
    connect(Franais1, &QAction::triggered, this, [this] { LoadLanguageFile("francais.cty"); });
    for (int i = 0; i < 5; ++i) {
        connect(Vmenu1->actions().at(i), &QAction::triggered, this, [this, i] { Vmenu1Click(i); });
        connect(Vmenu2->actions().at(i), &QAction::triggered, this, [this, i] { Vmenu2Click(i); });
    }
    for (QAction* action : Tempolimit_menu->actions())
        connect(action, &QAction::triggered, this,
                [this, action] { Tempolimit_menuClick(action->data().toInt()); });
    for (QAction* action : Zusa_Menu->actions())
        connect(action, &QAction::triggered, this,
                [this, action] { Zusa_MenuClick(action->data().toInt()); });

    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this](int position) {
        ScrollBar1Change(position);
        // A click on an arrow or the track, a key or the wheel ends its scroll at once; a drag
        // ends when the thumb is released.
        if (!ScrollBar1->isSliderDown())
            ScrollBar1Scroll(true);
    });
    connect(ScrollBar1, &QScrollBar::sliderReleased, this, [this] { ScrollBar1Scroll(true); });
    connect(Memo1, &ListMemo::doubleClicked, this, [this] { Memo1DblClick(); });
    connect(Memo1, &ListMemo::pageRequested, this, [this](int delta) {
        const int page = std::max(1, PageLines() + 1);
        if (delta >= 1000000)
            delta = page;
        else if (delta <= -1000000)
            delta = -page;
        SetListPosition(ScrollBar1->value() + delta);
    });
    // A page holds as many lines as the list's height allows; a new height draws it again.
    connect(Memo1, &ListMemo::resized, this, [this] {
        if (view_ == MainView::VehicleList)
            RedrawVehiclePage();
        else if (view_ == MainView::IntervalList)
            RenderIntervalPage(data_.IntervalListTop);
    });
    // Ctrl+End shows the last full page, not a page holding only the last record.
    connect(Memo1, &ListMemo::homeEndRequested, this, [this](bool end) {
        SetListPosition(end ? LastFullPageTop(RecordCountOfList(), PageLines()) : ScrollBar1->minimum());
    });
    connect(Memo1, &ListMemo::stepPastPageRequested, this,
            [this](int direction) { StepPastPage(direction); });
    const std::array<QToolButton*, 4> viewButtons{ToolButton8, ToolButton9, ToolButton10, ToolButton11};
    for (std::size_t i = 0; i < ViewShortcuts.size(); ++i)
        connect(ViewShortcuts[i], &QAction::triggered, this, [button = viewButtons[i]] {
            // Not while the filter or time range has emptied the tool bar.
            if (button->isVisible() && button->isEnabled())
                button->click();
        });
}

// --- settings and language ----------------------------------------------------------------------

void TMain::LoadConfig() {
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

    for (QAction* action : EinzeldatenBar->actions())
        if (EinzeldatenBar->widgetForAction(action) == ToolButton19)
            action->setVisible(settings_.LanguageSwitchShown);
    Import1->setVisible(settings_.PeloEnabled);
    Vmenu1Click(settings_.VLowIndex);
    Vmenu2Click(settings_.VHighIndex);
    if (loaded.warning)
        pendingWarning_ = Q(loaded.warning->Message(texts_));
}

void TMain::WriteConfig() {
    Guarded([this] { ::WriteConfig(*ini_, settings_); });
}

void TMain::LoadLanguageFile(const std::string& fileName) {
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

void TMain::ApplyLanguageChoice() {
    Deutsch1->setChecked(languageFile_ == "deutsch.cty");
    English1->setChecked(languageFile_ == "english.cty");
    Franais1->setChecked(languageFile_ == "francais.cty");
    if (DBereich != nullptr)
        DBereich->SetCalendarLocale(QLocale(Q(LocaleNameOfLanguageFile(languageFile_))));
}

void TMain::ApplyMnemonics() {
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
    mark({Datei1->menuAction(), Einlesen1->menuAction(), Info1->menuAction()});
    for (const QMenu* menu : {Datei1, Speichern1, Einlesen1, Info1})
        mark(itemsOf(menu));
}

void TMain::ApplyViewHints() {
    // The view buttons name their shortcuts, in the words of the language ("Strg+1").
    const QString control = texts_[265].empty() ? QStringLiteral("Strg") : Q(texts_[265]);
    const std::array<std::pair<QToolButton*, int>, 4> buttons{
        {{ToolButton8, 41}, {ToolButton9, 42}, {ToolButton10, 43}, {ToolButton11, 44}}};
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

void TMain::ApplyTexts() {
    SetCaption(Datei1, texts_[1]);
    SetCaption(Einlesen1, texts_[2]);
    SetCaption(Info1, texts_[3]);
    SetCaption(ffnen1, texts_[10]);
    SetCaption(Speichern1, texts_[11]);
    SetCaption(Kommentar1, texts_[12]);
    SetCaption(Import1, texts_[13]);
    SetCaption(Export1, texts_[14]);
    SetCaption(Einstellungen1, texts_[15]);
    SetCaption(Beenden1, texts_[16]);
    SetCaption(SmartMediaCard1, texts_[20]);
    SetCaption(MMSDCard1, texts_[21]);
    SetCaption(Bereich1, texts_[25]);
    SetCaption(Alles1, texts_[26]);
    SetCaption(Programm1, texts_[30]);
    SetCaption(helpAction_, texts_[31]);
    SetCaption(Uebersicht1, texts_[35]);
    SetCaption(Geschwindigkeit1, texts_[36]);
    if (!texts_[79].empty()) {
        N5min1->setText(QStringLiteral("5 ") + Q(texts_[79]));
        N15Minuten1->setText(QStringLiteral("15 ") + Q(texts_[79]));
        N30Minuten1->setText(QStringLiteral("30 ") + Q(texts_[79]));
    }
    if (!texts_[80].empty())
        N1Stunde1->setText(QStringLiteral("1 ") + Q(texts_[80]));
    SetCaption(Drucken1, texts_[47]);

    SetHint(ToolButton2, texts_[10]);
    SetHint(ToolButton3, texts_[11]);
    SetHint(ToolButton4, texts_[2]);
    UpdateFilterRangeHint();
    ApplyViewHints();
    SetHint(ToolButton43, texts_[45]);
    SetHint(ToolButton13, texts_[46]);
    SetHint(ToolButton16, texts_[47]);
    SetHint(ToolButton18, texts_[48]);
    SetHint(ToolButton19, texts_[49]);
    if (!texts_[264].empty())
        ScrollBar1->setAccessibleName(Q(texts_[264]));
    ApplyMnemonics();
    ApplyLanguageChoice();
    NameLists();
    ApplyPercentileHints();
    if (DFilter != nullptr)
        DFilter->ApplyTexts();
    if (DBereich != nullptr)
        DBereich->ApplyTexts();
    emit textsChanged();
}

void TMain::RedrawCurrentView() {
    // The caret stays on its line: the filter and time range take record numbers from it.
    const auto redrawListPage = [this](const std::function<void()>& render) {
        const int line = ListCursorLine();
        render();
        Memo1->setTextCursor(QTextCursor(
            Memo1->document()->findBlockByNumber(std::min(line, Memo1->document()->blockCount() - 1))));
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

void TMain::NameLists() {
    // A list is named after its view and described by its column heading.
    const bool intervals = view_ == MainView::IntervalList;
    const std::string& name = intervals ? texts_[42] : texts_[41];
    const std::string& heading = intervals ? texts_[82] : texts_[81];
    if (!name.empty())
        Memo1->setAccessibleName(Q(name));
    Memo1->setAccessibleDescription(Q(heading).simplified());
    if (!texts_[44].empty())
        Memo2->setAccessibleName(Q(texts_[44]));
}

void TMain::ApplyPercentileHints() {
    static constexpr int LowerHints[] = {60, 61, 62, 63, 64}; // V 05 .. V 25
    static constexpr int UpperHints[] = {66, 67, 68, 69, 70}; // V 75 .. V 95
    const int lower = std::clamp((selections_.LowerPercentile - 5) / 5, 0, 4);
    const int upper = std::clamp((selections_.UpperPercentile - 75) / 5, 0, 4);
    const std::string& lowerText = texts_[LowerHints[lower]];
    const std::string& upperText = texts_[UpperHints[upper]];
    emit percentilesChanged(selections_.LowerPercentile, selections_.UpperPercentile,
                            lowerText.empty() ? Vmenu1->actions().at(lower)->text() : Q(lowerText),
                            upperText.empty() ? Vmenu2->actions().at(upper)->text() : Q(upperText));
}

// --- views --------------------------------------------------------------------------------------

void TMain::ApplyViewControls(MainView view) {
    const ViewControls c = ControlsOfView(view);
    Views->setCurrentIndex(c.ListShown      ? ListPageIndex
                           : c.ChartShown   ? ChartPageIndex
                           : c.SummaryShown ? SummaryPageIndex
                                            : EmptyPage);
    ToolButton6->setEnabled(c.FilterRangeEnabled);
    ToolButton43->setEnabled(c.IntervalEnabled);
    Speichern1->menuAction()->setEnabled(c.SaveMenuEnabled);
    Speichern1->setEnabled(c.SaveMenuEnabled);
    ToolButton3->setEnabled(c.SaveMenuEnabled);
    Bereich1->setEnabled(c.FilteredSaveEnabled);
    Alles1->setEnabled(c.SaveMenuEnabled);
}

void TMain::UpdateFilterRangeHint() {
    // The button opens the record filter in the vehicle list and the time range elsewhere; its
    // hint names what it opens.
    SetHint(ToolButton6, view_ == MainView::VehicleList || view_ == MainView::None ? texts_[40] : texts_[96]);
}

void TMain::ActivateView(MainView view) {
    view_ = view;
    QToolButton* button = view == MainView::VehicleList    ? ToolButton8
                          : view == MainView::IntervalList ? ToolButton9
                          : view == MainView::Chart        ? ToolButton10
                          : view == MainView::Summary      ? ToolButton11
                                                           : nullptr;
    if (button != nullptr)
        button->setChecked(true);
    ApplyViewControls(view);
    UpdateFilterRangeHint();
    NameLists();
}

bool TMain::RebuildIntervalsIfPending() {
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

void TMain::ToolButton8Click() {
    if (data_.DataMode != DataMode::SingleVehicle)
        return;
    ActivateView(MainView::VehicleList);
    ShowVehicleList();
}

void TMain::ToolButton9Click() {
    if (data_.DataMode == DataMode::None)
        return;
    ActivateView(MainView::IntervalList);
    if (data_.IntervalRebuildPending != 0) {
        if (!RebuildIntervalsIfPending())
            ToolButton8Click();
        return;
    }
    ShowIntervalList();
}

void TMain::ToolButton10Click() {
    if (data_.DataMode == DataMode::None)
        return;
    ActivateView(MainView::Chart);
    if (!RebuildIntervalsIfPending()) {
        ToolButton8Click();
        return;
    }
    EnterChartView();
}

void TMain::ToolButton11Click() {
    if (data_.DataMode == DataMode::None)
        return;
    ActivateView(MainView::Summary);
    if (!RebuildIntervalsIfPending()) {
        ToolButton8Click();
        return;
    }
    ShowSummary();
}

void TMain::EnterChartView() {
    data_.ChartOffset = 0;
    emit chartViewEntered();
}

void TMain::RedrawChart() {
    emit chartRedrawRequested();
}

void TMain::ShowSummary() {
    Guarded([this] {
        summaryLines_ =
            SummaryLines(data_, selections_, texts_, StatisticsSettingsOf(settings_, data_, selections_));
        Memo2->setPlainText(JoinLines(summaryLines_));
        Memo2->setAccessibleDescription(summaryLines_.empty() ? QString() : Q(summaryLines_.front()));
    });
}

// --- lists --------------------------------------------------------------------------------------

int TMain::PageLines() const {
    return LinesPerPage(Memo1->TextHeight(), Memo1->LineHeight());
}

int TMain::RecordCountOfList() const {
    return view_ == MainView::IntervalList ? data_.WorkIntervalCount : data_.WorkVehicleCount;
}

void TMain::StepPastPage(int direction) {
    const int before = ScrollBar1->value();
    SetListPosition(before + direction * std::max(1, PageLines() + 1));
    if (ScrollBar1->value() == before)
        return; // the first or the last page: the cursor stays
    const int line = direction > 0 ? 2 : Memo1->document()->blockCount() - 1;
    Memo1->setTextCursor(QTextCursor(Memo1->document()->findBlockByNumber(line)));
}

int TMain::ListCursorLine() const {
    return Memo1->textCursor().blockNumber();
}

void TMain::ShowVehicleList() {
    {
        const QSignalBlocker quiet(ScrollBar1);
        ScrollBar1->setMinimum(1);
        ScrollBar1->setValue(1);
        ScrollBar1->setMaximum(std::max(1, data_.WorkVehicleCount));
    }
    ScrollBar1->setEnabled(data_.WorkVehicleCount > 1);
    data_.VehicleListTop = 1;
    SatzNummer->hide();
    RenderVehiclePage(1);
}

void TMain::ShowIntervalList() {
    {
        const QSignalBlocker quiet(ScrollBar1);
        ScrollBar1->setMinimum(1);
        ScrollBar1->setValue(1);
        ScrollBar1->setMaximum(std::max(1, data_.WorkIntervalCount));
    }
    ScrollBar1->setEnabled(data_.WorkIntervalCount > 1);
    data_.IntervalListTop = 1;
    SatzNummer->hide();
    RenderIntervalPage(1);
}

void TMain::RedrawVehiclePage() {
    RenderVehiclePage(data_.VehicleListTop);
}

void TMain::RenderVehiclePage(int first) {
    Memo1->setPlainText(JoinLines(::RenderVehiclePage(data_, first, PageLines(), texts_)));
}

void TMain::RenderIntervalPage(int first) {
    Memo1->setPlainText(JoinLines(::RenderIntervalPage(data_, first, PageLines(), texts_)));
}

void TMain::ScrollBar1Change(int position) {
    const bool intervalList = ToolButton9->isChecked();
    if (intervalList)
        data_.IntervalListTop = position;
    else
        data_.VehicleListTop = position;
    SatzNummer->setText(Q(SatzNummerText(data_, position, intervalList)));
    SatzNummer->show();
}

void TMain::ScrollBar1Scroll(bool ended) {
    if (!ended)
        return;
    SatzNummer->hide();
    if (ToolButton9->isChecked())
        RenderIntervalPage(data_.IntervalListTop);
    else
        RenderVehiclePage(data_.VehicleListTop);
}

void TMain::SetListPosition(int position) {
    if (!ScrollBar1->isEnabled())
        return;
    ScrollBar1->setValue(std::clamp(position, ScrollBar1->minimum(), ScrollBar1->maximum()));
}

void TMain::Memo1DblClick() {
    if (!ToolButton8->isChecked())
        return;
    const int line = ListCursorLine();
    const auto record = RecordOfListLine(data_, line);
    if (!record || !ToggleMark(data_, *record))
        return;
    RedrawVehiclePage();
    // The caret stays on the line, so that the filter can take its record number.
    QTextCursor cursor(Memo1->document()->findBlockByNumber(line));
    Memo1->setTextCursor(cursor);
    if (DFilter != nullptr && DFilter->isVisible())
        DFilter->MarkedCountChanged();
}

// --- selections ---------------------------------------------------------------------------------

void TMain::SetIntervalFactor(int factor) {
    if (!IsIntervalFactor(factor))
        factor = 1;
    selections_.IntervalFactor = factor;
    ToolButton43->setIcon(IntervalIcon(factor));
    for (QAction* action : Intervall1->actions())
        action->setChecked(action->data().toInt() == factor);
}

void TMain::IntervallClick(int factor) {
    if (!IsIntervalFactor(factor) || data_.DataMode == DataMode::None)
        return;
    SetIntervalFactor(factor);
    if (!Guarded([&] { AggregateIntervals(data_, factor); }))
        return;
    ShowIntervalList();
    if (view_ == MainView::Chart)
        RedrawChart();
}

void TMain::Vmenu1Click(int index) {
    index = std::clamp(index, 0, 4);
    selections_.LowerPercentile = LowerPercentileOf(index);
    Vmenu1->actions().at(index)->setChecked(true);
    ApplyPercentileHints();
    RedrawCurrentView();
}

void TMain::Vmenu2Click(int index) {
    index = std::clamp(index, 0, 4);
    selections_.UpperPercentile = UpperPercentileOf(index);
    Vmenu2->actions().at(index)->setChecked(true);
    ApplyPercentileHints();
    RedrawCurrentView();
}

void TMain::Tempolimit_menuClick(int limitIndex) {
    data_.SpeedLimitIndex = std::clamp(limitIndex, 1, 10);
    UpdateSpeedLimitButton();
    RedrawCurrentView();
}

void TMain::ToolButton13Click() {
    data_.LimitDisplayOn = data_.LimitDisplayOn != 0 ? 0 : 1;
    UpdateSpeedLimitButton();
    if (view_ == MainView::Chart)
        RedrawChart();
}

void TMain::UpdateSpeedLimitButton() {
    const bool on = data_.LimitDisplayOn != 0;
    ToolButton13->setChecked(on);
    ToolButton13->setIcon(SpeedLimitIcon(data_.SpeedLimitIndex, on));
    for (QAction* action : Tempolimit_menu->actions())
        action->setChecked(action->data().toInt() == data_.SpeedLimitIndex);
}

void TMain::Zusa_MenuClick(int kind) {
    data_.SummaryKind = std::clamp(kind, 1, 3);
    for (QAction* action : Zusa_Menu->actions())
        action->setChecked(action->data().toInt() == data_.SummaryKind);
    RedrawCurrentView();
}

// --- files --------------------------------------------------------------------------------------

void TMain::LoadDataFile() {
    const QString filter =
        texts_[24].empty() ? QStringLiteral("Korvelan - File (*.lng;*.sht)|*.lng;*.sht") : Q(texts_[24]);
    const QString file = dialogs_->OpenFileName(this, ffnen1->iconText(), Folder(settings_.DataPath), filter);
    if (file.isEmpty())
        return;
    OpenDataFile(file.toStdString());
}

bool TMain::OpenDataFile(const std::filesystem::path& file) {
    LoadInfo info;
    if (!Guarded([&] { info = ::LoadDataFile(file, data_); }))
        return false;
    statusBar()->showMessage(Q(PathText(file)));
    FinishLoad();
    return true;
}

void TMain::FinishLoad() {
    // The filter and the time range worked on the measurement that was replaced.
    for (QWidget* dialog : std::initializer_list<QWidget*>{DFilter, DBereich})
        if (dialog != nullptr)
            dialog->hide();
    summaryLines_.clear();
    Memo2->clear();
    SetIntervalFactor(1);
    const bool vehicles = data_.DataMode == DataMode::SingleVehicle;
    ToolButton8->setEnabled(vehicles);
    for (QToolButton* button : {ToolButton9, ToolButton10, ToolButton11, ToolButton13, ToolButton16})
        button->setEnabled(true);
    Kommentar1->setEnabled(true);
    Export1->setEnabled(true);
    if (vehicles) {
        ActivateView(MainView::VehicleList);
        ShowVehicleList();
    } else {
        ActivateView(MainView::IntervalList);
        ShowIntervalList();
    }
    // Page Down works at once.
    Memo1->setFocus(Qt::OtherFocusReason);
}

void TMain::FinishCardRead() {
    data_.MarkedCount = 0;
    FinishLoad();
    Kommentar_aen->exec();
}

QString TMain::SaveFileName(const QString& pipeFilter, const QString& defaultSuffix, const QString& caption) {
    return dialogs_->SaveFileName(this, caption, Folder(settings_.DataPath), pipeFilter, defaultSuffix);
}

void TMain::SaveView(int scopeValue) {
    const SaveScope scope = scopeValue == 0 ? SaveScope::Filtered : SaveScope::All;
    QString file;
    switch (view_) {
    case MainView::VehicleList:
        file = SaveFileName(QStringLiteral("Korvelan - File (*.lng)|*.lng"), QStringLiteral("lng"),
                            Speichern1->menuAction()->iconText());
        if (!file.isEmpty() && Guarded([&] { SaveVehicleList(file.toStdString(), data_, scope); }))
            statusBar()->showMessage(file);
        break;
    case MainView::IntervalList:
        file = SaveFileName(QStringLiteral("Korvelan - File (*.sht)|*.sht"), QStringLiteral("sht"),
                            Speichern1->menuAction()->iconText());
        if (!file.isEmpty() &&
            Guarded([&] { SaveIntervalList(file.toStdString(), data_, scope, selections_.IntervalFactor); }))
            statusBar()->showMessage(file);
        break;
    case MainView::Chart:
        if (scope != SaveScope::All)
            return;
        file =
            SaveFileName(QStringLiteral("Diagramm - Metafile (*.wmf)|*.wmf|Diagramm - Bitmap (*.bmp)|*.bmp"),
                         QStringLiteral("wmf"), Speichern1->menuAction()->iconText());
        if (!file.isEmpty())
            emit chartPictureRequested(file);
        break;
    case MainView::Summary:
        if (scope != SaveScope::All)
            return;
        file = SaveFileName(QStringLiteral("Korvelan - File (*.txt)|*.txt"), QStringLiteral("txt"),
                            Speichern1->menuAction()->iconText());
        if (!file.isEmpty() && Guarded([&] { SaveSummaryText(file.toStdString(), summaryLines_); }))
            statusBar()->showMessage(file);
        break;
    case MainView::None:
        break;
    }
}

void TMain::Bereich1Click() {
    SaveView(0);
}

void TMain::Alles1Click() {
    SaveView(1);
}

void TMain::ExportAscii() {
    if (view_ == MainView::None)
        return;
    const QString file = SaveFileName(QStringLiteral("ASCII - Export - File (*.asc)|*.asc"),
                                      QStringLiteral("asc"), Export1->iconText());
    if (file.isEmpty())
        return;
    const ExportView exportView = view_ == MainView::VehicleList    ? ExportView::VehicleList
                                  : view_ == MainView::IntervalList ? ExportView::IntervalList
                                  : view_ == MainView::Chart        ? ExportView::Chart
                                                                    : ExportView::Summary;
    if (Guarded([&] { ::ExportAscii(file.toStdString(), exportView, data_, summaryLines_); }))
        statusBar()->showMessage(file);
}

// --- dialogs ------------------------------------------------------------------------------------

void TMain::Kommentar1Click() {
    Kommentar_aen->exec();
}

void TMain::Einstellungen1Click() {
    Einstellungen->exec();
}

void TMain::Programm1Click() {
    frmAbout->exec();
}

void TMain::ShowHelp() {
    const std::filesystem::path page = FindShippedFile(programDirectory_, HelpPageOf(languageFileInUse_));
    if (!std::filesystem::exists(page)) {
        const CoreError missing(495, "Die Hilfe %s wurde nicht gefunden.", PathText(page));
        dialogs_->ShowMessage(this, FileDialogs::MessageKind::Error, QStringLiteral("Fehler!"),
                              QStringLiteral("Fehler!\n\n") + Q(missing.Message(texts_)));
        return;
    }
    if (helpWindow_ == nullptr)
        helpWindow_ = new HelpWindow(this);
    helpWindow_->ShowPage(page, QStringLiteral("Korvelan II – ") + Q(texts_[31]));
}

void TMain::Beenden1Click() {
    close();
}

void TMain::ToolButton6Click() {
    const QRect list(Memo1->mapToGlobal(QPoint(0, 0)), Memo1->size());
    const int textLeft = Memo1->mapToGlobal(QPoint(Memo1->TextLeft(), 0)).x();
    const int textRight = Memo1->mapToGlobal(QPoint(Memo1->TextRight(), 0)).x();
    if (view_ == MainView::VehicleList) {
        DFilter->PlaceBesideList(list, textLeft, textRight, frameGeometry());
        DFilter->show();
        DFilter->raise();
        DFilter->activateWindow();
    } else if (view_ == MainView::IntervalList) {
        DBereich->PlaceBesideList(list, textLeft, textRight, frameGeometry());
        DBereich->show();
        DBereich->raise();
        DBereich->activateWindow();
    }
}

void TMain::SetMainToolBarVisible(bool visible) {
    // The buttons go, the bar's room stays: the list below does not move.
    if (!visible && !barEmptied_) {
        barEmptied_ = true;
        EinzeldatenBar->setFixedHeight(EinzeldatenBar->height());
        for (QAction* action : EinzeldatenBar->actions())
            if (action->isVisible()) {
                hiddenBarActions_.push_back(action);
                action->setVisible(false);
            }
        EinzeldatenBar->layout()->activate(); // the buttons go now, not at the next layout pass
    } else if (visible && barEmptied_) {
        barEmptied_ = false;
        for (QAction* action : hiddenBarActions_)
            action->setVisible(true);
        hiddenBarActions_.clear();
        EinzeldatenBar->setMinimumHeight(0);
        EinzeldatenBar->setMaximumHeight(QWIDGETSIZE_MAX);
        EinzeldatenBar->layout()->activate();
    }
}

void TMain::ToolButton16Click() {
    emit printRequested(view_);
}

void TMain::Import1Click() {
    // The data file dialog's folder: the import shares it with "Öffnen".
    const QString file = dialogs_->OpenFileName(this, Import1->iconText(), Folder(settings_.DataPath),
                                                QStringLiteral("Pelo-Dateien (*.pel)|*.pel"));
    if (file.isEmpty())
        return;
    if (!Guarded([&] { ImportPeloFile(data_, file.toStdString()); }))
        return;
    statusBar()->showMessage(file);
    FinishLoad(); // imported intervals: the interval list
}

void TMain::SmartMediaCard1Click() {
    SM_Card->SmartMediaReadDone = false;
    SM_Card->exec();
    if (SM_Card->SmartMediaReadDone)
        FinishCardRead();
}

void TMain::MMSDCard1Click() {
    const QString filter =
        texts_[272].empty() ? QStringLiteral("MM / SD - Card (*.txt;*.bin)|*.txt;*.bin") : Q(texts_[272]);
    const QString file =
        dialogs_->OpenFileName(this, MMSDCard1->iconText(), Folder(settings_.CardPath), filter);
    if (file.isEmpty())
        return;
    if (MM_SD_Card->Execute(file) != QDialog::Accepted)
        return;
    CompleteCardRead(data_);
    statusBar()->showMessage(file);
    FinishCardRead();
}

// --- window -------------------------------------------------------------------------------------

void TMain::FormShow() {
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

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TMain::closeEvent(QCloseEvent* event) {
    for (QWidget* dialog : std::initializer_list<QWidget*>{DFilter, DBereich})
        if (dialog != nullptr)
            dialog->hide();
    event->accept();
}

bool TMain::Guarded(const std::function<void()>& command) {
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

void TMain::ShowError(const std::exception& error) {
    const auto* core = dynamic_cast<const CoreError*>(&error);
    const QString text = core != nullptr ? Q(core->Message(texts_)) : QString::fromLocal8Bit(error.what());
    dialogs_->ShowMessage(this, FileDialogs::MessageKind::Error, windowTitle(), text);
}

void TMain::ShowWarning(const QString& text) {
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

void TMain::ConnectChart() {
    connect(this, &TMain::chartViewEntered, Grafik,
            [this] { Guarded([this] { Grafik->EnterChartView(); }); });
    connect(this, &TMain::chartRedrawRequested, Grafik,
            [this] { Guarded([this] { Grafik->DrawSelectedChart(); }); });
    connect(this, &TMain::percentilesChanged, Grafik, &ChartPanel::SetPercentiles);
    connect(this, &TMain::textsChanged, Grafik, &ChartPanel::ApplyTexts);
    connect(this, &TMain::chartPictureRequested, this, [this](const QString& file) {
        if (Guarded([&] { Grafik->SavePicture(file.toStdString()); }))
            statusBar()->showMessage(file);
    });
    // The print button prints the view; a right click on it shows the print preview.
    auto source = [this](MainView view) {
        return PrintSource{data_, texts_, Grafik->Diag->Chart(), Grafik->Diag->Appearance(),
                           view == MainView::Summary ? summaryLines_ : std::vector<std::string>{}};
    };
    auto printer = [this]() -> QPrinter& {
        if (!printer_)
            printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        return *printer_;
    };
    connect(this, &TMain::printRequested, this, [this, source, printer](MainView view) {
        if (view != MainView::None)
            Guarded([&] { PrintCurrentView(this, printer(), PrintViewOf(view), source(view)); });
    });
    ToolButton16->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ToolButton16, &QWidget::customContextMenuRequested, this, [this, source, printer] {
        if (ToolButton16->isEnabled() && view_ != MainView::None)
            Guarded([&] { PreviewCurrentView(this, printer(), PrintViewOf(view_), source(view_)); });
    });
    // The percentile buttons "V1" and "V3" offer their menus on the right mouse button.
    for (const auto& pair :
         {std::pair{Grafik->ToolButton53, Vmenu1}, std::pair{Grafik->ToolButton55, Vmenu2}}) {
        QToolButton* const button = pair.first;
        QMenu* const menu = pair.second;
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [button, menu](const QPoint& at) { menu->popup(button->mapToGlobal(at)); });
    }
    // The texts and percentiles were read before the chart tool bar was connected.
    Grafik->SetPercentiles(selections_.LowerPercentile, selections_.UpperPercentile, {}, {});
    Grafik->ApplyTexts();
}
