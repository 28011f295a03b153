#pragma once

// Direct JSON text writing for the bulky parts of a message (tables), so encoding does
// not build a document first.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "durnak/protocol/error.hpp"

namespace durnak::protocol::detail {

inline void writeJsonString(std::string& out, std::string_view s)
{
    static constexpr char hex[] = "0123456789abcdef";
    out.push_back('"');
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(s.data() + runStart, i - runStart);
        runStart = i + 1;
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        default:
            out.append("\\u00");
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    out.append(s.data() + runStart, s.size() - runStart);
    out.push_back('"');
}

inline void writeJsonInt(std::string& out, std::int64_t v)
{
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    out.append(buf, end);
}

// Shortest text that reads back to the same double.
inline void writeJsonDouble(std::string& out, double v)
{
    if (!std::isfinite(v)) throw ProtocolError("Sayı değeri sonlu olmalı");
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    out.append(buf, end);
}

} // namespace durnak::protocol::detail
