#include "text.hpp"

#include <vector>

namespace durnak::server {
namespace {

// Length of the well-formed UTF-8 sequence at the start of s, or 1 for a stray byte.
std::size_t sequenceLength(std::string_view s)
{
    const auto lead = static_cast<unsigned char>(s[0]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    if (length > s.size()) return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
    }
    return length;
}

} // namespace

std::string reverseCodePoints(std::string_view text)
{
    const std::size_t size = text.size();
    std::vector<std::string_view> units;
    units.reserve(size);
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        units.push_back(text.substr(0, length));
        text.remove_prefix(length);
    }
    std::string reversed;
    reversed.reserve(size);
    for (auto it = units.rbegin(); it != units.rend(); ++it) reversed.append(*it);
    return reversed;
}

} // namespace durnak::server
