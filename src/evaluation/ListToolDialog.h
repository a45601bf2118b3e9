#pragma once
// What the time range and the filter dialog share: a non-modal tool window on top of the main
// window, placed beside the list, whose handlers run when it is shown, activated and hidden.

#include "ui/ErrorDisplay.h"

#include <QDialog>

class ClickableLabel;
class QLabel;

class ListToolDialog : public QDialog {
    Q_OBJECT
public:
    explicit ListToolDialog(QWidget* parent);

    // Placement beside the list `listView` so that its text stays in view (see PlaceToolWindow):
    // the list's geometry, where its lines begin and its widest ends, the main window's frame, all in global
    // coordinates.
    void PlaceBesideList(const QRect& listGeometry, int textLeft, int textRight, const QRect& windowFrame);

    // The dialogs the program shows its messages with (real message boxes until then).
    void UseDialogs(FileDialogs& dialogs) { errors_.UseDialogs(dialogs); }

    virtual void OnShow() = 0;
    virtual void OnActivate() = 0;
    virtual void OnHide() = 0;

    // The run's start and stop: clickable labels that take a record number from the list, and the
    // numbers they show.
    ClickableLabel* startLabel = nullptr;
    ClickableLabel* stopLabel = nullptr;
    QLabel* startNumberLabel = nullptr;
    QLabel* stopNumberLabel = nullptr;

protected:
    // Creates the four controls of the run.
    void CreateRunControls();
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    ErrorDisplay errors_{this};
};
