#include "app/Logo.h"

#include "base/Cp1252.h"

#include <fstream>
#include <iterator>

std::string RevisionText() {
    return std::string("Rev. ") + ProgramVersion;
}

namespace {

// Position of the first line end at or after pos (or the size).
std::size_t LineEnd(std::string_view bytes, std::size_t pos) {
    const auto end = bytes.find_first_of("\r\n", pos);
    return end == std::string_view::npos ? bytes.size() : end;
}

// Position after the line end at pos (CR LF counts as one).
std::size_t SkipLineEnd(std::string_view bytes, std::size_t pos) {
    if (pos < bytes.size() && bytes[pos] == '\r')
        ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n')
        ++pos;
    return pos;
}

} // namespace

LogoText ParseLogoText(std::string_view bytes) {
    LogoText logo;
    std::size_t pos = LineEnd(bytes, 0);
    logo.Name = Cp1252ToUtf8(bytes.substr(0, pos));
    // The reading stays before the first line end, so the first pass takes the empty rest of
    // line 1; every pass appends one line.
    std::string address;
    while (pos < bytes.size()) {
        const std::size_t end = LineEnd(bytes, pos);
        address.append(bytes.substr(pos, end - pos));
        address += '\n';
        pos = SkipLineEnd(bytes, end);
    }
    logo.Address = Cp1252ToUtf8(address);
    return logo;
}

std::optional<LogoText> ReadLogoText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return ParseLogoText(bytes);
}
