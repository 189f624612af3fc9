// Every kernel width against the scalar block function and against OpenSSL's DES-ECB, at the
// block counts around each width's batch, and containers made by one width read by every other.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "crypt/CipherDispatch.h"
#include "crypt/CipherKey.h"
#include "crypt/DesBlock.h"
#include "tests/crypt/CryptFixture.h"
#include "tests/crypt/Fips46KeySchedule.h"
#include "tests/crypt/OpenSslDes.h"

namespace {

struct Width {
    CipherWidth width;
    const char* name;
    size_t batch;  // blocks per kernel call
};
const Width kWidths[] = {
    {CipherWidth::scalar, "scalar", 1},
    {CipherWidth::portable64, "64", 64},
    {CipherWidth::neon, "neon", 128},
    {CipherWidth::avx2, "avx2", 256},
    {CipherWidth::avx512, "avx512", 512},
};

// The widths this processor runs; a missing one is reported, not silently passed.
std::vector<Width> Runnable() {
    std::vector<Width> out;
    for (const Width& w : kWidths) {
        if (CipherWidthSupported(w.width))
            out.push_back(w);
        else
            std::printf("this processor lacks the %s width; it is not tested here\n", w.name);
    }
    return out;
}

Bytes With(CipherWidth width, const Bytes& in, const RoundKeys& keys, bool decrypt) {
    Bytes out(in.size());
    CryptBlocksWith(width, in.data(), out.data(), in.size() / kBlockSize, keys, decrypt);
    return out;
}

TEST(CipherWidth, EveryWidthIsDesAtBatchBoundaries) {
    std::mt19937 rng(16);
    for (const Width& w : Runnable()) {
        const size_t counts[] = {0, 1, 7, 8, 9, w.batch - 1, w.batch, w.batch + 1, 3 * w.batch + 5, 8192 / kBlockSize};
        for (const size_t blocks : counts) {
            SCOPED_TRACE(testing::Message() << w.name << ", " << blocks << " blocks");
            std::uint8_t desKey[8];
            for (auto& b : desKey) b = static_cast<std::uint8_t>(rng());
            const RoundKeys standard = RoundKeysForDesKey(desKey);
            const Bytes plain = RandomBytes(blocks * kBlockSize, static_cast<unsigned>(rng()));
            const Bytes cipher = With(w.width, plain, standard, false);
            ASSERT_EQ(cipher, OpenSslDesEcb(desKey, plain, true));
            EXPECT_EQ(With(w.width, cipher, standard, true), plain);

            // The system's own round keys, whose unused bits are set, against the scalar path.
            const std::string keyString = "key " + std::to_string(rng());
            const CipherKey own = KeyMaterial(keyString.c_str());
            Bytes scalar(plain.size());
            ScalarEncryptBlocks(plain.data(), scalar.data(), blocks, own.roundKeys);
            EXPECT_EQ(With(w.width, plain, own.roundKeys, false), scalar);
            ScalarDecryptBlocks(plain.data(), scalar.data(), blocks, own.roundKeys);
            EXPECT_EQ(With(w.width, plain, own.roundKeys, true), scalar);
        }
    }
}

TEST(CipherWidth, InPlace) {
    const std::uint8_t desKey[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    const RoundKeys keys = RoundKeysForDesKey(desKey);
    const Bytes plain = RandomBytes(1100 * kBlockSize, 3);
    const Bytes expected = OpenSslDesEcb(desKey, plain, true);
    for (const Width& w : Runnable()) {
        Bytes buffer = plain;
        CryptBlocksWith(w.width, buffer.data(), buffer.data(), buffer.size() / kBlockSize, keys, false);
        EXPECT_EQ(buffer, expected) << w.name;
    }
}

class CipherWidthContainers : public CryptFixture {
protected:
    void TearDown() override { SetCipherWidth(m_initial); }
    const CipherWidth m_initial = ActiveCipherWidth();
};

TEST_F(CipherWidthContainers, MadeByOneWidthReadByEvery) {
    const Bytes plain = RandomBytes(3 * 8192 + 1234, 8);
    for (const bool crc : {false, true}) {
        for (const Width& maker : Runnable()) {
            ASSERT_EQ(SetCipherWidth(maker.width), maker.width);
            const Bytes memory = EncryptMemory(plain, crc);
            const Bytes file = EncryptFileBytes(plain, crc);
            for (const Width& reader : Runnable()) {
                SCOPED_TRACE(testing::Message() << maker.name << " to " << reader.name << (crc ? " with CRC" : ""));
                SetCipherWidth(reader.width);
                const Decrypted fromMemory = DecryptMemory(memory, crc, plain.size() + 1);
                EXPECT_EQ(fromMemory.result, cryptstatus::kOk);
                EXPECT_EQ(Bytes(fromMemory.output.begin(), fromMemory.output.end() - 1), plain);
                EXPECT_EQ(DecryptFileBytes(file, crc).output, plain);
                EXPECT_EQ(EncryptMemory(plain, crc), memory) << "every width makes the same bytes";
            }
        }
    }
}

}  // namespace
