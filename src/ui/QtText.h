#pragma once
// The one conversion between the core's UTF-8 strings and Qt's strings.

#include <QString>

#include <string>
#include <string_view>

QString ToQString(std::string_view text);

// A language text, or the window's own built-in wording when the language file leaves it empty.
QString TextOr(const std::string& text, std::string_view builtIn);
