#include "ModelSerialPort.h"
#include "support/TestTimes.h"

#include "CardImage.h"
#include "base/LanguageTexts.h"
#include "cards/CardCommon.h"
#include "cards/SmartMediaReader.h"
#include "data/DateTime.h"

#include <gtest/gtest.h>

namespace {
double Day(int y, int m, int d) {
    return *TryEncodeDate(y, m, d);
}

LanguageTexts ReaderTexts() {
    LanguageTexts texts;
    texts.Set(242, "Kein Lesegerät");
    texts.Set(243, "Keine Karte");
    texts.Set(244, "Keine Daten");
    texts.Set(245, "Die Karte enthält");
    texts.Set(246, "Einträge");
    texts.Set(247, "Kein Startzeitpunkt");
    texts.Set(249, "Noch");
    texts.Set(250, "Einträge");
    texts.Set(251, "Fehlerhafte Seiten:");
    texts.Set(252, "Fertig");
    return texts;
}

// A card with a marker at every full hour from 1 March 07:00 and vehicles every 30 s.
CardImage HourlyCard(int vehicles) {
    CardImage image;
    for (int n = 0; n < vehicles; ++n) {
        if (n % 120 == 0)
            image.AddMarker(3, 1, 7 + n / 120);
        image.AddVehicle((n / 2) % 60, (n % 2) * 30, 40 + n % 50, 1 + n % 20, 1 + n % 2);
    }
    return image;
}
} // namespace

TEST(CardEntries, BcdDirectionAndLengthBits) {
    EXPECT_EQ(DecodeBcd(0x59), 59);
    EXPECT_EQ(DecodeBcd(0x1A), 20); // not checked
    EXPECT_EQ(EncodeBcd(47), 0x47);
    const CardEntry a{{0x12, 0x34, 87, 0x85}};
    EXPECT_FALSE(a.IsTimeMarker());
    EXPECT_EQ(a.Minute(), 12);
    EXPECT_EQ(a.Second(), 34);
    EXPECT_EQ(a.Speed(), 87);
    EXPECT_EQ(a.Direction(), '2');
    EXPECT_EQ(a.Length(), 5);
    EXPECT_EQ((CardEntry{{0, 0, 0, 0x05}}.Direction()), '1');
    EXPECT_EQ((CardEntry{{0, 0, 0, 0x80}}.Direction()), '2');
    EXPECT_EQ((CardEntry{{0, 0, 0, 0x80}}.Length()), 0);
    const CardEntry marker = TimeMarkerEntry(12, 31, 23);
    EXPECT_TRUE(marker.IsTimeMarker());
    EXPECT_EQ(marker.Month() * 10000 + marker.Day() * 100 + marker.Hour(), 123123);

    // 129 entries fill one page and begin the next; unused space is erased.
    CardImage image;
    for (int n = 0; n < 129; ++n)
        image.AddVehicle(n % 60, 0, 50, 4, 1);
    const auto pages = image.Pages();
    ASSERT_EQ(pages.size(), 2 * SmartMedia::PageSize);
    EXPECT_EQ(EntryAt(std::span(pages).subspan(SmartMedia::PageSize), 0).Minute(), 128 % 60);
    EXPECT_EQ(pages[SmartMedia::PageDataSize], 0xFF);
    EXPECT_EQ(RecordedEntries(pages), 129);
}

TEST(MarkerCalendar, YearsOfMarkersAndTimesOfVehicles) {
    // Before the first marker: 1 January of today's year, hour 0.
    MarkerCalendar early(Day(2025, 6, 15));
    EXPECT_EQ(*early.VehicleTime(VehicleEntry(5, 6, 50, 4, 1)), At(2025, 1, 1, 0, 5, 6));

    // 31 December read on 1 January belongs to the year before; today's date keeps the year.
    EXPECT_EQ(*MarkerDateThisYear(12, 31, Day(2025, 1, 1)), Day(2024, 12, 31));
    EXPECT_EQ(*MarkerDateThisYear(1, 1, Day(2025, 1, 1)), Day(2025, 1, 1));
    EXPECT_FALSE(MarkerDateThisYear(2, 29, Day(2025, 3, 1)));

    // A measurement over New Year read in January: the markers' times ascend.
    MarkerCalendar calendar(Day(2025, 1, 5));
    const CardEntry vehicle = VehicleEntry(30, 0, 50, 4, 1);
    std::vector<double> times;
    for (const auto& m : {TimeMarkerEntry(12, 30, 23), TimeMarkerEntry(12, 31, 10), TimeMarkerEntry(1, 1, 0),
                          TimeMarkerEntry(1, 2, 8)}) {
        ASSERT_TRUE(calendar.Apply(m));
        times.push_back(*calendar.VehicleTime(vehicle));
    }
    EXPECT_EQ(times.front(), At(2024, 12, 30, 23, 30, 0));
    EXPECT_EQ(times[2], At(2025, 1, 1, 0, 30, 0));
    EXPECT_EQ(times.back(), At(2025, 1, 2, 8, 30, 0));
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));

    // Impossible markers change nothing; impossible vehicle times give no time.
    EXPECT_FALSE(calendar.Apply(TimeMarkerEntry(13, 1, 0)));
    EXPECT_FALSE(calendar.Apply(TimeMarkerEntry(2, 30, 0)));
    EXPECT_FALSE(calendar.Apply(TimeMarkerEntry(1, 3, 24)));
    EXPECT_EQ(*calendar.VehicleTime(vehicle), times.back());
    EXPECT_FALSE(calendar.VehicleTime(VehicleEntry(60, 0, 50, 4, 1)));
    EXPECT_TRUE(calendar.VehicleTime(CardEntry{{0x1A, 0x00, 50, 4}}).has_value()); // 0x1A reads as minute 20
}

