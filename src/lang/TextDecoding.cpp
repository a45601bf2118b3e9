#include "lang/TextDecoding.h"

#include "base/Cp1252.h"

namespace {
constexpr std::string_view Utf8Bom = Utf8ByteOrderMark;

bool HasNonAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// The text behind a byte-order mark: UTF-8 when it is; a mark in front of bytes that are not
// UTF-8 is a wrong label, and the bytes are the program's usual Windows-1252.
std::string DecodeAfterByteOrderMark(std::string_view bytes) {
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}
} // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= bytes.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::string DecodeTextFile(std::string_view bytes) {
    if (bytes.starts_with(Utf8Bom))
        return DecodeAfterByteOrderMark(bytes.substr(Utf8Bom.size()));
    if (HasNonAscii(bytes) && IsValidUtf8(bytes))
        return std::string(bytes);
    return Cp1252ToUtf8(bytes);
}

std::string DecodeSettingsFile(std::string_view bytes) {
    if (bytes.starts_with(Utf8Bom))
        return DecodeAfterByteOrderMark(bytes.substr(Utf8Bom.size()));
    return Cp1252ToUtf8(bytes);
}
