#include "evaluation/TDBereich.h"

#include "data/CoreError.h"
#include "evaluation/ClickableLabel.h"
#include "evaluation/ListHost.h"
#include "lang/LanguageTexts.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QTextCharFormat>
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

    SetTexts();
}

void TDBereich::SetTexts() {
    setWindowTitle(TextOr(texts_[96], "Bereichsauswahl"));
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

// A click chooses one day; Shift+click extends the selection from the day chosen before.
void TDBereich::CalendarDateChosen(QDate date) {
    if (settingCalendar_ || !date.isValid())
        return;
    const bool extend = (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) && anchor_.isValid();
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
    // The calendar selects single days; the rest of the run is shown in the selection's colour.
    Kalender->setDateTextFormat(QDate(), QTextCharFormat());
    QTextCharFormat selected;
    selected.setBackground(palette().highlight());
    selected.setForeground(palette().highlightedText());
    for (QDate day = from.addDays(1); day <= to; day = day.addDays(1))
        Kalender->setDateTextFormat(day, selected);
}

void TDBereich::ShowError(const std::exception& error) {
    const auto* coreError = dynamic_cast<const CoreError*>(&error);
    const std::string message = coreError ? coreError->Message(texts_) : std::string(error.what());
    QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
}
