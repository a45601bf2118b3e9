#include "charts/PrintLines.h"
#include "data/DateTime.h"

#include <gtest/gtest.h>

TEST(PrintLines, VehicleAndIntervalLinesAreFixedWidth) {
    VehicleRecord vehicle{};
    vehicle.Time = *TryEncodeDateTime(2005, 3, 2, 14, 3, 9);
    vehicle.Speed = 7;
    vehicle.Length = 12;
    vehicle.Direction = '2';
    EXPECT_EQ(VehiclePrintLine(vehicle, GermanLocaleFormat()),
              "02.03.2005  14:03:09          7       12       <=");
    vehicle.Speed = 123;
    vehicle.Length = 4;
    vehicle.Direction = '1';
    // The date separator is the locale's, the field order of the pattern stays.
    EXPECT_EQ(VehiclePrintLine(vehicle, EnglishLocaleFormat()).substr(0, 10), "02/03/2005");
    EXPECT_EQ(VehiclePrintLine(vehicle, EnglishLocaleFormat()).substr(20), "        123        4       =>");

    IntervalRecord interval{};
    interval.StartTime = *TryEncodeDateTime(2005, 3, 2, 8, 0, 0);
    interval.Total() = {15, 1234};
    interval.PkwCount() = {12, 1000};
    interval.LkwCount() = {2, 200};
    interval.LzCount() = {1, 34};
    EXPECT_EQ(IntervalPrintLine(interval, GermanLocaleFormat()),
              "02.03.2005  08:00:00        15     12     2     1      1234   1000   200    34");
}

TEST(PrintLines, HeaderDropsTheRecordNumberColumn) {
    EXPECT_EQ(PrintHeader(" Nr.        Datum       Uhrzeit"), "Datum       Uhrzeit");
    // Characters, not bytes: the column may hold umlauts or a degree sign.
    EXPECT_EQ(PrintHeader(" N°  Zähler Datum"), "Datum");
    EXPECT_EQ(PrintHeader("short"), "");
    EXPECT_EQ(PrintHeader(""), "");
}

TEST(PrintLines, ListPagesHold64RecordsAndEndWithAFooterPage) {
    auto count = [](int records) { return ListPageRanges(records).size(); };
    EXPECT_EQ(count(0), 1u);
    EXPECT_EQ(count(1), 1u);
    EXPECT_EQ(count(63), 1u);
    EXPECT_EQ(count(64), 2u);
    EXPECT_EQ(count(65), 2u);
    EXPECT_EQ(count(128), 3u);
    EXPECT_EQ(count(500000), 500000u / 64 + 1);

    const auto empty = ListPageRanges(0);
    EXPECT_GT(empty[0].First, empty[0].Last); // header and footer only
    const auto full = ListPageRanges(64);
    EXPECT_EQ(full[0].First, 1);
    EXPECT_EQ(full[0].Last, 64);
    EXPECT_GT(full[1].First, full[1].Last);
    const auto one = ListPageRanges(65);
    EXPECT_EQ(one[1].First, 65);
    EXPECT_EQ(one[1].Last, 65);

    EXPECT_DOUBLE_EQ(ListLineTop(1, 100), 600);
    EXPECT_DOUBLE_EQ(ListLineTop(64, 100), 6900);
    EXPECT_DOUBLE_EQ(ListFooterTop(100), 7100);
}

TEST(PrintLines, LongSummariesGoOnOverFurtherPages) {
    // 4791 reference pixels of page, lines 94 high: lines 1..46 fit, as 200 + 94 * 48 <= 4791.
    const auto pages = SummaryPageRanges(80, 94, 4791);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].First, 1);
    EXPECT_EQ(pages[0].Last, 46);
    EXPECT_LE(SummaryLineTop(46, 94) + 94, 4791);
    EXPECT_GT(SummaryLineTop(47, 94) + 94, 4791);
    EXPECT_EQ(pages[1].First, 47);
    EXPECT_EQ(pages[1].Last, 79);
    EXPECT_EQ(SummaryPageRanges(30, 94, 4791).size(), 1u);
    EXPECT_EQ(SummaryPageRanges(1, 94, 4791).size(), 1u); // the title alone
    EXPECT_EQ(SummaryPageRanges(0, 94, 4791).size(), 1u);
    EXPECT_EQ(SummaryPageRanges(10, 94, 100).size(), 9u); // a tiny page still prints a line a page
}
