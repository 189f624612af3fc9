// Key expansion, schedule and key check value. The pinned values guard the format: every
// container depends on them, so any change to the tables or the derivation shows here. They
// were cross-checked once against a separate transcription of the derivation in Python.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "crypt/CipherKey.h"
#include "crypt/Crc32.h"
#include "platform/core/LittleEndian.h"
#include "tests/crypt/CryptFixture.h"

namespace {

CipherKey KeyOf(const std::string& key) { return KeyMaterial(key.c_str()); }

// The CRC-32 of all 128 round-key bytes, least significant byte of each word first.
DWORD RoundKeysCrc(const RoundKeys& keys) {
    BYTE bytes[4 * kRoundKeyWords];
    for (int i = 0; i < kRoundKeyWords; ++i) PutU32(bytes + 4 * i, keys.k[i]);
    return Crc32(bytes, sizeof bytes);
}

struct Pinned {
    std::string key;
    DWORD w0, w1, checkValue, roundKeysCrc;
};

TEST(KeyDerivation, PinnedKeyWordsRoundKeysAndCheckValues) {
    const Pinned pinned[] = {
        {"k", 0x5757555E, 0x57575751, 0xF64D04C8, 0xC8538188},
        {"password", 0x3EF53C34, 0x3EF53EF4, 0x11F3EEEF, 0x3E5D43EC},
        {"The quick brown fox jumps over the lazy dog, then naps for 64+ bytes.", 0x77FB7578, 0x6F77675A,
         0x891F2CDD, 0xAD5A244F},
        {"\xE9t\xE9 \xFF\x80", 0x74EFEFD6, 0xF7D6F76C, 0xAC558F54, 0x70A8258C},  // bytes above 0x7F
    };
    for (const Pinned& p : pinned) {
        const CipherKey k = KeyOf(p.key);
        EXPECT_EQ(k.words.w0, p.w0) << p.key;
        EXPECT_EQ(k.words.w1, p.w1) << p.key;
        EXPECT_EQ(k.checkValue, p.checkValue) << p.key;
        EXPECT_EQ(RoundKeysCrc(k.roundKeys), p.roundKeysCrc) << p.key;
    }
}

bool SameKey(const CipherKey& a, const CipherKey& b) {
    return a.words.w0 == b.words.w0 && a.words.w1 == b.words.w1 && a.checkValue == b.checkValue &&
           std::equal(std::begin(a.roundKeys.k), std::end(a.roundKeys.k), std::begin(b.roundKeys.k));
}

// A short key is used cyclically; of a long key at most the first 60 bytes count: 64
// characters are made from the first 64 bytes, but the last one picked is the 60th.
TEST(KeyDerivation, ShortKeysRepeatAndLongKeysAreCut) {
    EXPECT_TRUE(SameKey(KeyOf("x"), KeyOf(std::string(64, 'x'))));
    std::string abab;
    for (int i = 0; i < 32; ++i) abab += "ab";
    EXPECT_TRUE(SameKey(KeyOf("ab"), KeyOf(abab)));
    const std::string base(64, 'q');
    EXPECT_TRUE(SameKey(KeyOf(base), KeyOf(base + "anything after the 64th byte")));
    EXPECT_TRUE(SameKey(KeyOf(base), KeyOf(std::string(60, 'q') + "rrrr")));
    EXPECT_FALSE(SameKey(KeyOf(base), KeyOf("A" + std::string(63, 'q'))));
}

// At positions i with i mod 4 = 0 the expansion keeps the low six bits of the byte, so two keys
// that differ only in bits 6 and 7 there pick the same characters and give the same key; at
// i mod 4 = 3 bit 5 of the value taken is the byte's sign, so a top bit does count there.
TEST(KeyDerivation, BitsOutsideTheTakenValueDoNotCount) {
    std::string a(64, 'M'), b = a;
    a[4] = 'a';   // 0x61
    b[4] = '!';   // 0x21: the same low six bits
    EXPECT_TRUE(SameKey(KeyOf(a), KeyOf(b)));
    std::string c = a, d = a;
    c[3] = 0x10;
    d[3] = static_cast<char>(0x90);  // read as negative: bit 5 of x set
    EXPECT_FALSE(SameKey(KeyOf(c), KeyOf(d)));
}

}  // namespace
