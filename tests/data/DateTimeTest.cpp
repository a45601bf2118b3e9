#include "data/DateTime.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(DateTime, EncodesDayCountsFrom1899_12_30) {
    EXPECT_EQ(*TryEncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(*TryEncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(*TryEncodeDate(2026, 12, 7), 46363.0);
    EXPECT_EQ(*TryEncodeDateTime(2026, 12, 7, 18, 0, 0), 46363.75);
    EXPECT_FALSE(TryEncodeDate(2005, 2, 29));
    EXPECT_TRUE(TryEncodeDate(2004, 2, 29));
    EXPECT_FALSE(TryEncodeDate(2005, 13, 1));
    EXPECT_FALSE(TryEncodeDate(2005, 0, 1));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0));
    EXPECT_FALSE(TryEncodeTime(10, 60, 0));
}

TEST(DateTime, DecodesToTheNearestMillisecond) {
    const double t = *TryEncodeDateTime(2026, 12, 7, 10, 15, 30);
    const DateTimeParts p = DecodeDateTime(t);
    EXPECT_EQ(p.Year, 2026);
    EXPECT_EQ(p.Month, 12);
    EXPECT_EQ(p.Day, 7);
    EXPECT_EQ(p.Hour, 10);
    EXPECT_EQ(p.Minute, 15);
    EXPECT_EQ(p.Second, 30);
    EXPECT_EQ(p.DayOfWeek, 1); // a Monday
    // One unit in the last place below midnight still decodes as midnight of the next day.
    const double nextDay = *TryEncodeDate(2026, 12, 8);
    const DateTimeParts q = DecodeDateTime(std::nextafter(nextDay, 0.0));
    EXPECT_EQ(q.Day, 8);
    EXPECT_EQ(q.Hour, 0);
    EXPECT_EQ(DateOf(std::nextafter(nextDay, 0.0)), nextDay);
}

TEST(DateTime, MillisecondsRoundAsInExtendedPrecisionEvenNearAHalfMillisecond) {
    const auto extended = [](double t) {
        return static_cast<long long>(std::nearbyint(static_cast<long double>(t) * 86400000));
    };
    // Times a few units in the last place around half milliseconds, today and in year 9999.
    int checked = 0;
    for (const double day : {46082.0, 2958465.0}) {
        for (int k = 0; k < 2000; ++k) {
            double t = day + (k * 43201 % 86400000 + 0.5) / 86400000;
            for (int step = 0; step < 6; ++step) {
                EXPECT_EQ(ToMilliseconds(t), extended(t)) << day << " " << k;
                t = std::nextafter(t, 1e9);
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 24000);
}

TEST(DateTime, IncMinuteCountsFromTheGivenTime) {
    const double start = *TryEncodeDateTime(2005, 12, 31, 23, 55, 0);
    const double next = IncMinute(start, 5);
    EXPECT_EQ(ToMilliseconds(next), ToMilliseconds(*TryEncodeDate(2006, 1, 1)));
    // Every start computed from the first lands on whole minutes even after a year of steps.
    const double far = IncMinute(start, 5 * 105120);
    EXPECT_EQ(DecodeDateTime(far).Second, 0);
    EXPECT_EQ(DecodeDateTime(far).Millisecond, 0);
    EXPECT_EQ(DecodeDateTime(far).Minute, 55);
}

TEST(DateTime, FormatsThePatternsOfListsAndTables) {
    const double t = *TryEncodeDateTime(2026, 12, 7, 8, 5, 3);
    const LocaleFormat de = GermanLocaleFormat();
    const LocaleFormat en = EnglishLocaleFormat();
    EXPECT_EQ(FormatDateTime("dd-mm-yyyy\"  \"hh:mm:ss", t, de), "07-12-2026  08:05:03");
    EXPECT_EQ(FormatDateTime("dd/mm/yy hh:mm:ss", t, de), "07.12.26 08:05:03");
    EXPECT_EQ(FormatDateTime("dd/mm/yy hh:mm:ss", t, en), "07/12/26 08:05:03");
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy  hh:mm:ss", t, en), "07/12/2026  08:05:03");
    EXPECT_EQ(FormatDateTime(" dd.mm. ", t, en), " 07.12. "); // "." is literal
    EXPECT_EQ(FormatDateTime(" hh:mm  ", t, de), " 08:05  "); // mm after hh: minutes
    EXPECT_EQ(FormatDateTime("hh:nn", t, de), "08:05");
    EXPECT_EQ(FormatDateTime("ddd  dd.mm.yyyy  hh:mm", t, de), "Mo  07.12.2026  08:05");
    EXPECT_EQ(FormatDateTime("ddd", t, en), "Mon");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:mm  -  ", t, de), "07.12.2026 08:05  -  ");
    EXPECT_EQ(FormatDateTime("'d'd", t, de), "d7");
}
