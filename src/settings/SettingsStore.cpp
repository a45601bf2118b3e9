#include "settings/SettingsStore.h"

#include "settings/LengthThresholdSteps.h"

#include "base/FileSystem.h"

#include "data/TextFormat.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {
constexpr std::array<std::string_view, 5> LowWords = {"V05", "V10", "V15", "V20", "V25"};
constexpr std::array<std::string_view, 5> HighWords = {"V75", "V80", "V85", "V90", "V95"};

// Exact comparison; any other word selects the last choice (V25, V95).
std::int32_t IndexOfWord(const std::array<std::string_view, 5>& words, std::string_view word) {
    for (std::size_t i = 0; i + 1 < words.size(); ++i)
        if (words[i] == word)
            return static_cast<std::int32_t>(i);
    return static_cast<std::int32_t>(words.size() - 1);
}

std::string_view WordOfIndex(const std::array<std::string_view, 5>& words, std::int32_t index) {
    const std::int32_t last = static_cast<std::int32_t>(words.size()) - 1;
    return words[static_cast<std::size_t>(index < 0 ? 0 : index > last ? last : index)];
}

bool DirectoryWritable(const std::string& directory) {
    return FileSystem::IsWritable(directory);
}

bool FileWritableOrAbsent(const std::string& path) {
    std::error_code error;
    return !std::filesystem::exists(path, error) || FileSystem::IsWritable(path);
}

// A length setting as a whole number; not a number keeps the default and is noted for the user.
std::int32_t ReadLength(const IniFile& ini, std::string_view key, std::int32_t defaultValue,
                        std::string& problems) {
    const auto text = ini.Find("Length", key);
    if (!text)
        return defaultValue;
    if (const auto value = StrToIntStrict(*text))
        return *value;
    if (!problems.empty())
        problems += ", ";
    problems += std::string(key) + "=" + *text;
    return defaultValue;
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Blanks around each comma-separated item dropped; blanks inside an item stay (and are refused).
std::string WithoutBlanksAroundItems(std::string_view text) {
    std::string plain;
    while (true) {
        const std::size_t comma = text.find(',');
        plain += Trimmed(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return plain;
        plain += ',';
        text.remove_prefix(comma + 1);
    }
}

std::string FolderOrProgram(std::string folder, const std::string& programDirectory) {
    return folder.empty() ? programDirectory : folder;
}
} // namespace

std::int32_t AboveLimitStyleOfWord(std::string_view word) {
    return word == "Area" ? 1 : 0;
}
std::int32_t CalcV50OfWord(std::string_view word) {
    return word == "Mean" ? 1 : 0;
}
std::int32_t VLowIndexOfWord(std::string_view word) {
    return IndexOfWord(LowWords, word);
}
std::int32_t VHighIndexOfWord(std::string_view word) {
    return IndexOfWord(HighWords, word);
}
std::string_view AboveLimitWord(std::int32_t style) {
    return style == 0 ? "Line" : "Area";
}
std::string_view CalcV50Word(std::int32_t calc) {
    return calc == 0 ? "Count" : "Mean";
}
std::string_view VLowWord(std::int32_t index) {
    return WordOfIndex(LowWords, index);
}
std::string_view VHighWord(std::int32_t index) {
    return WordOfIndex(HighWords, index);
}

SettingsFileLocation LocateSettingsFile(const std::string& programDirectory, bool programFolderWritable,
                                        std::string_view xdgConfigHome, std::string_view home) {
    const std::string besideProgram = programDirectory + std::string(SettingsFileName);
    if (programFolderWritable)
        return {besideProgram, {}};

    std::string configFolder;
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/')
        configFolder = std::string(xdgConfigHome);
    else if (!home.empty())
        configFolder = std::string(home) + "/.config";
    else
        return {besideProgram, {}}; // nowhere else to go; a write reports the problem
    return {configFolder + "/korvelan2/" + std::string(SettingsFileName), besideProgram};
}

SettingsFileLocation LocateSettingsFile(const std::string& programDirectory) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const bool writable = DirectoryWritable(programDirectory) &&
                          FileWritableOrAbsent(programDirectory + std::string(SettingsFileName));
    return LocateSettingsFile(programDirectory, writable, xdg ? xdg : "", home ? home : "");
}

IniFile OpenSettingsFile(const std::string& programDirectory) {
    SettingsFileLocation location = LocateSettingsFile(programDirectory);
    return IniFile(std::move(location.path), std::move(location.seedPath));
}

