// Every status code from a real cause, and damaged or hostile containers: each gives its code
// and no operation reads or writes outside its buffers (run under AddressSanitizer).
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "crypt/CipherKey.h"
#include "crypt/CryptStatus.h"
#include "crypt/FileContainer.h"
#include "platform/core/FileSystem.h"
#include "platform/core/LittleEndian.h"
#include "tests/crypt/CryptFixture.h"

namespace {

using namespace container;
using namespace cryptstatus;

class ContainerErrors : public CryptFixture {
protected:
    // A container header with our key's check value and the given pad byte, then `body`.
    Bytes Hostile(BYTE pad, const Bytes& body) {
        Bytes c(kHeaderSize);
        PutU32(c.data(), CheckValue());
        c[kPadOffset] = pad;
        c.insert(c.end(), body.begin(), body.end());
        return c;
    }
    // The worst case a caller could size for: the container less its header, plus the 00.
    static size_t Capacity(const Bytes& c) { return c.size() > 4 ? c.size() - 4 : 1; }
};

TEST_F(ContainerErrors, WrongKeyWritesNoPlaintext) {
    const Bytes plain = RandomBytes(20000, 1);
    for (const bool crc : {false, true}) {
        const Decrypted file = DecryptFileBytes(EncryptFileBytes(plain, crc), crc, "another key");
        EXPECT_EQ(file.result, kWrongKey);
        EXPECT_TRUE(FileExists(Path("decrypted").c_str()));
        EXPECT_TRUE(file.output.empty());

        const Decrypted memory = DecryptMemory(EncryptMemory(plain, crc), crc, plain.size() + 1, "another key");
        EXPECT_EQ(memory.result, kWrongKey);
        EXPECT_EQ(memory.output, Bytes(plain.size() + 1, 0xEE)) << "the destination is untouched";
    }
}

// A flipped ciphertext byte in the second chunk: the first chunk's plaintext is delivered, the
// damaged one is not.
TEST_F(ContainerErrors, FlippedByteWithCrcIsDetected) {
    const Bytes plain = RandomBytes(3 * kChunkSize, 2);
    Bytes memory = EncryptMemory(plain, true);
    Bytes file = EncryptFileBytes(plain, true);
    const size_t secondChunk = kHeaderSize + kChunkSize + kCrcSize + 100;
    memory[secondChunk] ^= 0x01;
    file[secondChunk] ^= 0x01;

    const Decrypted fromFile = DecryptFileBytes(file, true);
    EXPECT_EQ(fromFile.result, kDamaged);
    EXPECT_EQ(fromFile.output, Bytes(plain.begin(), plain.begin() + kChunkSize));

    const Decrypted fromMemory = DecryptMemory(memory, true, plain.size() + 1);
    EXPECT_EQ(fromMemory.result, kDamaged);
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + kChunkSize, fromMemory.output.begin()));
    EXPECT_EQ(fromMemory.output[kChunkSize], 0);

    // A flipped stored CRC is damage too.
    Bytes crcFlipped = EncryptMemory(plain, true);
    crcFlipped[kHeaderSize + kChunkSize] ^= 0x80;
    EXPECT_EQ(DecryptMemory(crcFlipped, true, plain.size() + 1).result, kDamaged);
}

TEST_F(ContainerErrors, KeySetupFailures) {
    const Bytes plain = RandomBytes(100, 3);
    WriteBytes(Path("plain"), plain);
    unsigned char empty[] = "";
    EXPECT_EQ(m_crypt.EncryptF(false, Path("plain").c_str(), Path("c").c_str(), empty), kKeySetupFailed);
    EXPECT_EQ(m_crypt.EncryptF(false, Path("plain").c_str(), Path("c").c_str(), nullptr), kKeySetupFailed);
    EXPECT_EQ(m_crypt.EncryptF(false, Path("missing").c_str(), Path("c").c_str(), Key()), kKeySetupFailed);
    EXPECT_EQ(m_crypt.DecryptF(false, Path("missing").c_str(), Path("d").c_str(), Key()), kKeySetupFailed);
    Bytes in = plain, out(200);
    long length = 100;
    EXPECT_EQ(m_crypt.EncryptM(false, in.data(), out.data(), empty, &length), kKeySetupFailed);
    EXPECT_EQ(m_crypt.DecryptM(false, in.data(), out.data(), nullptr, &length), kKeySetupFailed);
}

