#include "evaluation/TDBereich.h"

#include "data/CoreError.h"
#include "evaluation/ClickableLabel.h"
#include "evaluation/ListHost.h"
#include "lang/LanguageTexts.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
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

TDBereich::TDBereich(MeasurementData& data, const LanguageTexts& texts, ListHost& host, QWidget* parent)
    : ListToolDialog(parent), data_(data), texts_(texts), host_(host) {
    setObjectName("DBereich");
    setModal(false);

    Kalender = new QCalendarWidget(this);
    Kalender->setObjectName("Kalender");
    Kalender->setGridVisible(true);
    Kalender->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    CreateRunControls();
    BSet = new QPushButton(this);
    BSet->setObjectName("BSet");
    BSet->setAutoDefault(false);
    Reset = new QPushButton(this);
    Reset->setObjectName("Reset");
    Reset->setAutoDefault(false);

    auto* numbers = new QGridLayout;
    numbers->setHorizontalSpacing(12);
    numbers->addWidget(Label_Start, 0, 0);
    numbers->addWidget(Start_Nr, 0, 1);
    numbers->addWidget(Label_Stop, 1, 0);
    numbers->addWidget(Stop_Nr, 1, 1);
    numbers->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BSet);
    buttons->addWidget(Reset);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addWidget(Kalender);
    layout->addLayout(numbers);
    layout->addLayout(buttons);

    connect(Label_Start, &ClickableLabel::clicked, this, &TDBereich::Label_StartClick);
    connect(Label_Stop, &ClickableLabel::clicked, this, &TDBereich::Label_StopClick);
    connect(BSet, &QPushButton::clicked, this, &TDBereich::BSetClick);
    connect(Reset, &QPushButton::clicked, this, &TDBereich::ResetClick);
    connect(Kalender, &QCalendarWidget::clicked, this, &TDBereich::CalendarDateChosen);
    connect(Kalender, &QCalendarWidget::selectionChanged, this, [this] {
        if (!settingCalendar_)
            CalendarDateChosen(Kalender->selectedDate());
    });
    connect(Kalender, &QCalendarWidget::currentPageChanged, this, [this] { ApplyDayFormats(); });
    if (auto* days = Kalender->findChild<QAbstractItemView*>())
        days->viewport()->installEventFilter(this);

    SetTexts();
}

void TDBereich::ApplyTexts() {
    SetTexts();
}

void TDBereich::SetCalendarLocale(const QLocale& locale) {
    Kalender->setLocale(locale);
    Kalender->setFirstDayOfWeek(locale.firstDayOfWeek());
}

void TDBereich::SetTexts() {
    setWindowTitle(TextOr(texts_[96], "Bereichsauswahl"));
    const QString howToSelect = TextOr(texts_[266], "Mehrere Tage: mit der Maus über die Tage ziehen "
                                                    "oder den letzten Tag mit Umschalt+Klick wählen");
    Kalender->setToolTip(howToSelect);
    Kalender->setAccessibleDescription(howToSelect);
    Label_Start->setText(TextOr(texts_[92], "Satznummer Bereich Start"));
    Label_Stop->setText(TextOr(texts_[93], "Satznummer Bereich Stop:"));
    BSet->setText(TextOr(texts_[94], "Bereich setzen"));
    Reset->setText(TextOr(texts_[95], "Bereich zurücksetzen"));
    Kalender->setAccessibleName(windowTitle());
    Label_Start->setAccessibleName(Label_Start->text());
    Label_Stop->setAccessibleName(Label_Stop->text());
    Start_Nr->setAccessibleName(Label_Start->text());
    Stop_Nr->setAccessibleName(Label_Stop->text());
    BSet->setAccessibleName(BSet->text());
    Reset->setAccessibleName(Reset->text());
}

void TDBereich::FormShow() {
    SetTexts();
    host_.SetMainToolBarVisible(false);
    range_ = WholeRange(data_);
    SetCalendarToData();
}

