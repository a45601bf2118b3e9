#include "data/TextFormat.h"
#include "base/Cp1252.h"

#include <clocale>
#include <gtest/gtest.h>

TEST(Format, IntegerPatternsOfListsAndExports) {
    EXPECT_EQ(Format(" %.6d     ", {7}), " 000007     ");
    EXPECT_EQ(Format("        %3d       %2d      ", {54, 5}), "         54        5      ");
    EXPECT_EQ(Format(";00;%3.3u", {7}), ";00;007");
    EXPECT_EQ(Format(";%2.2u", {123}), ";123");
    EXPECT_EQ(Format("%4d", {12345}), "12345"); // never cut
    EXPECT_EQ(Format("%6d  ", {-3}), "    -3  ");
    EXPECT_EQ(Format("V%.2d", {5}), "V05");
    EXPECT_EQ(Format("%s|%-4s|", {"ab", "c"}), "ab|c   |");
    EXPECT_EQ(Format("100%%", {}), "100%");
}

TEST(Format, DecimalsUseTheLocaleSeparatorWhateverTheCLibrarySays) {
    // Even with the C library switched to a German numeric locale, the core decides.
    const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(Format("  %6.1f", {52.2}, GermanLocaleFormat()), "    52,2");
    EXPECT_EQ(Format("  %6.1f", {52.2}, EnglishLocaleFormat()), "    52.2");
    EXPECT_EQ(Format("%6.1f", {100.0}, GermanLocaleFormat()), " 100,0");
    EXPECT_EQ(Format("%6.1f", {-0.04}, GermanLocaleFormat()), "   0,0");
    EXPECT_EQ(FloatToStr(1.0, GermanLocaleFormat()), "1");
    EXPECT_EQ(FloatToStr(0.2 * 2 + 0.2, GermanLocaleFormat()), "0,6");
    EXPECT_EQ(FloatToStr(12.5, EnglishLocaleFormat()), "12.5");
    std::setlocale(LC_NUMERIC, previous ? previous : "C");
}

TEST(Format, StrictWholeNumbers) {
    EXPECT_EQ(StrToIntStrict(" 12 "), 12);
    EXPECT_EQ(StrToIntStrict("-4"), -4);
    EXPECT_FALSE(StrToIntStrict("12a"));
    EXPECT_FALSE(StrToIntStrict(""));
    EXPECT_FALSE(StrToIntStrict("1.5"));
    EXPECT_FALSE(StrToIntStrict("99999999999"));
    EXPECT_EQ(RoundHalfEven(52.5L), 52);
    EXPECT_EQ(RoundHalfEven(53.5L), 54);
}

TEST(LocaleFormat, NamesMapToConventions) {
    EXPECT_EQ(LocaleFormatFor("C").DecimalSeparator, ',');
    EXPECT_EQ(LocaleFormatFor("POSIX").DateSeparator, '.');
    EXPECT_EQ(LocaleFormatFor("").ShortDayNames[0], "So");
    EXPECT_EQ(LocaleFormatFor("en_US.UTF-8").DateSeparator, '/');
    EXPECT_EQ(LocaleFormatFor("en_GB").DecimalSeparator, '.');
    EXPECT_EQ(LocaleFormatFor("fr_FR.UTF-8").DecimalSeparator, ',');
    EXPECT_EQ(LocaleFormatFor("de_DE.UTF-8").ShortDayNames[1], "Mo");
}

TEST(Cp1252, RoundTripsTheCharactersOfGermanAndFrenchTexts) {
    const std::string bytes = "\xC4nderung \x80 \x84Stra\xDF"
                              "e\x93 \xE9t\xE9";
    const std::string text = Cp1252ToUtf8(bytes);
    EXPECT_EQ(text, "Änderung € „Straße“ été");
    EXPECT_EQ(Utf8ToCp1252(text), bytes);
    EXPECT_EQ(Utf8ToCp1252("日本"), "??");
    EXPECT_EQ(Utf8Length("Straße"), 6u);
    EXPECT_EQ(Utf8Left("Straße", 5), "Straß");
}
