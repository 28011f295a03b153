#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace soci {
class session;
}

namespace durnak::server::domain {

constexpr std::size_t kSearchCap = 500;
// From this length on, a text that equals a code is taken as that code only.
constexpr std::size_t kWholeCodeLength = 6;

// Stock numbers matching a search text, best first, at most `cap`:
// 1. a code (code, OEM 1-4, maker code, barcode) equal to the text's code key,
// 2. codes starting with it, 3. codes containing it (3 characters or more),
// 4. items whose name, make, model or group hold every word of the text.
// A text of kWholeCodeLength characters or more that equals a code stops after step 2.
// Letters fold Turkish-insensitively; separators in codes do not count. An empty text
// matches nothing.
std::vector<long long> findStock(soci::session& sql, std::string_view text, std::size_t cap = kSearchCap);

} // namespace durnak::server::domain
