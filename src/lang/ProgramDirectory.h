#pragma once
// The folder of the running program, where both fronts find the language files, logo.txt and
// (when it is writable) the settings file.

#include <string>

// The folder of the running executable with a trailing "/"; the current folder when the
// executable cannot be determined.
std::string ProgramDirectory();
