#include "evaluation/VehicleList.h"
#include "EvaluationTestData.h"

#include <gtest/gtest.h>

TEST(VehicleList, LineLayout) {
    VehicleRecord r{At(1, 7, 3, 10), 52, 5, '1', {}, 0, {}};
    const std::string line = VehicleLine(r, 7, GermanLocaleFormat());
    EXPECT_EQ(line, " 000007     01-03-2026  07:03:10         52        5      =>");
    EXPECT_EQ(line.size(), 60u);

    r.Marked = 1;
    r.Direction = '2';
    EXPECT_EQ(VehicleLine(r, 7), " 000007     01-03-2026  07:03:10         52        5      <=   X");
    r.Marked = 0;
    r.Direction = '3';
    EXPECT_EQ(VehicleLine(r, 7).substr(58), "=>");

    // Wide values widen the line, nothing is cut.
    const VehicleRecord wide{At(1, 23, 59, 59), 255, 120, '1', {}, 1, {}};
    EXPECT_EQ(VehicleLine(wide, 1234567),
              " 1234567     01-03-2026  23:59:59        255       120      =>   X");
}

TEST(VehicleList, PagesCostTheSameEverywhere) {
    MeasurementData data;
    const LanguageTexts texts = EvalTexts();
    for (int n = 1; n <= 500000; ++n)
        AddVehicle(data, At(1, 0, 0, 0) + n / 86400.0, n % 200, 5, n % 2 ? '1' : '2');

    auto page = RenderVehiclePage(data, 1, 20, texts);
    ASSERT_EQ(page.size(), 23u);
    EXPECT_EQ(page[0], texts[81]);
    EXPECT_EQ(page[1], "");
    EXPECT_EQ(page[2].substr(0, 8), " 000001 ");
    EXPECT_EQ(page[22].substr(0, 8), " 000021 ");

    page = RenderVehiclePage(data, 499990, 20, texts);
    ASSERT_EQ(page.size(), 13u); // 499990..500000, no empty lines after the last record
    EXPECT_EQ(page[12].substr(0, 8), " 500000 ");
    EXPECT_EQ(page[12].substr(12, 20), "06-03-2026  18:53:20");

    EXPECT_EQ(RenderVehiclePage(data, 7, 0, texts).size(), 3u);
    EXPECT_EQ(RenderVehiclePage(data, 7, -1, texts).size(), 2u);
    EXPECT_EQ(RenderVehiclePage(data, 500001, 20, texts).size(), 2u);
    EXPECT_EQ(RenderVehiclePage(MeasurementData{}, 1, 20, texts).size(), 2u);
}

TEST(VehicleList, DoubleClickTogglesTheRecordOnTheLine) {
    MeasurementData data;
    for (int n = 0; n < 30; ++n)
        AddVehicle(data, At(1, 7, 0, n), 50, 5);
    data.VehicleListTop = 11;

    EXPECT_FALSE(RecordOfListLine(data, 0)); // header
    EXPECT_FALSE(RecordOfListLine(data, 1)); // empty line
    EXPECT_EQ(RecordOfListLine(data, 2), 11);
    EXPECT_EQ(RecordOfListLine(data, 21), 30);
    EXPECT_FALSE(RecordOfListLine(data, 22)); // below the last record

    // Marks above do not shift the record a line stands for.
    ASSERT_TRUE(ToggleMark(data, *RecordOfListLine(data, 2)));
    ASSERT_TRUE(ToggleMark(data, *RecordOfListLine(data, 3)));
    ASSERT_TRUE(ToggleMark(data, *RecordOfListLine(data, 4)));
    EXPECT_EQ(data.MarkedCount, 3);
    EXPECT_EQ(data.WorkVehicles[13].Marked, 1);
    const auto page = RenderVehiclePage(data, data.VehicleListTop, 5, EvalTexts());
    EXPECT_EQ(page[4].size(), 64u);
    EXPECT_EQ(page[5].size(), 60u);

    ASSERT_TRUE(ToggleMark(data, 12));
    EXPECT_EQ(data.MarkedCount, 2);
    EXPECT_EQ(data.WorkVehicles[12].Marked, 0);
    EXPECT_EQ(data.WorkVehicles[11].Marked, 1);
    EXPECT_FALSE(ToggleMark(data, 0));
    EXPECT_FALSE(ToggleMark(data, 31));
    EXPECT_EQ(data.MarkedCount, 2);
}

TEST(VehicleList, RecordLabelWhileDragging) {
    MeasurementData data;
    AddVehicle(data, At(1, 7, 3, 10), 50, 5);
    AddWorkInterval(data, At(1, 7, 0, 0));
    AddWorkInterval(data, At(1, 7, 5, 0));
    EXPECT_EQ(RecordNumberText(data, 1, false), " 000001     01-03-2026  07:03:10");
    EXPECT_EQ(RecordNumberText(data, 2, true), " 000002     01-03-2026  07:05:00");
    EXPECT_EQ(RecordNumberText(data, 2, false), " 000002     ");
    EXPECT_EQ(RecordNumberText(MeasurementData{}, 1, true), " 000001     ");
    EXPECT_EQ(RecordNumberText(data, 1, true, EnglishLocaleFormat()), " 000001     01-03-2026  07:00:00");
}
