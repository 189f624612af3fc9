#pragma once
// Standard DES-ECB from OpenSSL's libcrypto (EVP with the legacy provider), the independent
// peer for our block function.
#include <cstdint>
#include <vector>

// Encrypts (or decrypts) whole blocks under the 8-byte DES key, without padding.
std::vector<std::uint8_t> OpenSslDesEcb(const std::uint8_t key[8], const std::vector<std::uint8_t>& in, bool encrypt);
