// The list panel on its own: paging, the record label's list, marking and what it passes on to
// the window through the list host interface.

#include "app/ListPanel.h"
#include "base/LanguageTexts.h"
#include "base/ViewSelections.h"
#include "data/DateTime.h"
#include "data/MeasurementData.h"
#include "support/WindowControls.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<MeasurementData> VehicleData(int count) {
    auto data = std::make_unique<MeasurementData>();
    const double start = *TryEncodeDateTime(2026, 3, 9, 7, 0, 0);
    data->Vehicles.EnsureSize(count + 1);
    for (int n = 1; n <= count; ++n) {
        VehicleRecord& v = data->Vehicles[n];
        v = VehicleRecord{};
        v.Time = IncMinute(start, n);
        v.Speed = 50;
        v.Length = 5;
        v.Direction = '1';
    }
    data->LoadedCount = count;
    data->DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(*data);
    return data;
}

} // namespace

class ListPanelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MeasurementData> data_;
    LanguageTexts texts_;
    ViewSelections selections_;
    std::unique_ptr<ListPanel> panel_;

    ListTextView* List() const { return Control<ListTextView>(panel_.get(), "listView"); }
    QScrollBar* Bar() const { return Control<QScrollBar>(panel_.get(), "listScrollBar"); }

private slots:
    void init() {
        data_ = VehicleData(200);
        panel_ = std::make_unique<ListPanel>(*data_, texts_, selections_);
        panel_->resize(600, 400);
        panel_->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel_.get()));
        panel_->SetShownList(ShownList::Vehicles);
        panel_->ShowVehicleList();
    }
    void cleanup() { panel_.reset(); }

    void pagingKeysTurnWholePagesAndStopAtTheEnds() {
        const int page = panel_->PageLines();
        QVERIFY(page > 1);
        QCOMPARE(Bar()->maximum(), 200);
        QTest::keyClick(List(), Qt::Key_PageDown);
        QCOMPARE(data_->VehicleListTop, 1 + page + 1);
        QTest::keyClick(List(), Qt::Key_PageUp);
        QTest::keyClick(List(), Qt::Key_PageUp);
        QCOMPARE(data_->VehicleListTop, 1);
        // Ctrl+End: the last page that is full (a page holds PageLines() + 1 records), not one
        // holding only the last record.
        QTest::keyClick(List(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(data_->VehicleListTop, 200 - (page + 1) + 1);
    }

    void aDoubleClickMarksOnlyInTheVehicleList() {
        QSignalSpy marks(panel_.get(), &ListPanel::marksChanged);
        const auto doubleClickLine = [this](int line) {
            QTextCursor cursor(List()->document()->findBlockByNumber(line));
            List()->setTextCursor(cursor);
            QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, List()->cursorRect(cursor).center());
        };
        doubleClickLine(2);
        QCOMPARE(marks.count(), 1);
        QCOMPARE(data_->MarkedCount, 1);
        QCOMPARE(panel_->ListCursorLine(), 2); // the caret stays for the filter
        doubleClickLine(2);
        QCOMPARE(data_->MarkedCount, 0);

        panel_->SetShownList(ShownList::Intervals);
        doubleClickLine(2);
        QCOMPARE(marks.count(), 2);
        QCOMPARE(data_->MarkedCount, 0);
    }

    void theHostCallsReachTheWindow() {
        int shownFactor = 0;
        bool barVisible = true;
        panel_->IntervalFactorChanged = [&](int factor) { shownFactor = factor; };
        panel_->ToolBarVisibilityRequested = [&](bool visible) { barVisible = visible; };
        ListHost& host = *panel_;
        host.SetIntervalFactor(6);
        QCOMPARE(host.IntervalFactor(), 6);
        QCOMPARE(shownFactor, 6);
        host.SetIntervalFactor(7); // not a factor the menu offers
        QCOMPARE(selections_.IntervalFactor, 1);
        QCOMPARE(shownFactor, 1);
        host.SetMainToolBarVisible(false);
        QVERIFY(!barVisible);
    }
};

QTEST_MAIN(ListPanelTest)
#include "ListPanelTest.moc"
