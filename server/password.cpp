#include "server/password.h"

#include <sodium.h>

#include <semaphore>
#include <vector>

namespace zentri::server {

namespace {

// Each interactive hash takes 64 MiB; at most two run at once, however many requests come in.
std::counting_semaphore<2> hashSlots{2};

struct SlotGuard {
    SlotGuard() { hashSlots.acquire(); }
    ~SlotGuard() { hashSlots.release(); }
};

}  // namespace

bool InitSodium() {
    return sodium_init() >= 0;
}

std::optional<std::string> HashPassword(std::string_view password, HashCost cost) {
    unsigned long long ops = cost == HashCost::Interactive ? crypto_pwhash_OPSLIMIT_INTERACTIVE
                                                           : crypto_pwhash_OPSLIMIT_MIN;
    size_t memory = cost == HashCost::Interactive ? crypto_pwhash_MEMLIMIT_INTERACTIVE
                                                  : crypto_pwhash_MEMLIMIT_MIN;
    char out[crypto_pwhash_STRBYTES];
    SlotGuard slot;
    if (crypto_pwhash_str(out, password.data(), password.size(), ops, memory) != 0)
        return std::nullopt;
    return std::string(out);
}

bool VerifyPassword(std::string_view hash, std::string_view password) {
    if (hash.size() >= crypto_pwhash_STRBYTES) return false;
    std::string terminated(hash);
    SlotGuard slot;
    return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

std::string RandomHex(size_t bytes) {
    std::vector<unsigned char> raw(bytes);
    randombytes_buf(raw.data(), raw.size());
    std::string hex(bytes * 2 + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), raw.data(), raw.size());
    hex.pop_back();
    return hex;
}

}  // namespace zentri::server
