#include "DataFileTestSupport.h"

#include "base/CoreError.h"
#include "base/Cp1252.h"
#include "base/LanguageTexts.h"
#include "data/DataFileLoader.h"

#include <limits>
#include <memory>

namespace {

std::string Own(const std::string& kindAndCount, const std::string& comment, const std::string& records) {
    std::string header = "KORVELAN2" + kindAndCount + comment;
    header.resize(1040, ' ');
    return header + records;
}

std::unique_ptr<MeasurementData> NewData() {
    return std::make_unique<MeasurementData>();
}

} // namespace

TEST(LoadRawVehicles, YearRollsOverAgainstTheMonthOfTheLastRollOver) {
    TempFolder folder;
    const auto file = folder / "raw.dat";
    WriteBytes(file, RawHeader("LNG", "000005", "28.12.2005", "10:00", "Hello World", 5) +
                         RawVehicle(28, 12, 10, 0, 1, 54, 5, '2') +
                         RawVehicle(31, 12, 23, 59, 59, 7, 12, '1') + RawVehicle(1, 1, 0, 0, 0, 0, 0, '1') +
                         RawVehicle(15, 1, 8, 30, 0, 255, 255, '2') +
                         RawVehicle(29, 2, 12, 0, 0, 50, 4, '1')); // 2006 is no leap year ...
    auto data = NewData();
    EXPECT_THROW(LoadDataFile(file, *data), CoreError); // ... so 29.02. does not exist

    WriteBytes(file, RawHeader("LNG", "000005", "28.12.2005", "10:00", "Hello World", 5) +
                         RawVehicle(28, 12, 10, 0, 1, 54, 5, '2') +
                         RawVehicle(31, 12, 23, 59, 59, 7, 12, '1') + RawVehicle(1, 1, 0, 0, 0, 0, 0, '1') +
                         RawVehicle(15, 1, 8, 30, 0, 255, 255, '2') + RawVehicle(1, 2, 12, 0, 0, 50, 4, '1'));
    const LoadInfo info = LoadDataFile(file, *data);
    EXPECT_EQ(info.FileKind, DataFileKind::DeviceRaw);
    EXPECT_EQ(info.RecordKind, "LNG");
    EXPECT_EQ(info.Count, 5);
    EXPECT_EQ(info.DataMode, DataMode::SingleVehicle);

    const double expected[] = {At(2005, 12, 28, 10, 0, 1), At(2005, 12, 31, 23, 59, 59),
                               At(2006, 1, 1, 0, 0, 0), At(2006, 1, 15, 8, 30, 0), At(2006, 2, 1, 12, 0, 0)};
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(data->Vehicles[n].Time, expected[n - 1]) << n;
    const VehicleRecord& v = data->Vehicles[4];
    EXPECT_EQ(v.Speed, 255);
    EXPECT_EQ(v.Length, 255);
    EXPECT_EQ(v.Direction, '2');
    EXPECT_EQ(v.Marked, 0);
    EXPECT_EQ(v.Reserved1[0] | v.Reserved1[1] | v.Reserved2[0] | v.Reserved2[1], 0);
    EXPECT_EQ(data->Comment, "Hello");

    // Data side of the end of a load.
    EXPECT_EQ(data->LoadedCount, 5);
    EXPECT_EQ(data->WorkVehicleCount, 5);
    EXPECT_EQ(BytesOf(data->WorkVehicles.data(), 5), BytesOf(data->Vehicles.data(), 5));
    EXPECT_EQ(data->MarkedCount, 0);
    EXPECT_EQ(data->IntervalRebuildPending, 1);
    EXPECT_EQ(data->DataMode, DataMode::SingleVehicle);
    EXPECT_EQ(data->IntervalCount, 0);
    EXPECT_EQ(data->VehicleListTop, 1);
    EXPECT_EQ(data->IntervalListTop, 1);

    // Months 12, 1, 3, 2: 2 is not below 1, the month of the last roll-over, so the year stays.
    WriteBytes(file, RawHeader("LNG", "000004", "28.12.2005", "10:00", "") +
                         RawVehicle(30, 12, 1, 0, 0, 50, 4, '1') + RawVehicle(2, 1, 1, 0, 0, 50, 4, '1') +
                         RawVehicle(2, 3, 1, 0, 0, 50, 4, '1') + RawVehicle(2, 2, 1, 0, 0, 50, 4, '1'));
    LoadDataFile(file, *data);
    EXPECT_EQ(DecodeDateTime(data->Vehicles[4].Time).Year, 2006);
    EXPECT_EQ(data->Comment, "");
}

