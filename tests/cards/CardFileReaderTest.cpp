#include "CardTestFiles.h"
#include "support/TestTimes.h"

#include "cards/CardCommon.h"
#include "cards/CardFileReader.h"
#include "data/DateTime.h"

#include <gtest/gtest.h>

namespace {

void ExpectSameTime(double actual, double expected) {
    EXPECT_EQ(ToMilliseconds(actual), ToMilliseconds(expected));
}

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CoreError& e) {
        return e.textNumber();
    }
    return 0;
}

// A single-vehicle measurement whose last vehicle passed at last.
void LoadOneVehicle(MeasurementData& data, double last) {
    data.Vehicles.EnsureSize(1);
    data.Vehicles[1] = VehicleRecord{last, 50, 4, '1', {}, 0, {}};
    data.LoadedCount = 1;
    data.DataMode = DataMode::SingleVehicle;
}
} // namespace

TEST(CardTextFile, ColumnsYearsHundredthsAndDirections) {
    const CardTextLine a = ParseCardTextLine(CardLine(5, 3, 79, 7, 8, 9, 50, 123, 17, 1));
    EXPECT_EQ(a.Year, 2079);
    EXPECT_EQ(a.Month, 3);
    EXPECT_EQ(a.Day, 5);
    EXPECT_EQ(a.Hour * 10000 + a.Minute * 100 + a.Second, 70809);
    EXPECT_EQ(a.Hundredths, 50);
    EXPECT_EQ(a.Speed, 123);
    EXPECT_EQ(a.Length, 17);
    EXPECT_EQ(a.DirectionDigit, 1);
    EXPECT_EQ(ParseCardTextLine(CardLine(5, 3, 80, 0, 0, 0, 0, 0, 0, 0)).Year, 1980);

    // Fields are read up to the first non-digit; blank or foreign fields give 0; a short line too.
    EXPECT_EQ(DecimalField(" 7x", 1, 3), 7);
    EXPECT_EQ(DecimalField("-3", 1, 2), -3);
    EXPECT_EQ(DecimalField("   ", 1, 3), 0);
    EXPECT_EQ(DecimalField("ab", 1, 2), 0);
    EXPECT_EQ(DecimalField("12", 5, 7), 0);
    EXPECT_EQ(ParseCardTextLine("01.02.03").Speed, 0);

    // Speeds above a byte are limited, not wrapped; direction 0 is "1", 1 is "2".
    const std::string bytes =
        CardLine(1, 3, 24, 10, 0, 0, 50, 300, 5, 0) + CardLine(1, 3, 24, 10, 0, 1, 0, 80, 5, 1);
    const double t0 = At(2024, 3, 1, 10, 0, 0);
    const auto v = ConvertCardText(bytes, t0, t0);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].Speed, 255);
    EXPECT_EQ(v[0].Direction, '1');
    EXPECT_EQ(v[1].Direction, '2');
    ExpectSameTime(v[0].Time, At(2024, 3, 1, 10, 0, 0, 500)); // hundredths 50: half a second later
    EXPECT_EQ(v[0].Marked, 0);
}

