#include "evaluation/Summary.h"
#include "EvaluationTestData.h"

#include <gtest/gtest.h>

namespace {
using Classes = long long[SpeedClassCount + 1];

// 5-minute records from 07:00 on March 1 to 06:55 on March 2: PKW and LKW in direction 1 in the
// first interval, PKW in direction 2 at 15:00, one LZ in direction 2 at 23:00.
MeasurementData DayOfIntervals() {
    MeasurementData data;
    for (int k = 0; k < 288; ++k)
        AddWorkInterval(data, IncMinute(At(1, 7, 0, 0), 5LL * k));
    CountInto(data.WorkIntervals[1], 1, VehicleClass::Pkw, 9, 13, 55);
    CountInto(data.WorkIntervals[1], 1, VehicleClass::Lkw, 8, 3, 50);
    CountInto(data.WorkIntervals[97], 2, VehicleClass::Pkw, 10, 3, 60);
    CountInto(data.WorkIntervals[193], 2, VehicleClass::Lz, 29, 1, 160);
    data.Comment = "Hauptstraße";
    return data;
}

const std::string NoWindow = "      ---     ---     ---     ---  ";
} // namespace

TEST(Percentiles, InterpolatedAndRoundedDownAtTiesOfTheSecondDecimal) {
    Classes classes{};
    classes[9] = 10; // 10 vehicles at 51..55 km/h
    EXPECT_FLOAT_EQ(PercentileSpeed(classes, 50), 50.5f);
    EXPECT_FLOAT_EQ(PercentileSpeed(classes, 85), 52.2f); // 52.25
    EXPECT_FLOAT_EQ(PercentileSpeed(classes, 15), 48.7f); // 48.75
    EXPECT_FLOAT_EQ(PercentileSpeed(Classes{}, 50), 0.0f);

    // Interval files may count vehicles the device did not classify: the percentile is taken over
    // the classified ones, so 4 vehicles at 21..25 km/h of a count of 10 give 23 - 5 * 2 / 4, not
    // the speed of the last class.
    Classes short_{};
    short_[3] = 4;
    EXPECT_FLOAT_EQ(PercentileSpeed(short_, 50), 20.5f);
    EXPECT_EQ(ClassifiedCount(short_), 4);

    SpeedClassTable speeds;
    speeds.Count[0][0][9] = speeds.Count[1][0][9] = speeds.Count[0][2][9] = speeds.Count[1][2][9] = 10;
    const std::string row = PercentileRow(speeds, 50, GermanLocaleFormat());
    EXPECT_EQ(row, "V50                   50,5    50,5     0,0     0,0        0,"
                   "0     0,0     0,0     0,0       50,5    50,5     0,0     0,0");
    EXPECT_EQ(row.size(), 120u);
    EXPECT_EQ(PercentileRow(speeds, 5, EnglishLocaleFormat()).substr(0, 26), "V05                   48.2");
}

TEST(Summary, OverviewRows) {
    const MeasurementData data = DayOfIntervals();
    const LanguageTexts texts = EvalTexts();
    const ViewSelections view{};
    const auto lines = SummaryLines(data, view, texts, GermanLocaleFormat());
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[0], "Uebersicht");
    EXPECT_EQ(lines[2], "Kommentar: Hauptstraße");
    EXPECT_EQ(lines[3], "Zeitraum: 01.03.2026 07:00  -  02.03.2026 06:55");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[7], std::string(120, '-'));
    EXPECT_EQ(lines[9], "Summe                 16      13       3       0          4 "
                        "      3       0       1         20      16       3       1  ");
    // 13 of 16 is 81.25 % and 3 of 16 18.75 %: both round down.
    EXPECT_EQ(lines[10], "Anteil %          "
                         " 100,0    81,2    18,7     0,0  "
                         "    100,0    75,0     0,0    25,0  "
                         "    100,0    80,0    15,0     5,0  ");
    EXPECT_EQ(lines[12].substr(0, 15), "V15            ");
    EXPECT_EQ(lines[13].substr(0, 34),
              "V50                   49,9    50,5"); // 53 - 5 * 8 / 13 and 53 - 5 * 6.5 / 13
    EXPECT_EQ(lines[15],
              "Vmax                  55,0    55,0    50,0     0,0      160,0    60,0     0,0   160,0"
              "      160,0    60,0    50,0   160,0");
    // The first 00:00 and 06:00 records are followed by fewer than a day's and 16 hours' records.
    EXPECT_EQ(lines[18], "0-24 Uhr       " + NoWindow + NoWindow + NoWindow);
    EXPECT_EQ(lines[21], "6-22 Uhr       " + NoWindow + NoWindow + NoWindow);
    // 15:00 to 19:00 times 3.5: 3 vehicles give 10.5, rounded to even.
    EXPECT_EQ(lines[19], "15-19 Uhr x3,5         0       0       0       0         10 "
                         "     10       0       0         10      10       0       0  ");
    // The 22:00 window runs into the next day.
    EXPECT_EQ(lines[22], "22-6 Uhr               0       0       0       0          1 "
                         "      0       0       1          1       0       0       1  ");
    // 16 / 24 h, 13 / 24, 3 / 24, ...
    EXPECT_EQ(lines[25], "Mittel je Std.         1       1       0       0          0 "
                         "      0       0       0          1       1       0       0  ");
    EXPECT_EQ(lines[26], "Spitzenstunde         16      13       3     ---          3 "
                         "      3     ---       1         16      13       3       1  ");
    EXPECT_EQ(lines[27], "Datum              01.03.  01.03.  01.03.    ---      01.03."
                         "  01.03.    ---   01.03.     01.03.  01.03.  01.03.  01.03. ");
    EXPECT_EQ(lines[28], "Uhrzeit        "
                         "    07:00   07:00   07:00     ---  "
                         "    15:00   15:00     ---   23:00  "
                         "    07:00   07:00   07:00   23:00  ");
    for (int n : {9, 10, 12, 13, 14, 15, 18, 19, 21, 22, 25, 26, 27, 28})
        EXPECT_EQ(lines[static_cast<std::size_t>(n)].size(), 120u) << n;

    EXPECT_EQ(SummaryLines(data, view, texts, EnglishLocaleFormat())[10].substr(15, 11), "    100.0  ");
}

