#include "crypt/ContainerFormat.h"

#include "crypt/Crc32.h"
#include "platform/core/LittleEndian.h"

namespace container {

std::uint64_t ContainerLength(std::uint64_t plainLength, bool crc, Form form) {
    const std::uint64_t chunks = (plainLength + kChunkSize - 1) / kChunkSize;
    const std::uint64_t cipher = (plainLength + kCipherBlock - 1) / kCipherBlock * kCipherBlock;
    const bool emptyRecord = form == Form::file && plainLength % kChunkSize == 0;
    return kHeaderSize + cipher + (crc ? kCrcSize * (chunks + (emptyRecord ? 1 : 0)) : 0);
}

std::optional<ChunkPlan> PlanChunks(std::uint64_t length, bool crc, BYTE pad, Form form) {
    if (length < kHeaderSize || pad > kMaxPad) return std::nullopt;
    const std::uint64_t body = length - kHeaderSize;
    const std::uint64_t fullRecord = RecordSize(kChunkSize, crc);
    // A file's plaintext that fills its last chunk without padding is followed by the extra
    // empty record; with padding, a full final chunk is whole (and a cut there meets the pad check).
    if (form == Form::file && crc && pad == 0 && body % fullRecord == 0) return std::nullopt;
    ChunkPlan plan;
    if (body == 0) {
        if (pad != 0) return std::nullopt;
        return plan;
    }
    const std::uint64_t rest = body % fullRecord;
    plan.hasFinal = true;
    if (rest == 0) {
        plan.fullRecords = body / fullRecord - 1;
        plan.finalCipher = kChunkSize;
    } else {
        const std::uint64_t crcBytes = crc ? kCrcSize : 0;
        if (rest < crcBytes || (rest - crcBytes) % kCipherBlock != 0) return std::nullopt;
        plan.fullRecords = body / fullRecord;
        plan.finalCipher = static_cast<std::size_t>(rest - crcBytes);
    }
    // Only the final block can hold pad bytes, so an empty final record allows none.
    if (pad > plan.finalCipher) return std::nullopt;
    plan.plainLength = plan.fullRecords * kChunkSize + plan.finalCipher - pad;
    return plan;
}

std::size_t CrcEvidenceLength(std::uint64_t length, BYTE pad, Form form) {
    const auto plan = PlanChunks(length, true, pad, form);
    if (!plan || !plan->hasFinal) return 0;
    return kHeaderSize + RecordSize(plan->fullRecords ? kChunkSize : plan->finalCipher, true);
}

bool ShowsChunkCrcs(const BYTE* start, std::uint64_t length, BYTE pad, Form form) {
    const std::size_t evidence = CrcEvidenceLength(length, pad, form);
    if (evidence == 0) return false;
    const std::size_t cipher = evidence - kHeaderSize - kCrcSize;
    return GetU32(start + kHeaderSize + cipher) == Crc32(start + kHeaderSize, cipher);
}

}  // namespace container
