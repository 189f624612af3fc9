#include "crypt/FileContainer.h"

#include <algorithm>
#include <vector>

#include "crypt/ContainerFormat.h"
#include "crypt/ContainerRecord.h"
#include "crypt/CryptStatus.h"
#include "crypt/OverlappedIo.h"
#include "platform/core/LittleEndian.h"

using namespace container;

namespace {

constexpr std::size_t kGroupBytes = kChunksPerGroup * kChunkSize;
constexpr std::size_t kGroupRecordBytes = kChunksPerGroup * (kChunkSize + kCrcSize);

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

bool CarriesChunkCrcs(CFile& container, std::uint64_t length, BYTE pad) {
    std::vector<BYTE> start(CrcEvidenceLength(length, pad, Form::file));
    if (start.empty()) return false;
    try {
        if (container.ReadAt(0, start.data(), static_cast<UINT>(start.size())) != start.size()) return false;
    } catch (const CFileException&) {
        return false;
    }
    return ShowsChunkCrcs(start.data(), length, pad, Form::file);
}

bool CarriesChunkCrcs(const char* path) {
    CFile container;
    BYTE pad = 0;
    try {
        return container.Open(path, CFile::modeRead) && container.ReadAt(kPadOffset, &pad, 1) == 1 &&
               CarriesChunkCrcs(container, container.GetLength(), pad);
    } catch (const CFileException&) {
        return false;
    }
}

DWORD EncryptFileContainer(const CipherKey& key, bool crc, CFile& plain, std::uint64_t plainLength, CFile& out) {
    BYTE header[kHeaderSize];
    PutU32(header, key.checkValue);
    header[kPadOffset] = PadCount(plainLength);
    if (!WriteAll(out, header, sizeof header)) return cryptstatus::kContainerFailed;

    // Every chunk is sealed, the last one too when it is empty: a plaintext whose length is a
    // multiple of the chunk size (0 included) ends in the extra empty record, which the last
    // group holds (alone, when the plaintext fills whole groups).
    auto groupBytes = [&](std::size_t g) {
        return static_cast<std::size_t>(std::min<std::uint64_t>(kGroupBytes, plainLength - g * kGroupBytes));
    };
    OverlappedSteps steps;
    steps.groups = static_cast<std::size_t>(plainLength / kGroupBytes + 1);
    steps.inputSize = kGroupBytes;
    steps.outputSize = kGroupRecordBytes;
    steps.read = [&](std::size_t g, BYTE* in) {
        return ReadExactly(plain, in, groupBytes(g)) ? cryptstatus::kOk : cryptstatus::kReadError;
    };
    steps.transform = [&](std::size_t g, const BYTE* in, BYTE* records, std::size_t& size) {
        const std::size_t n = groupBytes(g);
        const bool last = g + 1 == steps.groups;
        for (std::size_t at = 0; at < n || (last && at == n); at += kChunkSize) {
            const std::size_t chunk = std::min(kChunkSize, n - at);
            size += SealRecord(in + at, chunk, records + size, key.roundKeys, crc);
            if (chunk < kChunkSize) break;
        }
        return cryptstatus::kOk;
    };
    steps.write = [&](const BYTE* records, std::size_t size) {
        return WriteAll(out, records, size) ? cryptstatus::kOk : cryptstatus::kContainerFailed;
    };
    return RunOverlapped(steps);
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
    if (!crc && CarriesChunkCrcs(in, length, static_cast<BYTE>(pad))) return cryptstatus::kDamaged;
    BYTE skipped;
    if (!ReadExactly(in, &skipped, 1)) return cryptstatus::kReadError;  // the pad byte, known already

    // Group g holds records kChunksPerGroup * g onwards; all are full but the final one.
    const std::size_t crcBytes = crc ? kCrcSize : 0;
    const std::uint64_t records = plan->fullRecords + (plan->hasFinal ? 1 : 0);
    auto recordsIn = [&](std::size_t g) {
        return static_cast<std::size_t>(std::min<std::uint64_t>(kChunksPerGroup, records - g * kChunksPerGroup));
    };
    auto spanOf = [&](std::uint64_t record) {
        return record < plan->fullRecords ? RecordSpan{kChunkSize, kChunkSize}
                                          : RecordSpan{plan->finalCipher, plan->finalCipher - static_cast<BYTE>(pad)};
    };
    OverlappedSteps steps;
    steps.groups = static_cast<std::size_t>((records + kChunksPerGroup - 1) / kChunksPerGroup);
    steps.inputSize = kGroupRecordBytes;
    steps.outputSize = kGroupBytes;
    steps.read = [&](std::size_t g, BYTE* to) {
        std::size_t bytes = 0;
        for (std::size_t r = 0; r < recordsIn(g); ++r) bytes += spanOf(g * kChunksPerGroup + r).cipher + crcBytes;
        return ReadExactly(in, to, bytes) ? cryptstatus::kOk : cryptstatus::kReadError;
    };
    steps.transform = [&](std::size_t g, const BYTE* from, BYTE* plainOut, std::size_t& size) {
        for (std::size_t r = 0; r < recordsIn(g); ++r) {
            const RecordSpan span = spanOf(g * kChunksPerGroup + r);
            if (!OpenRecord(from, span.cipher, crc, plainOut + size, span.keep, key.roundKeys))
                return cryptstatus::kDamaged;
            from += span.cipher + crcBytes;
            size += span.keep;
        }
        return cryptstatus::kOk;
    };
    steps.write = [&](const BYTE* plainOut, std::size_t size) {
        return WriteAll(out, plainOut, size) ? cryptstatus::kOk : cryptstatus::kPlainFailed;
    };
    return RunOverlapped(steps);
}