TEST(LoadRawVehicles, CommentIsCutToItsLengthByteAndDecodedFromWindows1252) {
    TempFolder folder;
    const auto file = folder / "raw.dat";
    auto data = NewData();
    WriteBytes(file, RawHeader("LNG", "000000", "01.03.2026", "00:00",
                               "Stra\xDF"
                               "e 1"));
    LoadDataFile(file, *data);
    EXPECT_EQ(data->Comment, "Straße 1");
    EXPECT_EQ(data->LoadedCount, 0);

    // A length byte above 78 reads the whole 78-character field and nothing of the records.
    const std::string longComment(78, 'x');
    WriteBytes(file, RawHeader("LNG", "000000", "01.03.2026", "00:00", longComment, 200));
    LoadDataFile(file, *data);
    EXPECT_EQ(data->Comment, longComment);
}

TEST(LoadRawIntervals, FiveMinuteStartsCountsAndHeavyShare) {
    TempFolder folder;
    const auto file = folder / "raw.dat";
    WriteBytes(file, RawHeader("XYZ", "000003", "31.12.2025", "10:00", "Intervalle") +
                         RawInterval({10, 3, 4, 3}, {0, 0, 0, 0}, 9, 3) +
                         RawInterval({10, 5, 5, 0}, {60000, 59000, 600, 400}) +
                         RawInterval({0, 0, 0, 0}, {10, 4, 4, 2}));
    auto data = NewData();
    const LoadInfo info = LoadDataFile(file, *data);
    EXPECT_EQ(info.RecordKind, "XYZ");
    EXPECT_EQ(info.DataMode, DataMode::Interval);
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn", data->Intervals[1].StartTime), "31.12.2025 10:00");
    EXPECT_EQ(data->Intervals[2].StartTime, IncMinute(At(2025, 12, 31, 10, 0), 5));
    EXPECT_EQ(FormatDateTime("hh:nn:ss", data->Intervals[3].StartTime), "10:10:00");

    const IntervalRecord& first = data->Intervals[1];
    EXPECT_EQ(first.Total()[1], 10);
    EXPECT_EQ(first.PkwCount()[1], 3);
    EXPECT_EQ(first.HeavyTotal()[1], 7);
    EXPECT_EQ(first.HeavyShareFlag()[1], 1);
    EXPECT_EQ(first.Total()[2], 0);
    EXPECT_EQ(first.HeavyShareFlag()[2], 0);
    EXPECT_EQ(first.PkwSpeedClasses(9)[1], 3);
    EXPECT_EQ(first.PkwSpeedClasses(8)[1], 0);
    EXPECT_EQ(data->Intervals[2].HeavyShareFlag()[1], 0); // 5 of 10 heavy
    EXPECT_EQ(data->Intervals[2].Total()[2], 60000);      // 16-bit counts are unsigned
    EXPECT_EQ(data->Intervals[3].HeavyShareFlag()[2], 1); // exactly 60 %
    EXPECT_EQ(data->Intervals[3].MeanSpeed()[2], 0);

    EXPECT_EQ(data->IntervalCount, 3);
    EXPECT_EQ(data->WorkIntervalCount, 3);
    EXPECT_EQ(BytesOf(data->WorkIntervals.data(), 3), BytesOf(data->Intervals.data(), 3));
    EXPECT_EQ(data->IntervalRebuildPending, 0);
    EXPECT_EQ(data->WorkVehicleCount, 0);
}