TEST_F(ContainerErrors, FilesThatCannotBeCreatedOrWritten) {
    WriteBytes(Path("plain"), RandomBytes(100000, 4));
    const std::string noFolder = Path("no/such/folder");
    EXPECT_EQ(m_crypt.EncryptF(true, Path("plain").c_str(), noFolder.c_str(), Key()), kContainerFailed);
    EXPECT_EQ(m_crypt.EncryptF(true, Path("plain").c_str(), Path("container").c_str(), Key()), kOk);
    EXPECT_EQ(m_crypt.DecryptF(true, Path("container").c_str(), noFolder.c_str(), Key()), kPlainFailed);
    // A device that is always full: the writes fail once the kernel's buffer is exhausted.
    if (FileExists("/dev/full")) {
        EXPECT_EQ(m_crypt.EncryptF(true, Path("plain").c_str(), "/dev/full", Key()), kContainerFailed);
        EXPECT_EQ(m_crypt.DecryptF(true, Path("container").c_str(), "/dev/full", Key()), kPlainFailed);
    }
}

// A file that fails while it is read: a folder opens and reports a size, but reading it fails.
TEST_F(ContainerErrors, ReadErrorWhileEncrypting) {
    std::filesystem::create_directory(Path("folder"));
    if (std::filesystem::status(Path("folder")).type() != std::filesystem::file_type::directory) GTEST_SKIP();
    CFile probe;
    ASSERT_TRUE(probe.Open(Path("folder").c_str(), CFile::modeRead));
    if (probe.GetLength() == 0) GTEST_SKIP() << "this file system gives folders no size";
    EXPECT_EQ(m_crypt.EncryptF(false, Path("folder").c_str(), Path("container").c_str(), Key()), kReadError);
}

// The container's reads go through CFile; this one fails its read number `failAt`.
class FailingReadFile : public CFile {
public:
    explicit FailingReadFile(int failAt) : m_left(failAt) {}
    UINT Read(void* buffer, UINT count) override {
        if (--m_left == 0) throw CFileException(CFileException::generic, 5, GetFilePath(), "read");
        return CFile::Read(buffer, count);
    }

private:
    int m_left;
};

TEST_F(ContainerErrors, ReadErrorWhileDecrypting) {
    const Bytes plain = RandomBytes((kChunksPerGroup + 2) * kChunkSize, 5);
    EncryptFileBytes(plain, true);
    const CipherKey key = KeyMaterial(kKey);
    FailingReadFile in(4);  // check value, pad byte, first group of records, then the second fails
    CFile out;
    ASSERT_TRUE(in.Open(Path("container").c_str(), CFile::modeRead));
    ASSERT_TRUE(out.Open(Path("plain").c_str(), CFile::modeCreate | CFile::modeReadWrite));
    EXPECT_EQ(DecryptFileContainer(key, true, 0, in, out), kReadError);
    out.Close();
    EXPECT_EQ(ReadBytes(Path("plain")), Bytes(plain.begin(), plain.begin() + kChunksPerGroup * kChunkSize));
}

// Tiny hostile containers, each given to both forms. Where the key check value cannot be read
// the answer is kWrongKey; every other structural fault is kDamaged.
TEST_F(ContainerErrors, HostileContainers) {
    struct Case {
        const char* what;
        bool crc;
        Bytes container;
        DWORD expected;
    };
    Bytes fourCheckBytes = Hostile(0, {});
    fourCheckBytes.resize(kCheckValueSize);
    const Case cases[] = {
        {"no bytes", false, {}, kWrongKey},
        {"three bytes", true, {1, 2, 3}, kWrongKey},
        {"check value without pad byte", true, fourCheckBytes, kDamaged},
        {"pad byte 8", false, Hostile(8, Bytes(8)), kDamaged},
        {"pad byte 255", false, Hostile(255, Bytes(8)), kDamaged},
        {"pad without any block", false, Hostile(3, {}), kDamaged},
        {"pad on an empty final chunk", true, Hostile(1, Bytes(4)), kDamaged},
        {"final piece shorter than its CRC", true, Hostile(0, Bytes(2)), kDamaged},
        {"ciphertext not whole blocks", false, Hostile(0, Bytes(13)), kDamaged},
        {"ciphertext not whole blocks before the CRC", true, Hostile(0, Bytes(11)), kDamaged},
        {"full chunk then a short piece", true, Hostile(0, Bytes(kChunkSize + kCrcSize + 3)), kDamaged},
        {"zero CRC on a nonempty chunk", true, Hostile(0, Bytes(12)), kDamaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecryptMemory(c.container, c.crc, Capacity(c.container)).result, c.expected);
        const Decrypted file = DecryptFileBytes(c.container, c.crc);
        EXPECT_EQ(file.result, c.expected);
        EXPECT_TRUE(file.output.empty());
    }
}