TEST(SmartMediaPoll, StatusAndStartLines) {
    const LanguageTexts texts = ReaderTexts();
    const auto pages = HourlyCard(10).Pages();
    const double today = Day(2025, 3, 10);
    const auto poll = [&](CardSimOptions options) {
        CardReaderModel model(pages, options);
        ModelSerialPort port(model);
        const auto result = PollReader(port, today, texts, GermanLocaleFormat());
        return std::pair(result, port.commands);
    };

    const auto [ready, commands] = poll({});
    EXPECT_EQ(ready.Status, SmartMediaPoll::State::Ready);
    EXPECT_EQ(commands, "?aL");
    EXPECT_EQ(ready.EntryCount, 11);
    EXPECT_EQ(ready.StatusLine, "Die Karte enthält 11 Einträge");
    EXPECT_EQ(ready.StartLine, "Start: 01.03.2025  07:00");
    EXPECT_EQ(ready.Start, At(2025, 3, 1, 7, 0, 0));

    CardSimOptions silent;
    silent.Silent = true;
    EXPECT_EQ(poll(silent).first.StatusLine, "Kein Lesegerät");
    EXPECT_EQ(poll(silent).second, "?");
    CardSimOptions noCard;
    noCard.NoCard = true;
    EXPECT_EQ(poll(noCard).first.Status, SmartMediaPoll::State::ReaderError);
    EXPECT_EQ(poll(noCard).first.StatusLine, "Keine Karte");
    CardSimOptions noData;
    noData.NoData = true;
    EXPECT_EQ(poll(noData).first.StatusLine, "Keine Daten");
    EXPECT_EQ(poll(noData).second, "?a");
    CardSimOptions noMarker;
    noMarker.NoMarker = true;
    const auto [vehicleFirst, _] = poll(noMarker);
    EXPECT_EQ(vehicleFirst.Status, SmartMediaPoll::State::NoTimeMarker);
    EXPECT_EQ(vehicleFirst.StartLine, "Kein Startzeitpunkt");
    EXPECT_EQ(vehicleFirst.StatusLine, "Die Karte enthält 11 Einträge");
}

