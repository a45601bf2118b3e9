#include "evaluation/TimeRangeDialog.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "evaluation/ListHost.h"
#include "ui/ClickableLabel.h"
#include "ui/QtText.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTextCharFormat>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QDate DayZero(1899, 12, 30);

QDate DateOfDayCount(double dayCount) {
    return DayZero.addDays(static_cast<qint64>(dayCount));
}
double DayCountOf(QDate date) {
    return static_cast<double>(DayZero.daysTo(date));
}

} // namespace

TimeRangeDialog::TimeRangeDialog(MeasurementData& data, const LanguageTexts& texts, ListHost& host,
                                 QWidget* parent)
    : ListToolDialog(parent), data_(data), texts_(texts), host_(host) {
    setObjectName("rangeDialog");
    setModal(false);

    calendar = new QCalendarWidget(this);
    calendar->setObjectName("calendar");
    calendar->setGridVisible(true);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    CreateRunControls();
    applyButton = new QPushButton(this);
    applyButton->setObjectName("applyButton");
    applyButton->setAutoDefault(false);
    resetButton = new QPushButton(this);
    resetButton->setObjectName("resetButton");
    resetButton->setAutoDefault(false);

    auto* numbers = new QGridLayout;
    numbers->setHorizontalSpacing(12);
    numbers->addWidget(startLabel, 0, 0);
    numbers->addWidget(startNumberLabel, 0, 1);
    numbers->addWidget(stopLabel, 1, 0);
    numbers->addWidget(stopNumberLabel, 1, 1);
    numbers->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(applyButton);
    buttons->addWidget(resetButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(calendar);
    layout->addLayout(numbers);
    layout->addLayout(buttons);

    connect(startLabel, &ClickableLabel::clicked, this, &TimeRangeDialog::StartLabelClick);
    connect(stopLabel, &ClickableLabel::clicked, this, &TimeRangeDialog::StopLabelClick);
    connect(applyButton, &QPushButton::clicked, this, &TimeRangeDialog::ApplyRange);
    connect(resetButton, &QPushButton::clicked, this, &TimeRangeDialog::ResetRange);
    connect(calendar, &QCalendarWidget::clicked, this, &TimeRangeDialog::CalendarDateChosen);
    connect(calendar, &QCalendarWidget::selectionChanged, this, [this] {
        if (!settingCalendar_)
            CalendarDateChosen(calendar->selectedDate());
    });
    connect(calendar, &QCalendarWidget::currentPageChanged, this, [this] { ApplyDayFormats(); });
    if (auto* days = calendar->findChild<QAbstractItemView*>())
        days->viewport()->installEventFilter(this);

    SetTexts();
}

void TimeRangeDialog::ApplyTexts() {
    SetTexts();
}

void TimeRangeDialog::SetCalendarLocale(const QLocale& locale) {
    calendar->setLocale(locale);
    calendar->setFirstDayOfWeek(locale.firstDayOfWeek());
}

void TimeRangeDialog::SetTexts() {
    setWindowTitle(TextOr(texts_[Text::RangeSelection], "Bereichsauswahl"));
    const QString howToSelect = TextOr(texts_[266], "Mehrere Tage: mit der Maus über die Tage ziehen "
                                                    "oder den letzten Tag mit Umschalt+Klick wählen");
    calendar->setToolTip(howToSelect);
    calendar->setAccessibleDescription(howToSelect);
    startLabel->setText(TextOr(texts_[Text::RangeStartRecordNumber], "Satznummer Bereich Start"));
    stopLabel->setText(TextOr(texts_[Text::RangeStopRecordNumber], "Satznummer Bereich Stop:"));
    applyButton->setText(TextOr(texts_[Text::SetRange], "Bereich setzen"));
    resetButton->setText(TextOr(texts_[Text::ResetRange], "Bereich zurücksetzen"));
    calendar->setAccessibleName(windowTitle());
    startLabel->setAccessibleName(startLabel->text());
    stopLabel->setAccessibleName(stopLabel->text());
    startNumberLabel->setAccessibleName(startLabel->text());
    stopNumberLabel->setAccessibleName(stopLabel->text());
    applyButton->setAccessibleName(applyButton->text());
    resetButton->setAccessibleName(resetButton->text());
}

void TimeRangeDialog::OnShow() {
    SetTexts();
    host_.SetMainToolBarVisible(false);
    range_ = WholeRange(data_);
    SetCalendarToData();
}

void TimeRangeDialog::OnActivate() {
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TimeRangeDialog::OnHide() {
    host_.SetMainToolBarVisible(true);
}

void TimeRangeDialog::StartLabelClick() {
    const int record = IntervalRecordAtLine(data_, host_.ListCursorLine());
    range_ = TakeRangeStart(ClampRange(range_, data_), record);
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TimeRangeDialog::StopLabelClick() {
    const int record = IntervalRecordAtLine(data_, host_.ListCursorLine());
    range_ = TakeRangeStop(ClampRange(range_, data_), record);
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TimeRangeDialog::CalendarClick() {
    const QDate from = calendar->selectedDate();
    const QDate to = selectionEnd_.isValid() ? std::max(selectionEnd_, from) : from;
    range_ = MatchCalendarSelection(data_, range_, DayCountOf(from), DayCountOf(to));
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TimeRangeDialog::ApplyRange() {
    try {
        range_ = ::ApplyRange(data_, range_);
    } catch (const std::exception& error) {
        errors_.ShowError(error, texts_);
        return;
    }
    host_.ShowIntervalList();
    SetCalendarToData();
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TimeRangeDialog::ResetRange() {
    try {
        range_ = ::ResetRange(data_, host_.IntervalFactor());
    } catch (const std::exception& error) {
        errors_.ShowError(error, texts_);
        return;
    }
    host_.ShowIntervalList();
    SetCalendarToData();
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TimeRangeDialog::UpdateRangeButtons() {
    const RangeButtonStates states = ::UpdateRangeButtons(data_, range_);
    applyButton->setEnabled(states.applyButton);
    resetButton->setEnabled(states.Reset);
}

void TimeRangeDialog::SelectCalendarDates(QDate from, QDate to) {
    anchor_ = from;
    ShowCalendarSelection(std::min(from, to), std::max(from, to));
    CalendarClick();
}

QDate TimeRangeDialog::CalendarSelectionStart() const {
    return calendar->selectedDate();
}

void TimeRangeDialog::SetCalendarToData() {
    if (data_.WorkIntervalCount <= 0)
        return;
    const CalendarSetting setting =
        CalendarSettingFor(data_, range_.RangeStop, DayCountOf(calendar->selectedDate()));
    const QDate minimum = DateOfDayCount(setting.MinimumDate);
    const QDate date = DateOfDayCount(setting.Date);
    const QDate maximum = DateOfDayCount(setting.MaximumDate);
    settingCalendar_ = true;
    if (setting.Order == CalendarSetOrder::MaximumFirst) {
        calendar->setMaximumDate(maximum);
        calendar->setSelectedDate(date);
        calendar->setMinimumDate(minimum);
    } else {
        calendar->setMinimumDate(minimum);
        calendar->setSelectedDate(date);
        calendar->setMaximumDate(maximum);
    }
    settingCalendar_ = false;
    anchor_ = date;
    ShowCalendarSelection(date, DateOfDayCount(setting.SelectionEnd));
}

void TimeRangeDialog::ShowRangeNumbers() {
    startNumberLabel->setText(QString::number(range_.RangeStart));
    stopNumberLabel->setText(QString::number(range_.RangeStop));
}

bool TimeRangeDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (const auto* press = static_cast<QMouseEvent*>(event); press->button() == Qt::LeftButton) {
            dragging_ = true;
            ++dragNumber_;
            // Shift+press extends from the day chosen before; a plain press starts a new run at
            // the day pressed (the calendar itself chooses a day only on move or release).
            const QDate pressed = DayAt(press->position().toPoint());
            if (!(press->modifiers() & Qt::ShiftModifier) || !anchor_.isValid())
                anchor_ = pressed;
            dragAnchorTaken_ = anchor_.isValid();
        }
        break;
    case QEvent::MouseButtonRelease:
        // The release still reports the day under the mouse; the drag ends after it.
        if (dragging_)
            QTimer::singleShot(0, this, [this, drag = dragNumber_] {
                if (drag == dragNumber_)
                    dragging_ = false;
            });
        break;
    default:
        break;
    }
    return ListToolDialog::eventFilter(watched, event);
}

// A click chooses one day; Shift+click and a drag extend the selection from the day chosen before.
void TimeRangeDialog::CalendarDateChosen(QDate date) {
    if (settingCalendar_ || !date.isValid())
        return;
    const bool extend =
        ((QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) || (dragging_ && dragAnchorTaken_)) &&
        anchor_.isValid();
    if (!extend)
        anchor_ = date;
    ShowCalendarSelection(std::min(anchor_, date), std::max(anchor_, date));
    CalendarClick();
}

void TimeRangeDialog::ShowCalendarSelection(QDate from, QDate to) {
    settingCalendar_ = true;
    calendar->setSelectedDate(from);
    settingCalendar_ = false;
    selectionEnd_ = to;
    ApplyDayFormats();
}

QDate TimeRangeDialog::DayAt(QPoint position) const {
    const auto* grid = calendar->findChild<QAbstractItemView*>();
    if (grid == nullptr)
        return {};
    const QModelIndex cell = grid->indexAt(position);
    const int day = cell.data().toInt();
    if (!cell.isValid() || day <= 0)
        return {}; // the row of day names
    // The grid shows six weeks: high day numbers in its first week belong to the month before,
    // low ones in its last two weeks to the month after.
    int firstWeekRow = 0;
    while (firstWeekRow < grid->model()->rowCount() &&
           grid->model()->index(firstWeekRow, cell.column()).data().toInt() <= 0)
        ++firstWeekRow;
    QDate month(calendar->yearShown(), calendar->monthShown(), 1);
    if (cell.row() == firstWeekRow && day > 20)
        month = month.addMonths(-1);
    else if (cell.row() >= firstWeekRow + 4 && day < 15)
        month = month.addMonths(1);
    return QDate(month.year(), month.month(), day);
}

void TimeRangeDialog::ApplyDayFormats() {
    calendar->setDateTextFormat(QDate(), QTextCharFormat());
    // Days without data cannot be chosen: they are shown greyed out, as disabled text is.
    const QDate firstShown = QDate(calendar->yearShown(), calendar->monthShown(), 1).addDays(-7);
    const QDate lastShown = firstShown.addDays(7 * 8);
    QTextCharFormat unavailable;
    unavailable.setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
    for (QDate day = firstShown; day <= lastShown; day = day.addDays(1))
        if (day < calendar->minimumDate() || day > calendar->maximumDate())
            calendar->setDateTextFormat(day, unavailable);
    // The calendar selects single days; the rest of the run is shown in the selection's colour.
    const QDate from = calendar->selectedDate();
    if (!from.isValid() || !selectionEnd_.isValid())
        return;
    QTextCharFormat selected;
    selected.setBackground(palette().highlight());
    selected.setForeground(palette().highlightedText());
    for (QDate day = from.addDays(1); day <= selectionEnd_; day = day.addDays(1))
        calendar->setDateTextFormat(day, selected);
}
