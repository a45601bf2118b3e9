#pragma once
// The list view of the main window: one page of the vehicle or interval list (`listView`), its
// scroll bar (`listScrollBar`) and the record label (`recordNumberLabel`) shown while the bar is
// dragged. It pages the list, marks vehicles on a double click and is what the filter and time
// range dialogs work with.

#include "evaluation/ListHost.h"

#include <QPlainTextEdit>
#include <QRect>
#include <QWidget>

#include <functional>

class LanguageTexts;
struct MeasurementData;
class QLabel;
class QScrollBar;
struct ViewSelections;

// A read-only text that shows one page; the wheel and the paging keys move the list instead of
// the text.
class ListTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ListTextView(QWidget* parent = nullptr);

    // Height of one list line as the list lays it out, in pixels.
    int LineHeight() const;
    // Height the list's lines can fill, in pixels.
    int TextHeight() const;
    // Where, in the list's own coordinates, its lines begin and its widest line ends.
    int TextLeft() const;
    int TextRight() const;

signals:
    void doubleClicked();
    // Records to move: the wheel moves by three records a notch, the paging keys by a page.
    void pageRequested(int delta);
    void homeEndRequested(bool end);
    // Down on the last line of the page (+1) or Up on its first record line (-1).
    void stepPastPageRequested(int direction);
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int wheelRemainder_ = 0;
};

// Which list the panel shows; None while another view is in front.
enum class ShownList { None, Vehicles, Intervals };

// Where the list and its text lie on the screen: the filter and time range open beside it.
struct ListPlacement {
    QRect List;
    int TextLeft = 0;
    int TextRight = 0;
};

class ListPanel : public QWidget, public ListHost {
    Q_OBJECT
public:
    ListPanel(MeasurementData& data, const LanguageTexts& texts, ViewSelections& selections,
              QWidget* parent = nullptr);

    // What the panel needs of the window: the interval button's picture and the main tool bar.
    std::function<void(int factor)> IntervalFactorChanged;
    std::function<void(bool visible)> ToolBarVisibilityRequested;

    // The view in front; a new height redraws only the list that is shown.
    void SetShownList(ShownList list) { shown_ = list; }
    ShownList Shown() const { return shown_; }

    // --- ListHost ------------------------------------------------------------------------------
    int ListCursorLine() const override;
    void ShowVehicleList() override;
    void RedrawVehiclePage() override;
    void ShowIntervalList() override;
    int IntervalFactor() const override;
    void SetIntervalFactor(int factor) override;
    void SetMainToolBarVisible(bool visible) override;

    void RenderVehiclePage(int first);
    void RenderIntervalPage(int first);
    // Draws the shown page again (new texts or selections); the caret stays on its line.
    void RedrawKeepingCaret();
    // Lines per page, from the height of the list.
    int PageLines() const;
    // Names the list after the list shown and describes it by its column heading.
    void ApplyTexts();
    ListPlacement Placement() const;
    // Page Down works at once.
    void FocusList();

signals:
    // A double click marked or unmarked a vehicle.
    void marksChanged();
    // A list was shown from its first record: after a load, the filter, a time range or another
    // interval length, so the records in force may have changed.
    void listShown();

private:
    void ConnectList();
    void ResetScrollBar(int recordCount);
    void ScrollBarMoved(int position);
    void ScrollEnded();
    void SetListPosition(int position);
    void MovePage(int delta);
    void StepPastPage(int direction);
    void ToggleMarkOnCaretLine();
    void PutCaretOnLine(int line);
    int RecordCountOfList() const;

    MeasurementData& data_;
    const LanguageTexts& texts_;
    ViewSelections& selections_;
    ShownList shown_ = ShownList::None;
    QLabel* recordNumberLabel_ = nullptr;
    ListTextView* listView_ = nullptr;
    QScrollBar* listScrollBar_ = nullptr;
};
