// Language files: whatever the bytes, every text the program then shows is well-formed UTF-8.
#include "FuzzSupport.h"

#include "lang/LanguageFile.h"
#include "lang/TextDecoding.h"

#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string file = fuzz::Scratch("fuzz.cty").string();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    }
    LanguageTexts texts;
    try {
        LoadLanguageFile(file, texts);
    } catch (const CoreError&) {
        return 0;
    }
    for (int n = 1; n <= LanguageTexts::Count; ++n)
        fuzz::Check(IsValidUtf8(texts[n]), "a language text is not UTF-8");
    return 0;
}
