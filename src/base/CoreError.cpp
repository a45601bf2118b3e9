#include "base/CoreError.h"

#include "base/LanguageTexts.h"

namespace {
std::string Substitute(std::string text, const std::string& detail) {
    const auto at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, detail);
    return text;
}
} // namespace

CoreError::CoreError(int textNumber, std::string detail)
    : CoreError(textNumber, std::string(GermanMessageText(textNumber)), std::move(detail)) {}

CoreError::CoreError(int textNumber, std::string fallback, std::string detail)
    : std::runtime_error(Substitute(fallback, detail)), textNumber_(textNumber),
      fallback_(std::move(fallback)), detail_(std::move(detail)) {}

CoreError CoreError::WithText(std::string text, std::string detail) {
    return CoreError(0, std::move(text), std::move(detail));
}

std::string MessageOf(const std::exception& error, const LanguageTexts& texts) {
    const auto* coreError = dynamic_cast<const CoreError*>(&error);
    return coreError != nullptr ? coreError->Message(texts) : std::string(error.what());
}

std::string CoreError::Message(const LanguageTexts& texts) const {
    const std::string& text = textNumber_ > 0 ? texts[textNumber_] : std::string();
    return Substitute(text.empty() ? fallback_ : text, detail_);
}