TEST(Summary, PeakHourTiesAndLongerIntervals) {
    MeasurementData data;
    const int counts[] = {9, 4, 7, 7, 2};
    for (int k = 0; k < 5; ++k)
        AddWorkInterval(data, At(1, 7 + k, 0, 0)).Total().Dir1 = counts[k];
    data.WorkIntervals[1].StartTime = At(1, 7, 45, 0); // not a full hour: no peak hour starts there
    ViewSelections view;
    view.IntervalFactor = 12;
    const LanguageTexts texts = EvalTexts();
    auto lines = SummaryLines(data, view, texts, GermanLocaleFormat());
    EXPECT_EQ(lines[26].substr(15, 11), "        7  ");
    EXPECT_EQ(lines[28].substr(15, 11), "    09:00  "); // the earlier of the two hours with 7
    // 29 vehicles in 5 hours.
    EXPECT_EQ(lines[25].substr(15, 11), "        6  ");

    // Quarter hours: four records a peak hour, beginning at the first full hour.
    MeasurementData quarters;
    for (int k = 0; k < 9; ++k)
        AddWorkInterval(quarters, IncMinute(At(1, 7, 45, 0), 15LL * k)).Total().Dir1 = k == 0 ? 50 : k;
    view.IntervalFactor = 3;
    lines = SummaryLines(quarters, view, texts, GermanLocaleFormat());
    EXPECT_EQ(lines[26].substr(15, 11), "       26  "); // 5 + 6 + 7 + 8 from 09:00
    EXPECT_EQ(lines[28].substr(15, 11), "    09:00  ");
}

TEST(Summary, SpeedLimitRows) {
    MeasurementData data = DayOfIntervals();
    const LanguageTexts texts = EvalTexts();
    ViewSelections view;
    view.LimitDisplayOn = true;
    view.SpeedLimitIndex = 5;
    auto lines = SummaryLines(data, view, texts, GermanLocaleFormat());
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[4], "Grenze: 50km/h");
    EXPECT_EQ(lines[29], "");
    EXPECT_EQ(lines[31], "ueber Grenze          13      13       0       0          4 "
                         "      3       0       1         17      16       0       1  ");
    EXPECT_EQ(lines[32], "ueber Grenze %        81     100       0       0        100 "
                         "    100       0     100         85     100       0     100  ");

    view.SummaryKind = 2;
    lines = SummaryLines(data, view, texts, GermanLocaleFormat());
    ASSERT_EQ(lines.size(), 10u + 29u + 5u);
    EXPECT_EQ(lines[0], "Geschwindigkeiten");
    EXPECT_EQ(lines[4], "Grenze: 50km/h");
    EXPECT_EQ(lines[7], "Kopf V");
    EXPECT_EQ(lines[8], std::string(75, '-'));
    EXPECT_EQ(lines[10], "  < 16                  0        0        0             0   "
                         "     0        0   ");
    EXPECT_EQ(lines[17], " 46 -  50               0        3        0             0   "
                         "     0        0   ");
    EXPECT_EQ(lines[18], " 51 -  55              13        0        0             0   "
                         "     0        0   ");
    EXPECT_EQ(lines[38], "  > 150                 0        0        0             0   "
                         "     0        1   ");
    EXPECT_EQ(lines[41], " =<  50                 0        3        0             0   "
                         "     0        0   ");
    EXPECT_EQ(lines[42], " 51 -  70              13        0        0             3   "
                         "     0        0   ");
    EXPECT_EQ(lines[43], "  >  70                 0        0        0             0   "
                         "     0        1   ");

    // 10 km/h: nothing is at or below the limit, everything up to 30 km/h is just above it.
    view.SpeedLimitIndex = 1;
    CountInto(data.WorkIntervals[2], 1, VehicleClass::Pkw, 4, 2);
    CountInto(data.WorkIntervals[2], 1, VehicleClass::Pkw, 5, 1);
    lines = SummaryLines(data, view, texts, GermanLocaleFormat());
    EXPECT_EQ(lines[41], " =<  10                 0        0        0             0   "
                         "     0        0   ");
    EXPECT_EQ(lines[42], " 11 -  30               2        0        0             0   "
                         "     0        0   ");
    EXPECT_EQ(lines[43], "  >  30                14        3        0             3   "
                         "     0        1   ");
    view.SummaryKind = 1;
    lines = SummaryLines(data, view, texts, GermanLocaleFormat());
    EXPECT_EQ(lines[4], "Grenze: 10km/h");
    EXPECT_EQ(lines[31].substr(15, 35), "       19      16       3       0  "); // everybody
    EXPECT_EQ(lines[32].substr(15, 35), "      100     100     100       0  ");
}

