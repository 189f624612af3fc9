#include "tests/crypt/CryptFixture.h"

#include <random>

#include "crypt/CipherKey.h"
#include "crypt/CryptStatus.h"

Bytes RandomBytes(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes v(n);
    for (auto& b : v) b = static_cast<std::uint8_t>(rng());
    return v;
}

CipherKey KeyMaterial(const char* key) {
    CipherKey k;
    MakeCipherKey(reinterpret_cast<const BYTE*>(key), k);
    return k;
}

DWORD CryptFixture::CheckValue() const { return KeyMaterial(kKey).checkValue; }

Bytes CryptFixture::EncryptMemory(const Bytes& plain, bool crc, const char* key) {
    const auto size = container::ContainerLength(plain.size(), crc, container::Form::memory);
    Bytes out(size + 1, 0xEE);
    long length = static_cast<long>(plain.size());
    Bytes source = plain;  // the operation takes a non-const pointer
    EXPECT_EQ(m_crypt.EncryptM(crc, source.data(), out.data(), KeyOf(key), &length), cryptstatus::kOk);
    EXPECT_EQ(static_cast<std::uint64_t>(length), size);
    EXPECT_EQ(out.back(), 0) << "the terminating byte after the container";
    out.pop_back();
    return out;
}

CryptFixture::Decrypted CryptFixture::DecryptMemory(const Bytes& container, bool crc, size_t capacity,
                                                    const char* key) {
    Bytes source = container;
    Bytes out(capacity, 0xEE);
    long length = static_cast<long>(source.size());
    const DWORD result = m_crypt.DecryptM(crc, source.data(), out.data(), KeyOf(key), &length);
    EXPECT_EQ(static_cast<size_t>(length), container.size()) << "the length is not changed";
    return {result, out};
}

Bytes CryptFixture::EncryptFileBytes(const Bytes& plain, bool crc) {
    WriteBytes(Path("plain"), plain);
    EXPECT_EQ(m_crypt.EncryptF(crc, Path("plain").c_str(), Path("container").c_str(), Key()), cryptstatus::kOk);
    return ReadBytes(Path("container"));
}

CryptFixture::Decrypted CryptFixture::DecryptFileBytes(const Bytes& container, bool crc, const char* key) {
    WriteBytes(Path("container"), container);
    const DWORD result = m_crypt.DecryptF(crc, Path("container").c_str(), Path("decrypted").c_str(), KeyOf(key));
    return {result, ReadBytes(Path("decrypted"))};
}
