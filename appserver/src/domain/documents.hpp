#pragma once

#include <string>
#include <vector>

namespace durnak::server::domain {

// PDF documents the server hands out. For now a small valid one-page PDF with the given
// lines of text (ASCII-folded); the typeset versions replace these two functions.
std::string simplePdf(const std::string& title, const std::vector<std::string>& lines);

} // namespace durnak::server::domain