LoadedConfig LoadConfig(const IniFile& ini, const std::string& programDirectory) {
    LoadedConfig result;
    Settings& s = result.settings;
    const Settings defaults;
    std::string problems;

    s.LanguageFile = ini.ReadString("Language", "LFile", defaults.LanguageFile);
    s.Lengths.PkwMinLength = ReadLength(ini, "PKW", defaults.Lengths.PkwMinLength, problems);
    s.Lengths.LkwMinLength = ReadLength(ini, "LKW", defaults.Lengths.LkwMinLength, problems);
    s.Lengths.LzMinLength = ReadLength(ini, "LZ", defaults.Lengths.LzMinLength, problems);
    s.Lengths = SteppableLengths(s.Lengths);
    s.AboveLimitStyle = AboveLimitStyleOfWord(ini.ReadString("Diagram", "AboveLimit", "Line"));
    s.CalcV50 = CalcV50OfWord(ini.ReadString("Calculation", "CalcV50", "Count"));
    s.VLowIndex = VLowIndexOfWord(ini.ReadString("Calculation", "VLow", "V15"));
    s.VHighIndex = VHighIndexOfWord(ini.ReadString("Calculation", "VHigh", "V85"));
    s.DataPath = FolderOrProgram(ini.ReadString("DefaultPath", "DataPath", ""), programDirectory);
    s.CardPath = FolderOrProgram(ini.ReadString("DefaultPath", "CardPath", ""), programDirectory);
    s.LanguageSwitchShown = ini.ReadString("Language", "change", "no") == "yes";
    s.PeloEnabled = ini.ReadString("Diagram", "Pelo", "no") == "yes";
    // A value that does not parse (edited by hand) keeps the default.
    if (const auto gap = ParseFreeFlowGap(ini.ReadString("Statistics", "FreeFlowGap", "")))
        s.FreeFlowGapSeconds = *gap;
    if (const auto thresholds = ParseThresholds(ini.ReadString("Statistics", "Thresholds", "")))
        s.SpeedThresholds = *thresholds;

    if (ini.ReadFailed())
        result.warning = CoreError(ProgramMessage::SettingsUnreadable, ini.Path());
    else if (!problems.empty())
        result.warning = CoreError(ProgramMessage::SettingsLengthNotWhole, problems);
    return result;
}

void WriteConfig(IniFile& ini, const Settings& settings) {
    ini.WriteString("Length", "PKW", IntToStr(settings.Lengths.PkwMinLength));
    ini.WriteString("Length", "LKW", IntToStr(settings.Lengths.LkwMinLength));
    ini.WriteString("Length", "LZ", IntToStr(settings.Lengths.LzMinLength));
    ini.WriteString("Diagram", "AboveLimit", AboveLimitWord(settings.AboveLimitStyle));
    ini.WriteString("Calculation", "CalcV50", CalcV50Word(settings.CalcV50));
    ini.WriteString("DefaultPath", "DataPath", settings.DataPath);
    ini.WriteString("DefaultPath", "CardPath", settings.CardPath);
    ini.WriteString("Calculation", "VLow", VLowWord(settings.VLowIndex));
    ini.WriteString("Calculation", "VHigh", VHighWord(settings.VHighIndex));
    ini.WriteString("Statistics", "FreeFlowGap", FreeFlowGapText(settings.FreeFlowGapSeconds));
    ini.WriteString("Statistics", "Thresholds", ThresholdsText(settings.SpeedThresholds));
}

std::optional<double> ParseFreeFlowGap(std::string_view text) {
    std::string plain(text);
    std::replace(plain.begin(), plain.end(), ',', '.');
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value) || value <= 0 ||
        value > 86400)
        return std::nullopt;
    return value;
}

std::optional<std::vector<int>> ParseThresholds(std::string_view text) {
    std::vector<int> thresholds;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        int value = -1;
        const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
        if (item.empty() || error != std::errc() || end != item.data() + item.size() || value < 0 ||
            value > 255)
            return std::nullopt;
        thresholds.push_back(value);
        if (comma == std::string_view::npos)
            return thresholds;
        text.remove_prefix(comma + 1);
    }
}

std::string FreeFlowGapText(double seconds) {
    // The shortest text that reads back as the same number, independent of the C locale.
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), seconds);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string();
}

std::string ThresholdsText(const std::vector<int>& thresholds) {
    std::string text;
    for (const int threshold : thresholds) {
        if (!text.empty())
            text += ',';
        text += std::to_string(threshold);
    }
    return text;
}

std::optional<double> FreeFlowGapOfEntry(std::string_view entry) {
    return ParseFreeFlowGap(Trimmed(entry));
}

std::optional<std::vector<int>> ThresholdsOfEntry(std::string_view entry) {
    const std::string plain = WithoutBlanksAroundItems(entry);
    if (Trimmed(entry).empty())
        return std::vector<int>{};
    return ParseThresholds(plain);
}