TEST(CardTextFile, ReadKeepsTheCardTimesOrShiftsThemAll) {
    const TempFile file("MESS01.TXT", CardLine(1, 3, 24, 10, 0, 0, 25, 48, 4, 0) +
                                          CardLine(1, 3, 24, 10, 0, 7, 0, 52, 12, 1) +
                                          CardLine(1, 3, 24, 11, 30, 0, 0, 61, 5, 0));
    MeasurementData data;
    const CardFilePreview preview = PrepareCardFile(file.path(), data);
    EXPECT_EQ(preview.Kind, CardFileKind::Text);
    EXPECT_EQ(preview.Count, 3);
    ExpectSameTime(preview.FileStart, At(2024, 3, 1, 10, 0, 0)); // without the first line's hundredths
    EXPECT_FALSE(preview.AppendOffered);

    ReadCardFile(data, file.path(), preview, preview.FileStart);
    ASSERT_EQ(data.LoadedCount, 3);
    ExpectSameTime(data.Vehicles[1].Time, At(2024, 3, 1, 10, 0, 0, 250));
    ExpectSameTime(data.Vehicles[3].Time, At(2024, 3, 1, 11, 30, 0));
    EXPECT_EQ(data.Vehicles[2].Length, 12);

    // A changed start moves every vehicle by the same amount.
    ReadCardFile(data, file.path(), preview, At(2024, 4, 2, 6, 0, 0));
    ASSERT_EQ(data.LoadedCount, 3);
    ExpectSameTime(data.Vehicles[1].Time, At(2024, 4, 2, 6, 0, 0, 250));
    ExpectSameTime(data.Vehicles[2].Time, At(2024, 4, 2, 6, 0, 7));
    ExpectSameTime(data.Vehicles[3].Time, At(2024, 4, 2, 7, 30, 0));
}

TEST(CardTextFile, KindsAndMalformedFiles) {
    EXPECT_EQ(CardFileKindOf("A.TXT"), CardFileKind::Text);
    EXPECT_EQ(CardFileKindOf("dir.bin/a.txt2"), CardFileKind::Text);
    EXPECT_EQ(CardFileKindOf("a.Bin"), CardFileKind::Binary);
    EXPECT_EQ(CardFileKindOf("a.dat"), CardFileKind::Other);
    EXPECT_EQ(CardFileKindOf("noextension"), CardFileKind::Other);

    MeasurementData data;
    EXPECT_EQ(
        ErrorNumberOf([&] { PrepareCardFileBytes("a.dat", CardLine(1, 3, 24, 1, 0, 0, 0, 1, 1, 0), data); }),
        ProgramMessage::NotACardFile);
    EXPECT_EQ(ErrorNumberOf([&] { PrepareCardFileBytes("a.txt", "\r\n  \r\n", data); }),
              ProgramMessage::CardFileEmpty);
    EXPECT_EQ(ErrorNumberOf([&] { PrepareCardFileBytes("a.bin", std::string(15, '\0'), data); }),
              ProgramMessage::CardFileEmpty);
    EXPECT_EQ(ErrorNumberOf([&] { PrepareCardFile("/nonexistent/a.txt", data); }),
              ProgramMessage::FileUnreadable);

    // A size that is no multiple of 32: the lines that are there are read and counted.
    std::string ragged =
        CardLine(1, 3, 24, 10, 0, 0, 0, 48, 4, 0) + CardLine(1, 3, 24, 10, 0, 5, 0, 50, 4, 0);
    ragged.resize(ragged.size() - 2); // the last line lacks its end
    ragged += "\r\n\r\n";             // and an empty line follows
    ragged.insert(0, "\r\n");
    const TempFile file("ragged.txt", ragged);
    const auto preview = PrepareCardFile(file.path(), data);
    EXPECT_EQ(preview.Count, 2);
    ReadCardFile(data, file.path(), preview, preview.FileStart);
    EXPECT_EQ(data.LoadedCount, 2);

    // A line without a valid date is reported with its number and the measurement stays as it was.
    const TempFile bad("bad.txt", CardLine(1, 3, 24, 10, 0, 0, 0, 48, 4, 0) +
                                      CardLine(31, 2, 24, 10, 0, 5, 0, 50, 4, 0));
    const auto badPreview = PrepareCardFile(bad.path(), data);
    try {
        ReadCardFile(data, bad.path(), badPreview, badPreview.FileStart);
        FAIL() << "a line of 31 February was read";
    } catch (const CoreError& e) {
        EXPECT_EQ(e.textNumber(), ProgramMessage::BadCardLine);
        EXPECT_EQ(e.detail(), "2");
    }
    EXPECT_EQ(data.LoadedCount, 2);
    EXPECT_EQ(data.Vehicles[2].Speed, 50);
}

