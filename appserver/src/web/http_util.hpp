#pragma once

// Small pieces of HTTP and HTML handling that the web endpoints share; plain functions, so
// the awkward inputs can be tested without a socket.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace durnak::server::web {

// Percent-decoding; '+' becomes a blank only in form data. nullopt for a broken escape or a
// NUL byte, which no field of ours may hold.
std::optional<std::string> percentDecode(std::string_view text, bool plusIsSpace);

// "a=1&b=x%20y" as a map; the first of repeated keys wins. nullopt when anything is broken.
std::optional<std::map<std::string, std::string>> parseQuery(std::string_view query);

struct Target {
    std::string path;  // decoded, starts with '/'
    std::string query;  // raw, without '?'
};
// Splits a request target. nullopt for anything but an origin-form path, for broken escapes
// and for dot segments or backslashes, so no path can climb out of the site.
std::optional<Target> splitTarget(std::string_view target);

// Text made safe to stand inside HTML elements and quoted attributes.
std::string escapeHtml(std::string_view text);

// ASCII lower case: the endpoint names are matched without regard to case, as the dealer's
// old web server did.
std::string asciiLower(std::string_view text);

// Well-formed UTF-8 without control characters other than tab and line breaks.
bool isCleanUtf8(std::string_view text, bool allowLineBreaks);

} // namespace durnak::server::web
