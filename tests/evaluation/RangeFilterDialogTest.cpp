#include "data/DateTime.h"
#include "evaluation/ClickableLabel.h"
#include "evaluation/ListHost.h"
#include "evaluation/TDBereich.h"
#include "evaluation/TDFilter.h"
#include "lang/LanguageTexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
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

// Runs `action` while a message box that it opens is closed again; returns the box's text.
template <typename Action> QString MessageShownBy(Action action) {
    QString text;
    QTimer::singleShot(50, [&text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    action();
    return text;
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}
void Click(ClickableLabel* label) {
    QTest::mouseClick(label, Qt::LeftButton);
}
} // namespace

class RangeFilterDialogTest : public QObject {
    Q_OBJECT

private slots:
    void filterMarksRemovesAndRestores() {
        auto data = VehicleData({30, 50, 51, 70, 40, 90, 20, 45, 49, 60});
        LanguageTexts texts;
        texts.Set(260, "of");
        texts.Set(261, "marked");
        texts.Set(40, "Record filter");
        FakeListHost host;
        TDFilter dialog(*data, texts, host);
        dialog.show();
        QVERIFY(!host.ToolBarVisible);
        QCOMPARE(dialog.windowTitle(), QString("Record filter"));
        QCOMPARE(dialog.Start_Nr->text(), QString("1"));
        QCOMPARE(dialog.Stop_Nr->text(), QString("10"));
        QCOMPARE(dialog.Label_Anzahl->text(), QString("0 of 10 marked"));
        QVERIFY(dialog.Markieren->isEnabled());
        QVERIFY(!dialog.Loeschen->isEnabled());
        QVERIFY(!dialog.Dat_Mark_Erase->isEnabled());
        QVERIFY(!dialog.Dat_Mark_Use->isEnabled());

        // Speed > 50 marks 51, 70, 90 and 60.
        dialog.Bed_Gesch->setCurrentIndex(1);
        dialog.Wert_Gesch->setText("50");
        Click(dialog.Markieren);
        QCOMPARE(data->MarkedCount, 4);
        QCOMPARE(dialog.Label_Anzahl->text(), QString("4 von 10 markiert"));
        QCOMPARE(host.VehiclePageRedrawn, 1);
        QVERIFY(dialog.Loeschen->isEnabled());
        QVERIFY(dialog.Dat_Mark_Erase->isEnabled());
        QVERIFY(dialog.Dat_Mark_Use->isEnabled());

        // Remove them: six left, the intervals are rebuilt at 5 minutes, the list starts again.
        Click(dialog.Dat_Mark_Erase);
        QCOMPARE(data->WorkVehicleCount, 6);
        QCOMPARE(data->IntervalRebuildPending, std::uint8_t{1});
        QCOMPARE(host.Factor, 1);
        QCOMPARE(host.VehicleListShown, 1);
        QCOMPARE(dialog.Stop_Nr->text(), QString("6"));
        QCOMPARE(dialog.Label_Anzahl->text(), QString("0 von 6 markiert"));
        QVERIFY(dialog.Loeschen->isEnabled());
        QVERIFY(!dialog.Dat_Mark_Erase->isEnabled());

        // Keep only the vehicles below 40 of the rest.
        dialog.Bed_Gesch->setCurrentIndex(3);
        dialog.Wert_Gesch->setText("40");
        Click(dialog.Markieren);
        Click(dialog.Dat_Mark_Use);
        QCOMPARE(data->WorkVehicleCount, 2);
        QCOMPARE(int(data->WorkVehicles[1].Speed), 30);
        QCOMPARE(int(data->WorkVehicles[2].Speed), 20);

        // Restore everything.
        Click(dialog.Loeschen);
        QCOMPARE(data->WorkVehicleCount, 10);
        QCOMPARE(dialog.Stop_Nr->text(), QString("10"));
        QCOMPARE(dialog.Label_Anzahl->text(), QString("0 von 10 markiert"));
        QVERIFY(!dialog.Loeschen->isEnabled());
        QCOMPARE(host.VehicleListShown, 3);

        dialog.hide();
        QVERIFY(host.ToolBarVisible);
    }

    void filterRunFromTheListAndBadValues() {
        auto data = VehicleData({60, 60, 60, 60, 60, 60, 60, 60, 60, 60});
        LanguageTexts texts;
        FakeListHost host;
        TDFilter dialog(*data, texts, host);
        dialog.show();

        data->VehicleListTop = 3;
        host.CursorLine = 4; // third data line: record 5
        Click(dialog.Label_Start);
        host.CursorLine = 0; // header: VehicleListTop, clamped up to the start
        Click(dialog.Label_Stop);
        QCOMPARE(dialog.Start_Nr->text(), QString("5"));
        QCOMPARE(dialog.Stop_Nr->text(), QString("5"));
        host.CursorLine = 8;
        Click(dialog.Label_Stop);
        QCOMPARE(dialog.Stop_Nr->text(), QString("9"));

        Click(dialog.Markieren); // no conditions: records 5..9
        QCOMPARE(data->MarkedCount, 5);
        QCOMPARE(int(data->WorkVehicles[4].Marked), 0);
        QCOMPARE(int(data->WorkVehicles[10].Marked), 0);

        // A length that is no whole number: a message, nothing marked, the counter unchanged.
        Click(dialog.Loeschen);
        const QString counter = dialog.Label_Anzahl->text();
        dialog.Bed_Laenge->setCurrentIndex(2);
        dialog.Wert_Laenge->setText("7.5");
        const QString message = MessageShownBy([&] { dialog.MarkierenClick(); });
        QVERIFY2(message.contains("7.5"), qPrintable(message));
        QCOMPARE(data->MarkedCount, 0);
        QCOMPARE(dialog.Label_Anzahl->text(), counter);

        for (QWidget* control : std::initializer_list<QWidget*>{
                 dialog.Label_Start, dialog.Label_Stop, dialog.Bed_Gesch, dialog.Wert_Gesch,
                 dialog.Bed_Laenge, dialog.Wert_Laenge, dialog.Bed_Richt, dialog.Markieren, dialog.Loeschen,
                 dialog.Dat_Mark_Erase, dialog.Dat_Mark_Use})
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
        TDBereich dialog(*data, texts, host);
        dialog.show();
        QVERIFY(!host.ToolBarVisible);
        QCOMPARE(dialog.windowTitle(), QString("Bereichsauswahl"));
        QCOMPARE(dialog.Start_Nr->text(), QString("1"));
        QCOMPARE(dialog.Stop_Nr->text(), QString("200"));
        QVERIFY(!dialog.BSet->isEnabled());
        QVERIFY(dialog.Reset->isEnabled());

        data->IntervalListTop = 101;
        host.CursorLine = 11; // the 10th data line
        Click(dialog.Label_Start);
        QCOMPARE(dialog.Start_Nr->text(), QString("110"));
        QVERIFY(dialog.BSet->isEnabled());
        host.CursorLine = 3; // above the start record
        Click(dialog.Label_Stop);
        QCOMPARE(dialog.Stop_Nr->text(), QString("110"));
        host.CursorLine = 40;
        Click(dialog.Label_Stop);
        QCOMPARE(dialog.Stop_Nr->text(), QString("139"));

        Click(dialog.BSet);
        QCOMPARE(data->WorkIntervalCount, 30);
        QCOMPARE(data->WorkIntervals[1].Total().Dir1, 110);
        QCOMPARE(host.IntervalListShown, 1);
        QCOMPARE(dialog.Start_Nr->text(), QString("1"));
        QCOMPARE(dialog.Stop_Nr->text(), QString("30"));
        QVERIFY(!dialog.BSet->isEnabled());
        QVERIFY(dialog.Reset->isEnabled());

        for (QWidget* control :
             std::initializer_list<QWidget*>{dialog.Kalender, dialog.Label_Start, dialog.Label_Stop,
                                             dialog.Start_Nr, dialog.Stop_Nr, dialog.BSet, dialog.Reset})
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        dialog.hide();
        QVERIFY(host.ToolBarVisible);
    }

    void rangeByTheCalendarSetAndReset() {
        auto data = IntervalData(3); // 10, 11 and 12 March
        LanguageTexts texts;
        FakeListHost host;
        host.Factor = 1;
        TDBereich dialog(*data, texts, host);
        dialog.show();
        QCOMPARE(dialog.Kalender->minimumDate(), QDate(2024, 3, 10));
        QCOMPARE(dialog.Kalender->maximumDate(), QDate(2024, 3, 12));
        QCOMPARE(dialog.Kalender->selectedDate(), QDate(2024, 3, 10));
        QCOMPARE(dialog.CalendarSelectionEnd(), QDate(2024, 3, 12));
        QVERIFY(!dialog.BSet->isEnabled());
        QVERIFY(!dialog.Reset->isEnabled());

        // Two days: from the first interval of the first to the last interval of the second.
        dialog.SelectCalendarDates(QDate(2024, 3, 12), QDate(2024, 3, 11));
        QCOMPARE(dialog.Start_Nr->text(), QString("289"));
        QCOMPARE(dialog.Stop_Nr->text(), QString("864"));
        // A plain click on one day.
        emit dialog.Kalender->clicked(QDate(2024, 3, 10));
        QCOMPARE(dialog.CalendarSelectionStart(), QDate(2024, 3, 10));
        QCOMPARE(dialog.CalendarSelectionEnd(), QDate(2024, 3, 10));
        QCOMPARE(dialog.Start_Nr->text(), QString("1"));
        QCOMPARE(dialog.Stop_Nr->text(), QString("288"));

        Click(dialog.BSet);
        QCOMPARE(data->WorkIntervalCount, 288);
        QCOMPARE(dialog.Kalender->maximumDate(), QDate(2024, 3, 10));
        QVERIFY(!dialog.BSet->isEnabled());
        QVERIFY(dialog.Reset->isEnabled());

        Click(dialog.Reset);
        QCOMPARE(data->WorkIntervalCount, 864);
        QCOMPARE(host.IntervalListShown, 2);
        QCOMPARE(dialog.Stop_Nr->text(), QString("864"));
        QCOMPARE(dialog.Kalender->maximumDate(), QDate(2024, 3, 12));
        QVERIFY(!dialog.Reset->isEnabled());

        // With the hour selected the reset joins the whole measurement by 12.
        host.Factor = 12;
        SetIntervalRange(*data, 2, 5); // as the command line does it, while the dialog is inactive
        dialog.FormActivate();
        QVERIFY(dialog.Reset->isEnabled());
        Click(dialog.Reset);
        QCOMPARE(data->WorkIntervalCount, 72);
        QCOMPARE(dialog.Stop_Nr->text(), QString("72"));
    }
};

QTEST_MAIN(RangeFilterDialogTest)
#include "RangeFilterDialogTest.moc"
