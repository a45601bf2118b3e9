#include "DataFileTestSupport.h"

#include "base/CoreError.h"
#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"
#include "data/TextFormat.h"

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

std::unique_ptr<MeasurementData> NewData() {
    return std::make_unique<MeasurementData>();
}

void SetVehicles(MeasurementData& d, const std::vector<VehicleRecord>& all) {
    const int n = static_cast<int>(all.size());
    d.Vehicles.EnsureSize(n);
    std::copy(all.begin(), all.end(), d.Vehicles.data());
    d.LoadedCount = n;
    d.DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(d);
}

// count 5-minute intervals from first on; record i carries Total i in direction 1.
void SetIntervals(MeasurementData& d, double first, int count) {
    d.Intervals.EnsureSize(count);
    for (int i = 1; i <= count; ++i) {
        d.Intervals[i] = IntervalRecord{};
        d.Intervals[i].StartTime = IncMinute(first, 5LL * (i - 1));
        d.Intervals[i].Total()[1] = i;
    }
    d.IntervalCount = count;
}

// Hourly working intervals as joining by 12 and cutting at 5-minute record from would leave them.
void SetWorkIntervals(MeasurementData& d, int from, int count) {
    d.WorkIntervals.EnsureSize(count);
    for (int n = 1; n <= count; ++n)
        d.WorkIntervals[n] = d.Intervals[from + (n - 1) * 12];
    d.WorkIntervalCount = count;
}

int HeaderCount(const std::string& file) {
    return std::stoi(file.substr(12, 6));
}

} // namespace

TEST(OwnFileWriter, HeaderCountCommentPaddingAndRecordsAsInMemory) {
    TempFolder folder;
    const std::vector<VehicleRecord> v = {Vehicle(At(2026, 3, 1, 8, 0, 0), 48, 4, '1', 1),
                                          Vehicle(At(2026, 3, 1, 8, 0, 2), 61, 9, '2'),
                                          Vehicle(At(2026, 3, 1, 8, 0, 2), 50, 16, '1')};
    WriteVehicleFile(folder / "a.lng", "13 characters", v);
    const std::string lng = ReadBytes(folder / "a.lng");
    ASSERT_EQ(lng.size(), 1088u);
    EXPECT_EQ(lng.substr(0, 18), "KORVELAN2LNG000003");
    EXPECT_EQ(lng.substr(18, 1022), "13 characters" + std::string(1009, ' '));
    EXPECT_EQ(lng.substr(1040), BytesOf(v.data(), 3));

    IntervalRecord intervals[2]{};
    intervals[1].Total()[2] = -7;
    WriteIntervalFile(folder / "b.sht",
                      "Stra\xC3\x9F"
                      "e \xE2\x82\xAC",
                      std::span(intervals, 2));
    const std::string sht = ReadBytes(folder / "b.sht");
    ASSERT_EQ(sht.size(), 3120u);
    EXPECT_EQ(sht.substr(0, 18), "KORVELAN2SHT000002");
    EXPECT_EQ(sht.substr(18, 9), "Stra\xDF"
                                 "e \x80 "); // Windows-1252 on disk
    EXPECT_EQ(sht.substr(1040), BytesOf(intervals, 2));

    // The comment field never grows past 1022 bytes; an empty set is a header alone.
    WriteVehicleFile(folder / "c.lng", std::string(2000, 'x'), {});
    const std::string empty = ReadBytes(folder / "c.lng");
    EXPECT_EQ(empty.size(), 1040u);
    EXPECT_EQ(empty.substr(12, 6), "000000");
    EXPECT_EQ(empty.substr(18), std::string(1022, 'x'));
}

TEST(OwnFileWriter, SavedFilesLoadAgainUnchanged) {
    TempFolder folder;
    auto data = NewData();
    SetVehicles(*data, {Vehicle(At(2025, 12, 31, 23, 59, 59), 48, 4, '1'),
                        Vehicle(At(2026, 1, 1, 0, 0, 1), 255, 0, '2'),
                        Vehicle(At(2026, 1, 1, 0, 0, 1), 7, 12, '1')});
    data->WorkVehicles[3].Marked = 1;
    data->Comment = "Ortsdurchfahrt Süd";
    SaveVehicleList(folder / "work.lng", *data, SaveScope::Filtered);

    auto loaded = NewData();
    const LoadInfo info = LoadDataFile(folder / "work.lng", *loaded);
    EXPECT_EQ(info.Count, 3);
    EXPECT_EQ(BytesOf(loaded->Vehicles.data(), 3), BytesOf(data->WorkVehicles.data(), 3));
    EXPECT_EQ(loaded->MarkedCount, 1);
    EXPECT_EQ(loaded->Comment, "Ortsdurchfahrt Süd" + std::string(60, ' '));

    // Saving the loaded file again gives the same bytes: the padded comment is stable.
    SaveVehicleList(folder / "again.lng", *loaded, SaveScope::All);
    EXPECT_EQ(ReadBytes(folder / "again.lng"), ReadBytes(folder / "work.lng"));

    SetIntervals(*data, At(2026, 3, 1, 0, 0), 30);
    data->Intervals[30].GapClasses(0)[2] = 99;
    SaveIntervalList(folder / "all.sht", *data, SaveScope::All, 1);
    LoadDataFile(folder / "all.sht", *loaded);
    EXPECT_EQ(loaded->IntervalCount, 30);
    EXPECT_EQ(BytesOf(loaded->Intervals.data(), 30), BytesOf(data->Intervals.data(), 30));
}

