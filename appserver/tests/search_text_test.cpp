#include <gtest/gtest.h>

#include "domain/search_text.hpp"

namespace durnak::server::domain {
namespace {

TEST(SearchText, FoldsTurkishLettersToPlainCapitals)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"şanzıman", "SANZIMAN"},
        {"ŞANZIMAN", "SANZIMAN"},
        {"Fren Balatası Ön", "FREN BALATASI ON"},
        {"çğıöşü ÇĞİÖŞÜ iI", "CGIOSU CGIOSU II"},
        {"Yağ Filtresi", "YAG FILTRESI"},
        {"a'b\"c;--", "A'B\"C;--"},
        {"", ""},
        {"\xff\xfe bozuk", " BOZUK"},  // malformed bytes are dropped, never crash
    };
    for (const auto& c : cases) EXPECT_EQ(foldText(c.in), c.out) << c.in;
}

TEST(SearchText, CodeKeysIgnoreSeparators)
{
    EXPECT_EQ(codeKey("04E 115-561.h"), "04E115561H");
    EXPECT_EQ(codeKey("FB-000123"), "FB000123");
    EXPECT_EQ(codeKey(" -./ "), "");
}

TEST(SearchText, WordsAndPhrases)
{
    EXPECT_EQ(searchWords("  fren,  balata ön "), (std::vector<std::string>{"FREN", "BALATA", "ON"}));
    EXPECT_TRUE(searchWords("--").empty());
    // Quotes cannot reach the FTS query: folding keeps them, the phrase drops them.
    EXPECT_EQ(ftsPhrase("words", "A\"B"), "words : \"AB\"");
}

} // namespace
} // namespace durnak::server::domain