TEST(CardTextFile, AppendIsOfferedUpToTwoPointFourHoursAfterTheLastVehicle) {
    MeasurementData data;
    LoadOneVehicle(data, At(2024, 5, 10, 10, 0, 0));
    const auto offered = [&](int hour, int minute, int second, int year2 = 24) {
        return PrepareCardFileBytes("a.txt", CardLine(10, 5, year2, hour, minute, second, 0, 50, 4, 0), data)
            .AppendOffered;
    };
    EXPECT_TRUE(offered(10, 0, 0));
    EXPECT_TRUE(offered(12, 23, 59));
    EXPECT_FALSE(offered(12, 24, 0)); // exactly 2.4 hours
    EXPECT_FALSE(offered(9, 59, 59));
    EXPECT_TRUE(offered(11, 0, 0, 23)); // the loaded data's year counts, not the file's

    // Appended vehicles follow the loaded ones, in the loaded data's year.
    const TempFile file("next.txt", CardLine(10, 5, 23, 11, 0, 0, 0, 70, 6, 1) +
                                        CardLine(10, 5, 23, 11, 0, 9, 0, 71, 7, 0));
    const auto preview = PrepareCardFile(file.path(), data);
    ASSERT_TRUE(preview.AppendOffered);
    AppendCardFile(data, file.path(), preview);
    ASSERT_EQ(data.LoadedCount, 3);
    EXPECT_EQ(data.Vehicles[1].Speed, 50);
    ExpectSameTime(data.Vehicles[2].Time, At(2024, 5, 10, 11, 0, 0));
    ExpectSameTime(data.Vehicles[3].Time, At(2024, 5, 10, 11, 0, 9));

    // Interval data hold no vehicles to continue.
    data.DataMode = DataMode::Interval;
    EXPECT_FALSE(offered(10, 30, 0));
}

TEST(CardTextFile, ReadsBeyondTheCapacityAreRefused) {
    MeasurementData data;
    data.Vehicles.EnsureSize(MaxVehicles);
    data.Vehicles[MaxVehicles - 1] = VehicleRecord{At(2024, 5, 10, 10, 0, 0), 50, 4, '1', {}, 0, {}};
    data.LoadedCount = MaxVehicles - 1;
    data.DataMode = DataMode::SingleVehicle;
    const TempFile file("more.txt", CardLine(10, 5, 24, 10, 1, 0, 0, 70, 6, 1) +
                                        CardLine(10, 5, 24, 10, 2, 0, 0, 71, 7, 0));
    const auto preview = PrepareCardFile(file.path(), data);
    ASSERT_TRUE(preview.AppendOffered);
    EXPECT_EQ(ErrorNumberOf([&] { AppendCardFile(data, file.path(), preview); }),
              ProgramMessage::CapacityExceeded);
    EXPECT_EQ(data.LoadedCount, MaxVehicles - 1);
}

TEST(CardBinaryFile, SpeedAndLengthFromTheOccupancyRing) {
    std::string bytes;
    for (int k = 1; k <= 10; ++k)
        bytes += CardBlock(10, 0, 32 * k);
    bytes += CardBlock(20, 0, 32 * 11); // ring: nine 10 and one 20, mean 11
    const double start = At(2024, 6, 1, 8, 0, 0);
    const auto v = ConvertCardBinary(bytes, start);
    ASSERT_EQ(v.size(), 11u);
    EXPECT_EQ(v[0].Speed, 46); // 460.8 / 10
    EXPECT_EQ(v[0].Length, 4);
    EXPECT_EQ(v[0].Direction, '1');
    ExpectSameTime(v[0].Time, At(2024, 6, 1, 8, 0, 1));
    ExpectSameTime(v[9].Time, At(2024, 6, 1, 8, 0, 10));
    EXPECT_EQ(v[10].Speed, 42); // 460.8 / 11 = 41.9
    EXPECT_EQ(v[10].Length, 7); // 20 / 11 * 4 = 7.3

    // Ten occupancies of 0 (mean 0) and of 1 (estimate 461 km/h) are limited to what a record holds.
    std::string still;
    for (int k = 1; k <= 10; ++k)
        still += CardBlock(0, 0, 32 * k);
    for (int k = 11; k <= 20; ++k)
        still += CardBlock(1, 0, 32 * k);
    const auto w = ConvertCardBinary(still, start);
    ASSERT_EQ(w.size(), 20u);
    EXPECT_EQ(w[9].Speed, 255);
    EXPECT_EQ(w[9].Length, 0);
    EXPECT_EQ(w[19].Speed, 255);
    EXPECT_EQ(w[19].Length, 4);
}

