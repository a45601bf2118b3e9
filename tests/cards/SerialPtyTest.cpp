// The SmartMedia reading code over a real serial port: QSerialPort on a pseudo-terminal whose
// other side the simulated card reader serves in a thread.

#include "CardImage.h"
#include "CardReaderSimulator.h"
#include "base/LanguageTexts.h"
#include "cards/QtCardSerialPort.h"
#include "cards/SmartMediaReader.h"
#include "data/DateTime.h"
#include "support/TestTimes.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <memory>
#include <thread>

namespace {
double Day(int y, int m, int d) {
    return *TryEncodeDate(y, m, d);
}

// A simulated reader on a pseudo-terminal for the lifetime of the object.
class SimulatedReader {
public:
    SimulatedReader(const CardImage& image, CardSimOptions options) : model_(image.Pages(), options) {
        pty_ = OpenPseudoTerminal().value_or(PseudoTerminal{});
        if (pty_.Master >= 0)
            server_ = std::thread([this] { ServeCardReader(pty_.Master, model_, stop_); });
    }
    ~SimulatedReader() {
        stop_ = true;
        if (server_.joinable())
            server_.join();
        ClosePseudoTerminal(pty_);
    }
    std::string path() const { return pty_.SlavePath; }
    int pageReplies() const { return model_.PageReplies(); }

private:
    CardReaderModel model_;
    PseudoTerminal pty_;
    std::atomic<bool> stop_{false};
    std::thread server_;
};

// Vehicles every 20 s from 31 December 2024 22:00 on, with a marker at every full hour.
CardImage NewYearCard(int hours) {
    CardImage image;
    for (int h = 0; h < hours; ++h) {
        const double hour = At(2024, 12, 31, 22, 0, 0) + h / 24.0;
        const DateTimeParts p = DecodeDateTime(hour);
        image.AddMarker(p.Month, p.Day, p.Hour);
        for (int k = 0; k < 180; ++k)
            image.AddVehicle(k / 3, (k % 3) * 20, 30 + k % 70, 2 + k % 15, 1 + k % 2);
    }
    return image;
}
} // namespace

class SerialPtyTest : public QObject {
    Q_OBJECT

private slots:
    void wholeCardOverNewYear() {
        SimulatedReader reader(NewYearCard(6), {}); // 1086 entries: nine pages
        QtCardSerialPort port;
        QVERIFY(port.Open(reader.path()));
        RaiseControlLines(port); // no modem lines on a pty: harmless
        LanguageTexts texts;
        const double today = Day(2025, 1, 3);

        const SmartMediaPoll poll = PollReader(port, today, texts, GermanLocaleFormat());
        QCOMPARE(poll.Status, SmartMediaPoll::State::Ready);
        QCOMPARE(poll.EntryCount, 1086);
        QCOMPARE(poll.StartLine, std::string("Start: 31.12.2024  22:00"));

        int pages = 1;
        const auto result = ReadSmartMediaCard(port, today, texts, [&](const SmartMediaProgress&) {
            ++pages;
            return false;
        });
        QCOMPARE(pages, 9);
        QCOMPARE(result.FailedPages, 0);
        QCOMPARE(static_cast<int>(result.Vehicles.size()), 6 * 180);
        QCOMPARE(result.Vehicles.front().Time, At(2024, 12, 31, 22, 0, 0));
        QCOMPARE(result.Vehicles[2 * 180].Time, At(2025, 1, 1, 0, 0, 0));
        QCOMPARE(ToMilliseconds(result.Vehicles.back().Time), ToMilliseconds(At(2025, 1, 1, 3, 59, 40)));
        QVERIFY(
            std::is_sorted(result.Vehicles.begin(), result.Vehicles.end(),
                           [](const VehicleRecord& a, const VehicleRecord& b) { return a.Time < b.Time; }));
        QCOMPARE(result.Vehicles[1].Direction, '2');
        port.Close();
    }

    void failedPagesAreAskedForAgain() {
        CardSimOptions options;
        options.ShortPageEvery = 3;
        SimulatedReader reader(NewYearCard(2), options); // 362 entries: three pages
        QtCardSerialPort port;
        QVERIFY(port.Open(reader.path()));
        LanguageTexts texts;
        texts.Set(251, "Fehlerhafte Seiten:");
        std::string failedLine;
        const auto result = ReadSmartMediaCard(
            port, Day(2025, 1, 3), texts, [](const SmartMediaProgress&) { return false; },
            [&](const SmartMediaProgress& p) { failedLine = p.FailedLine; });
        QCOMPARE(result.FailedPages, 1);
        QCOMPARE(failedLine, std::string("Fehlerhafte Seiten: 1"));
        QCOMPARE(static_cast<int>(result.Vehicles.size()), 360);
        QCOMPARE(reader.pageReplies(), 4);
    }

    void abortKeepsWhatWasRead() {
        SimulatedReader reader(NewYearCard(6), {});
        QtCardSerialPort port;
        QVERIFY(port.Open(reader.path()));
        LanguageTexts texts;
        int pages = 1;
        int remainingAfterFirst = 0;
        const auto result =
            ReadSmartMediaCard(port, Day(2025, 1, 3), texts, [&](const SmartMediaProgress& p) {
                if (pages == 1)
                    remainingAfterFirst = p.Remaining;
                return ++pages > 2;
            });
        QCOMPARE(remainingAfterFirst, 1086 - 128);
        QVERIFY(result.Aborted);
        QCOMPARE(static_cast<int>(result.Vehicles.size()), 256 - 2); // two markers among 256 entries
        QCOMPARE(reader.pageReplies(), 2);
    }

    void silentReaderTimesOut() {
        CardSimOptions options;
        options.Silent = true;
        SimulatedReader reader(NewYearCard(1), options);
        QtCardSerialPort port;
        QVERIFY(port.Open(reader.path()));
        LanguageTexts texts;
        texts.Set(242, "Keine Antwort");
        QElapsedTimer timer;
        timer.start();
        const SmartMediaPoll poll = PollReader(port, Day(2025, 1, 3), texts);
        QCOMPARE(poll.Status, SmartMediaPoll::State::NoReply);
        QCOMPARE(poll.StatusLine, std::string("Keine Antwort"));
        // 0.1 s wait and 540 ms read time-out for two bytes.
        QVERIFY(timer.elapsed() >= 600);
        QVERIFY(timer.elapsed() < 2000);
        QVERIFY(!QtCardSerialPort().Open("/nonexistent/tty"));
    }
};

QTEST_GUILESS_MAIN(SerialPtyTest)
#include "SerialPtyTest.moc"
