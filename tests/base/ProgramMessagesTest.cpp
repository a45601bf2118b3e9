#include "base/ProgramMessages.h"
#include "base/CoreError.h"
#include "base/LanguageTexts.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

TEST(ProgramMessages, EachNumberOnceWithAGermanText) {
    std::set<int> seen;
    for (const ProgramMessageText& message : ProgramMessages()) {
        EXPECT_TRUE(seen.insert(message.number).second) << "number " << message.number << " twice";
        EXPECT_FALSE(message.german.empty()) << message.number;
        EXPECT_EQ(message.german.find("%s", message.german.find("%s") + 1), std::string_view::npos)
            << message.number << " has two details";
    }
    EXPECT_TRUE(seen.contains(ProgramMessage::CapacityExceeded));
    EXPECT_TRUE(seen.contains(ProgramMessage::ReaderDoesNotAnswer));
}

TEST(ProgramMessages, ErrorsTakeTheGermanTextOfTheirNumber) {
    const CoreError error(ProgramMessage::CannotOpen, "a.lng (No such file or directory)");
    EXPECT_EQ(error.fallback(), GermanMessageText(ProgramMessage::CannotOpen));
    EXPECT_STREQ(error.what(), "Die Datei a.lng (No such file or directory) kann nicht geöffnet werden.");

    // The chosen language wins; an empty text falls back to German.
    LanguageTexts texts;
    EXPECT_EQ(error.Message(texts), error.what());
    texts.Set(ProgramMessage::CannotOpen, "Cannot open %s.");
    EXPECT_EQ(error.Message(texts), "Cannot open a.lng (No such file or directory).");

    // A number that is no message still says something, with its detail.
    EXPECT_EQ(CoreError(9999, "x").Message(LanguageTexts()), "Fehler: x");
}

TEST(ProgramMessages, TextsOfNumberZeroAreTheSameInEveryLanguage) {
    LanguageTexts texts;
    texts.Set(1, "something else");
    EXPECT_EQ(CoreError(ProgramMessage::NotAKorvelanFile).Message(texts), "Keine Korvelan - Datei");
    const CoreError given = CoreError::WithText("Port /dev/x cannot be opened");
    EXPECT_EQ(given.textNumber(), 0);
    EXPECT_EQ(given.Message(texts), "Port /dev/x cannot be opened");
}

TEST(ProgramMessages, MessageOfAnyExceptionIsItsText) {
    LanguageTexts texts;
    texts.Set(ProgramMessage::NoVehicleData, "Single vehicles only.");
    EXPECT_EQ(MessageOf(CoreError(ProgramMessage::NoVehicleData), texts), "Single vehicles only.");
    EXPECT_EQ(MessageOf(std::runtime_error("disk full"), texts), "disk full");
}
