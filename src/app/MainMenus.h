#pragma once
// The main window's menu bar, the pop-up menus of its tool buttons and its shortcuts. The window
// connects the actions to its commands; here they are only built and captioned.

#include <QString>

#include <array>
#include <string>
#include <utility>

class LanguageTexts;
class QAction;
class QMainWindow;
class QMenu;

struct MainMenus {
    QMenu* fileMenu = nullptr;
    QAction* openAction = nullptr;
    QMenu* recentMenu = nullptr; // "Zuletzt geöffnet": filled by RecentFilesMenu
    QMenu* saveMenu = nullptr;
    QAction* saveFilteredAction = nullptr;
    QAction* saveAllAction = nullptr;
    QAction* commentAction = nullptr;
    QAction* importAction = nullptr;
    QAction* exportAction = nullptr;
    QAction* csvExportAction = nullptr;
    QAction* reportAction = nullptr;
    QAction* compareAction = nullptr; // "Vergleich…"
    QAction* settingsAction = nullptr;
    QAction* quitAction = nullptr;
    QMenu* readCardMenu = nullptr;
    QAction* smartMediaAction = nullptr;
    QAction* cardFileAction = nullptr;
    QMenu* infoMenu = nullptr;
    QAction* aboutAction = nullptr;
    QAction* helpAction = nullptr;

    // Pop-up menus of the tool buttons; the interval, speed-limit and summary-kind actions carry
    // their choice as data.
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
    std::array<QAction*, 4> viewShortcuts{};
};

// Builds the menu bar into the window and the pop-up menus and shortcuts owned by it.
MainMenus CreateMainMenus(QMainWindow& window);
// Captions from the language texts (an empty text keeps the built-in one) and Alt letters.
void ApplyMenuTexts(const MainMenus& menus, const LanguageTexts& texts);
// The checks of the summary kind and language menus follow the choice.
void ShowSummaryKind(const MainMenus& menus, int kind);
void ShowLanguageChoice(const MainMenus& menus, const std::string& languageFile);
// The hints of the lower and upper percentile choices (0..4), in the words of the language.
std::pair<QString, QString> PercentileHints(const MainMenus& menus, const LanguageTexts& texts,
                                            int lowerIndex, int upperIndex);
