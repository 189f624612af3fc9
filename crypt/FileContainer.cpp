#include "crypt/FileContainer.h"

#include <algorithm>
#include <memory>
#include <new>

#include "crypt/ContainerFormat.h"
#include "crypt/ContainerRecord.h"
#include "crypt/CryptStatus.h"
#include "crypt/SecureWipe.h"
#include "platform/core/LittleEndian.h"

using namespace container;

namespace {

// Room for one full record: a chunk of ciphertext and its CRC.
constexpr std::size_t kBufferSize = kChunkSize + kCrcSize;

// The plaintext side of a chunk and the record side, wiped on every way out since the plain
// buffer holds plaintext.
class ChunkBuffers {
public:
    ChunkBuffers() : m_plain(new (std::nothrow) BYTE[kBufferSize]), m_record(new (std::nothrow) BYTE[kBufferSize]) {}
    ~ChunkBuffers() {
        if (m_plain) SecureWipe(m_plain.get(), kBufferSize);
    }
    ChunkBuffers(const ChunkBuffers&) = delete;
    ChunkBuffers& operator=(const ChunkBuffers&) = delete;

    bool Allocated() const { return m_plain && m_record; }
    BYTE* Plain() { return m_plain.get(); }
    BYTE* Record() { return m_record.get(); }

private:
    std::unique_ptr<BYTE[]> m_plain, m_record;
};

// Reads exactly `count` bytes; false on a read error or an early end of the file.
bool ReadExactly(CFile& file, BYTE* to, std::size_t count) {
    try {
        return file.Read(to, static_cast<UINT>(count)) == count;
    } catch (const CFileException&) {
        return false;
    }
}

bool WriteAll(CFile& file, const BYTE* from, std::size_t count) {
    try {
        file.Write(from, static_cast<UINT>(count));
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

}  // namespace

DWORD EncryptFileContainer(const CipherKey& key, bool crc, CFile& plain, std::uint64_t plainLength, CFile& out) {
    ChunkBuffers buffers;
    if (!buffers.Allocated()) return cryptstatus::kNoMemory;
    BYTE header[kHeaderSize];
    PutU32(header, key.checkValue);
    header[kPadOffset] = PadCount(plainLength);
    if (!WriteAll(out, header, sizeof header)) return cryptstatus::kContainerFailed;

    // Every chunk is sealed, the last one too when it is empty: a plaintext whose length is a
    // multiple of the chunk size (0 included) ends in the extra empty record.
    for (std::uint64_t left = plainLength;;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, left));
        if (!ReadExactly(plain, buffers.Plain(), n)) return cryptstatus::kReadError;
        const std::size_t size = SealRecord(buffers.Plain(), n, buffers.Record(), key.roundKeys, crc);
        if (!WriteAll(out, buffers.Record(), size)) return cryptstatus::kContainerFailed;
        if (n < kChunkSize) return cryptstatus::kOk;
        left -= n;
    }
}

DWORD DecryptFileContainer(const CipherKey& key, bool crc, int pad, CFile& in, CFile& out) {
    std::uint64_t length = 0;
    BYTE check[kCheckValueSize];
    try {
        length = in.GetLength();
    } catch (const CFileException&) {
        return cryptstatus::kReadError;
    }
    if (length < kCheckValueSize) return cryptstatus::kWrongKey;
    if (!ReadExactly(in, check, sizeof check)) return cryptstatus::kReadError;
    if (GetU32(check) != key.checkValue) return cryptstatus::kWrongKey;
    const auto plan = pad < 0 ? std::nullopt : PlanChunks(length, crc, static_cast<BYTE>(pad), Form::file);
    if (!plan) return cryptstatus::kDamaged;

    ChunkBuffers buffers;
    if (!buffers.Allocated()) return cryptstatus::kNoMemory;
    BYTE skipped;
    if (!ReadExactly(in, &skipped, 1)) return cryptstatus::kReadError;  // the pad byte, known already
    const std::size_t crcBytes = crc ? kCrcSize : 0;
    return VisitRecords(*plan, static_cast<BYTE>(pad), [&](RecordSpan span) {
        if (!ReadExactly(in, buffers.Record(), span.cipher + crcBytes)) return cryptstatus::kReadError;
        if (!OpenRecord(buffers.Record(), span.cipher, crc, buffers.Plain(), span.keep, key.roundKeys))
            return cryptstatus::kDamaged;
        if (!WriteAll(out, buffers.Plain(), span.keep)) return cryptstatus::kPlainFailed;
        return cryptstatus::kOk;
    });
}