void TDBereich::FormActivate() {
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TDBereich::FormHide() {
    host_.SetMainToolBarVisible(true);
}

void TDBereich::Label_StartClick() {
    const int record = IntervalRecordAtLine(data_, host_.ListCursorLine());
    range_ = TakeRangeStart(ClampRange(range_, data_), record);
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TDBereich::Label_StopClick() {
    const int record = IntervalRecordAtLine(data_, host_.ListCursorLine());
    range_ = TakeRangeStop(ClampRange(range_, data_), record);
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TDBereich::KalenderClick() {
    const QDate from = Kalender->selectedDate();
    const QDate to = selectionEnd_.isValid() ? std::max(selectionEnd_, from) : from;
    range_ = MatchCalendarSelection(data_, range_, DayCountOf(from), DayCountOf(to));
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TDBereich::BSetClick() {
    try {
        range_ = ::BSetClick(data_, range_);
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    host_.ShowIntervalList();
    SetCalendarToData();
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TDBereich::ResetClick() {
    try {
        range_ = ::ResetClick(data_, host_.IntervalFactor());
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    host_.ShowIntervalList();
    SetCalendarToData();
    ShowRangeNumbers();
    UpdateRangeButtons();
}

void TDBereich::UpdateRangeButtons() {
    const RangeButtonStates states = ::UpdateRangeButtons(data_, range_);
    BSet->setEnabled(states.BSet);
    Reset->setEnabled(states.Reset);
}

void TDBereich::SelectCalendarDates(QDate from, QDate to) {
    anchor_ = from;
    ShowCalendarSelection(std::min(from, to), std::max(from, to));
    KalenderClick();
}

QDate TDBereich::CalendarSelectionStart() const {
    return Kalender->selectedDate();
}

void TDBereich::SetCalendarToData() {
    if (data_.WorkIntervalCount <= 0)
        return;
    const CalendarSetting setting =
        CalendarSettingFor(data_, range_.RangeStop, DayCountOf(Kalender->selectedDate()));
    const QDate minimum = DateOfDayCount(setting.MinimumDate);
    const QDate date = DateOfDayCount(setting.Date);
    const QDate maximum = DateOfDayCount(setting.MaximumDate);
    settingCalendar_ = true;
    if (setting.Order == CalendarSetOrder::MaximumFirst) {
        Kalender->setMaximumDate(maximum);
        Kalender->setSelectedDate(date);
        Kalender->setMinimumDate(minimum);
    } else {
        Kalender->setMinimumDate(minimum);
        Kalender->setSelectedDate(date);
        Kalender->setMaximumDate(maximum);
    }
    settingCalendar_ = false;
    anchor_ = date;
    ShowCalendarSelection(date, DateOfDayCount(setting.SelectionEnd));
}

void TDBereich::ShowRangeNumbers() {
    Start_Nr->setText(QString::number(range_.RangeStart));
    Stop_Nr->setText(QString::number(range_.RangeStop));
}

bool TDBereich::eventFilter(QObject* watched, QEvent* event) {
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
void TDBereich::CalendarDateChosen(QDate date) {
    if (settingCalendar_ || !date.isValid())
        return;
    const bool extend =
        ((QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) || (dragging_ && dragAnchorTaken_)) &&
        anchor_.isValid();
    if (!extend)
        anchor_ = date;
    ShowCalendarSelection(std::min(anchor_, date), std::max(anchor_, date));
    KalenderClick();
}

void TDBereich::ShowCalendarSelection(QDate from, QDate to) {
    settingCalendar_ = true;
    Kalender->setSelectedDate(from);
    settingCalendar_ = false;
    selectionEnd_ = to;
    ApplyDayFormats();
}

QDate TDBereich::DayAt(QPoint position) const {
    const auto* grid = Kalender->findChild<QAbstractItemView*>();
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
    QDate month(Kalender->yearShown(), Kalender->monthShown(), 1);
    if (cell.row() == firstWeekRow && day > 20)
        month = month.addMonths(-1);
    else if (cell.row() >= firstWeekRow + 4 && day < 15)
        month = month.addMonths(1);
    return QDate(month.year(), month.month(), day);
}

void TDBereich::ApplyDayFormats() {
    Kalender->setDateTextFormat(QDate(), QTextCharFormat());
    // Days without data cannot be chosen: they are shown greyed out, as disabled text is.
    const QDate firstShown = QDate(Kalender->yearShown(), Kalender->monthShown(), 1).addDays(-7);
    const QDate lastShown = firstShown.addDays(7 * 8);
    QTextCharFormat unavailable;
    unavailable.setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
    for (QDate day = firstShown; day <= lastShown; day = day.addDays(1))
        if (day < Kalender->minimumDate() || day > Kalender->maximumDate())
            Kalender->setDateTextFormat(day, unavailable);
    // The calendar selects single days; the rest of the run is shown in the selection's colour.
    const QDate from = Kalender->selectedDate();
    if (!from.isValid() || !selectionEnd_.isValid())
        return;
    QTextCharFormat selected;
    selected.setBackground(palette().highlight());
    selected.setForeground(palette().highlightedText());
    for (QDate day = from.addDays(1); day <= selectionEnd_; day = day.addDays(1))
        Kalender->setDateTextFormat(day, selected);
}

void TDBereich::ShowError(const std::exception& error) {
    const auto* coreError = dynamic_cast<const CoreError*>(&error);
    const std::string message = coreError ? coreError->Message(texts_) : std::string(error.what());
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
}
