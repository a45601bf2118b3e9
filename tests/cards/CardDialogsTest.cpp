// The card dialogs with a card text file, a binary file and a simulated card reader.

#include "CardTestFiles.h"
#include "ModelSerialPort.h"
#include "support/FakeDialogs.h"
#include "support/TestTimes.h"

#include "CardImage.h"
#include "base/LanguageTexts.h"
#include "cards/CardFileDialog.h"
#include "cards/SmartMediaDialog.h"
#include "data/DateTime.h"
#include "settings/Settings.h"
#include "ui/ClickableLabel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <memory>

namespace {

LanguageTexts DialogTexts() {
    LanguageTexts texts;
    texts.Set(2, "Einlesen");
    texts.Set(4, "Abbruch");
    texts.Set(5, "Hinzufügen");
    texts.Set(245, "Die Karte enthält");
    texts.Set(246, "Einträge");
    texts.Set(248, "Schnittstelle kann nicht geöffnet werden:");
    texts.Set(249, "Noch");
    texts.Set(250, "Einträge");
    texts.Set(252, "Einlesen beendet");
    texts.Set(271, "Datensätze:");
    return texts;
}
} // namespace

class CardDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void textFileWithShiftedStart() {
        const TempFile file("MESS.TXT", CardLine(1, 3, 24, 10, 0, 0, 0, 48, 4, 0) +
                                            CardLine(1, 3, 24, 10, 5, 0, 0, 52, 9, 1));
        MeasurementData data;
        Settings settings;
        const LanguageTexts texts = DialogTexts();
        CardFileDialog dialog(data, settings, texts);
        QVERIFY(dialog.Prepare(QString::fromStdString(file.path())));
        QCOMPARE(dialog.recordCountLabel->text(), QString("Datensätze: 2"));
        QCOMPARE(dialog.startTimeLabel->text(), QString("01.03.2024  10:00:00")); // German separators
        QVERIFY(!dialog.startTimeLabel->isHidden());
        QVERIFY(dialog.startDate->isHidden());
        QVERIFY(dialog.appendButton->isHidden());
        QVERIFY(!dialog.readButton->accessibleName().isEmpty());

        dialog.StartTimeLabelClick();
        QVERIFY(!dialog.startDate->isHidden());
        dialog.startDate->setDate(QDate(2024, 3, 2));
        dialog.startTime->setTime(QTime(6, 30, 0));
        dialog.ReadClick();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(data.LoadedCount, 2);
        QCOMPARE(ToMilliseconds(data.Vehicles[2].Time), ToMilliseconds(At(2024, 3, 2, 6, 35, 0)));

        // Right after it, a file that continues the measurement may be appended.
        data.DataMode = DataMode::SingleVehicle;
        const TempFile next("NEXT.TXT", CardLine(2, 3, 24, 7, 0, 0, 0, 60, 5, 0));
        QVERIFY(dialog.Prepare(QString::fromStdString(next.path())));
        QVERIFY(!dialog.appendButton->isHidden());
        dialog.startDate->setDate(QDate(2030, 1, 1)); // the append start does not look at the fields
        dialog.AppendClick();
        QCOMPARE(data.LoadedCount, 3);
        QCOMPARE(ToMilliseconds(data.Vehicles[3].Time), ToMilliseconds(At(2024, 3, 2, 7, 0, 0)));
    }

    void binaryAndForeignFiles() {
        const TempFile file("MESS.BIN", CardBlock(10, 0, 32) + CardBlock(10, 0, 64));
        const TempFile other("MESS.DAT", "x");
        MeasurementData data;
        Settings settings;
        const LanguageTexts texts = DialogTexts();
        CardFileDialog dialog(data, settings, texts);
        FakeDialogs dialogs;
        dialog.UseDialogs(dialogs);
        const QStringList& errors = dialogs.Messages;

        QVERIFY(dialog.Prepare(QString::fromStdString(file.path())));
        QVERIFY(dialog.startTimeLabel->isHidden());
        QVERIFY(!dialog.startDate->isHidden());
        QCOMPARE(dialog.startTime->time(), QTime(0, 0, 0));
        dialog.startDate->setDate(QDate(2024, 6, 1));
        dialog.startTime->setTime(QTime(8, 0, 0));
        dialog.ReadClick();
        QCOMPARE(data.LoadedCount, 2);
        QCOMPARE(ToMilliseconds(data.Vehicles[1].Time), ToMilliseconds(At(2024, 6, 1, 8, 0, 1)));

        QCOMPARE(dialog.Execute(QString::fromStdString(other.path())), int(QDialog::Rejected));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.front().contains("MESS.DAT"));
        QCOMPARE(data.LoadedCount, 2);
    }

    void smartMediaPollReadAndAbort() {
        CardImage image;
        for (int n = 0; n < 300; ++n) {
            if (n % 100 == 0)
                image.AddMarker(3, 1, 7 + n / 100);
            image.AddVehicle((n % 100) / 2, (n % 2) * 30, 50, 4, 1);
        }
        CardReaderModel model(image.Pages(), {});
        MeasurementData data;
        Settings settings;
        const LanguageTexts texts = DialogTexts();
        SmartMediaDialog dialog(data, settings, texts);
        dialog.UsePort(std::make_unique<ModelSerialPort>(model), {"ttyCARD0"});
        dialog.SetToday(*TryEncodeDate(2025, 3, 10));
        FakeDialogs dialogs;
        dialog.UseDialogs(dialogs);
        const QStringList& messages = dialogs.Messages;

        dialog.show();
        QCOMPARE(dialog.portChoice->count(), 1);
        QVERIFY(dialog.pollTimer->isActive());
        dialog.PollTimerElapsed();
        QCOMPARE(dialog.statusLabel->text(), QString("Die Karte enthält 303 Einträge"));
        QCOMPARE(dialog.startLineLabel->text(), QString("Start: 01.03.2025  07:00"));
        QVERIFY(dialog.readButton->isEnabled());

        // "Abbruch" pressed while the first page is taken in: the vehicles of that page remain.
        QTimer::singleShot(0, dialog.cancelButton, &QPushButton::click);
        dialog.ReadClick();
        QVERIFY(dialog.SmartMediaReadDone);
        QCOMPARE(messages, QStringList{"Einlesen beendet"});
        QCOMPARE(data.LoadedCount, 126);
        QCOMPARE(data.WorkVehicleCount, 126);
        QCOMPARE(data.Vehicles[101].Time, At(2025, 3, 1, 8, 0, 0));
        QVERIFY(dialog.isHidden());

        // Without any serial port the dialog says so and does not poll.
        SmartMediaDialog portless(data, settings, texts);
        portless.UsePort(std::make_unique<ModelSerialPort>(model), {});
        portless.show();
        QVERIFY(!portless.pollTimer->isActive());
        QVERIFY(!portless.portChoice->isEnabled());
        QVERIFY(portless.statusLabel->text().contains("serielle"));
    }
};

QTEST_MAIN(CardDialogsTest)
#include "CardDialogsTest.moc"
