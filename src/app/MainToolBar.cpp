#include "app/MainToolBar.h"

#include "app/MainMenus.h"
#include "app/Pictures.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "ui/QtText.h"

#include <QAction>
#include <QButtonGroup>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <array>
#include <utility>

namespace {

constexpr auto Q = &ToQString;

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

void AddFileAndViewButtons(QMainWindow& window, MainToolBar& b, const MainMenus& menus) {
    b.bar = new QToolBar(QStringLiteral("mainToolBar"), &window);
    b.bar->setObjectName(QStringLiteral("mainToolBar"));
    b.bar->setMovable(false);
    b.bar->setFloatable(false);
    b.bar->setIconSize(QSize(24, 24));
    b.bar->toggleViewAction()->setEnabled(false);
    window.setContextMenuPolicy(Qt::NoContextMenu);
    window.addToolBar(Qt::TopToolBarArea, b.bar);

    b.openButton = NewToolButton(b.bar, "openButton", ToolIcon(ToolPicture::Open), QStringLiteral("Öffnen"));
    b.saveButton =
        NewToolButton(b.bar, "saveButton", ToolIcon(ToolPicture::Save), QStringLiteral("Speichern"));
    b.saveButton->setMenu(menus.saveMenu);
    b.saveButton->setPopupMode(QToolButton::InstantPopup);
    b.readCardButton =
        NewToolButton(b.bar, "readCardButton", ToolIcon(ToolPicture::ReadCard), QStringLiteral("Einlesen"));
    b.readCardButton->setMenu(menus.readCardMenu);
    b.readCardButton->setPopupMode(QToolButton::InstantPopup);
    b.bar->addSeparator();
    b.filterButton =
        NewToolButton(b.bar, "filterButton", ToolIcon(ToolPicture::Filter), QStringLiteral("Datenfilter"));
    b.bar->addSeparator();
    b.vehicleListButton = NewToolButton(b.bar, "vehicleListButton", ToolIcon(ToolPicture::VehicleList),
                                        QStringLiteral("Einzelfahrzeug-Liste"));
    b.intervalListButton = NewToolButton(b.bar, "intervalListButton", ToolIcon(ToolPicture::IntervalList),
                                         QStringLiteral("Intervall-Liste"));
    b.chartButton =
        NewToolButton(b.bar, "chartButton", ToolIcon(ToolPicture::Chart), QStringLiteral("Grafik"));
    b.summaryButton = NewToolButton(b.bar, "summaryButton", ToolIcon(ToolPicture::Summary),
                                    QStringLiteral("Zusammenfassung"));
    b.viewButtons = new QButtonGroup(&window);
    b.viewButtons->setExclusive(true);
    for (QToolButton* button : {b.vehicleListButton, b.intervalListButton, b.chartButton, b.summaryButton}) {
        button->setCheckable(true);
        b.viewButtons->addButton(button);
    }
    // The summary kind is chosen with the right mouse button, or from the button's arrow.
    b.summaryButton->setMenu(menus.summaryKindMenu);
    b.summaryButton->setPopupMode(QToolButton::MenuButtonPopup);
    b.summaryButton->setContextMenuPolicy(Qt::CustomContextMenu);
}

void AddSelectionAndInfoButtons(MainToolBar& b, const MainMenus& menus) {
    b.bar->addSeparator();
    b.intervalLengthButton =
        NewToolButton(b.bar, "intervalLengthButton", IntervalIcon(1), QStringLiteral("Intervalllänge"));
    b.intervalLengthButton->setMenu(menus.intervalMenu);
    b.intervalLengthButton->setPopupMode(QToolButton::InstantPopup);
    b.speedLimitButton =
        NewToolButton(b.bar, "speedLimitButton", SpeedLimitIcon(5, false), QStringLiteral("Tempolimit"));
    b.speedLimitButton->setCheckable(true);
    b.speedLimitButton->setMenu(menus.speedLimitMenu);
    b.speedLimitButton->setPopupMode(QToolButton::MenuButtonPopup);
    b.speedLimitButton->setContextMenuPolicy(Qt::CustomContextMenu);
    b.bar->addSeparator();
    b.printButton =
        NewToolButton(b.bar, "printButton", ToolIcon(ToolPicture::Print), QStringLiteral("Drucken"));
    b.aboutButton = NewToolButton(b.bar, "aboutButton", ToolIcon(ToolPicture::About), QStringLiteral("Info"));
    b.languageButton =
        NewToolButton(b.bar, "languageButton", ToolIcon(ToolPicture::Language), QStringLiteral("Sprache"));
    b.languageButton->setMenu(menus.languageMenu);
    b.languageButton->setPopupMode(QToolButton::InstantPopup);
    // QToolBar shows and hides the action that carries a widget, not the widget.
    for (QAction* action : b.bar->actions())
        if (b.bar->widgetForAction(action) == b.languageButton)
            action->setObjectName(QStringLiteral("languageButtonAction"));
}

void ApplyViewHints(const MainToolBar& b, const MainMenus& menus, const LanguageTexts& texts) {
    // The view buttons name their shortcuts, in the words of the language ("Strg+1").
    const QString control = texts[265].empty() ? QStringLiteral("Strg") : Q(texts[265]);
    const std::array<std::pair<QToolButton*, int>, 4> buttons{
        {{b.vehicleListButton, 41}, {b.intervalListButton, 42}, {b.chartButton, 43}, {b.summaryButton, 44}}};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const auto [button, number] = buttons[i];
        const QString hint =
            texts[number].empty() ? button->toolTip().section(QStringLiteral(" ("), 0, 0) : Q(texts[number]);
        const QString withKey = QStringLiteral("%1 (%2+%3)").arg(hint, control).arg(i + 1);
        button->setToolTip(withKey);
        button->setStatusTip(withKey);
        button->setAccessibleName(hint);
        button->setAccessibleDescription(withKey);
        menus.viewShortcuts[i]->setText(hint);
    }
}

} // namespace

