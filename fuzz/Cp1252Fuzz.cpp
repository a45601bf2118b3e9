// Windows-1252 text: decoding gives well-formed UTF-8 that encodes back to the same bytes; the
// text helpers take any bytes.
#include "FuzzSupport.h"

#include "base/Cp1252.h"
#include "lang/TextDecoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    const std::string text = Cp1252ToUtf8(input);
    fuzz::Check(IsValidUtf8(text), "decoded Windows-1252 is not UTF-8");
    fuzz::Check(Utf8ToCp1252(text) == input, "Windows-1252 does not encode back to its bytes");
    fuzz::Check(IsValidUtf8(DecodeTextFile(input)), "a decoded text file is not UTF-8");
    fuzz::Check(IsValidUtf8(DecodeSettingsFile(input)), "a decoded settings file is not UTF-8");
    const std::size_t length = Utf8Length(input);
    const std::string left = Utf8Left(input, size / 2);
    fuzz::Check(left.size() <= size && length <= size, "UTF-8 helpers went past the text");
    Utf8ToCp1252(input); // arbitrary bytes as if they were UTF-8
    return 0;
}