TEST(Summary, NoIntervalsAndNoTable) {
    MeasurementData data;
    const LanguageTexts texts = EvalTexts();
    ViewSelections view;
    auto lines = SummaryLines(data, view, texts, GermanLocaleFormat());
    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[3], "Zeitraum: ---");
    EXPECT_EQ(lines[9].substr(15, 35), "        0       0       0       0  ");
    EXPECT_EQ(lines[10].substr(15, 35), "      0,0     0,0     0,0     0,0  ");
    for (int n = 12; n <= 15; ++n)
        EXPECT_EQ(lines[static_cast<std::size_t>(n)].substr(15),
                  std::string(3, ' ') + "     0,0     0,0     0,0     0,0" +
                      "        0,0     0,0     0,0     0,0" + "        0,0     0,0     0,0     0,0");
    EXPECT_EQ(lines[19], "15-19 Uhr x3,5 " + NoWindow + NoWindow + NoWindow);
    EXPECT_EQ(lines[25].substr(15, 35), "        0       0       0       0  ");
    EXPECT_EQ(lines[26].substr(15, 35), "      ---     ---     ---     ---  ");
    EXPECT_EQ(lines[28].substr(15, 35), "      ---     ---     ---     ---  ");

    view.SummaryKind = 2;
    view.LimitDisplayOn = true;
    lines = SummaryLines(data, view, texts, GermanLocaleFormat());
    EXPECT_EQ(lines.size(), 10u + 29u + 5u);

    // Kind 3 is the day profile of the statistics; a kind beyond the known ones has no table.
    MeasurementData day = DayOfIntervals();
    ViewSelections dayProfile;
    dayProfile.SummaryKind = 3;
    LanguageTexts withTitle = texts;
    withTitle.Set(502, "Tagesgang");
    EXPECT_EQ(SummaryLines(day, dayProfile, withTitle).front(), "Tagesgang");
    view.SummaryKind = 5;
    EXPECT_TRUE(SummaryLines(data, view, texts).empty());
}

TEST(Summary, SumsOfManyFullDeviceIntervalsStayExact) {
    // 40000 intervals of a device that counted 65535 vehicles in each direction: 2621400000 per
    // direction, beyond 32 bits.
    MeasurementData data;
    for (int k = 0; k < 40000; ++k) {
        IntervalRecord& r = AddWorkInterval(data, IncMinute(At(1, 0, 0, 0), 5LL * k));
        for (int d = 1; d <= 2; ++d) {
            r.Total()[d] = 65535;
            r.PkwCount()[d] = 65535;
            r.PkwSpeedClasses(10)[d] = 65535;
        }
    }
    const CountTable counts = SumCounts(data, 1, data.WorkIntervalCount);
    EXPECT_EQ(counts.Count[0][0], 2621400000LL);
    EXPECT_EQ(counts.Count[1][2], 5242800000LL);
    EXPECT_EQ(SumSpeedClasses(data).Count[0][2][10], 5242800000LL);

    const auto lines = SummaryLines(data, ViewSelections{}, EvalTexts(), GermanLocaleFormat());
    const std::string& countRow = lines[9];
    EXPECT_NE(countRow.find("2621400000"), std::string::npos) << countRow;
    EXPECT_NE(countRow.find("5242800000"), std::string::npos) << countRow;
    EXPECT_EQ(countRow.find('-'), std::string::npos) << countRow;
}
