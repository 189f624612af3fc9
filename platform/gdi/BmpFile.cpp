#include "platform/gdi/BmpFile.h"

#include <algorithm>
#include <cstring>

#include "platform/core/CFile.h"
#include "platform/core/LittleEndian.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/DibLayout.h"

namespace {

constexpr size_t kBitfieldMasksSize = 3 * 4;

WORD GetU16(const BYTE* at) { return static_cast<WORD>(at[0] | (at[1] << 8)); }

bool KnownHeaderSize(DWORD size) {
    return size == kInfoHeaderSize || size == kInfoHeaderV4Size || size == kInfoHeaderV5Size;
}

}  // namespace

BITMAPINFOHEADER ReadInfoHeaderAt(const BYTE* at) {
    BITMAPINFOHEADER h{};
    h.biSize = GetU32(at);
    h.biWidth = static_cast<LONG>(GetU32(at + 4));
    h.biHeight = static_cast<LONG>(GetU32(at + 8));
    h.biPlanes = GetU16(at + 12);
    h.biBitCount = GetU16(at + 14);
    h.biCompression = GetU32(at + 16);
    h.biSizeImage = GetU32(at + 20);
    h.biXPelsPerMeter = static_cast<LONG>(GetU32(at + 24));
    h.biYPelsPerMeter = static_cast<LONG>(GetU32(at + 28));
    h.biClrUsed = GetU32(at + 32);
    h.biClrImportant = GetU32(at + 36);
    return h;
}

HBITMAP DecodeBmpFile(std::span<const BYTE> file) {
    if (file.size() < kBmpFileHeaderSize + kInfoHeaderSize || GetU16(file.data()) != kBmpMagic) return nullptr;
    const BYTE* info = file.data() + kBmpFileHeaderSize;
    const DWORD headerSize = GetU32(info);
    if (!KnownHeaderSize(headerSize) || file.size() - kBmpFileHeaderSize < headerSize) return nullptr;
    BITMAPINFOHEADER header = ReadInfoHeaderAt(info);
    header.biSize = kInfoHeaderSize;  // the longer forms are read as their first 40 bytes
    const auto layout = DibLayout::From(header);
    if (!layout) return nullptr;

    // The header block: header, then the colour table, or the masks that follow the first
    // 40 bytes of every header form.
    const bool bitfields = layout->compression == BI_BITFIELDS;
    const size_t tableBytes = bitfields ? kBitfieldMasksSize : layout->colorCount * kColorEntrySize;
    const size_t tableOffset = kBmpFileHeaderSize + (bitfields ? kInfoHeaderSize : headerSize);
    if (file.size() - tableOffset < tableBytes) return nullptr;
    std::vector<BYTE> block(kInfoHeaderSize + tableBytes);
    std::memcpy(block.data(), &header, kInfoHeaderSize);
    std::memcpy(block.data() + kInfoHeaderSize, file.data() + tableOffset, tableBytes);

    // Pixels at the header's offset when it points past the table, else right after it.
    size_t pixels = GetU32(file.data() + kBmpOffsetPixels);
    const size_t afterTable = std::max(tableOffset + tableBytes, kBmpFileHeaderSize + headerSize);
    if (pixels < afterTable || pixels >= file.size()) pixels = afterTable;
    if (pixels > file.size()) return nullptr;
    const std::span<const BYTE> bits = file.subspan(pixels);
    auto* blockInfo = reinterpret_cast<BITMAPINFO*>(block.data());
    if (layout->IsRle() && blockInfo->bmiHeader.biSizeImage == 0)
        blockInfo->bmiHeader.biSizeImage = static_cast<DWORD>(bits.size());

    CSurface image;
    if (!DecodeDib(*blockInfo, bits, image)) return nullptr;
    return new GdiBitmap(std::move(image));
}

HBITMAP LoadBitmapFile(const char* path) {
    CFile file;
    if (!path || !file.Open(path, CFile::modeRead)) return nullptr;
    try {
        const std::uint64_t length = file.GetLength();
        if (length > (std::uint64_t{1} << 30)) return nullptr;  // far beyond any drawable image
        std::vector<BYTE> bytes(static_cast<size_t>(length));
        if (file.Read(bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size()) return nullptr;
        return DecodeBmpFile(bytes);
    } catch (const CFileException&) {
        return nullptr;
    }
}