TEST(SmartMediaRead, WholeCardFailedPagesAbortAndSkippedEntries) {
    const LanguageTexts texts = ReaderTexts();
    const double today = Day(2025, 3, 10);
    const auto image = HourlyCard(300); // 303 entries: three pages
    const auto pages = image.Pages();

    CardReaderModel model(pages, {});
    ModelSerialPort port(model);
    std::vector<int> remaining;
    const auto full = ReadSmartMediaCard(port, today, texts, [&](const SmartMediaProgress& p) {
        remaining.push_back(p.Remaining);
        return false;
    });
    EXPECT_EQ(port.commands, "aLNN");
    EXPECT_EQ(remaining, (std::vector<int>{303 - 128, 303 - 256}));
    ASSERT_EQ(full.Vehicles.size(), 300u);
    EXPECT_EQ(full.FailedPages, 0);
    EXPECT_EQ(full.Vehicles[0].Time, At(2025, 3, 1, 7, 0, 0));
    EXPECT_EQ(full.Vehicles[121].Time, At(2025, 3, 1, 8, 0, 30));
    EXPECT_EQ(full.Vehicles[1].Direction, '2');
    EXPECT_EQ(full.Vehicles[19].Length, 20);

    MeasurementData data;
    CommitSmartMediaRead(data, full);
    EXPECT_EQ(data.LoadedCount, 300);
    EXPECT_EQ(data.WorkVehicleCount, 300);
    EXPECT_EQ(data.IntervalRebuildPending, 1);
    EXPECT_EQ(data.DataMode, DataMode::SingleVehicle);

    // Every second page breaks off: it is counted, asked for again, and nothing is lost.
    CardSimOptions lossy;
    lossy.ShortPageEvery = 2;
    CardReaderModel lossyModel(pages, lossy);
    ModelSerialPort lossyPort(lossyModel);
    std::string failedLine;
    const auto recovered = ReadSmartMediaCard(
        lossyPort, today, texts, [](const SmartMediaProgress&) { return false; },
        [&](const SmartMediaProgress& p) { failedLine = p.FailedLine; });
    EXPECT_EQ(recovered.FailedPages, 2);
    EXPECT_EQ(failedLine, "Fehlerhafte Seiten: 2");
    EXPECT_EQ(recovered.Vehicles.size(), 300u);
    EXPECT_EQ(lossyPort.commands, "aLNNNN");

    // Aborting after the first page keeps that page's vehicles.
    CardReaderModel abortModel(pages, {});
    ModelSerialPort abortPort(abortModel);
    const auto aborted =
        ReadSmartMediaCard(abortPort, today, texts, [](const SmartMediaProgress&) { return true; });
    EXPECT_TRUE(aborted.Aborted);
    EXPECT_EQ(aborted.Vehicles.size(), 126u); // 128 entries, two of them markers
    EXPECT_EQ(abortPort.commands, "aL");

    // A reader that has gone silent since the poll: nothing is read, nothing is replaced.
    CardSimOptions silent;
    silent.Silent = true;
    CardReaderModel silentModel(pages, silent);
    ModelSerialPort silentPort(silentModel);
    EXPECT_THROW(
        ReadSmartMediaCard(silentPort, today, texts, [](const SmartMediaProgress&) { return false; }),
        CoreError);
    EXPECT_EQ(silentPort.commands, "a");

    // Entries with impossible times are skipped and counted, not fatal.
    CardImage odd;
    odd.AddMarker(3, 1, 7);
    odd.AddVehicle(10, 0, 50, 4, 1);
    odd.Add(CardEntry{{0x61, 0x00, 50, 4}}); // minute 61
    odd.AddMarker(2, 30, 8);                 // no such date
    odd.AddVehicle(11, 0, 50, 4, 1);
    CardReaderModel oddModel(odd.Pages(), {});
    ModelSerialPort oddPort(oddModel);
    const auto skipped =
        ReadSmartMediaCard(oddPort, today, texts, [](const SmartMediaProgress&) { return false; });
    ASSERT_EQ(skipped.Vehicles.size(), 2u);
    EXPECT_EQ(skipped.Vehicles[1].Time, At(2025, 3, 1, 7, 11, 0));
    EXPECT_EQ(skipped.SkippedEntries, 2);
    EXPECT_EQ(SmartMediaCompletionText(skipped, texts),
              "Fertig\n2 Einträge mit ungültiger Zeit wurden übersprungen.");
}

TEST(SmartMediaRead, AReaderThatOnlySendsShortPagesIsGivenUpWithAMessage) {
    const LanguageTexts texts = ReaderTexts();
    const auto pages = HourlyCard(300).Pages();
    CardSimOptions broken;
    broken.ShortPageEvery = 2; // the first page comes, every later one breaks off
    CardReaderModel model(pages, broken);
    ModelSerialPort port(model);
    // Only every second reply breaks off, so no page fails PageAttempts times in a row.
    const auto lossy =
        ReadSmartMediaCard(port, Day(2025, 3, 10), texts, [](const SmartMediaProgress&) { return false; });
    EXPECT_FALSE(lossy.ReaderGaveUp);

    broken.ShortPageEvery = 1;
    CardReaderModel deadModel(pages, broken);
    ModelSerialPort deadPort(deadModel);
    int failures = 0;
    const auto dead = ReadSmartMediaCard(
        deadPort, Day(2025, 3, 10), texts, [](const SmartMediaProgress&) { return false; },
        [&](const SmartMediaProgress&) { ++failures; });
    EXPECT_TRUE(dead.ReaderGaveUp);
    EXPECT_EQ(dead.FailedPages, SmartMedia::PageAttempts);
    EXPECT_EQ(failures, SmartMedia::PageAttempts);
    EXPECT_EQ(deadPort.commands, "a" + std::string(SmartMedia::PageAttempts, 'L'));
    EXPECT_TRUE(dead.Vehicles.empty());
    const std::string message = SmartMediaCompletionText(dead, texts);
    EXPECT_NE(message.find("4-mal nicht vollständig"), std::string::npos) << message;
}