// A file container cut where a record ends, or to its header alone, and a pad count raised
// so that plaintext bytes would be taken for padding: each is damage, and no plaintext of the
// container is delivered. The cuts are visible only through the CRC of the empty final record;
// the pad bytes are checked with and without CRCs, in both forms.
TEST_F(ContainerErrors, CutsAndPadEdits) {
    const Bytes plain = RandomBytes(20000, 6);
    const Bytes withCrc = EncryptFileBytes(plain, true);
    struct Case {
        const char* what;
        bool crc;
        Bytes container;
    };
    std::vector<Case> cases = {
        {"cut after the first record", true,
         Bytes(withCrc.begin(), withCrc.begin() + kHeaderSize + kChunkSize + kCrcSize)},
        {"cut after the second record", true, Bytes(withCrc.begin(), withCrc.end() - 20000 % kChunkSize - kCrcSize)},
        {"header alone", true, Bytes(withCrc.begin(), withCrc.begin() + kHeaderSize)},
    };
    for (const bool crc : {false, true}) {
        Bytes raised = crc ? withCrc : EncryptFileBytes(plain, false);
        raised[kPadOffset] = 3;
        cases.push_back({crc ? "pad count raised, CRCs on" : "pad count raised, CRCs off", crc, raised});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Decrypted file = DecryptFileBytes(c.container, c.crc);
        EXPECT_EQ(file.result, kDamaged);
        EXPECT_LE(file.output.size(), 2 * kChunkSize) << "the final chunk is not delivered";
    }
    for (const bool crc : {false, true}) {
        Bytes memory = EncryptMemory(plain, crc);
        memory[kPadOffset] = 3;
        const Decrypted fromMemory = DecryptMemory(memory, crc, plain.size() + 1);
        EXPECT_EQ(fromMemory.result, kDamaged);
        EXPECT_EQ(fromMemory.output[2 * kChunkSize], 0) << "the 00 follows the chunks before the final one";
    }
}

// A container written with CRCs and read without them, where its length fits records without
// CRCs too (an odd number of full chunks in a file, an even number in memory; a plaintext of
// whole blocks, so no pad bytes to check): its records would be read at the wrong places. It is
// refused as damaged with no plaintext delivered, and it shows that it carries CRCs, which a
// container written without them does not.
TEST_F(ContainerErrors, ContainersWithCrcsReadWithoutThemAreRefused) {
    for (const size_t chunks : {1, 3}) {
        SCOPED_TRACE(chunks);
        const Bytes plain = RandomBytes(chunks * kChunkSize, 7);
        const Bytes withCrc = EncryptFileBytes(plain, true);
        const Decrypted file = DecryptFileBytes(withCrc, false);
        EXPECT_EQ(file.result, kDamaged);
        EXPECT_TRUE(file.output.empty());
        EXPECT_TRUE(CarriesChunkCrcs(Path("container").c_str()));
        EncryptFileBytes(plain, false);
        EXPECT_FALSE(CarriesChunkCrcs(Path("container").c_str()));
        EXPECT_EQ(DecryptFileBytes(ReadBytes(Path("container")), false).output, plain);
    }
    const Bytes plain = RandomBytes(2 * kChunkSize, 8);
    const Decrypted memory = DecryptMemory(EncryptMemory(plain, true), false, plain.size() + 1);
    EXPECT_EQ(memory.result, kDamaged);
    EXPECT_EQ(memory.output[0], 0);
    EXPECT_EQ(DecryptMemory(EncryptMemory(plain, false), false, plain.size() + 1).result, kOk);
}

// Seeded random damage to real containers: cut short, grown, bytes changed, pad byte changed.
// Whatever the result, the operations stay inside their buffers and report a defined code.
TEST_F(ContainerErrors, RandomDamageIsHandledSafely) {
    std::mt19937 rng(99);
    for (int trial = 0; trial < 300; ++trial) {
        const bool crc = trial % 2;
        Bytes c = EncryptMemory(RandomBytes(rng() % 20000, static_cast<unsigned>(trial)), crc);
        switch (rng() % 4) {
            case 0: c.resize(rng() % (c.size() + 1)); break;
            case 1: c.resize(c.size() + 1 + rng() % 16, static_cast<std::uint8_t>(rng())); break;
            case 2: c[rng() % c.size()] ^= static_cast<std::uint8_t>(1 + rng() % 255); break;
            default: c[kPadOffset] = static_cast<std::uint8_t>(rng()); break;
        }
        const DWORD memory = DecryptMemory(c, crc, Capacity(c)).result;
        const DWORD file = DecryptFileBytes(c, crc).result;
        for (const DWORD result : {memory, file})
            EXPECT_TRUE(result == kOk || result == kDamaged || result == kWrongKey) << "trial " << trial;
        EXPECT_EQ(memory, file) << "trial " << trial;
    }
}

}  // namespace
