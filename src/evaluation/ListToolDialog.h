#pragma once
// What the time range and the filter dialog share: a non-modal tool window on top of the main
// window, placed beside the list, whose form events run when it is shown, activated and hidden.

#include <QDialog>

#include <string>

class ClickableLabel;
class QLabel;

class ListToolDialog : public QDialog {
    Q_OBJECT
public:
    explicit ListToolDialog(QWidget* parent);

    // Placement beside the list `Memo1` so that its text stays in view (see PlaceToolWindow):
    // the list's geometry, where its lines begin and its widest ends, the main window's frame, all in global
    // coordinates.
    void PlaceBesideList(const QRect& listGeometry, int textLeft, int textRight, const QRect& windowFrame);

    virtual void FormShow() = 0;
    virtual void FormActivate() = 0;
    virtual void FormHide() = 0;

    // The run's start and stop: clickable labels that take a record number from the list, and the
    // numbers they show.
    ClickableLabel* Label_Start = nullptr;
    ClickableLabel* Label_Stop = nullptr;
    QLabel* Start_Nr = nullptr;
    QLabel* Stop_Nr = nullptr;

protected:
    // Creates the four controls of the run.
    void CreateRunControls();
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    // A language text, or the form's own caption when the language file leaves it empty.
    static QString TextOr(const std::string& text, const char* builtIn);
};