MainToolBar CreateMainToolBar(QMainWindow& window, const MainMenus& menus) {
    MainToolBar b;
    AddFileAndViewButtons(window, b, menus);
    AddSelectionAndInfoButtons(b, menus);
    return b;
}

void ApplyToolBarHints(const MainToolBar& b, const MainMenus& menus, const LanguageTexts& texts) {
    SetHint(b.openButton, texts[Text::Open]);
    SetHint(b.saveButton, texts[Text::Save]);
    SetHint(b.readCardButton, texts[Text::ReadCard]);
    ApplyViewHints(b, menus, texts);
    SetHint(b.intervalLengthButton, texts[Text::IntervalLength]);
    SetHint(b.speedLimitButton, texts[Text::SpeedLimitHint]);
    SetHint(b.printButton, texts[Text::Print]);
    SetHint(b.aboutButton, texts[Text::About]);
    SetHint(b.languageButton, texts[Text::Language]);
}

void SetHint(QToolButton* button, const std::string& text) {
    if (text.empty())
        return;
    button->setToolTip(Q(text));
    button->setStatusTip(Q(text));
    button->setAccessibleName(Q(text));
}

void SetToolBarButtonsVisible(MainToolBar& b, bool visible) {
    // The buttons go, the bar's room stays: the list below does not move.
    if (!visible && !b.emptied) {
        b.emptied = true;
        b.bar->setFixedHeight(b.bar->height());
        for (QAction* action : b.bar->actions())
            if (action->isVisible()) {
                b.hiddenActions.push_back(action);
                action->setVisible(false);
            }
        b.bar->layout()->activate(); // the buttons go now, not at the next layout pass
    } else if (visible && b.emptied) {
        b.emptied = false;
        for (QAction* action : b.hiddenActions)
            action->setVisible(true);
        b.hiddenActions.clear();
        b.bar->setMinimumHeight(0);
        b.bar->setMaximumHeight(QWIDGETSIZE_MAX);
        b.bar->layout()->activate();
    }
}

void SetLanguageButtonShown(const MainToolBar& b, bool shown) {
    for (QAction* action : b.bar->actions())
        if (b.bar->widgetForAction(action) == b.languageButton)
            action->setVisible(shown);
}

void ShowView(const MainToolBar& b, const MainMenus& menus, View view) {
    QToolButton* button = view == View::VehicleList    ? b.vehicleListButton
                          : view == View::IntervalList ? b.intervalListButton
                          : view == View::Chart        ? b.chartButton
                          : view == View::Summary      ? b.summaryButton
                                                       : nullptr;
    if (button != nullptr)
        button->setChecked(true);
    const ViewControls c = ControlsOfView(view);
    b.filterButton->setEnabled(c.FilterRangeEnabled);
    b.intervalLengthButton->setEnabled(c.IntervalEnabled);
    menus.saveMenu->menuAction()->setEnabled(c.SaveMenuEnabled);
    menus.saveMenu->setEnabled(c.SaveMenuEnabled);
    b.saveButton->setEnabled(c.SaveMenuEnabled);
    menus.saveFilteredAction->setEnabled(c.FilteredSaveEnabled);
    menus.saveAllAction->setEnabled(c.SaveMenuEnabled);
}

void EnableDataCommands(const MainToolBar& b, const MainMenus& menus, bool loaded, bool vehicles) {
    b.vehicleListButton->setEnabled(loaded && vehicles);
    for (QToolButton* button :
         {b.intervalListButton, b.chartButton, b.summaryButton, b.speedLimitButton, b.printButton})
        button->setEnabled(loaded);
    for (QAction* action : {menus.commentAction, menus.exportAction, menus.csvExportAction,
                            menus.reportAction, menus.compareAction})
        action->setEnabled(loaded);
}

void ShowIntervalFactor(const MainToolBar& b, const MainMenus& menus, int factor) {
    b.intervalLengthButton->setIcon(IntervalIcon(factor));
    for (QAction* action : menus.intervalMenu->actions())
        action->setChecked(action->data().toInt() == factor);
}

void ShowSpeedLimit(const MainToolBar& b, const MainMenus& menus, int limitIndex, bool on) {
    b.speedLimitButton->setChecked(on);
    b.speedLimitButton->setIcon(SpeedLimitIcon(limitIndex, on));
    for (QAction* action : menus.speedLimitMenu->actions())
        action->setChecked(action->data().toInt() == limitIndex);
}
