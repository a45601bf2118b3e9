#include "app/ListPanel.h"

#include "app/MainViewState.h"
#include "app/Pictures.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "base/ViewSelections.h"
#include "data/MeasurementData.h"
#include "evaluation/IntervalList.h"
#include "evaluation/VehicleList.h"
#include "ui/QtText.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The paging keys ask for "a page" with this many records; the panel turns it into one page.
constexpr int WholePage = 1000000;

constexpr auto Q = &ToQString;

QString JoinLines(const std::vector<std::string>& lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += Q(lines[i]);
    }
    return text;
}

} // namespace

// --- ListTextView -----------------------------------------------------------------------------------

ListTextView::ListTextView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUndoRedoEnabled(false);
}

void ListTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The default handling puts the caret on the clicked line first.
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void ListTextView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        QPlainTextEdit::wheelEvent(event);
        return;
    }
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0)
        emit pageRequested(-3 * notches);
    event->accept();
}

int ListTextView::LineHeight() const {
    const int laidOut = qRound(blockBoundingRect(document()->firstBlock()).height());
    return laidOut > 0 ? laidOut : fontMetrics().lineSpacing();
}

int ListTextView::TextHeight() const {
    return viewport()->height() - 2 * qRound(document()->documentMargin());
}

int ListTextView::TextLeft() const {
    return viewport()->geometry().left() + qRound(document()->documentMargin());
}

int ListTextView::TextRight() const {
    int widest = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next())
        widest = std::max(widest, fontMetrics().horizontalAdvance(block.text()));
    return TextLeft() + widest;
}

void ListTextView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    emit resized();
}

void ListTextView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        emit pageRequested(+WholePage);
        return;
    case Qt::Key_PageUp:
        emit pageRequested(-WholePage);
        return;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (event->modifiers() & Qt::ControlModifier) {
            emit homeEndRequested(event->key() == Qt::Key_End);
            return;
        }
        break;
    case Qt::Key_Down:
    case Qt::Key_Up: {
        // The arrows move within the page; past its last line (or above its first record line)
        // they turn the page.
        const int line = textCursor().blockNumber();
        const bool down = event->key() == Qt::Key_Down;
        if (event->modifiers() == Qt::NoModifier &&
            ((down && line >= document()->blockCount() - 1) || (!down && line == 2))) {
            emit stepPastPageRequested(down ? +1 : -1);
            return;
        }
        break;
    }
    default:
        break;
    }
    QPlainTextEdit::keyPressEvent(event);
}

// --- ListPanel --------------------------------------------------------------------------------------

