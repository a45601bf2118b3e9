#pragma once
// Reading and writing the persistent Settings in the settings file.

#include "base/CoreError.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings file's name; both fronts use the desktop program's, so they share one file.
inline constexpr std::string_view SettingsFileName = "korvelan2.ini";

struct SettingsFileLocation {
    std::string path;     // the file that is read and written
    std::string seedPath; // read instead while `path` does not exist yet; empty for none
};

// The program's folder + "korvelan2.ini" when that folder can be written to. An installed program
// cannot write beside itself: then the file is "korvelan2/korvelan2.ini" in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config), and a file beside the program serves
// as the starting content until the user's own file exists.
SettingsFileLocation LocateSettingsFile(const std::string& programDirectory, bool programFolderWritable,
                                        std::string_view xdgConfigHome, std::string_view home);
// The same for this process: its folder's permissions and its environment.
SettingsFileLocation LocateSettingsFile(const std::string& programDirectory);
// The settings file of this process, located as above.
IniFile OpenSettingsFile(const std::string& programDirectory);

struct LoadedConfig {
    Settings settings;
    // A message to show the user once at start: lengths that are not whole numbers (and fell
    // back to their defaults), or a settings file that could not be read.
    std::optional<CoreError> warning;
};

// Settings from the file, each missing key giving its default; unrecognised words map as the
// value-word table says; empty paths become the program's folder (with its trailing separator).
LoadedConfig LoadConfig(const IniFile& ini, const std::string& programDirectory);

// Writes the eleven changeable keys in their fixed order; LFile, change and Pelo are never written.
// Throws CoreError SettingsNotWritten when the file cannot be written.
void WriteConfig(IniFile& ini, const Settings& settings);

// A free-flow gap in seconds as written by a user ("5", "4.5", "4,5"); none unless a positive number.
std::optional<double> ParseFreeFlowGap(std::string_view text);
// Thresholds as written by a user ("50,60,70"): whole km/h 0..255; none for anything else.
std::optional<std::vector<int>> ParseThresholds(std::string_view text);

// The statistics settings as the file and the settings dialog show them: the gap with a decimal
// point and no trailing zeros ("5", "2.5"), the thresholds separated by commas ("" for none).
std::string FreeFlowGapText(double seconds);
std::string ThresholdsText(const std::vector<int>& thresholds);
// What a user typed: blanks around the numbers are ignored and a decimal comma is accepted; nullopt when the
// gap is not a positive number of seconds or a threshold not a whole km/h from 0 to 255. No thresholds at all
// (an empty entry) is valid and means the limit and the two steps above it.
std::optional<double> FreeFlowGapOfEntry(std::string_view entry);
std::optional<std::vector<int>> ThresholdsOfEntry(std::string_view entry);

// The value words of the file.
std::int32_t AboveLimitStyleOfWord(std::string_view word);
std::int32_t CalcV50OfWord(std::string_view word);
std::int32_t VLowIndexOfWord(std::string_view word);
std::int32_t VHighIndexOfWord(std::string_view word);
std::string_view AboveLimitWord(std::int32_t style);
std::string_view CalcV50Word(std::int32_t calc);
std::string_view VLowWord(std::int32_t index);
std::string_view VHighWord(std::int32_t index);
