#include "base/LanguageTexts.h"
#include "data/DateTime.h"
#include "evaluation/ListHost.h"
#include "evaluation/RecordFilterDialog.h"
#include "evaluation/TimeRangeDialog.h"
#include "support/FakeDialogs.h"
#include "ui/ClickableLabel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
class FakeListHost : public ListHost {
public:
    int CursorLine = 0;
    int Factor = 3;
    bool ToolBarVisible = true;
    int VehicleListShown = 0;
    int VehiclePageRedrawn = 0;
    int IntervalListShown = 0;

    int ListCursorLine() const override { return CursorLine; }
    void ShowVehicleList() override { ++VehicleListShown; }
    void RedrawVehiclePage() override { ++VehiclePageRedrawn; }
    void ShowIntervalList() override { ++IntervalListShown; }
    int IntervalFactor() const override { return Factor; }
    void SetIntervalFactor(int factor) override { Factor = factor; }
    void SetMainToolBarVisible(bool visible) override { ToolBarVisible = visible; }
};

std::unique_ptr<MeasurementData> VehicleData(std::initializer_list<int> speeds) {
    auto data = std::make_unique<MeasurementData>();
    data->Vehicles.EnsureSize(static_cast<int>(speeds.size()));
    int n = 0;
    for (int speed : speeds) {
        VehicleRecord& r = data->Vehicles[++n];
        r = VehicleRecord{};
        r.Time = 45000.3 + n / 86400.0;
        r.Speed = static_cast<std::uint8_t>(speed);
        r.Length = 5;
        r.Direction = '1';
    }
    data->LoadedCount = n;
    data->DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(*data);
    return data;
}

// 5-minute intervals from 2024-03-10 00:00: `days` whole days in Intervals and WorkIntervals.
std::unique_ptr<MeasurementData> IntervalData(int days) {
    auto data = std::make_unique<MeasurementData>();
    const int count = days * 288;
    data->Intervals.EnsureSize(count);
    const double start = *TryEncodeDate(2024, 3, 10);
    for (int n = 1; n <= count; ++n) {
        data->Intervals[n].StartTime = IncMinute(start, 5LL * (n - 1));
        data->Intervals[n].Total().Dir1 = n;
    }
    data->IntervalCount = count;
    data->DataMode = DataMode::Interval;
    CopyIntervalsToWork(*data);
    return data;
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}
void Click(ClickableLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton);
}
} // namespace

class ListToolDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void filterMarksRemovesAndRestores() {
        auto data = VehicleData({30, 50, 51, 70, 40, 90, 20, 45, 49, 60});
        LanguageTexts texts;
        texts.Set(260, "of");
        texts.Set(261, "marked");
        texts.Set(40, "Record filter");
        FakeListHost host;
        RecordFilterDialog dialog(*data, texts, host);
        dialog.show();
        QVERIFY(!host.ToolBarVisible);
        QCOMPARE(dialog.windowTitle(), QString("Record filter"));
        QCOMPARE(dialog.startNumberLabel->text(), QString("1"));
        QCOMPARE(dialog.stopNumberLabel->text(), QString("10"));
        QCOMPARE(dialog.markedCountLabel->text(), QString("0 of 10 marked"));
        QVERIFY(dialog.markButton->isEnabled());
        QVERIFY(!dialog.clearMarksButton->isEnabled());
        QVERIFY(!dialog.eraseMarkedButton->isEnabled());
        QVERIFY(!dialog.useMarkedButton->isEnabled());

        // Speed > 50 marks 51, 70, 90 and 60.
        dialog.speedComparison->setCurrentIndex(1);
        dialog.speedValue->setText("50");
        Click(dialog.markButton);
        QCOMPARE(data->MarkedCount, 4);
        QCOMPARE(dialog.markedCountLabel->text(), QString("4 von 10 markiert"));
        QCOMPARE(host.VehiclePageRedrawn, 1);
        QVERIFY(dialog.clearMarksButton->isEnabled());
        QVERIFY(dialog.eraseMarkedButton->isEnabled());
        QVERIFY(dialog.useMarkedButton->isEnabled());

        // Remove them: six left, the intervals are rebuilt at 5 minutes, the list starts again.
        Click(dialog.eraseMarkedButton);
        QCOMPARE(data->WorkVehicleCount, 6);
        QCOMPARE(data->IntervalRebuildPending, std::uint8_t{1});
        QCOMPARE(host.Factor, 1);
        QCOMPARE(host.VehicleListShown, 1);
        QCOMPARE(dialog.stopNumberLabel->text(), QString("6"));
        QCOMPARE(dialog.markedCountLabel->text(), QString("0 von 6 markiert"));
        QVERIFY(dialog.clearMarksButton->isEnabled());
        QVERIFY(!dialog.eraseMarkedButton->isEnabled());

