// The container: its layout for a table of plaintext lengths, CRCs on and off, in files and in
// memory, and the round trip through every form.
#include <gtest/gtest.h>
#include <zlib.h>

#include "crypt/CipherKey.h"
#include "crypt/ContainerFormat.h"
#include "crypt/CryptStatus.h"
#include "crypt/DesBlock.h"
#include "platform/core/LittleEndian.h"
#include "tests/crypt/CryptFixture.h"

namespace {

using namespace container;

// Around the chunk and block boundaries: the lengths whose last chunk pads to a full 8192
// bytes (8185..8191), exact multiples of the chunk (which get the extra empty chunk in files),
// and a last chunk three bytes short.
const size_t kLengths[] = {0,    1,    7,    8,    9,    8185, 8186,  8187,  8188,
                           8189, 8190, 8191, 8192, 8193, 16384, 16385, 3 * 8192 - 3};

class Container : public CryptFixture {
protected:
    // Checks the header and every record: the ciphertext of each chunk (zero-padded), and its
    // CRC against zlib's.
    void ExpectLayout(const Bytes& c, const Bytes& plain, bool crc, Form form) {
        ASSERT_EQ(c.size(), ContainerLength(plain.size(), crc, form));
        const CipherKey key = KeyMaterial(kKey);
        EXPECT_EQ(GetU32(c.data()), key.checkValue);
        EXPECT_EQ(c[kPadOffset], (8 - plain.size() % 8) % 8);
        size_t at = kHeaderSize, done = 0;
        const bool extraEmpty = form == Form::file && plain.size() % kChunkSize == 0;
        while (done < plain.size() || (extraEmpty && at < c.size())) {
            const size_t n = std::min(kChunkSize, plain.size() - done);
            const size_t cipher = (n + 7) / 8 * 8;
            Bytes padded(cipher, 0);
            std::copy_n(plain.begin() + static_cast<long>(done), n, padded.begin());
            Bytes expected(cipher);
            EncryptBlocks(padded.data(), expected.data(), cipher / 8, key.roundKeys);
            ASSERT_TRUE(std::equal(expected.begin(), expected.end(), c.begin() + static_cast<long>(at)))
                << "chunk at " << at;
            at += cipher;
            if (crc) {
                EXPECT_EQ(GetU32(c.data() + at), crc32(0, c.data() + at - cipher, static_cast<uInt>(cipher)));
                at += kCrcSize;
            }
            done += n;
            if (n == 0) break;  // the extra empty chunk
        }
        EXPECT_EQ(at, c.size());
    }
};

TEST_F(Container, LayoutAndRoundTripInMemoryAndFiles) {
    for (const bool crc : {false, true}) {
        for (const size_t n : kLengths) {
            SCOPED_TRACE(testing::Message() << "length " << n << (crc ? " with" : " without") << " CRC");
            const Bytes plain = RandomBytes(n, static_cast<unsigned>(n));

            const Bytes memory = EncryptMemory(plain, crc);
            ExpectLayout(memory, plain, crc, Form::memory);
            const Decrypted fromMemory = DecryptMemory(memory, crc, n + 1);
            EXPECT_EQ(fromMemory.result, cryptstatus::kOk);
            EXPECT_EQ(Bytes(fromMemory.output.begin(), fromMemory.output.end() - 1), plain);
            EXPECT_EQ(fromMemory.output.back(), 0);

            const Bytes file = EncryptFileBytes(plain, crc);
            ExpectLayout(file, plain, crc, Form::file);
            const Decrypted fromFile = DecryptFileBytes(file, crc);
            EXPECT_EQ(fromFile.result, cryptstatus::kOk);
            EXPECT_EQ(fromFile.output, plain);

            // The forms differ only by the extra empty chunk, and each reads the other, except
            // that a file needs its final record, which with CRCs on is never empty.
            Bytes withExtra = memory;
            const bool lacksFinalRecord = n % kChunkSize == 0 && crc;
            if (lacksFinalRecord) withExtra.insert(withExtra.end(), kCrcSize, 0);
            EXPECT_EQ(file, withExtra);
            const Decrypted memoryInFile = DecryptFileBytes(memory, crc);
            EXPECT_EQ(memoryInFile.result, lacksFinalRecord ? cryptstatus::kDamaged : cryptstatus::kOk);
            if (!lacksFinalRecord) {
                EXPECT_EQ(memoryInFile.output, plain);
            }
            const Decrypted fileInMemory = DecryptMemory(file, crc, n + 1);
            EXPECT_EQ(fileInMemory.result, cryptstatus::kOk);
            EXPECT_EQ(Bytes(fileInMemory.output.begin(), fileInMemory.output.end() - 1), plain);
        }
    }
}

TEST_F(Container, SmallestContainers) {
    const Bytes empty = EncryptFileBytes({}, true);
    ASSERT_EQ(empty.size(), 9u);
    EXPECT_EQ(Bytes(empty.begin() + 5, empty.end()), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(EncryptMemory({}, true).size(), 5u);
    EXPECT_EQ(EncryptMemory(Bytes(8192, 1), true).size(), 8201u);
    const Bytes one = EncryptMemory({0x42}, false);
    ASSERT_EQ(one.size(), 13u);
    EXPECT_EQ(one[kPadOffset], 7);
}

// Encrypting the same plaintext twice gives the same container: no IV, no chaining, and equal
// blocks give equal ciphertext.
TEST_F(Container, ElectronicCodebook) {
    const Bytes plain(32, 'A');
    const Bytes c = EncryptMemory(plain, false);
    EXPECT_EQ(c, EncryptMemory(plain, false));
    EXPECT_TRUE(std::equal(c.begin() + 5, c.begin() + 13, c.begin() + 13));
}

}  // namespace

// What the README says of a key, through the containers it gives: the key is read as its first 60
// bytes, a shorter one repeated to 60; of the byte at position p (from 1) bits 0-5 count where
// p mod 4 is 1, bits 1-6 where it is 2, bits 2-7 where it is 3, bits 3-7 where it is 0.
TEST_F(Container, WhichBytesOfAKeyCount) {
    const std::string sixty = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWX";
    ASSERT_EQ(sixty.size(), 60u);
    const auto with = [&](std::size_t position, char c) { return std::string(sixty).replace(position - 1, 1, 1, c); };
    struct Case {
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {"ab", "abab", true},
        {"ab", "abababababababababababababababababababababababababababababab", true},  // 60 bytes
        {"ab", "abc", false},
        {sixty, sixty + "anything after the 60th byte", true},
        {sixty + "Y", sixty + "Z", true},
        {with(17, '!'), sixty, false},  // not only the first 16 bytes count
        {with(41, '!'), sixty, false},
        {with(60, 'a'), with(60, 'q'), false},  // bit 4 at position 60
        {with(1, 'a'), with(1, '!'), true},     // differ in bit 6 alone, at position 1
        {with(2, 'a'), with(2, '`'), true},     // bit 0, at position 2
        {with(2, 'a'), with(2, 'c'), false},    // bit 1, at position 2
        {with(3, 'a'), with(3, 'b'), true},     // bits 0 and 1, at position 3
        {with(4, 'a'), with(4, 'f'), true},     // bits 0 to 2, at position 4
        {with(4, 'a'), with(4, 'i'), false},    // bit 3, at position 4
    };
    const Bytes plain = RandomBytes(64, 9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(EncryptMemory(plain, false, c.a.c_str()) == EncryptMemory(plain, false, c.b.c_str()), c.same);
    }
}