TEST(LoadOwnFiles, RecordsMarksAndTheWholeCommentField) {
    TempFolder folder;
    const auto lng = folder / "own.lng";
    const VehicleRecord vehicles[3] = {Vehicle(At(2026, 3, 1, 8, 0, 0), 48, 4, '1', 1),
                                       Vehicle(At(2026, 3, 1, 8, 0, 2), 61, 9, '2', 0),
                                       Vehicle(At(2026, 3, 1, 8, 0, 2), 50, 16, '1', 1)};
    WriteBytes(lng, Own("LNG000003",
                        "Hauptstra\xDF"
                        "e",
                        BytesOf(vehicles, 3)));
    EXPECT_EQ(std::filesystem::file_size(lng), 1088u);
    auto data = NewData();
    const LoadInfo info = LoadDataFile(lng, *data);
    EXPECT_EQ(info.FileKind, DataFileKind::Own);
    EXPECT_EQ(BytesOf(data->Vehicles.data(), 3), BytesOf(vehicles, 3));
    EXPECT_EQ(data->MarkedCount, 2); // own files keep their marks
    EXPECT_EQ(data->Comment, "Hauptstraße" + std::string(67, ' '));
    EXPECT_EQ(Utf8Length(data->Comment), 78u);

    IntervalRecord intervals[2]{};
    intervals[0].StartTime = At(2026, 3, 1, 0, 0);
    intervals[0].Total()[1] = 12;
    intervals[1].StartTime = At(2026, 3, 1, 0, 5);
    intervals[1].GapClasses(30)[2] = 4;
    const auto sht = folder / "own.sht";
    WriteBytes(sht, Own("SHT000002", "", BytesOf(intervals, 2)));
    EXPECT_EQ(std::filesystem::file_size(sht), 3120u);
    LoadDataFile(sht, *data);
    EXPECT_EQ(data->DataMode, DataMode::Interval);
    EXPECT_EQ(BytesOf(data->Intervals.data(), 2), BytesOf(intervals, 2));
    EXPECT_EQ(data->Comment, std::string(78, ' '));
    EXPECT_EQ(data->WorkVehicleCount, 0); // the vehicles of the previous load are gone
    EXPECT_EQ(data->MarkedCount, 0);
}

TEST(LoadOwnFiles, MarkBytesOtherThanOneAreReadAsUnmarked) {
    TempFolder folder;
    const auto lng = folder / "marks.lng";
    const VehicleRecord vehicles[3] = {Vehicle(At(2026, 3, 1, 8, 0, 0), 48, 4, '1', 7),
                                       Vehicle(At(2026, 3, 1, 8, 0, 2), 61, 9, '2', 1),
                                       Vehicle(At(2026, 3, 1, 8, 0, 3), 50, 6, '1', 255)};
    WriteBytes(lng, Own("LNG000003", "", BytesOf(vehicles, 3)));
    auto data = NewData();
    LoadDataFile(lng, *data);
    EXPECT_EQ(data->MarkedCount, 1);
    EXPECT_EQ(data->Vehicles[1].Marked, 0);
    EXPECT_EQ(data->WorkVehicles[2].Marked, 1);
    EXPECT_EQ(data->WorkVehicles[3].Marked, 0);
}

TEST(LoadRawIntervals, TheLastIntervalMayStartAtTheLastFiveMinutesOf9999) {
    TempFolder folder;
    const auto file = folder / "end.dat";
    WriteBytes(file, RawHeader("DAT", "000002", "31.12.9999", "23:50", "") + std::string(2 * 190, '\0'));
    auto data = NewData();
    LoadDataFile(file, *data);
    EXPECT_EQ(data->IntervalCount, 2);
    EXPECT_EQ(DecodeDateTime(data->Intervals[2].StartTime).Minute, 55);
}

TEST(LoadFailures, UnknownMagicIsNotAKorvelanFile) {
    TempFolder folder;
    const auto file = folder / "other.dat";
    auto data = NewData();
    LanguageTexts texts;
    for (const std::string start : {"qvr2.0   LNG000000", "QVR2.1   LNG000000", "KORVELAN1LNG000000",
                                    "Korvelan2LNG000000", "QVR2.", "KORVELAN", ""}) {
        WriteBytes(file, start);
        try {
            LoadDataFile(file, *data);
            ADD_FAILURE() << "accepted " << start;
        } catch (const CoreError& e) {
            EXPECT_EQ(e.textNumber(), 0) << start;
            EXPECT_EQ(e.Message(texts), "Keine Korvelan - Datei");
        }
    }
}