        // Keep only the vehicles below 40 of the rest.
        dialog.speedComparison->setCurrentIndex(3);
        dialog.speedValue->setText("40");
        Click(dialog.markButton);
        Click(dialog.useMarkedButton);
        QCOMPARE(data->WorkVehicleCount, 2);
        QCOMPARE(int(data->WorkVehicles[1].Speed), 30);
        QCOMPARE(int(data->WorkVehicles[2].Speed), 20);

        // Restore everything.
        Click(dialog.clearMarksButton);
        QCOMPARE(data->WorkVehicleCount, 10);
        QCOMPARE(dialog.stopNumberLabel->text(), QString("10"));
        QCOMPARE(dialog.markedCountLabel->text(), QString("0 von 10 markiert"));
        QVERIFY(!dialog.clearMarksButton->isEnabled());
        QCOMPARE(host.VehicleListShown, 3);

        dialog.hide();
        QVERIFY(host.ToolBarVisible);
    }

    void filterRunFromTheListAndBadValues() {
        auto data = VehicleData({60, 60, 60, 60, 60, 60, 60, 60, 60, 60});
        LanguageTexts texts;
        FakeListHost host;
        RecordFilterDialog dialog(*data, texts, host);
        dialog.show();

        data->VehicleListTop = 3;
        host.CursorLine = 4; // third data line: record 5
        Click(dialog.startLabel);
        host.CursorLine = 0; // header: VehicleListTop, clamped up to the start
        Click(dialog.stopLabel);
        QCOMPARE(dialog.startNumberLabel->text(), QString("5"));
        QCOMPARE(dialog.stopNumberLabel->text(), QString("5"));
        host.CursorLine = 8;
        Click(dialog.stopLabel);
        QCOMPARE(dialog.stopNumberLabel->text(), QString("9"));

        Click(dialog.markButton); // no conditions: records 5..9
        QCOMPARE(data->MarkedCount, 5);
        QCOMPARE(int(data->WorkVehicles[4].Marked), 0);
        QCOMPARE(int(data->WorkVehicles[10].Marked), 0);

        // A length that is no whole number: a message, nothing marked, the counter unchanged.
        Click(dialog.clearMarksButton);
        const QString counter = dialog.markedCountLabel->text();
        dialog.lengthComparison->setCurrentIndex(2);
        dialog.lengthValue->setText("7.5");
        FakeDialogs dialogs;
        dialog.UseDialogs(dialogs);
        dialog.MarkClick();
        QCOMPARE(dialogs.Messages.size(), 1);
        QVERIFY2(dialogs.Messages[0].contains("7.5"), qPrintable(dialogs.Messages[0]));
        QCOMPARE(data->MarkedCount, 0);
        QCOMPARE(dialog.markedCountLabel->text(), counter);

        for (QWidget* control : std::initializer_list<QWidget*>{
                 dialog.startLabel, dialog.stopLabel, dialog.speedComparison, dialog.speedValue,
                 dialog.lengthComparison, dialog.lengthValue, dialog.directionChoice, dialog.markButton,
                 dialog.clearMarksButton, dialog.eraseMarkedButton, dialog.useMarkedButton})
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));

        // Room right of the list's text: the dialog sits there, flush with the list's right edge.
        dialog.PlaceBesideList(QRect(5, 60, 760, 500), 10, 5 + 300, QRect(0, 0, 790, 590));
        QCOMPARE(dialog.frameGeometry().top(), 102);
        QCOMPARE(dialog.frameGeometry().left() + dialog.frameGeometry().width(), 5 + 760 - 2);
    }

    void rangeByTheListLabels() {
        auto data = IntervalData(3);
        data->WorkIntervalCount = 200; // as after joining to 15 minutes
        LanguageTexts texts;
        FakeListHost host;
        TimeRangeDialog dialog(*data, texts, host);
        dialog.show();
        QVERIFY(!host.ToolBarVisible);
        QCOMPARE(dialog.windowTitle(), QString("Bereichsauswahl"));
        QCOMPARE(dialog.startNumberLabel->text(), QString("1"));
        QCOMPARE(dialog.stopNumberLabel->text(), QString("200"));
        QVERIFY(!dialog.applyButton->isEnabled());
        QVERIFY(dialog.resetButton->isEnabled());

        data->IntervalListTop = 101;
        host.CursorLine = 11; // the 10th data line
        Click(dialog.startLabel);
        QCOMPARE(dialog.startNumberLabel->text(), QString("110"));
        QVERIFY(dialog.applyButton->isEnabled());
        host.CursorLine = 3; // above the start record
        Click(dialog.stopLabel);
        QCOMPARE(dialog.stopNumberLabel->text(), QString("110"));
        host.CursorLine = 40;
        Click(dialog.stopLabel);
        QCOMPARE(dialog.stopNumberLabel->text(), QString("139"));

        Click(dialog.applyButton);
        QCOMPARE(data->WorkIntervalCount, 30);
        QCOMPARE(data->WorkIntervals[1].Total().Dir1, 110);
        QCOMPARE(host.IntervalListShown, 1);
        QCOMPARE(dialog.startNumberLabel->text(), QString("1"));
        QCOMPARE(dialog.stopNumberLabel->text(), QString("30"));
        QVERIFY(!dialog.applyButton->isEnabled());
        QVERIFY(dialog.resetButton->isEnabled());

        for (QWidget* control : std::initializer_list<QWidget*>{
                 dialog.calendar, dialog.startLabel, dialog.stopLabel, dialog.startNumberLabel,
                 dialog.stopNumberLabel, dialog.applyButton, dialog.resetButton})
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        dialog.hide();
        QVERIFY(host.ToolBarVisible);
    }

    void rangeByTheCalendarSetAndReset() {
        auto data = IntervalData(3); // 10, 11 and 12 March
        LanguageTexts texts;
        FakeListHost host;
        host.Factor = 1;
        TimeRangeDialog dialog(*data, texts, host);
        dialog.show();
        QCOMPARE(dialog.calendar->minimumDate(), QDate(2024, 3, 10));
        QCOMPARE(dialog.calendar->maximumDate(), QDate(2024, 3, 12));
        QCOMPARE(dialog.calendar->selectedDate(), QDate(2024, 3, 10));
        QCOMPARE(dialog.CalendarSelectionEnd(), QDate(2024, 3, 12));
        QVERIFY(!dialog.applyButton->isEnabled());
        QVERIFY(!dialog.resetButton->isEnabled());

        // Two days: from the first interval of the first to the last interval of the second.
        dialog.SelectCalendarDates(QDate(2024, 3, 12), QDate(2024, 3, 11));
        QCOMPARE(dialog.startNumberLabel->text(), QString("289"));
        QCOMPARE(dialog.stopNumberLabel->text(), QString("864"));
        // A plain click on one day.
        emit dialog.calendar->clicked(QDate(2024, 3, 10));
        QCOMPARE(dialog.CalendarSelectionStart(), QDate(2024, 3, 10));
        QCOMPARE(dialog.CalendarSelectionEnd(), QDate(2024, 3, 10));
        QCOMPARE(dialog.startNumberLabel->text(), QString("1"));
        QCOMPARE(dialog.stopNumberLabel->text(), QString("288"));

        Click(dialog.applyButton);
        QCOMPARE(data->WorkIntervalCount, 288);
        QCOMPARE(dialog.calendar->maximumDate(), QDate(2024, 3, 10));
        QVERIFY(!dialog.applyButton->isEnabled());
        QVERIFY(dialog.resetButton->isEnabled());

        Click(dialog.resetButton);
        QCOMPARE(data->WorkIntervalCount, 864);
        QCOMPARE(host.IntervalListShown, 2);
        QCOMPARE(dialog.stopNumberLabel->text(), QString("864"));
        QCOMPARE(dialog.calendar->maximumDate(), QDate(2024, 3, 12));
        QVERIFY(!dialog.resetButton->isEnabled());

        // With the hour selected the reset joins the whole measurement by 12.
        host.Factor = 12;
        SetIntervalRange(*data, 2, 5); // as the command line does it, while the dialog is inactive
        dialog.OnActivate();
        QVERIFY(dialog.resetButton->isEnabled());
        Click(dialog.resetButton);
        QCOMPARE(data->WorkIntervalCount, 72);
        QCOMPARE(dialog.stopNumberLabel->text(), QString("72"));
    }
};

QTEST_MAIN(ListToolDialogsTest)
#include "ListToolDialogsTest.moc"
