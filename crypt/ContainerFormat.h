#pragma once
// The encrypted container, the same in a file and in memory (integers little-endian):
//
//   container = checkValue:u32 pad:u8 record*
//   record    = ciphertext[ceil(n / 8) * 8] (crc:u32 when chunk CRCs are on)
//
// One record per plaintext chunk of n bytes; every chunk but the last holds kChunkSize bytes,
// and only the last is padded with `pad` zero bytes to a whole block. A file container whose
// plaintext length is a multiple of kChunkSize (0 included) ends with one extra empty record
// (no ciphertext; CRC 00 00 00 00 when CRCs are on); a memory container has no such record, and
// its buffer holds one byte 00 after the container that the length does not count. Whether CRCs
// are present is not recorded: the reader must be told.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "crypt/CryptStatus.h"
#include "platform/core/Types.h"

namespace container {

constexpr std::size_t kCheckValueSize = 4;
constexpr std::size_t kPadOffset = 4;
constexpr std::size_t kHeaderSize = kCheckValueSize + 1;  // check value, pad count
constexpr std::size_t kChunkSize = 8192;                  // plaintext bytes per full chunk
constexpr std::size_t kCrcSize = 4;
constexpr std::size_t kCipherBlock = 8;
constexpr BYTE kMaxPad = kCipherBlock - 1;
constexpr std::size_t kMemoryTerminatorSize = 1;  // the 00 after a memory container
static_assert(kHeaderSize == 5);
static_assert(kChunkSize % kCipherBlock == 0);

enum class Form { file, memory };

constexpr BYTE PadCount(std::uint64_t plainLength) {
    return static_cast<BYTE>((kCipherBlock - plainLength % kCipherBlock) % kCipherBlock);
}

constexpr std::size_t RecordSize(std::size_t cipherLength, bool crc) { return cipherLength + (crc ? kCrcSize : 0); }

// The container length (terminator not counted) for a plaintext of `plainLength` bytes.
std::uint64_t ContainerLength(std::uint64_t plainLength, bool crc, Form form);

// Where the records of a container lie, worked out from its length alone.
struct ChunkPlan {
    std::uint64_t fullRecords = 0;    // records of kChunkSize ciphertext bytes before the final one
    bool hasFinal = false;            // false only for a container of the header alone
    std::size_t finalCipher = 0;      // ciphertext bytes of the final record, a multiple of 8
    std::uint64_t plainLength = 0;    // the plaintext these records decrypt to
};

// The records of a container of `length` bytes with pad count `pad`. The final record is the
// one that ends at the container's end, so a final chunk of a full kChunkSize ciphertext bytes
// is recognised as final. A file container whose plaintext fills its last chunk without padding
// ends in the extra empty record, which with CRCs on has its 4 bytes; so with CRCs on, a file
// container of pad count 0 that ends at a record boundary was cut there (or is the header
// alone) and does not fit. Without CRCs the empty record has no bytes and such a cut cannot be
// told from a whole container. No value: the length, the pad count or the final piece do not
// fit the chunk structure.
std::optional<ChunkPlan> PlanChunks(std::uint64_t length, bool crc, BYTE pad, Form form);

// How many bytes from a container's start show whether it carries chunk CRCs although it is
// read without them (ShowsChunkCrcs); 0 when its length and pad count rule them out.
std::size_t CrcEvidenceLength(std::uint64_t length, BYTE pad, Form form);

// Whether the container of `length` bytes whose first CrcEvidenceLength bytes are at `start`
// carries chunk CRCs: its length fits records with CRCs and its first record's stored CRC is the
// CRC-32 of that record's ciphertext. Read without CRCs, such a container would decrypt to wrong
// plaintext where its length happens to fit records without them too; a container written
// without CRCs passes this test only by a chance of 1 in 2^32.
bool ShowsChunkCrcs(const BYTE* start, std::uint64_t length, BYTE pad, Form form);

// One record of a plan: its ciphertext bytes and the plaintext bytes it yields.
struct RecordSpan {
    std::size_t cipher;
    std::size_t keep;
};

// Calls `visit(span)` for each record of `plan` in order, stopping at the first status other
// than kOk, which it returns; kOk when every record was visited.
template <typename Visit>
DWORD VisitRecords(const ChunkPlan& plan, BYTE pad, Visit visit) {
    for (std::uint64_t r = 0; r < plan.fullRecords; ++r)
        if (const DWORD result = visit(RecordSpan{kChunkSize, kChunkSize}); result != cryptstatus::kOk) return result;
    if (!plan.hasFinal) return cryptstatus::kOk;
    return visit(RecordSpan{plan.finalCipher, plan.finalCipher - pad});
}

}  // namespace container