namespace {

// Everything a load writes, as bytes, to see that a failed load changed nothing.
std::string Snapshot(const MeasurementData& d) {
    std::string s = BytesOf(d.Vehicles.data(), d.LoadedCount) +
                    BytesOf(d.WorkVehicles.data(), d.WorkVehicleCount) +
                    BytesOf(d.Intervals.data(), d.IntervalCount) +
                    BytesOf(d.WorkIntervals.data(), d.WorkIntervalCount) + d.Comment + "|";
    for (const long v :
         {long(d.LoadedCount), long(d.IntervalCount), long(d.WorkVehicleCount), long(d.WorkIntervalCount),
          long(d.MarkedCount), long(d.VehicleListTop), long(d.IntervalListTop),
          long(d.IntervalRebuildPending), long(d.DataMode), long(d.ImportCodeCount)})
        s += std::to_string(v) + ",";
    return s;
}

int FailureNumber(const std::filesystem::path& file, const std::string& bytes, MeasurementData& data) {
    WriteBytes(file, bytes);
    try {
        LoadDataFile(file, data);
    } catch (const CoreError& e) {
        return e.textNumber();
    }
    return -1;
}

} // namespace

TEST(LoadFailures, EveryRefusedFileLeavesThePreviousMeasurementAsItWas) {
    TempFolder folder;
    const auto good = folder / "good.dat";
    WriteBytes(good, RawHeader("LNG", "000003", "01.03.2026", "06:00", "vorher") +
                         RawVehicle(1, 3, 6, 0, 0, 50, 4, '1') + RawVehicle(1, 3, 6, 0, 3, 52, 9, '2') +
                         RawVehicle(1, 3, 6, 0, 5, 47, 5, '1'));
    auto data = NewData();
    LoadDataFile(good, *data);
    data->WorkVehicles[2].Marked = 1; // state the user built after loading
    data->MarkedCount = 1;
    data->VehicleListTop = 2;
    const std::string before = Snapshot(*data);

    const auto bad = folder / "bad.dat";
    const std::string car = RawVehicle(1, 3, 6, 0, 0, 50, 4, '1');
    // Counts that wrap 32-bit sums: the least number, and a value far beyond any interval.
    IntervalRecord wrapped{};
    wrapped.StartTime = At(2026, 3, 1, 6, 0);
    wrapped.Total()[1] = std::numeric_limits<std::int32_t>::min();
    IntervalRecord huge = wrapped;
    huge.Total()[1] = 0;
    huge.GapClasses(3)[2] = std::numeric_limits<std::int32_t>::max();
    const std::string vehicle16(16, '\0');
    struct Case {
        const char* what;
        std::string bytes;
        int number;
    } cases[] = {
        {"count above MaxVehicles", Own("LNG500001", "", ""), ProgramMessage::TooManyRecords},
        {"count above MaxIntervals", Own("SHT060001", "", ""), ProgramMessage::TooManyRecords},
        {"raw count above MaxIntervals", RawHeader("DAT", "060001", "01.03.2026", "06:00", ""),
         ProgramMessage::TooManyRecords},
        {"fewer records than counted", RawHeader("LNG", "000003", "01.03.2026", "06:00", "") + car + car,
         ProgramMessage::FileTooShort},
        {"own file cut short", Own("LNG000002", "", BytesOf(&data->Vehicles[1], 1)),
         ProgramMessage::FileTooShort},
        {"raw file without records", RawHeader("LNG", "000001", "01.03.2026", "06:00", "").substr(0, 100),
         ProgramMessage::FileTooShort},
        {"letters in the count", RawHeader("LNG", "00a003", "01.03.2026", "06:00", "") + car,
         ProgramMessage::BadHeaderNumber},
        {"negative count", Own("LNG-00001", "", ""), ProgramMessage::BadHeaderNumber},
        {"blank year", RawHeader("LNG", "000001", "01.03.    ", "06:00", "") + car,
         ProgramMessage::BadHeaderNumber},
        {"30 February in the header", RawHeader("LNG", "000001", "30.02.2026", "06:00", "") + car,
         ProgramMessage::BadHeaderDate},
        {"hour 24 in the header", RawHeader("XYZ", "000000", "01.03.2026", "24:00", ""),
         ProgramMessage::BadHeaderDate},
        {"30 February in record 2",
         RawHeader("LNG", "000002", "01.02.2026", "06:00", "") + car + RawVehicle(30, 2, 6, 0, 0, 50, 4, '1'),
         ProgramMessage::BadRecordTime},
        {"second 60 in the last record",
         RawHeader("LNG", "000002", "01.03.2026", "06:00", "") + car + RawVehicle(1, 3, 6, 0, 60, 50, 4, '1'),
         ProgramMessage::BadRecordTime},
        {"damaged time in an own file", Own("LNG000001", "", std::string(8, '\xFF') + std::string(8, '\0')),
         ProgramMessage::BadRecordTime},
        {"negative count in an own interval", Own("SHT000001", "", BytesOf(&wrapped, 1)),
         ProgramMessage::BadRecordCount},
        {"count no interval can hold", Own("SHT000001", "", BytesOf(&huge, 1)),
         ProgramMessage::BadRecordCount},
        {"raw intervals reaching past 31.12.9999",
         RawHeader("DAT", "000002", "31.12.9999", "23:55", "") + std::string(2 * 190, '\0'),
         ProgramMessage::BadRecordTime},
        {"not a Korvelan file", "PK\x03\x04", ProgramMessage::NotAKorvelanFile},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FailureNumber(bad, c.bytes, *data), c.number) << c.what;
        EXPECT_EQ(Snapshot(*data), before) << c.what;
    }

    // Missing files and folders name the file.
    LanguageTexts texts;
    for (const auto& path : {folder / "missing.lng", folder.path()}) {
        try {
            LoadDataFile(path, *data);
            ADD_FAILURE() << path;
        } catch (const CoreError& e) {
            EXPECT_EQ(e.textNumber(), ProgramMessage::CannotOpen);
            EXPECT_NE(e.Message(texts).find(path.string()), std::string::npos) << e.Message(texts);
        }
        EXPECT_EQ(Snapshot(*data), before);
    }
}

