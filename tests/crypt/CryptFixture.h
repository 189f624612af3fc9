#pragma once
// Helpers shared by the container tests: a key, random plaintexts, and the four public
// operations over byte vectors and temporary files, with buffers sized exactly as the
// operations' contracts demand so that AddressSanitizer sees any access beyond them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "crypt/CDesCrypt.h"
#include "crypt/CipherKey.h"
#include "crypt/ContainerFormat.h"
#include "tests/support/TempDir.h"

using Bytes = std::vector<std::uint8_t>;

Bytes RandomBytes(size_t n, unsigned seed);

// The key material of a key string.
CipherKey KeyMaterial(const char* key);

class CryptFixture : public ::testing::Test {
protected:
    static constexpr const char* kKey = "correct horse battery staple";

    unsigned char* Key() { return KeyOf(kKey); }
    unsigned char* KeyOf(const char* key) { return reinterpret_cast<unsigned char*>(const_cast<char*>(key)); }
    DWORD CheckValue() const;

    // EncryptM into a buffer of exactly the documented size; fails the test on a non-zero
    // result. The returned container excludes the terminating 00, which is checked.
    Bytes EncryptMemory(const Bytes& plain, bool crc, const char* key = kKey);
    struct Decrypted {
        DWORD result;
        Bytes output;  // the destination buffer, or the output file's bytes
    };
    // DecryptM into a buffer of exactly `capacity` bytes.
    Decrypted DecryptMemory(const Bytes& container, bool crc, size_t capacity, const char* key = kKey);

    std::string Path(const std::string& name) const { return m_dir.file(name); }
    Bytes EncryptFileBytes(const Bytes& plain, bool crc);
    Decrypted DecryptFileBytes(const Bytes& container, bool crc, const char* key = kKey);

    CDesCrypt m_crypt;
    TempDir m_dir;
};
