#include "domain/search_text.hpp"

#include <cstdint>

namespace durnak::server::domain {
namespace {

// Decodes one UTF-8 sequence at text[i]; a malformed byte comes back as itself.
char32_t nextCodePoint(std::string_view text, std::size_t& i)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    auto cont = [&](std::size_t k) -> int {
        if (i + k >= text.size()) return -1;
        const auto b = static_cast<unsigned char>(text[i + k]);
        return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
    };
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0) {
        const int c1 = cont(1);
        if (c1 >= 0) {
            i += 2;
            return (char32_t(b0 & 0x1F) << 6) | char32_t(c1);
        }
    } else if ((b0 & 0xF0) == 0xE0) {
        const int c1 = cont(1), c2 = cont(2);
        if (c1 >= 0 && c2 >= 0) {
            i += 3;
            return (char32_t(b0 & 0x0F) << 12) | (char32_t(c1) << 6) | char32_t(c2);
        }
    } else if ((b0 & 0xF8) == 0xF0) {
        const int c1 = cont(1), c2 = cont(2), c3 = cont(3);
        if (c1 >= 0 && c2 >= 0 && c3 >= 0) {
            i += 4;
            return (char32_t(b0 & 0x07) << 18) | (char32_t(c1) << 12) | (char32_t(c2) << 6) | char32_t(c3);
        }
    }
    ++i;
    return 0xFFFD;
}

char foldCodePoint(char32_t c)
{
    if (c < 0x80) {
        if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
        return static_cast<char>(c);
    }
    switch (c) {
    case U'ş': case U'Ş': return 'S';
    case U'ı': case U'İ': case U'î': case U'Î': case U'ì': case U'í': return 'I';
    case U'ğ': case U'Ğ': return 'G';
    case U'ü': case U'Ü': case U'û': case U'Û': case U'ù': case U'ú': return 'U';
    case U'ö': case U'Ö': case U'ô': case U'Ô': case U'ò': case U'ó': return 'O';
    case U'ç': case U'Ç': return 'C';
    case U'â': case U'Â': case U'à': case U'á': case U'ä': case U'Ä': return 'A';
    case U'é': case U'è': case U'ê': case U'ë': case U'É': return 'E';
    default: return 0;
    }
}

bool isWordChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

} // namespace

std::string foldText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char c = foldCodePoint(nextCodePoint(utf8, i));
        if (c) out += c;
    }
    return out;
}

std::string codeKey(std::string_view utf8)
{
    std::string out;
    for (char c : foldText(utf8))
        if (isWordChar(c)) out += c;
    return out;
}

std::vector<std::string> searchWords(std::string_view utf8)
{
    std::vector<std::string> words;
    std::string current;
    for (char c : foldText(utf8)) {
        if (isWordChar(c)) {
            current += c;
        } else if (!current.empty()) {
            words.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty()) words.push_back(std::move(current));
    return words;
}

std::string ftsPhrase(std::string_view column, std::string_view foldedWord)
{
    std::string out(column);
    out += " : \"";
    for (char c : foldedWord)
        if (c != '"') out += c;
    out += '"';
    return out;
}

} // namespace durnak::server::domain
