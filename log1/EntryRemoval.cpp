#include "log1/EntryRemoval.h"

#include <algorithm>
#include <cerrno>
#include <unordered_map>

#include "platform/core/FileReplace.h"
#include "platform/core/FileSystem.h"
#include "platform/core/LittleEndian.h"

namespace {

using entryfile::kRecordSize;

constexpr UINT kRewriteFlags = CFile::modeReadWrite | CFile::modeNoFollow | CFile::typeBinary;
// Bytes per read or write call.
constexpr std::uint64_t kChunk = 1 << 20;

// The whole file; nothing if it reads shorter than its length, which no cooperating writer can
// cause while the lock is held.
std::optional<std::vector<std::uint8_t>> ReadWhole(CFile& file, std::uint64_t length) {
    std::vector<std::uint8_t> bytes(length);
    for (std::uint64_t at = 0; at < length;) {
        const UINT n = file.ReadAt(at, bytes.data() + at, static_cast<UINT>(std::min(length - at, kChunk)));
        if (n == 0) return std::nullopt;
        at += n;
    }
    return bytes;
}

std::vector<bool> MarkRemoved(std::span<const std::uint8_t> bytes, std::span<const CLogRecordItem> gone) {
    const size_t whole = bytes.size() / kRecordSize;
    std::vector<bool> removed(whole, false);
    const auto entryAt = [&](size_t i) { return entryfile::DecodeEntry(bytes.data() + i * kRecordSize); };
    std::unordered_multimap<DWORD, const CLogRecordItem*> moved;
    for (const CLogRecordItem& entry : gone) {
        const size_t i = entry.offset / kRecordSize;
        if (entry.offset % kRecordSize == 0 && i < whole && !removed[i] &&
            entryfile::SameApartFromUpdate(entryAt(i), entry))
            removed[i] = true;
        else
            moved.emplace(entry.time, &entry);
    }
    for (size_t i = 0; i < whole && !moved.empty(); ++i) {
        if (removed[i]) continue;
        const auto [first, last] = moved.equal_range(GetU32(bytes.data() + i * kRecordSize + entryfile::kTimeOffset));
        if (first == last) continue;
        const _LOG_RECORD_V1_ stored = entryAt(i);
        const auto match = std::find_if(first, last, [&](const auto& m) {
            return entryfile::SameApartFromUpdate(stored, *m.second);
        });
        if (match == last) continue;
        removed[i] = true;
        moved.erase(match);
    }
    return removed;
}

std::vector<std::uint8_t> KeptBytes(std::span<const std::uint8_t> bytes, const std::vector<bool>& removed) {
    std::vector<std::uint8_t> kept;
    kept.reserve(bytes.size());
    for (size_t i = 0; i < removed.size(); ++i)
        if (!removed[i]) kept.insert(kept.end(), bytes.begin() + i * kRecordSize, bytes.begin() + (i + 1) * kRecordSize);
    kept.insert(kept.end(), bytes.begin() + removed.size() * kRecordSize, bytes.end());
    return kept;
}

bool ReplaceWith(const std::string& path, std::span<const std::uint8_t> bytes, const FileFactory& makeFile) {
    const std::unique_ptr<CFile> file = makeFile ? makeFile() : std::make_unique<CFile>();
    PendingFile temporary;
    if (!CreateBeside(temporary, *file, path)) return false;
    try {
        for (std::uint64_t at = 0; at < bytes.size(); at += kChunk)
            file->Write(bytes.data() + at, static_cast<UINT>(std::min(bytes.size() - at, kChunk)));
        file->Close();
    } catch (const CFileException&) {
        file->Abort();
        return false;
    }
    return temporary.PutInPlace();
}

}  // namespace

std::optional<std::vector<bool>> RemoveEntries(const std::string& path, std::span<const CLogRecordItem> gone,
                                               const FileFactory& makeFile) {
    CKeptFile month(makeFile);
    std::uint64_t length = 0;
    CFile* file = month.OpenLocked(path.c_str(), kRewriteFlags, length);
    if (!file) return errno == ENOENT ? std::optional(std::vector<bool>()) : std::nullopt;
    std::optional<std::vector<std::uint8_t>> bytes;
    try {
        bytes = ReadWhole(*file, length);
    } catch (const CFileException&) {
    }
    if (!bytes) return std::nullopt;
    std::vector<bool> removed = MarkRemoved(*bytes, gone);
    if (std::none_of(removed.begin(), removed.end(), [](bool r) { return r; })) return removed;
    // The lock is held until `month` closes the old file, after the rename or the delete.
    const std::vector<std::uint8_t> kept = KeptBytes(*bytes, removed);
    const bool replaced = kept.empty() ? static_cast<bool>(DeleteFileA(path.c_str())) : ReplaceWith(path, kept, makeFile);
    if (!replaced) return std::nullopt;
    return removed;
}
