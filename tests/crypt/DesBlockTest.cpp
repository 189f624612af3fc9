// The block function against standard DES: our data path under the round keys that the FIPS 46
// key schedule makes for a DES key must be DES under that key.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "crypt/DesBlock.h"
#include "tests/crypt/Fips46KeySchedule.h"
#include "tests/crypt/OpenSslDes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Hex(const std::string& hex) {
    Bytes out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return out;
}

Bytes Ours(const RoundKeys& keys, const Bytes& in, bool encrypt) {
    Bytes out(in.size());
    (encrypt ? EncryptBlocks : DecryptBlocks)(in.data(), out.data(), in.size() / kBlockSize, keys);
    return out;
}

// Known answers. The single-bit tables are from NIST Special Publication 800-17 (Modes of
// Operation Validation System), Appendix A: the variable-plaintext and variable-key known
// answer tests; the "Now is t" block is the ECB example of FIPS 81 (DES Modes of Operation),
// Appendix B.
struct KnownAnswer {
    const char* key;
    const char* plain;
    const char* cipher;
};
const KnownAnswer kKnownAnswers[] = {
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
    {"0101010101010101", "2000000000000000", "2E8653104F3834EA"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
};

TEST(DesBlock, PublishedVectorsThroughTheKeyMapping) {
    for (const KnownAnswer& v : kKnownAnswers) {
        const RoundKeys keys = RoundKeysForDesKey(Hex(v.key).data());
        EXPECT_EQ(Ours(keys, Hex(v.plain), true), Hex(v.cipher)) << v.key << " " << v.plain;
        EXPECT_EQ(Ours(keys, Hex(v.cipher), false), Hex(v.plain)) << v.key << " " << v.cipher;
    }
}

TEST(DesBlock, ZeroRoundKeysAreDesUnderTheZeroKey) {
    const std::uint8_t zeroKey[8] = {};
    const RoundKeys zero;
    std::mt19937 rng(7);
    Bytes block(8);
    for (auto& b : block) b = static_cast<std::uint8_t>(rng());
    Bytes out(8), back(8);
    psen_encrypt_block(block.data(), out.data(), zero);
    EXPECT_EQ(out, OpenSslDesEcb(zeroKey, block, true));
    psen_decrypt_block(out.data(), back.data(), zero);
    EXPECT_EQ(back, block);
}

// Random keys and odd block counts, so that both the paired and the single-block paths of the
// block loop run, and in-place operation.
TEST(DesBlock, MatchesOpenSslForRandomKeys) {
    std::mt19937 rng(2024);
    for (int trial = 0; trial < 200; ++trial) {
        std::uint8_t key[8];
        for (auto& b : key) b = static_cast<std::uint8_t>(rng());
        Bytes plain(8 * (1 + rng() % 9));
        for (auto& b : plain) b = static_cast<std::uint8_t>(rng());
        const RoundKeys keys = RoundKeysForDesKey(key);
        const Bytes cipher = Ours(keys, plain, true);
        ASSERT_EQ(cipher, OpenSslDesEcb(key, plain, true)) << "trial " << trial;
        ASSERT_EQ(Ours(keys, cipher, false), plain) << "trial " << trial;
        Bytes inPlace = plain;
        EncryptBlocks(inPlace.data(), inPlace.data(), inPlace.size() / 8, keys);
        ASSERT_EQ(inPlace, cipher);
    }
}

// Round-key bits 6 and 7 of every byte are outside the subkey and must not matter. The block is
// the worked example of J. Orlin Grabbe, "The DES Algorithm Illustrated".
TEST(DesBlock, UnusedRoundKeyBitsAreIgnored) {
    const std::uint8_t key[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    const RoundKeys clean = RoundKeysForDesKey(key);
    RoundKeys noisy = clean;
    for (DWORD& k : noisy.k) k |= 0xC0C0C0C0;
    const Bytes plain = Hex("0123456789ABCDEF");
    EXPECT_EQ(Ours(noisy, plain, true), Hex("85E813540F0AB405"));
    EXPECT_EQ(Ours(noisy, plain, true), Ours(clean, plain, true));
}

}  // namespace
