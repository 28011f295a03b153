#pragma once

#include <string>
#include <string_view>

namespace durnak::server {

// Reverses a UTF-8 text by code points, so "İstanbul" becomes "lubnatsİ". A byte that does
// not start a well-formed sequence is kept as a unit of its own rather than dropped.
std::string reverseCodePoints(std::string_view text);

} // namespace durnak::server