ListPanel::ListPanel(MeasurementData& data, const LanguageTexts& texts, ViewSelections& selections,
                     QWidget* parent)
    : QWidget(parent), data_(data), texts_(texts), selections_(selections) {
    setObjectName(QStringLiteral("listPage"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(5, 2, 5, 5);
    layout->setHorizontalSpacing(5);
    layout->setVerticalSpacing(2);
    recordNumberLabel_ = new QLabel(this);
    recordNumberLabel_->setObjectName(QStringLiteral("recordNumberLabel"));
    recordNumberLabel_->setFont(ListFont());
    recordNumberLabel_->setMinimumHeight(18);
    QSizePolicy keep = recordNumberLabel_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    recordNumberLabel_->setSizePolicy(keep);
    recordNumberLabel_->hide();
    listView_ = new ListTextView(this);
    listView_->setObjectName(QStringLiteral("listView"));
    listView_->setFont(ListFont());
    listView_->setAccessibleName(QStringLiteral("Liste"));
    listScrollBar_ = new QScrollBar(Qt::Vertical, this);
    listScrollBar_->setObjectName(QStringLiteral("listScrollBar"));
    listScrollBar_->setAccessibleName(QStringLiteral("Liste blättern"));
    listScrollBar_->setFixedWidth(20);
    listScrollBar_->setRange(1, 1);
    listScrollBar_->setSingleStep(1);
    listScrollBar_->setPageStep(15);
    layout->addWidget(recordNumberLabel_, 0, 0);
    layout->addWidget(listView_, 1, 0);
    layout->addWidget(listScrollBar_, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(1, 1);
    ConnectList();
}

void ListPanel::ConnectList() {
    connect(listScrollBar_, &QScrollBar::valueChanged, this, [this](int position) {
        ScrollBarMoved(position);
        // A click on an arrow or the track, a key or the wheel ends its scroll at once; a drag
        // ends when the thumb is released.
        if (!listScrollBar_->isSliderDown())
            ScrollEnded();
    });
    connect(listScrollBar_, &QScrollBar::sliderReleased, this, [this] { ScrollEnded(); });
    connect(listView_, &ListTextView::doubleClicked, this, [this] { ToggleMarkOnCaretLine(); });
    connect(listView_, &ListTextView::pageRequested, this, [this](int delta) { MovePage(delta); });
    // A page holds as many lines as the list's height allows; a new height draws it again.
    connect(listView_, &ListTextView::resized, this, [this] {
        if (shown_ == ShownList::Vehicles)
            RedrawVehiclePage();
        else if (shown_ == ShownList::Intervals)
            RenderIntervalPage(data_.IntervalListTop);
    });
    // Ctrl+End shows the last full page, not a page holding only the last record.
    connect(listView_, &ListTextView::homeEndRequested, this, [this](bool end) {
        SetListPosition(end ? LastFullPageTop(RecordCountOfList(), PageLines()) : listScrollBar_->minimum());
    });
    connect(listView_, &ListTextView::stepPastPageRequested, this,
            [this](int direction) { StepPastPage(direction); });
}

int ListPanel::PageLines() const {
    return LinesPerPage(listView_->TextHeight(), listView_->LineHeight());
}

int ListPanel::RecordCountOfList() const {
    return shown_ == ShownList::Intervals ? data_.WorkIntervalCount : data_.WorkVehicleCount;
}

void ListPanel::MovePage(int delta) {
    const int page = std::max(1, PageLines() + 1);
    if (delta >= WholePage)
        delta = page;
    else if (delta <= -WholePage)
        delta = -page;
    SetListPosition(listScrollBar_->value() + delta);
}

void ListPanel::StepPastPage(int direction) {
    const int before = listScrollBar_->value();
    SetListPosition(before + direction * std::max(1, PageLines() + 1));
    if (listScrollBar_->value() == before)
        return; // the first or the last page: the cursor stays
    PutCaretOnLine(direction > 0 ? 2 : listView_->document()->blockCount() - 1);
}

void ListPanel::PutCaretOnLine(int line) {
    const int last = listView_->document()->blockCount() - 1;
    listView_->setTextCursor(QTextCursor(listView_->document()->findBlockByNumber(std::min(line, last))));
}

int ListPanel::ListCursorLine() const {
    return listView_->textCursor().blockNumber();
}

void ListPanel::ResetScrollBar(int recordCount) {
    {
        const QSignalBlocker quiet(listScrollBar_);
        listScrollBar_->setMinimum(1);
        listScrollBar_->setValue(1);
        listScrollBar_->setMaximum(std::max(1, recordCount));
    }
    listScrollBar_->setEnabled(recordCount > 1);
    recordNumberLabel_->hide();
}

void ListPanel::ShowVehicleList() {
    ResetScrollBar(data_.WorkVehicleCount);
    data_.VehicleListTop = 1;
    RenderVehiclePage(1);
    emit listShown();
}

void ListPanel::ShowIntervalList() {
    ResetScrollBar(data_.WorkIntervalCount);
    data_.IntervalListTop = 1;
    RenderIntervalPage(1);
    emit listShown();
}

void ListPanel::RedrawVehiclePage() {
    RenderVehiclePage(data_.VehicleListTop);
}

void ListPanel::RenderVehiclePage(int first) {
    listView_->setPlainText(JoinLines(::RenderVehiclePage(data_, first, PageLines(), texts_)));
}

void ListPanel::RenderIntervalPage(int first) {
    listView_->setPlainText(JoinLines(::RenderIntervalPage(data_, first, PageLines(), texts_)));
}

void ListPanel::RedrawKeepingCaret() {
    // The caret stays on its line: the filter and time range take record numbers from it.
    const int line = ListCursorLine();
    if (shown_ == ShownList::Vehicles)
        RedrawVehiclePage();
    else if (shown_ == ShownList::Intervals)
        RenderIntervalPage(data_.IntervalListTop);
    else
        return;
    PutCaretOnLine(line);
}

void ListPanel::ScrollBarMoved(int position) {
    const bool intervalList = shown_ == ShownList::Intervals;
    if (intervalList)
        data_.IntervalListTop = position;
    else
        data_.VehicleListTop = position;
    recordNumberLabel_->setText(Q(RecordNumberText(data_, position, intervalList)));
    recordNumberLabel_->show();
}

void ListPanel::ScrollEnded() {
    recordNumberLabel_->hide();
    if (shown_ == ShownList::Intervals)
        RenderIntervalPage(data_.IntervalListTop);
    else
        RenderVehiclePage(data_.VehicleListTop);
}

void ListPanel::SetListPosition(int position) {
    if (!listScrollBar_->isEnabled())
        return;
    listScrollBar_->setValue(std::clamp(position, listScrollBar_->minimum(), listScrollBar_->maximum()));
}

void ListPanel::ToggleMarkOnCaretLine() {
    if (shown_ != ShownList::Vehicles)
        return;
    const int line = ListCursorLine();
    const auto record = RecordOfListLine(data_, line);
    if (!record || !ToggleMark(data_, *record))
        return;
    RedrawVehiclePage();
    // The caret stays on the line, so that the filter can take its record number.
    PutCaretOnLine(line);
    emit marksChanged();
}

int ListPanel::IntervalFactor() const {
    return selections_.IntervalFactor;
}

void ListPanel::SetIntervalFactor(int factor) {
    if (!IsIntervalFactor(factor))
        factor = 1;
    selections_.IntervalFactor = factor;
    if (IntervalFactorChanged)
        IntervalFactorChanged(factor);
}

void ListPanel::SetMainToolBarVisible(bool visible) {
    if (ToolBarVisibilityRequested)
        ToolBarVisibilityRequested(visible);
}

void ListPanel::ApplyTexts() {
    const bool intervals = shown_ == ShownList::Intervals;
    const std::string& name = intervals ? texts_[Text::IntervalList] : texts_[Text::VehicleList];
    const std::string& heading =
        intervals ? texts_[Text::IntervalListHeader] : texts_[Text::VehicleListHeader];
    if (!name.empty())
        listView_->setAccessibleName(Q(name));
    listView_->setAccessibleDescription(Q(heading).simplified());
    if (!texts_[264].empty())
        listScrollBar_->setAccessibleName(Q(texts_[264]));
}

ListPlacement ListPanel::Placement() const {
    return {QRect(listView_->mapToGlobal(QPoint(0, 0)), listView_->size()),
            listView_->mapToGlobal(QPoint(listView_->TextLeft(), 0)).x(),
            listView_->mapToGlobal(QPoint(listView_->TextRight(), 0)).x()};
}

void ListPanel::FocusList() {
    listView_->setFocus(Qt::OtherFocusReason);
}
