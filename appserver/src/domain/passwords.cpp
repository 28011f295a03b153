#include "domain/passwords.hpp"

#include <stdexcept>

#include <sodium.h>

namespace durnak::server::domain {
namespace {

void initSodium()
{
    static const int ok = sodium_init();
    if (ok < 0) throw std::runtime_error("libsodium could not start");
}

} // namespace

std::string hashPassword(std::string_view password)
{
    initSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("password hashing ran out of memory");
    return out;
}

bool verifyPassword(std::string_view password, const std::string& stored)
{
    initSodium();
    if (stored.empty()) return false;
    return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

} // namespace durnak::server::domain
