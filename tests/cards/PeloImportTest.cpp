#include "CardTestFiles.h"

#include "cards/CardCommon.h"
#include "cards/PeloImport.h"
#include "data/DateTime.h"

#include <gtest/gtest.h>

namespace {
int ErrorNumberOf(std::string_view text) {
    try {
        ParsePeloFile(text);
    } catch (const CoreError& e) {
        return e.textNumber();
    }
    return 0;
}

std::string Lines(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += line;
    return text;
}
} // namespace

TEST(PeloImport, FirstBlockDatesAndClearsTheDay) {
    std::string text = PeloHeader("QT", 24, 1);
    for (int line = 0; line < 24; ++line)
        text += PeloValues({line, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    const TempFile file("day.pel", text);

    MeasurementData data;
    data.Vehicles.EnsureSize(5);
    data.LoadedCount = data.WorkVehicleCount = 5;
    data.IntervalRebuildPending = 1;
    ImportPeloFile(data, file.path());
    ASSERT_EQ(data.IntervalCount, 288);
    EXPECT_EQ(data.WorkIntervalCount, 288);
    EXPECT_EQ(data.DataMode, DataMode::Imported);
    EXPECT_EQ(data.IntervalRebuildPending, 0);
    EXPECT_EQ(data.WorkVehicleCount, 0);
    EXPECT_EQ(data.Intervals[1].StartTime, *TryEncodeDateTime(2005, 3, 1, 0, 0, 0));
    EXPECT_EQ(ToMilliseconds(data.Intervals[288].StartTime),
              ToMilliseconds(*TryEncodeDateTime(2005, 3, 1, 23, 55, 0)));
    EXPECT_EQ(data.Intervals[13].Total().Dir1, 1); // line 2 begins with 1
    EXPECT_EQ(data.Intervals[24].Total().Dir1, 11);
    int others = 0;
    for (int n = 1; n <= 288; ++n)
        for (int s = 1; s < Slot::Count; ++s)
            others += data.Intervals[n].Slots[s].Dir1 != 0 || data.Intervals[n].Slots[s].Dir2 != 0 ? 1 : 0;
    EXPECT_EQ(others, 0);
    EXPECT_EQ(data.WorkIntervals[288].Total().Dir1, 11);

    // No blocks at all: imported data without intervals.
    const TempFile empty("empty.pel", PeloHeader("QT", 0, 0));
    ImportPeloFile(data, empty.path());
    EXPECT_EQ(data.DataMode, DataMode::Imported);
    EXPECT_EQ(data.IntervalCount, 0);
}

TEST(PeloImport, BlockCodesSpreadingAndDataLines) {
    EXPECT_EQ(VcClassRange(0x32, 0x37).First, 9);
    EXPECT_EQ(VcClassRange(0x32, 0x37).Last, 9);
    EXPECT_EQ(VcClassRange(0x00, 0x0A).First, 1);
    EXPECT_EQ(VcClassRange(0x00, 0x0A).Last, 1);
    EXPECT_EQ(VcClassRange(0xC8, 0xFF).Last, 29); // 255 km/h lies beyond the last class
    IntervalRecord r{};
    SpreadOverSpeedClasses(r, {4, 6}, 10);
    EXPECT_EQ(r.PkwSpeedClasses(4).Dir1, 3);
    EXPECT_EQ(r.PkwSpeedClasses(5).Dir1, 3);
    EXPECT_EQ(r.PkwSpeedClasses(6).Dir1, 4);

    const std::string text = PeloHeader("QT", 1, 8) + "  5  12 100\r\n" //
                             + PeloHeader("ZM", 2) +
                             "999 999 999\r\n999\r\n"                  // not ours: its lines are skipped
                             + PeloHeader("VT", 1) + "     12 100\r\n" // a blank first field
                             + PeloHeader("QL", 1) + "  1   2   3\r\n" //
                             + PeloHeader("%L", 1) + "  0   1   0\r\n" //
                             + PeloHeader("VC", 1, 0, "3237") + " 20  30  40\r\n" //
                             + PeloHeader("LC", 1, 0, "0007") + "  4   5   6\r\n" //
                             + PeloHeader("LC", 1, 0, "001f") + "  7   8   9\r\n";
    const PeloImport import = ParsePeloFile(text);
    ASSERT_EQ(import.IntervalCount, 3);
    MeasurementData data;
    CommitPeloImport(data, import);
    const IntervalRecord& third = data.Intervals[3];
    EXPECT_EQ(data.Intervals[1].Total().Dir1, 5);
    EXPECT_EQ(data.Intervals[2].Total().Dir1, 12);
    EXPECT_EQ(third.Total().Dir1, 100);
    EXPECT_EQ(data.Intervals[1].MeanSpeed().Dir1, 0);
    EXPECT_EQ(third.MeanSpeed().Dir1, 100);
    EXPECT_EQ(third.HeavyTotal().Dir1, 3);
    EXPECT_EQ(data.Intervals[2].HeavyShareFlag().Dir1, 1);
    EXPECT_EQ(third.PkwSpeedClasses(9).Dir1, 40);
    EXPECT_EQ(third.GapClasses(1).Dir1, 6);
    EXPECT_EQ(third.GapClasses(2).Dir1, 9);
    EXPECT_EQ(third.Total().Dir2, 0);
    EXPECT_EQ(import.Codes, (std::vector<std::int32_t>{7, 31}));
    EXPECT_EQ(data.ImportCodeCount, 2);
    EXPECT_EQ(data.ImportCodes[1], 7);
    EXPECT_EQ(data.ImportCodes[2], 31);
}

TEST(PeloImport, BlocksOfDifferentLengthsAndHostileFiles) {
    // A later, longer block clears and dates the intervals it reaches first; a shorter last block
    // hides nothing.
    const std::string text = PeloHeader("QT", 1, 3, "0000", 24, 12, 31, 23, 50) + "  1   2\r\n" +
                             PeloHeader("VT", 1) + " 50  51  52  53\r\n" + PeloHeader("QL", 1) + "  9\r\n";
    MeasurementData data;
    CommitPeloImport(data, ParsePeloFile(text));
    ASSERT_EQ(data.IntervalCount, 4);
    EXPECT_EQ(ToMilliseconds(data.Intervals[4].StartTime),
              ToMilliseconds(*TryEncodeDateTime(2025, 1, 1, 0, 5, 0)));
    EXPECT_EQ(data.Intervals[4].MeanSpeed().Dir1, 53);
    EXPECT_EQ(data.Intervals[4].Total().Dir1, 0);
    EXPECT_EQ(data.Intervals[1].HeavyTotal().Dir1, 9);

    // Faulty files are refused with the line at fault, and the measurement stays as it was.
    const TempFile bad("bad.pel",
                       PeloHeader("QT", 1, 2) + "  1\r\n" + PeloHeader("VC", 1, 0, "3G37") + "  1\r\n");
    try {
        ImportPeloFile(data, bad.path());
        FAIL() << "a parameter that is not hexadecimal was taken";
    } catch (const CoreError& e) {
        EXPECT_EQ(e.textNumber(), ProgramMessage::PeloBadParameter);
        EXPECT_EQ(e.detail(), "3");
    }
    EXPECT_EQ(data.IntervalCount, 4);
    EXPECT_EQ(data.Intervals[4].MeanSpeed().Dir1, 53);

    EXPECT_EQ(ErrorNumberOf(PeloHeader("QT", 1, 1, "0000", 5, 2, 30) + "  1\r\n"),
              ProgramMessage::PeloBadStart);
    std::string lcBlocks = PeloHeader("QT", 1, 22) + "  1\r\n";
    for (int k = 0; k < 21; ++k)
        lcBlocks += PeloHeader("LC", 1, 0, "0001") + "  1\r\n";
    EXPECT_EQ(ErrorNumberOf(lcBlocks), ProgramMessage::PeloTooManyLcBlocks);
    const std::string twelve = PeloValues({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    EXPECT_EQ(ErrorNumberOf(PeloHeader("QT", 5001, 1) + Lines(twelve, 5001)),
              ProgramMessage::PeloTooManyValues);
    EXPECT_EQ(ParsePeloFile(PeloHeader("QT", 5000, 1) + Lines(twelve, 5000)).IntervalCount, MaxIntervals);
    // More blocks announced than the file holds, and fewer data lines than announced: what is there counts.
    EXPECT_EQ(ParsePeloFile(PeloHeader("QT", 3, 4) + "  1   2\r\n").IntervalCount, 2);
}
