#pragma once
// The error the core reports to its fronts: one of the program's messages (ProgramMessages.h) by
// its number, and a detail that replaces "%s" in the message. A message with number 0 carries its
// text itself, the same in every language ("Keine Korvelan - Datei").

#include "base/ProgramMessages.h"

#include <stdexcept>
#include <string>

class LanguageTexts;

class CoreError : public std::runtime_error {
public:
    CoreError(int textNumber, std::string detail = {});

    // A message whose text is the same in every language.
    static CoreError WithText(std::string text, std::string detail = {});

    int textNumber() const { return textNumber_; }
    const std::string& fallback() const { return fallback_; }
    const std::string& detail() const { return detail_; }

    // The message in the language of the texts (the German text when the language has none).
    std::string Message(const LanguageTexts& texts) const;

private:
    CoreError(int textNumber, std::string fallback, std::string detail);

    int textNumber_;
    std::string fallback_;
    std::string detail_;
};

// What the user reads of a failure: a CoreError in the language of the texts, any other
// exception by its own text.
std::string MessageOf(const std::exception& error, const LanguageTexts& texts);
