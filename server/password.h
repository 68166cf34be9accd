#pragma once
// Password hashes and random secrets, both from libsodium. Hashes are salted Argon2id strings
// (the salt and the limits are stored inside the string), so limits may change later without
// invalidating older hashes.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zentri::server {

enum class HashCost {
    Interactive,  // the service's setting: slow enough to resist guessing
    Minimal,      // the smallest limits libsodium allows; for test runs only
};

// Initialises libsodium; false when the library cannot be used.
bool InitSodium();

// The hash string, or nothing when memory for the hash could not be had.
std::optional<std::string> HashPassword(std::string_view password, HashCost cost);
bool VerifyPassword(std::string_view hash, std::string_view password);

// `bytes` random bytes as lower-case hex (2 × bytes characters).
std::string RandomHex(size_t bytes);

}  // namespace zentri::server
