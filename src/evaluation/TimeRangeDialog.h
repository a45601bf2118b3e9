#pragma once
// "Bereichsauswahl": the non-modal time range dialog. It reads its controls, calls the range
// functions of Bereich.h and shows their results; the main window (a ListHost) shows the lists.

#include "evaluation/TimeRange.h"

#include "evaluation/ListToolDialog.h"
#include <QDate>
#include <QLocale>

class ClickableLabel;
class LanguageTexts;
class ListHost;
class QCalendarWidget;
class QLabel;
class QPushButton;

class TimeRangeDialog : public ListToolDialog {
    Q_OBJECT
public:
    TimeRangeDialog(MeasurementData& data, const LanguageTexts& texts, ListHost& host,
                    QWidget* parent = nullptr);

    // Event handlers, named for what the user did.
    void OnShow() override;
    void OnActivate() override;
    void OnHide() override;
    void StartLabelClick();
    void StopLabelClick();
    void CalendarClick();
    void ApplyRange();
    void ResetRange();
    void UpdateRangeButtons();

    // The calendar's selection from `from` to `to` (as a click, or a click and a Shift+click, makes
    // it), then `CalendarClick`.
    void SelectCalendarDates(QDate from, QDate to);

    // Month and day names of the calendar in the program's language.
    void SetCalendarLocale(const QLocale& locale);
    // Takes the texts of the language now loaded.
    void ApplyTexts();

    RangeSelection Range() const { return range_; }
    QDate CalendarSelectionStart() const;
    QDate CalendarSelectionEnd() const { return selectionEnd_; }

    QCalendarWidget* calendar = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* resetButton = nullptr;

private:
    void SetTexts();
    void SetCalendarToData();
    void ShowRangeNumbers();
    void CalendarDateChosen(QDate date);
    void ShowCalendarSelection(QDate from, QDate to);
    void ApplyDayFormats();
    // The day of the calendar cell at `position` in its day grid's viewport, or an invalid date.
    QDate DayAt(QPoint position) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MeasurementData& data_;
    const LanguageTexts& texts_;
    ListHost& host_;
    RangeSelection range_;
    QDate anchor_;       // the date the last plain click chose; Shift+click extends from it
    QDate selectionEnd_; // the calendar's selection runs from its selected date to this date
    bool settingCalendar_ = false;
    // A drag across the calendar's days selects the run from the day pressed to the day under
    // the mouse.
    bool dragging_ = false;
    bool dragAnchorTaken_ = false;
    int dragNumber_ = 0; // a release ends only its own drag
};