TEST(OwnFileWriter, RecordSelectionOfTheViews) {
    auto data = NewData();
    SetVehicles(*data, {Vehicle(1, 50, 4, '1'), Vehicle(2, 51, 4, '2'), Vehicle(3, 52, 4, '1')});
    data->WorkVehicles[1] = data->Vehicles[3];
    data->WorkVehicleCount = 1; // the record filter kept one vehicle
    EXPECT_EQ(VehicleRecordsToSave(*data, SaveScope::Filtered).size(), 1u);
    EXPECT_EQ(VehicleRecordsToSave(*data, SaveScope::Filtered)[0].Speed, 52);
    EXPECT_EQ(VehicleRecordsToSave(*data, SaveScope::All).size(), 3u);
    data->DataMode = DataMode::Interval; // LoadedCount then counts intervals, not vehicles
    EXPECT_TRUE(VehicleRecordsToSave(*data, SaveScope::All).empty());

    // One hour shown, four working intervals from 08:00: 48 five-minute records from 08:00.
    SetIntervals(*data, At(2026, 3, 2, 7, 0), 72); // 07:00 .. 12:55
    SetWorkIntervals(*data, 13, 4);
    auto filtered = IntervalRecordsToSave(*data, SaveScope::Filtered, 12);
    ASSERT_EQ(filtered.size(), 48u);
    EXPECT_EQ(filtered.front().Total()[1], 13);
    EXPECT_EQ(filtered.back().Total()[1], 60);
    EXPECT_EQ(IntervalRecordsToSave(*data, SaveScope::All, 12).size(), 72u);

    // The last hour is incomplete: only the records that exist are written, counted in the header.
    data->IntervalCount = 55; // 07:00 .. 11:30
    filtered = IntervalRecordsToSave(*data, SaveScope::Filtered, 12);
    ASSERT_EQ(filtered.size(), 43u);
    EXPECT_EQ(filtered.back().Total()[1], 55);
    TempFolder folder;
    SaveIntervalList(folder / "cut.sht", *data, SaveScope::Filtered, 12);
    const std::string file = ReadBytes(folder / "cut.sht");
    EXPECT_EQ(HeaderCount(file), 43);
    EXPECT_EQ(file.size(), 1040u + 43u * 1040u);

    data->WorkIntervalCount = 0;
    EXPECT_TRUE(IntervalRecordsToSave(*data, SaveScope::Filtered, 12).empty());
}

TEST(OwnFileWriter, AFailedSaveKeepsTheFileThatWasThere) {
    TempFolder folder;
    const auto target = folder / "keep.lng";
    const std::vector<VehicleRecord> few = {Vehicle(At(2026, 3, 1, 8, 0), 50, 4, '1')};
    WriteVehicleFile(target, "alt", few);
    ::chmod(target.c_str(), 0640);
    const std::string before = ReadBytes(target);

    // A file-size limit makes the write fail half-way, as a full disk would.
    const std::vector<VehicleRecord> many(1000, Vehicle(At(2026, 3, 1, 9, 0), 50, 4, '1'));
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    auto* const oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    int number = -1;
    try {
        WriteVehicleFile(target, "neu", many);
    } catch (const CoreError& e) {
        number = e.textNumber();
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(number, ProgramMessage::CannotWrite);
    EXPECT_EQ(ReadBytes(target), before);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, 1); // no temporary file left behind

    // A successful replacement keeps the permissions of the file it replaces.
    WriteVehicleFile(target, "neu", many);
    EXPECT_EQ(HeaderCount(ReadBytes(target)), 1000);
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // A folder that does not exist: nothing is written, the message names the file.
    try {
        WriteVehicleFile(folder / "missing" / "x.lng", "", few);
        ADD_FAILURE();
    } catch (const CoreError& e) {
        EXPECT_EQ(e.textNumber(), ProgramMessage::CannotWrite);
        EXPECT_NE(std::string(e.what()).find("x.lng"), std::string::npos);
    }
}

TEST(SummaryText, LinesJoinedByCrLfInWindows1252) {
    TempFolder folder;
    SaveSummaryText(folder / "s.txt", {"Übersicht", "", "PKW   12"});
    EXPECT_EQ(ReadBytes(folder / "s.txt"), "\xDC"
                                           "bersicht\r\n\r\nPKW   12");
    SaveSummaryText(folder / "s.txt", {});
    EXPECT_EQ(ReadBytes(folder / "s.txt"), "");
}
