#include "crypt/MemoryContainer.h"

#include <algorithm>

#include "crypt/ContainerFormat.h"
#include "crypt/ContainerRecord.h"
#include "crypt/CryptStatus.h"
#include "platform/core/LittleEndian.h"

using namespace container;

std::uint64_t EncryptMemoryContainer(const CipherKey& key, bool crc, const BYTE* plain, std::uint64_t plainLength,
                                     BYTE* out) {
    PutU32(out, key.checkValue);
    out[kPadOffset] = PadCount(plainLength);
    std::uint64_t at = kHeaderSize;
    for (std::uint64_t done = 0; done < plainLength;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, plainLength - done));
        at += SealRecord(plain + done, n, out + at, key.roundKeys, crc);
        done += n;
    }
    out[at] = 0;
    return at;
}

DWORD DecryptMemoryContainer(const CipherKey& key, bool crc, const BYTE* in, std::uint64_t length, BYTE* plain) {
    if (length < kCheckValueSize || GetU32(in) != key.checkValue) return cryptstatus::kWrongKey;
    plain[0] = 0;
    // The structure is checked as a whole before any plaintext is written: the final record is
    // the one that ends at the container's end.
    const auto plan = length > kPadOffset ? PlanChunks(length, crc, in[kPadOffset], Form::memory) : std::nullopt;
    if (!plan) return cryptstatus::kDamaged;
    if (!crc && ShowsChunkCrcs(in, length, in[kPadOffset], Form::memory)) return cryptstatus::kDamaged;

    const std::size_t crcBytes = crc ? kCrcSize : 0;
    std::uint64_t at = kHeaderSize, out = 0;
    const DWORD result = VisitRecords(*plan, in[kPadOffset], [&](RecordSpan span) {
        if (!OpenRecord(in + at, span.cipher, crc, plain + out, span.keep, key.roundKeys)) return cryptstatus::kDamaged;
        at += span.cipher + crcBytes;
        out += span.keep;
        return cryptstatus::kOk;
    });
    plain[out] = 0;
    return result;
}
