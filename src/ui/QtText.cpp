#include "ui/QtText.h"

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString TextOr(const std::string& text, std::string_view builtIn) {
    return ToQString(text.empty() ? builtIn : std::string_view(text));
}
