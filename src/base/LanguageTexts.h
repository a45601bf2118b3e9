#pragma once
// The table of numbered user-interface texts (1..1000) filled from a language file.
// Texts are held as UTF-8; numbers outside 1..1000 read as the empty text.

#include <array>
#include <string>

class LanguageTexts {
public:
    static constexpr int Count = 1000;

    const std::string& operator[](int n) const {
        static const std::string empty;
        return n >= 1 && n <= Count ? texts_[static_cast<std::size_t>(n - 1)] : empty;
    }
    void Set(int n, std::string text) {
        if (n >= 1 && n <= Count)
            texts_[static_cast<std::size_t>(n - 1)] = std::move(text);
    }

private:
    std::array<std::string, Count> texts_{};
};