TEST(LoadFailures, MessagesSayWhatIsWrong) {
    TempFolder folder;
    const auto file = folder / "bad.dat";
    auto data = NewData();
    LanguageTexts texts;
    auto messageOf = [&](const std::string& bytes) {
        WriteBytes(file, bytes);
        try {
            LoadDataFile(file, *data);
        } catch (const CoreError& e) {
            return e.Message(texts);
        }
        return std::string("loaded");
    };
    EXPECT_EQ(messageOf(RawHeader("LNG", "00a003", "01.03.2026", "06:00", "")),
              "Der Dateikopf enthält an Byte 12 (\"00a003\") keine gültige Zahl.");
    EXPECT_EQ(messageOf(RawHeader("LNG", "000002", "01.02.2026", "06:00", "") +
                        RawVehicle(1, 2, 6, 0, 0, 50, 4, '1') + RawVehicle(30, 2, 6, 0, 0, 50, 4, '1')),
              "Datensatz 2 (30.02.2026 06:00:00) enthält ein Datum oder eine Uhrzeit, die es nicht gibt.");
    EXPECT_EQ(messageOf(Own("LNG600000", "", "")),
              "Die Datei enthält zu viele Datensätze; höchstens 500000 können geladen werden.");
    // A text from the language file replaces the German one.
    texts.Set(ProgramMessage::FileTooShort, "The file %s holds fewer records than its header states.");
    EXPECT_EQ(messageOf(RawHeader("LNG", "000002", "01.03.2026", "06:00", "")),
              "The file " + file.string() + " holds fewer records than its header states.");
}
