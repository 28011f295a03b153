#pragma once

#include <string>
#include <string_view>

namespace durnak::server::domain {

// Every stored password goes through these two: argon2id (libsodium) in its own encoded
// form, so the parameters can be raised later without a schema change.
std::string hashPassword(std::string_view password);
bool verifyPassword(std::string_view password, const std::string& stored);

} // namespace durnak::server::domain
