// CDesCrypt keeps nothing between operations: after every operation, successful or failed,
// the object's bytes are those of a fresh object (key material included), and the working
// length reads 0.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <new>

#include "crypt/CryptStatus.h"
#include "tests/crypt/CryptFixture.h"

namespace {

using namespace cryptstatus;

class DesCryptState : public CryptFixture {
protected:
    // Runs `operation` on an object built in zeroed storage and compares its bytes with those
    // of a fresh object built the same way.
    void ExpectWipedAfter(const std::function<void(CDesCrypt&)>& operation, const char* what) {
        alignas(CDesCrypt) unsigned char fresh[sizeof(CDesCrypt)] = {};
        alignas(CDesCrypt) unsigned char used[sizeof(CDesCrypt)] = {};
        auto* a = new (fresh) CDesCrypt;
        auto* b = new (used) CDesCrypt;
        operation(*b);
        EXPECT_EQ(b->GetEncDataMemSize(), 0) << what;
        EXPECT_EQ(std::memcmp(fresh, used, sizeof fresh), 0) << what << ": the object kept state";
        a->~CDesCrypt();
        b->~CDesCrypt();
    }
};

TEST_F(DesCryptState, EveryOperationLeavesTheObjectEmpty) {
    const Bytes plain = RandomBytes(10000, 8);
    WriteBytes(Path("plain"), plain);
    ASSERT_EQ(m_crypt.EncryptF(true, Path("plain").c_str(), Path("container").c_str(), Key()), kOk);
    const auto path = [this](const char* name) { return Path(name); };

    ExpectWipedAfter([&](CDesCrypt& c) {
        EXPECT_EQ(c.EncryptF(true, path("plain").c_str(), path("c2").c_str(), Key()), kOk);
    }, "file encryption");
    ExpectWipedAfter([&](CDesCrypt& c) {
        EXPECT_EQ(c.DecryptF(true, path("container").c_str(), path("d").c_str(), Key()), kOk);
    }, "file decryption");
    ExpectWipedAfter([&](CDesCrypt& c) {
        EXPECT_EQ(c.DecryptF(true, path("container").c_str(), path("d").c_str(), KeyOf("wrong")), kWrongKey);
    }, "file decryption with a wrong key");
    ExpectWipedAfter([&](CDesCrypt& c) {
        Bytes in = plain, out(plain.size() + 100);
        long length = static_cast<long>(in.size());
        EXPECT_EQ(c.EncryptM(false, in.data(), out.data(), Key(), &length), kOk);
        Bytes back(plain.size() + 1);
        EXPECT_EQ(c.DecryptM(false, out.data(), back.data(), Key(), &length), kOk);
    }, "memory encryption and decryption");
    ExpectWipedAfter([&](CDesCrypt& c) {
        Bytes bad(50, 0);
        Bytes out(50);
        long length = 50;
        EXPECT_EQ(c.DecryptM(true, bad.data(), out.data(), Key(), &length), kWrongKey);
    }, "memory decryption of a non-container");
}

TEST_F(DesCryptState, GetCrc) {
    unsigned char abc[] = "abc";
    _crc crc;
    EXPECT_EQ(m_crypt.GetCRC(abc, 3, &crc), 0u);
    EXPECT_EQ(crc.value, 0x352441C2u);
    EXPECT_EQ(m_crypt.GetCRC(abc, 0, &crc), 0u);
    EXPECT_EQ(crc.value, 0u);
    EXPECT_EQ(m_crypt.GetCRC(abc, -5, &crc), 0u);
    EXPECT_EQ(crc.value, 0u);
}

// Memory calls with missing buffers give the codes of their file counterparts instead of
// dereferencing nothing; a missing length is a setup failure.
TEST_F(DesCryptState, MissingMemoryBuffers) {
    Bytes buffer(64);
    long length = 8;
    EXPECT_EQ(m_crypt.EncryptM(false, buffer.data(), nullptr, Key(), &length), kContainerFailed);
    EXPECT_EQ(m_crypt.EncryptM(false, nullptr, buffer.data(), Key(), &length), kPlainFailed);
    EXPECT_EQ(m_crypt.EncryptM(false, buffer.data(), buffer.data(), Key(), nullptr), kKeySetupFailed);
    EXPECT_EQ(m_crypt.DecryptM(false, nullptr, buffer.data(), Key(), &length), kWrongKey);
    EXPECT_EQ(m_crypt.DecryptM(false, buffer.data(), buffer.data(), Key(), nullptr), kWrongKey);
    length = 13;
    Bytes c(14);
    long plainLength = 1;
    ASSERT_EQ(m_crypt.EncryptM(false, buffer.data(), c.data(), Key(), &plainLength), kOk);
    EXPECT_EQ(m_crypt.DecryptM(false, c.data(), nullptr, Key(), &length), kPlainFailed);
    // A negative plaintext length encrypts as an empty one.
    length = -3;
    EXPECT_EQ(m_crypt.EncryptM(false, buffer.data(), c.data(), Key(), &length), kOk);
    EXPECT_EQ(length, 5);
}

}  // namespace
