#pragma once
// The main window's tool bar `mainToolBar`: its buttons, the pop-up menus they open and their
// hints. The window connects the buttons to its commands.

#include "app/MainViewState.h"
#include "base/View.h"

#include <QString>

#include <string>
#include <vector>

class LanguageTexts;
class QAction;
class QButtonGroup;
class QMainWindow;
class QToolBar;
class QToolButton;
struct MainMenus;

struct MainToolBar {
    QToolBar* bar = nullptr;
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
    QButtonGroup* viewButtons = nullptr; // the four view buttons, one pressed at a time

    // The buttons hidden while the filter or time range is open.
    std::vector<QAction*> hiddenActions;
    bool emptied = false;
};

MainToolBar CreateMainToolBar(QMainWindow& window, const MainMenus& menus);
// Hints of the buttons from the language texts; the view buttons and their shortcuts name the keys.
void ApplyToolBarHints(const MainToolBar& b, const MainMenus& menus, const LanguageTexts& texts);
// A button's hint; an empty text keeps the one it has.
void SetHint(QToolButton* button, const std::string& text);
// Hides or shows every button; the bar keeps its height so that the view below does not move.
void SetToolBarButtonsVisible(MainToolBar& b, bool visible);
// The language button is shown only where the settings allow switching the language.
void SetLanguageButtonShown(const MainToolBar& b, bool shown);

// The button of the view in front is pressed; the buttons and save items the view allows are enabled.
void ShowView(const MainToolBar& b, const MainMenus& menus, View view);
// Before data are loaded only opening, reading, settings and the about box work; once they are,
// the vehicle list needs single vehicles.
void EnableDataCommands(const MainToolBar& b, const MainMenus& menus, bool loaded, bool vehicles);
// The interval button's picture and the interval menu's check follow the interval selection.
void ShowIntervalFactor(const MainToolBar& b, const MainMenus& menus, int factor);
// The speed-limit button's picture and state, the limit menu's check.
void ShowSpeedLimit(const MainToolBar& b, const MainMenus& menus, int limitIndex, bool on);
