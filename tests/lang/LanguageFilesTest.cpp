// The shipped language files must give every text the program uses, in all three languages.

#include "base/Cp1252.h"
#include "base/ProgramMessages.h"
#include "lang/LanguageFile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <vector>

namespace {
namespace fs = std::filesystem;

const char* const Files[] = {"deutsch.cty", "english.cty", "francais.cty"};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Numbers that are not written as texts[N] in the code: the tables of controls, the texts
// chosen by arithmetic (103 + group, 60 + percentile index, ...) and the dialog texts.
std::set<int> NumbersOfTheTables() {
    std::set<int> numbers = {1, 2, 3, 4, 5, 24, 25, 26, 30, 35, 36, 37, 81, 82, 260, 261, 270, 271, 272};
    const std::pair<int, int> ranges[] = {{10, 16},   {20, 21},   {40, 80},   {83, 96},
                                          {100, 119}, {130, 137}, {140, 154}, {190, 193},
                                          {200, 214}, {218, 221}, {240, 252}};
    for (const auto& [first, last] : ranges)
        for (int n = first; n <= last; ++n)
            numbers.insert(n);
    return numbers;
}

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::size_t SkipBlanks(const std::string& code, std::size_t i) {
    while (i < code.size() && std::isspace(static_cast<unsigned char>(code[i])))
        ++i;
    return i;
}

// The decimal literal at code[i] (after blanks), or -1; `i` moves past it.
int LiteralAt(const std::string& code, std::size_t& i) {
    i = SkipBlanks(code, i);
    const std::size_t start = i;
    while (i < code.size() && std::isdigit(static_cast<unsigned char>(code[i])))
        ++i;
    return i > start && i - start < 6 ? std::stoi(code.substr(start, i - start)) : -1;
}

// texts[N] with any identifier holding "texts"/"Texts" before the bracket.
void CollectTextUses(const std::string& code, std::set<int>& numbers) {
    for (std::size_t open = code.find('['); open != std::string::npos; open = code.find('[', open + 1)) {
        std::size_t end = open;
        while (end > 0 && std::isspace(static_cast<unsigned char>(code[end - 1])))
            --end;
        std::size_t begin = end;
        while (begin > 0 && IsWordChar(code[begin - 1]))
            --begin;
        const std::string name = code.substr(begin, end - begin);
        if (name.find("texts") == std::string::npos && name.find("Texts") == std::string::npos)
            continue;
        std::size_t i = open + 1;
        const int n = LiteralAt(code, i);
        if (n >= 0 && SkipBlanks(code, i) < code.size() && code[SkipBlanks(code, i)] == ']')
            numbers.insert(n);
    }
}

using Constants = std::multimap<std::string, int>;

// Integer constants of the sources ("constexpr int CannotOpen = 401;"), by name.
void CollectConstants(const std::string& code, Constants& constants) {
    static const std::regex constant(R"(constexpr\s+int\s+(\w+)\s*=\s*(\d{1,5})\s*;)");
    std::size_t start = 0;
    while (start < code.size()) {
        auto end = code.find('\n', start);
        if (end == std::string::npos)
            end = code.size();
        const std::string line = code.substr(start, end - start);
        if (line.find("constexpr") != std::string::npos)
            for (std::sregex_iterator it(line.begin(), line.end(), constant), stop; it != stop; ++it)
                constants.emplace((*it)[1], std::stoi((*it)[2]));
        start = end + 1;
    }
}

// The first argument of every call of a function named "...Error" (CoreError, CardError, ...):
// a literal, or a constant (also qualified: ProgramMessage::CapacityExceeded, ProgramMessage::CannotOpen).
void CollectErrorUses(const std::string& code, const Constants& constants, std::set<int>& numbers) {
    const std::string word = "Error";
    for (std::size_t at = code.find(word); at != std::string::npos; at = code.find(word, at + 1)) {
        const std::size_t afterName = at + word.size();
        if (afterName < code.size() && IsWordChar(code[afterName]))
            continue;
        std::size_t i = SkipBlanks(code, afterName);
        if (i >= code.size() || (code[i] != '(' && code[i] != '{'))
            continue;
        std::size_t j = i + 1;
        if (const int n = LiteralAt(code, j); n >= 0) {
            if (SkipBlanks(code, j) < code.size() && code[SkipBlanks(code, j)] == ',')
                numbers.insert(n);
            continue;
        }
        j = SkipBlanks(code, i + 1);
        std::size_t k = j;
        while (k < code.size() && (IsWordChar(code[k]) || code[k] == ':'))
            ++k;
        const std::string qualified = code.substr(j, k - j);
        const std::string name =
            qualified.substr(qualified.rfind(':') == std::string::npos ? 0 : qualified.rfind(':') + 1);
        const auto [first, last] = constants.equal_range(name);
        for (auto it = first; it != last; ++it)
            numbers.insert(it->second);
    }
}

// Every number the sources name.
const std::set<int>& NumbersInTheSources() {
    static const std::set<int> numbers = [] {
        std::vector<std::string> sources;
        for (const auto& entry : fs::recursive_directory_iterator(KORVELAN_SOURCE_DIR)) {
            const auto ext = entry.path().extension();
            if (ext == ".cpp" || ext == ".h")
                sources.push_back(ReadBytes(entry.path()));
        }
        Constants constants;
        for (const std::string& code : sources)
            CollectConstants(code, constants);
        std::set<int> found;
        for (const std::string& code : sources) {
            CollectTextUses(code, found);
            CollectErrorUses(code, constants, found);
        }
        // 0 is the message that carries its text itself; other numbers are no text numbers.
        std::erase_if(found, [](int n) { return n < 1 || n > LanguageTexts::Count; });
        return found;
    }();
    return numbers;
}

LanguageTexts Load(const char* name) {
    LanguageTexts texts;
    LoadLanguageFile((fs::path(KORVELAN_RESOURCES) / name).string(), texts);
    return texts;
}
} // namespace

