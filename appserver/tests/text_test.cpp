#include <gtest/gtest.h>

#include "text.hpp"

namespace durnak::server {
namespace {

TEST(ReverseCodePoints, KeepsMultiByteLettersWhole)
{
    struct Case {
        std::string_view input;
        std::string_view expected;
    };
    const Case cases[] = {
        {"", ""},
        {"a", "a"},
        {"abc", "cba"},
        {"İstanbul", "lubnatsİ"},
        {"ğüşıöç ĞÜŞİÖÇ", "ÇÖİŞÜĞ çöışüğ"},
        {"a€b", "b€a"},                        // three bytes
        {"x😀y", "y😀x"},                      // four bytes
        {std::string_view("a\0b", 3), std::string_view("b\0a", 3)},
        {"a\xff" "b", "b\xff" "a"},            // stray byte kept as a unit
        {"\xc4", "\xc4"},                      // sequence cut short
        {"\xc4" "a", "a\xc4"},                 // lead byte without its continuation
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.input));
        EXPECT_EQ(reverseCodePoints(c.input), c.expected);
    }
}

} // namespace
} // namespace durnak::server
