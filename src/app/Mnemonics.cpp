#include "app/Mnemonics.h"

#include <cctype>
#include <set>

namespace {

bool IsMnemonicCandidate(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 && static_cast<unsigned char>(c) < 0x80;
}

char Folded(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string EscapeAmpersands(const std::string& caption) {
    std::string escaped;
    for (char c : caption) {
        if (c == '&')
            escaped += '&';
        escaped += c;
    }
    return escaped;
}

} // namespace

std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions) {
    std::set<char> taken;
    std::vector<std::string> result;
    result.reserve(captions.size());
    for (const std::string& caption : captions) {
        std::string marked = EscapeAmpersands(caption);
        for (std::size_t i = 0; i < marked.size(); ++i) {
            if (marked[i] == '&') {
                ++i; // an escaped "&&"
                continue;
            }
            if (IsMnemonicCandidate(marked[i]) && taken.insert(Folded(marked[i])).second) {
                marked.insert(i, 1, '&');
                break;
            }
        }
        result.push_back(std::move(marked));
    }
    return result;
}

std::string WithoutMnemonic(const std::string& caption) {
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}