TEST(LanguageFiles, FindTheTextNumbersInTheSources) {
    const auto numbers = NumbersInTheSources();
    // The scan must see the uses that exist: the capacity message and the settings messages.
    EXPECT_TRUE(numbers.contains(400));
    EXPECT_TRUE(numbers.contains(420));
    EXPECT_TRUE(numbers.contains(421));
}

TEST(LanguageFiles, HoldEveryTextTheProgramUses) {
    auto numbers = NumbersOfTheTables();
    for (const ProgramMessageText& message : ProgramMessages())
        if (message.number > 0) // 0: the same text in every language
            numbers.insert(message.number);
    numbers.insert(NumbersInTheSources().begin(), NumbersInTheSources().end());
    for (const char* name : Files) {
        const LanguageTexts texts = Load(name);
        for (const int n : numbers)
            EXPECT_FALSE(texts[n].empty()) << name << " lacks text " << n;
    }
}

TEST(LanguageFiles, AreSortedWindows1252LinesWithCrLf) {
    for (const char* name : Files) {
        const std::string bytes = ReadBytes(fs::path(KORVELAN_RESOURCES) / name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
        int previous = 0;
        std::size_t start = 0;
        while (start < bytes.size()) {
            const auto end = bytes.find('\n', start);
            ASSERT_NE(end, std::string::npos) << name;
            const std::string line = bytes.substr(start, end - start);
            start = end + 1;
            ASSERT_TRUE(line.ends_with('\r')) << name << ": " << line;
            const auto parsed = ParseLanguageLine(line.substr(0, line.size() - 1));
            ASSERT_TRUE(parsed) << name << ": " << line;
            EXPECT_GT(parsed->number, previous) << name << ": numbers ascend, each once";
            EXPECT_EQ(line.substr(0, line.find(' ')), std::to_string(parsed->number)) << name << ": " << line;
            previous = parsed->number;
            for (const unsigned char c : line) // bytes that Windows-1252 leaves undefined
                EXPECT_TRUE(c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D)
                    << name << ": " << line;
        }
    }
}

TEST(LanguageFiles, TableTextsFitTheirColumns) {
    for (const char* name : Files) {
        const LanguageTexts texts = Load(name);
        // Row labels stand in front of the 8-character cells of the overview.
        for (const int n : {202, 203, 204, 205, 206, 207, 208, 209, 210, 211, 212, 214})
            EXPECT_EQ(Utf8Length(texts[n]), 15u) << name << " text " << n << " '" << texts[n] << "'";
        EXPECT_LE(Utf8Length(texts[201]), 120u) << name;
        EXPECT_LE(Utf8Length(texts[221]), 75u) << name;
        // The printouts cut the 12-character record-number column off the list headings, so the
        // date heading must begin exactly in column 13.
        for (const int n : {81, 82}) {
            const std::string heading = Cp1252ToUtf8(Utf8ToCp1252(texts[n]));
            ASSERT_GT(Utf8Length(heading), 13u) << name;
            const std::string cut = Utf8Left(heading, 12);
            EXPECT_EQ(cut.back(), ' ') << name << " text " << n;
            EXPECT_NE(heading[cut.size()], ' ') << name << " text " << n;
        }
    }
}

TEST(LanguageFiles, MessagesKeepTheirPlaceholder) {
    const LanguageTexts german = Load("deutsch.cty");
    for (const char* name : Files) {
        const LanguageTexts texts = Load(name);
        for (int n = 400; n <= 499; ++n)
            EXPECT_EQ(texts[n].find("%s") != std::string::npos, german[n].find("%s") != std::string::npos)
                << name << " text " << n;
    }
}
