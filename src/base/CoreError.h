#pragma once
// The error the core reports to its fronts. A message has a language-text number (so that the
// user reads it in the chosen language) and a German fallback text for when that text is empty;
// "%s" in either is replaced by the detail (a file name, a number, a line).
//
// Numbers 400..499 are the program's own messages: 400..419 data files, 420..429 language and
// settings, 430..449 evaluation, 450..479 cards and import, 480..499 charts, printing, program.
// Number 0 means the fallback is the message in every language ("Keine Korvelan - Datei").

#include <stdexcept>
#include <string>

class LanguageTexts;

class CoreError : public std::runtime_error {
public:
    static constexpr int CapacityExceeded = 400;

    CoreError(int textNumber, std::string detail);
    CoreError(int textNumber, std::string fallback, std::string detail);

    int textNumber() const { return textNumber_; }
    const std::string& fallback() const { return fallback_; }
    const std::string& detail() const { return detail_; }

    // The message in the language of the texts (the fallback when the text is empty).
    std::string Message(const LanguageTexts& texts) const;

private:
    int textNumber_;
    std::string fallback_;
    std::string detail_;
};

// The German text of the messages that several units raise.
std::string DefaultErrorText(int textNumber);
