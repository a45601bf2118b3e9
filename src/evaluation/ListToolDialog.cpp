#include "evaluation/ListToolDialog.h"

#include "evaluation/ToolWindowPlacement.h"
#include "ui/ClickableLabel.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>

ListToolDialog::ListToolDialog(QWidget* parent) : QDialog(parent, Qt::Tool) {}

namespace {
ScreenRect ScreenRectOf(const QRect& rect) {
    return {rect.left(), rect.top(), rect.width(), rect.height()};
}
} // namespace

void ListToolDialog::PlaceBesideList(const QRect& listGeometry, int textLeft, int textRight,
                                     const QRect& windowFrame) {
    adjustSize();
    const QScreen* screen = QGuiApplication::screenAt(windowFrame.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    ToolWindowSpace space;
    space.List = ScreenRectOf(listGeometry);
    space.TextLeft = textLeft;
    space.TextRight = textRight;
    space.Window = ScreenRectOf(windowFrame);
    space.Screen = ScreenRectOf(screen->availableGeometry());
    space.DialogWidth = frameGeometry().width();
    space.DialogHeight = frameGeometry().height();
    const ScreenPoint at = PlaceToolWindow(space);
    move(at.X, at.Y);
}

bool ListToolDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        OnActivate();
    return QDialog::event(event);
}

void ListToolDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // the main window came back from being minimised
    OnShow();
    OnActivate();
}

void ListToolDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        OnHide();
}

void ListToolDialog::CreateRunControls() {
    startLabel = new ClickableLabel(this);
    startLabel->setObjectName("startLabel");
    stopLabel = new ClickableLabel(this);
    stopLabel->setObjectName("stopLabel");
    startNumberLabel = new QLabel(this);
    startNumberLabel->setObjectName("startNumberLabel");
    stopNumberLabel = new QLabel(this);
    stopNumberLabel->setObjectName("stopNumberLabel");
    for (QLabel* number : {startNumberLabel, stopNumberLabel}) {
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setMinimumWidth(fontMetrics().horizontalAdvance("0000000"));
        number->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
}
