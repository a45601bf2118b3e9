#include "app/MainMenus.h"

#include "app/Mnemonics.h"
#include "app/Pictures.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "charts/ComparisonView.h"
#include "charts/ReportContent.h"
#include "evaluation/StatisticsText.h"
#include "session/ShellTexts.h"
#include "ui/QtText.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <string>
#include <vector>

namespace {

constexpr auto Q = &ToQString;

void SetCaption(QAction* action, const std::string& text) {
    if (!text.empty())
        action->setText(Q(text));
}

void SetCaption(QMenu* menu, const std::string& text) {
    if (!text.empty())
        menu->setTitle(Q(text));
}

void AddIntervalMenu(QMainWindow& window, MainMenus& m) {
    m.intervalMenu = new QMenu(QStringLiteral("Intervall"), &window);
    m.intervalMenu->setObjectName(QStringLiteral("intervalMenu"));
    auto* intervals = new QActionGroup(&window);
    const struct {
        QAction** action;
        const char* name;
        int factor;
        QString caption;
    } intervalItems[] = {{&m.interval5Action, "interval5Action", 1, QStringLiteral("5 Minuten")},
                         {&m.interval15Action, "interval15Action", 3, QStringLiteral("15 Minuten")},
                         {&m.interval30Action, "interval30Action", 6, QStringLiteral("30 Minuten")},
                         {&m.interval60Action, "interval60Action", 12, QStringLiteral("1 Stunde")}};
    for (const auto& item : intervalItems) {
        QAction* action = m.intervalMenu->addAction(IntervalIcon(item.factor), item.caption);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
        action->setData(item.factor);
        intervals->addAction(action);
        *item.action = action;
    }
}

void AddLanguageMenu(QMainWindow& window, MainMenus& m) {
    m.languageMenu = new QMenu(QStringLiteral("Sprache"), &window);
    m.languageMenu->setObjectName(QStringLiteral("languageMenu"));
    m.germanAction = m.languageMenu->addAction(QStringLiteral("Deutsch"));
    m.germanAction->setObjectName(QStringLiteral("germanAction"));
    m.englishAction = m.languageMenu->addAction(QStringLiteral("English"));
    m.englishAction->setObjectName(QStringLiteral("englishAction"));
    m.frenchAction = m.languageMenu->addAction(QStringLiteral("Français"));
    m.frenchAction->setObjectName(QStringLiteral("frenchAction"));
    m.frenchAction->setVisible(false);
    auto* languages = new QActionGroup(&window);
    for (QAction* action : {m.germanAction, m.englishAction, m.frenchAction}) {
        action->setCheckable(true);
        languages->addAction(action);
    }
}

void AddPercentileMenus(QMainWindow& window, MainMenus& m) {
    m.lowerPercentileMenu = new QMenu(QStringLiteral("V1"), &window);
    m.lowerPercentileMenu->setObjectName(QStringLiteral("lowerPercentileMenu"));
    m.upperPercentileMenu = new QMenu(QStringLiteral("V3"), &window);
    m.upperPercentileMenu->setObjectName(QStringLiteral("upperPercentileMenu"));
    auto* lower = new QActionGroup(&window);
    auto* upper = new QActionGroup(&window);
    for (int i = 0; i < 5; ++i) {
        QAction* low =
            m.lowerPercentileMenu->addAction(QStringLiteral("V %1").arg(5 + 5 * i, 2, 10, QLatin1Char('0')));
        low->setObjectName(QStringLiteral("V%1").arg(5 + 5 * i, 2, 10, QLatin1Char('0')));
        low->setCheckable(true);
        lower->addAction(low);
        QAction* high = m.upperPercentileMenu->addAction(QStringLiteral("V %1").arg(75 + 5 * i));
        high->setObjectName(QStringLiteral("V%1").arg(75 + 5 * i));
        high->setCheckable(true);
        upper->addAction(high);
    }
}

void AddSpeedLimitMenu(QMainWindow& window, MainMenus& m) {
    m.speedLimitMenu = new QMenu(QStringLiteral("Tempolimit"), &window);
    m.speedLimitMenu->setObjectName(QStringLiteral("speedLimitMenu"));
    auto* limits = new QActionGroup(&window);
    for (int k = 1; k <= 10; ++k) {
        QAction* action =
            m.speedLimitMenu->addAction(SpeedLimitIcon(k, true), QStringLiteral("%1 km/h").arg(10 * k));
        action->setObjectName(QStringLiteral("Tempolimit%1").arg(10 * k));
        action->setCheckable(true);
        action->setData(k);
        limits->addAction(action);
    }
}

void AddSummaryKindMenu(QMainWindow& window, MainMenus& m) {
    m.summaryKindMenu = new QMenu(QStringLiteral("Zusammenfassung"), &window);
    m.summaryKindMenu->setObjectName(QStringLiteral("summaryKindMenu"));
    auto* kinds = new QActionGroup(&window);
    m.overviewAction = m.summaryKindMenu->addAction(QStringLiteral("Übersicht"));
    m.overviewAction->setObjectName(QStringLiteral("overviewAction"));
    m.speedSummaryAction = m.summaryKindMenu->addAction(QStringLiteral("Geschwindigkeit"));
    m.speedSummaryAction->setObjectName(QStringLiteral("speedSummaryAction"));
    m.dailyCourseAction = m.summaryKindMenu->addAction(QStringLiteral("Tagesgang"));
    m.dailyCourseAction->setObjectName(QStringLiteral("dailyCourseAction"));
    m.keyFiguresAction = m.summaryKindMenu->addAction(QStringLiteral("Kennwerte"));
    m.keyFiguresAction->setObjectName(QStringLiteral("keyFiguresAction"));
    int kind = 1;
    for (QAction* action :
         {m.overviewAction, m.speedSummaryAction, m.dailyCourseAction, m.keyFiguresAction}) {
        action->setCheckable(true);
        action->setData(kind++);
        kinds->addAction(action);
    }
    m.overviewAction->setChecked(true);
}

void AddFileMenu(QMainWindow& window, MainMenus& m) {
    m.fileMenu = window.menuBar()->addMenu(QStringLiteral("Datei"));
    m.fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m.openAction = m.fileMenu->addAction(ToolIcon(ToolPicture::Open), QStringLiteral("Öffnen"));
    m.openAction->setObjectName(QStringLiteral("openAction"));
    m.openAction->setShortcut(QKeySequence::Open);
    m.recentMenu = m.fileMenu->addMenu(QStringLiteral("Zuletzt geöffnet"));
    m.recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m.saveMenu = m.fileMenu->addMenu(ToolIcon(ToolPicture::Save), QStringLiteral("Speichern"));
    m.saveMenu->setObjectName(QStringLiteral("saveMenu"));
    m.saveFilteredAction = m.saveMenu->addAction(QStringLiteral("gefiltert speichern"));
    m.saveFilteredAction->setObjectName(QStringLiteral("saveFilteredAction"));
    m.saveFilteredAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m.saveAllAction = m.saveMenu->addAction(QStringLiteral("alles speichern"));
    m.saveAllAction->setObjectName(QStringLiteral("saveAllAction"));
    m.saveAllAction->setShortcut(QKeySequence::Save);
    m.commentAction = m.fileMenu->addAction(QStringLiteral("Kommentar ändern"));
    m.commentAction->setObjectName(QStringLiteral("commentAction"));
    m.importAction = m.fileMenu->addAction(QStringLiteral("Import"));
    m.importAction->setObjectName(QStringLiteral("importAction"));
    m.importAction->setVisible(false);
    m.exportAction = m.fileMenu->addAction(QStringLiteral("Export"));
    m.exportAction->setObjectName(QStringLiteral("exportAction"));
    m.csvExportAction = m.fileMenu->addAction(QStringLiteral("Exportieren als CSV…"));
    m.csvExportAction->setObjectName(QStringLiteral("ExportCsv1"));
    m.reportAction = m.fileMenu->addAction(QStringLiteral("Bericht…"));
    m.reportAction->setObjectName(QStringLiteral("reportAction"));
    m.compareAction = m.fileMenu->addAction(QStringLiteral("Vergleich…"));
    m.compareAction->setObjectName(QStringLiteral("compareAction"));
    m.fileMenu->addSeparator();
    m.settingsAction = m.fileMenu->addAction(QStringLiteral("Einstellungen"));
    m.settingsAction->setObjectName(QStringLiteral("settingsAction"));
    m.fileMenu->addSeparator();
    m.quitAction = m.fileMenu->addAction(QStringLiteral("Beenden"));
    m.quitAction->setObjectName(QStringLiteral("quitAction"));
    m.quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void AddReadCardAndInfoMenus(QMainWindow& window, MainMenus& m) {
    m.readCardMenu = window.menuBar()->addMenu(QStringLiteral("Einlesen"));
    m.readCardMenu->setObjectName(QStringLiteral("readCardMenu"));
    m.smartMediaAction = m.readCardMenu->addAction(QStringLiteral("SmartMedia - Card"));
    m.smartMediaAction->setObjectName(QStringLiteral("smartMediaAction"));
    m.cardFileAction = m.readCardMenu->addAction(QStringLiteral("MM / SD - Card"));
    m.cardFileAction->setObjectName(QStringLiteral("cardFileAction"));

    m.infoMenu = window.menuBar()->addMenu(QStringLiteral("Info"));
    m.infoMenu->setObjectName(QStringLiteral("infoMenu"));
    m.aboutAction = m.infoMenu->addAction(ToolIcon(ToolPicture::About), QStringLiteral("Programm"));
    m.aboutAction->setObjectName(QStringLiteral("aboutAction"));
    m.helpAction = m.infoMenu->addAction(QStringLiteral("Hilfe"));
    m.helpAction->setObjectName(QStringLiteral("HelpAction"));
    m.helpAction->setShortcut(QKeySequence::HelpContents);
}

void AddShortcuts(QMainWindow& window, MainMenus& m) {
    // The print button has no menu item; its shortcut belongs to the window.
    m.printAction = new QAction(QStringLiteral("Drucken"), &window);
    m.printAction->setObjectName(QStringLiteral("printAction"));
    m.printAction->setShortcut(QKeySequence::Print);
    window.addAction(m.printAction);

    const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    for (std::size_t i = 0; i < m.viewShortcuts.size(); ++i) {
        m.viewShortcuts[i] = new QAction(&window);
        m.viewShortcuts[i]->setObjectName(QStringLiteral("ViewShortcut%1").arg(i + 1));
        m.viewShortcuts[i]->setShortcut(QKeySequence(Qt::CTRL | digits[i]));
        window.addAction(m.viewShortcuts[i]);
    }
}

void ApplyMnemonics(const MainMenus& m) {
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
    mark({m.fileMenu->menuAction(), m.readCardMenu->menuAction(), m.infoMenu->menuAction()});
    for (const QMenu* menu : {m.fileMenu, m.saveMenu, m.readCardMenu, m.infoMenu})
        mark(itemsOf(menu));
}

} // namespace

MainMenus CreateMainMenus(QMainWindow& window) {
    MainMenus m;
    AddIntervalMenu(window, m);
    AddLanguageMenu(window, m);
    AddPercentileMenus(window, m);
    AddSpeedLimitMenu(window, m);
    AddSummaryKindMenu(window, m);
    AddFileMenu(window, m);
    AddReadCardAndInfoMenus(window, m);
    AddShortcuts(window, m);
    return m;
}

void ApplyMenuTexts(const MainMenus& m, const LanguageTexts& texts) {
    SetCaption(m.fileMenu, texts[Text::FileMenu]);
    SetCaption(m.readCardMenu, texts[Text::ReadCard]);
    SetCaption(m.infoMenu, texts[Text::InfoMenu]);
    SetCaption(m.openAction, texts[Text::Open]);
    SetCaption(m.saveMenu, texts[Text::Save]);
    SetCaption(m.commentAction, texts[Text::EditComment]);
    SetCaption(m.importAction, texts[Text::Import]);
    SetCaption(m.exportAction, texts[Text::Export]);
    SetCaption(m.csvExportAction, texts[602]);
    SetCaption(m.reportAction, texts[ReportText::ReportCommand]);
    SetCaption(m.compareAction, texts[ComparisonViewText::Command]);
    SetCaption(m.recentMenu, ShellTextOf(texts, ShellText::RecentFilesMenu));
    SetCaption(m.settingsAction, texts[Text::Settings]);
    SetCaption(m.quitAction, texts[Text::Exit]);
    SetCaption(m.smartMediaAction, texts[Text::SmartMediaCard]);
    SetCaption(m.cardFileAction, texts[Text::MmSdCard]);
    SetCaption(m.saveFilteredAction, texts[Text::SaveFilteredData]);
    SetCaption(m.saveAllAction, texts[Text::SaveAllData]);
    SetCaption(m.aboutAction, texts[Text::AboutTheProgram]);
    SetCaption(m.helpAction, texts[31]);
    SetCaption(m.overviewAction, texts[Text::Overview]);
    SetCaption(m.speedSummaryAction, texts[Text::SpeedSummary]);
    SetCaption(m.dailyCourseAction, texts[StatisticsText::DayProfileTitle]);
    SetCaption(m.keyFiguresAction, texts[StatisticsText::KeyFiguresTitle]);
    if (!texts[Text::Minutes].empty()) {
        m.interval5Action->setText(QStringLiteral("5 ") + Q(texts[Text::Minutes]));
        m.interval15Action->setText(QStringLiteral("15 ") + Q(texts[Text::Minutes]));
        m.interval30Action->setText(QStringLiteral("30 ") + Q(texts[Text::Minutes]));
    }
    if (!texts[Text::Hour].empty())
        m.interval60Action->setText(QStringLiteral("1 ") + Q(texts[Text::Hour]));
    SetCaption(m.printAction, texts[Text::Print]);

    ApplyMnemonics(m);
}

void ShowSummaryKind(const MainMenus& menus, int kind) {
    for (QAction* action : menus.summaryKindMenu->actions())
        action->setChecked(action->data().toInt() == kind);
}

void ShowLanguageChoice(const MainMenus& menus, const std::string& languageFile) {
    menus.germanAction->setChecked(languageFile == "deutsch.cty");
    menus.englishAction->setChecked(languageFile == "english.cty");
    menus.frenchAction->setChecked(languageFile == "francais.cty");
}

std::pair<QString, QString> PercentileHints(const MainMenus& menus, const LanguageTexts& texts,
                                            int lowerIndex, int upperIndex) {
    static constexpr int LowerHints[] = {60, 61, 62, 63, 64}; // V 05 .. V 25
    static constexpr int UpperHints[] = {66, 67, 68, 69, 70}; // V 75 .. V 95
    return {TextOr(texts[LowerHints[lowerIndex]],
                   menus.lowerPercentileMenu->actions().at(lowerIndex)->text().toStdString()),
            TextOr(texts[UpperHints[upperIndex]],
                   menus.upperPercentileMenu->actions().at(upperIndex)->text().toStdString())};
}
