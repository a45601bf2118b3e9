#include "DataFileTestSupport.h"

#include "data/AsciiExport.h"

#include <memory>

TEST(ExportLines, VehicleLineFields) {
    const auto de = GermanLocaleFormat();
    EXPECT_EQ(VehicleExportLine(Vehicle(At(2026, 12, 7, 10, 15, 30), 54, 5, '2'), de),
              "07.12.26 10:15:30;00;054;05;1 ");
    EXPECT_EQ(VehicleExportLine(Vehicle(At(2026, 1, 2, 3, 4, 5), 7, 12, '1'), de),
              "02.01.26 03:04:05;00;007;12;0 ");
    EXPECT_EQ(VehicleExportLine(Vehicle(At(2026, 1, 2, 23, 59, 59), 123, 123, '1'), de),
              "02.01.26 23:59:59;00;123;123;0 ");
    EXPECT_EQ(VehicleExportLine(Vehicle(At(2026, 1, 2, 0, 0, 0), 0, 0, '2'), EnglishLocaleFormat()),
              "02/01/26 00:00:00;00;000;00;1 ");
}

TEST(ExportLines, IntervalLineFieldsWidenButNeverCut) {
    IntervalRecord r{};
    r.StartTime = At(2026, 3, 9, 8, 5);
    r.Total()[1] = 1234;
    r.PkwCount()[1] = 1100;
    r.LkwCount()[1] = 100;
    r.LzCount()[1] = 34;
    r.Total()[2] = 7;
    r.PkwCount()[2] = 7;
    EXPECT_EQ(IntervalExportLine(r, GermanLocaleFormat()),
              "09.03.2026  08:05:00      1234   1100   100    34         7      7     0     0");
    r.Total()[1] = 12345;
    r.LkwCount()[1] = 1000;
    EXPECT_EQ(IntervalExportLine(r, EnglishLocaleFormat()),
              "09/03/2026  08:05:00      12345   1100   1000    34         7      7     0     0");
}

TEST(ExportFiles, EachViewWritesItsRecordsWithCrLf) {
    TempFolder folder;
    auto data = std::make_unique<MeasurementData>();
    data->WorkVehicles.EnsureSize(2);
    data->WorkVehicles[1] = Vehicle(At(2026, 3, 9, 8, 0, 0), 48, 4, '1');
    data->WorkVehicles[2] = Vehicle(At(2026, 3, 9, 8, 0, 2), 61, 9, '2');
    data->WorkVehicleCount = 2;
    data->WorkIntervals.EnsureSize(1);
    data->WorkIntervals[1] = IntervalRecord{};
    data->WorkIntervals[1].StartTime = At(2026, 3, 9, 8, 0);
    data->WorkIntervalCount = 1;
    const auto de = GermanLocaleFormat();
    const auto file = folder / "out.asc";

    ExportAscii(file, View::VehicleList, *data, {}, de);
    EXPECT_EQ(ReadBytes(file), "09.03.26 08:00:00;00;048;04;0 \r\n09.03.26 08:00:02;00;061;09;1 \r\n");

    ExportAscii(file, View::IntervalList, *data, {}, de);
    EXPECT_EQ(ReadBytes(file), IntervalExportLine(data->WorkIntervals[1], de) + "\r\n");

    ExportAscii(file, View::Summary, *data, {"Tagesgang", "Mo  08:00   12"}, de);
    EXPECT_EQ(ReadBytes(file), "Tagesgang\r\nMo  08:00   12");

    // The chart view and an empty working set give an empty file (replacing what was there).
    ExportAscii(file, View::Chart, *data, {"ignored"}, de);
    EXPECT_EQ(ReadBytes(file), "");
    WriteBytes(file, "old");
    data->WorkVehicleCount = 0;
    ExportAscii(file, View::VehicleList, *data, {}, de);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(ReadBytes(file), "");
}
