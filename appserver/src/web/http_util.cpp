#include "web/http_util.hpp"

#include <cstdint>

namespace durnak::server::web {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<std::string> percentDecode(std::string_view text, bool plusIsSpace)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            if (i + 2 >= text.size()) return std::nullopt;
            const int hi = hexValue(text[i + 1]);
            const int lo = hexValue(text[i + 2]);
            if (hi < 0 || lo < 0) return std::nullopt;
            c = static_cast<char>(hi * 16 + lo);
            i += 2;
        } else if (c == '+' && plusIsSpace) {
            c = ' ';
        }
        if (c == '\0') return std::nullopt;
        out.push_back(c);
    }
    return out;
}

std::optional<std::map<std::string, std::string>> parseQuery(std::string_view query)
{
    std::map<std::string, std::string> fields;
    while (!query.empty()) {
        const auto amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        if (pair.empty()) continue;
        const auto eq = pair.find('=');
        auto key = percentDecode(pair.substr(0, eq), true);
        auto value = percentDecode(eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1), true);
        if (!key || !value) return std::nullopt;
        fields.emplace(std::move(*key), std::move(*value));
    }
    return fields;
}

std::optional<Target> splitTarget(std::string_view target)
{
    if (target.empty() || target.front() != '/') return std::nullopt;
    const auto q = target.find('?');
    auto path = percentDecode(target.substr(0, q), false);
    if (!path) return std::nullopt;
    if (path->find('\\') != std::string::npos) return std::nullopt;
    // Dot segments, however they were spelled before decoding.
    std::string_view rest = *path;
    while (!rest.empty()) {
        rest.remove_prefix(1);  // the '/'
        const auto slash = rest.find('/');
        const std::string_view segment = rest.substr(0, slash);
        if (segment == "." || segment == "..") return std::nullopt;
        if (slash == std::string_view::npos) break;
        rest = rest.substr(slash);
    }
    Target result;
    result.path = std::move(*path);
    if (q != std::string_view::npos) result.query = std::string(target.substr(q + 1));
    return result;
}

std::string escapeHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string asciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool isCleanUtf8(std::string_view text, bool allowLineBreaks)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            if (c == 0x7f) return false;
            if (c < 0x20 && c != '\t' && !(allowLineBreaks && (c == '\n' || c == '\r'))) return false;
            ++p;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        if (c >= 0xc2 && c <= 0xdf) { extra = 1; cp = c & 0x1f; }
        else if (c >= 0xe0 && c <= 0xef) { extra = 2; cp = c & 0x0f; }
        else if (c >= 0xf0 && c <= 0xf4) { extra = 3; cp = c & 0x07; }
        else return false;
        if (end - p <= extra) return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xc0) != 0x80) return false;
            cp = (cp << 6) | (p[i] & 0x3f);
        }
        // Overlong forms, surrogates and values past Unicode.
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10ffff)) ||
            (cp >= 0xd800 && cp <= 0xdfff))
            return false;
        if (cp >= 0x80 && cp < 0xa0) return false;  // C1 controls
        p += extra + 1;
    }
    return true;
}

} // namespace durnak::server::web
