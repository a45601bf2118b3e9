// The settings file: lengths come out where the buttons can step them, stepping keeps them in
// order and range, and what is written reads back identically.
#include "FuzzSupport.h"

#include "base/Cp1252.h"
#include "settings/IniFile.h"
#include "settings/LengthThresholdSteps.h"
#include "settings/SettingsStore.h"

#include <fstream>

namespace {
void CheckSteppable(const LengthThresholds& t) {
    fuzz::Check(t.PkwMinLength >= 0 && t.PkwMinLength <= LongestLzMinLength - 2, "PKW length out of range");
    fuzz::Check(t.LkwMinLength >= 1 && t.LkwMinLength <= LongestLzMinLength - 1, "LKW length out of range");
    fuzz::Check(t.LzMinLength >= 2 && t.LzMinLength <= LongestLzMinLength, "LZ length out of range");
}

bool SameSettings(const Settings& a, const Settings& b) {
    return a.LanguageFile == b.LanguageFile && a.Lengths.PkwMinLength == b.Lengths.PkwMinLength &&
           a.Lengths.LkwMinLength == b.Lengths.LkwMinLength &&
           a.Lengths.LzMinLength == b.Lengths.LzMinLength && a.AboveLimitStyle == b.AboveLimitStyle &&
           a.CalcV50 == b.CalcV50 && a.VLowIndex == b.VLowIndex && a.VHighIndex == b.VHighIndex &&
           a.DataPath == b.DataPath && a.CardPath == b.CardPath;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string file = fuzz::Scratch("korvelan2.ini").string();
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(input.data(), static_cast<std::streamsize>(input.size()));
    }
    IniFile ini(file);
    LoadedConfig config = LoadConfig(ini, "/prog/");
    CheckSteppable(config.settings.Lengths);

    // The settings dialog's length buttons, each pressed a few times, in an order from the input.
    using Press = void (*)(LengthThresholds&);
    constexpr Press presses[6] = {PkwLengthUp,   PkwLengthDown, LkwLengthUp,
                                  LkwLengthDown, LzLengthUp,    LzLengthDown};
    for (std::size_t k = 0; k < std::min<std::size_t>(size, 64); ++k) {
        presses[bytes[k] % 6](config.settings.Lengths);
        CheckSteppable(config.settings.Lengths);
    }

    // A folder name from the input (one line, as a path field holds it) is written and read back.
    std::string folder = Cp1252ToUtf8(input.substr(0, std::min<std::size_t>(size, 40)));
    std::erase_if(folder, [](char c) { return c == '\r' || c == '\n'; });
    config.settings.DataPath = folder;
    try {
        WriteConfig(ini, config.settings);
    } catch (const CoreError&) {
        return 0;
    }
    const IniFile reread(file);
    fuzz::Check(reread.ReadString("DefaultPath", "DataPath", "") == folder, "the folder did not read back");
    const Settings again = LoadConfig(reread, "/prog/").settings;
    Settings expected = config.settings;
    if (expected.DataPath.empty())
        expected.DataPath = "/prog/";
    fuzz::Check(SameSettings(again, expected), "the settings did not read back");
    return 0;
}