TEST(CardBinaryFile, RepeatedDetectionsAndAnIncompleteLastBlockAreDropped) {
    std::string bytes = CardBlock(10, 0, 100) + CardBlock(10, 0, 103) // 3 units: the same vehicle again
                        + CardBlock(10, 0, 107)                       // 4 units after the dropped block
                        + CardBlock(10, 7, 117)                       // 10 units less a correction of 7
                        + CardBlock(10, 6, 127);                      // 10 - 6 = 4: stored
    bytes += CardBlock(10, 0, 500).substr(0, 10);
    const TempFile file("MESS.BIN", bytes);
    MeasurementData data;
    const auto preview = PrepareCardFile(file.path(), data);
    EXPECT_EQ(preview.Kind, CardFileKind::Binary);
    EXPECT_EQ(preview.Count, 5);
    const double start = At(2024, 6, 1, 0, 0, 0);
    ReadCardFile(data, file.path(), preview, start);
    ASSERT_EQ(data.LoadedCount, 3);
    ExpectSameTime(data.Vehicles[1].Time, start + 100 / 2764800.0);
    ExpectSameTime(data.Vehicles[2].Time, start + 107 / 2764800.0);
    ExpectSameTime(data.Vehicles[3].Time, start + 127 / 2764800.0);

    // The common ending makes the vehicles the working set of a single-vehicle measurement.
    data.IntervalCount = 12;
    CompleteCardRead(data);
    EXPECT_EQ(data.WorkVehicleCount, 3);
    EXPECT_EQ(data.IntervalCount, 0);
    EXPECT_EQ(data.IntervalRebuildPending, 1);
    EXPECT_EQ(data.DataMode, DataMode::SingleVehicle);
    EXPECT_EQ(data.WorkVehicles[3].Time, data.Vehicles[3].Time);
}

TEST(CardFiles, AStartThatPushesTimesPast9999IsRefused) {
    const double lastMinute = At(9999, 12, 31, 23, 59, 0);
    // Text: the second line lies two minutes after the first, one minute past the end of 9999.
    const std::string text =
        CardLine(1, 3, 24, 10, 0, 0, 0, 50, 5, 0) + CardLine(1, 3, 24, 10, 2, 0, 0, 50, 5, 0);
    const double t0 = At(2024, 3, 1, 10, 0, 0);
    EXPECT_EQ(ErrorNumberOf([&] { ConvertCardText(text, t0, lastMinute); }),
              ProgramMessage::TimeBeyondCalendar);
    EXPECT_EQ(ConvertCardText(text.substr(0, CardTextLineSize), t0, lastMinute).size(), 1u);

    // Binary: 32 units a second; block 2 lies 120 s after the start.
    const std::string binary = CardBlock(10, 0, 32) + CardBlock(10, 0, 32 * 120);
    EXPECT_EQ(ErrorNumberOf([&] { ConvertCardBinary(binary, lastMinute); }),
              ProgramMessage::TimeBeyondCalendar);
    EXPECT_EQ(ConvertCardBinary(binary, At(9999, 12, 31, 23, 0, 0)).size(), 2u);
}
