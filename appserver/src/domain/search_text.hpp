#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace durnak::server::domain {

// Folds text for matching: Turkish letters to their plain Latin capitals (ş→S, ı/i/İ→I,
// ğ→G, ü→U, ö→O, ç→C, â→A ...), ASCII letters upper-cased, every other character kept
// as ASCII or dropped when it is not ASCII. "Şanzıman" and "SANZIMAN" fold alike.
std::string foldText(std::string_view utf8);

// Folded text with only letters and digits, so "04E 115-561.H" and "04E115561H" match.
std::string codeKey(std::string_view utf8);

// The words of a search text, folded, split at anything not a letter or digit.
std::vector<std::string> searchWords(std::string_view utf8);

// A search text as a plain string for an FTS5 trigram MATCH on one column: the word in
// double quotes (quotes inside cannot occur after folding).
std::string ftsPhrase(std::string_view column, std::string_view foldedWord);

} // namespace durnak::server::domain
