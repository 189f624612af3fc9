#include "platform/gdi/DibFunctions.h"

#include <cstring>
#include <span>

#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/DibEncoder.h"
#include "platform/gdi/DibLayout.h"
#include "platform/gdi/StockObjects.h"

namespace {

size_t TableBytes(const DibLayout& d) { return d.compression == BI_BITFIELDS ? kBitfieldMaskBytes : d.colorCount * kColorEntrySize; }

// The header block in its 40-byte form: header, then colour table or masks.
std::vector<BYTE> CopyBlock(const BITMAPINFO& info, const DibLayout& d) {
    std::vector<BYTE> block(kInfoHeaderSize + TableBytes(d));
    std::memcpy(block.data(), &info.bmiHeader, kInfoHeaderSize);
    std::memcpy(block.data() + kInfoHeaderSize, reinterpret_cast<const BYTE*>(&info) + info.bmiHeader.biSize,
                block.size() - kInfoHeaderSize);
    reinterpret_cast<BITMAPINFOHEADER*>(block.data())->biSize = kInfoHeaderSize;
    return block;
}

bool Decode(const BITMAPINFO& info, const void* bits, CSurface& out) {
    const auto d = DibLayout::From(info.bmiHeader);
    if (!d || !bits) return false;
    return DecodeDib(info, std::span(static_cast<const BYTE*>(bits), d->imageSize), out);
}

// Writes the selected palette into a palettised header's colour table.
void TableFromPalette(HDC dc, BITMAPINFO& info, const DibLayout& d) {
    if (!dc || d.bitCount > 8) return;
    HPALETTE palette = dc->GetCurrentPalette();
    if (!palette || palette == GetStockObject(DEFAULT_PALETTE)) return;
    BYTE* entry = reinterpret_cast<BYTE*>(&info) + info.bmiHeader.biSize;
    for (DWORD i = 0; i < d.colorCount; ++i, entry += kColorEntrySize) {
        const PALETTEENTRY p = i < palette->Entries().size() ? palette->Entries()[i] : PALETTEENTRY{};
        entry[0] = p.peBlue;
        entry[1] = p.peGreen;
        entry[2] = p.peRed;
        entry[3] = 0;
    }
}

void DescribeDeviceFormat(HBITMAP bitmap, BITMAPINFOHEADER& h) {
    h = BITMAPINFOHEADER{};
    h.biSize = kInfoHeaderSize;
    h.biWidth = bitmap->Width();
    h.biHeight = bitmap->Height();
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(DibStride(static_cast<std::uint64_t>(h.biWidth), 32) * static_cast<std::uint64_t>(h.biHeight));
}

// What an encoding depends on: the header (but for the image size it reports) and the table.
std::vector<BYTE> EncodingKey(const BITMAPINFO& info, const DibLayout& d) {
    std::vector<BYTE> key = CopyBlock(info, d);
    reinterpret_cast<BITMAPINFOHEADER*>(key.data())->biSizeImage = 0;
    return key;
}

// RLE bits of all rows, or only their size. A caller asks for the size first and then for
// the bits, so the size query leaves its encoding in the bitmap for the call that follows.
int CompressedBits(HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO& info, const DibLayout& d) {
    std::vector<BYTE> key = EncodingKey(info, d);
    std::vector<BYTE> encoded;
    if (!bitmap->TakeEncoding(key, encoded) && !EncodeDib(bitmap->Pixels(), info, encoded)) return 0;
    // Compressed rows cannot be cut into scan-line ranges: all of them or nothing.
    if (bits && (start != 0 || lines != static_cast<UINT>(d.height) || info.bmiHeader.biSizeImage < encoded.size())) return 0;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(encoded.size());
    if (bits)
        std::memcpy(bits, encoded.data(), encoded.size());
    else
        bitmap->KeepEncoding(std::move(key), std::move(encoded));
    return static_cast<int>(lines);
}

}  // namespace

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS || section) return nullptr;
    const auto d = DibLayout::From(info->bmiHeader);
    if (!d || d->IsRle()) return nullptr;
    auto* bitmap = new GdiBitmap(CopyBlock(*info, *d), d->imageSize);
    if (bits) *bits = bitmap->SectionBits();
    return bitmap;
}

HBITMAP CreateDIBitmap(HDC, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info, UINT usage) {
    if (!header || usage != DIB_RGB_COLORS) return nullptr;
    const auto d = DibLayout::From(*header);
    if (!d) return nullptr;
    if (!(init & CBM_INIT)) return new GdiBitmap(d->width, d->height);
    CSurface image;
    if (!(info && Decode(*info, bits, image) && image.Width() == d->width && image.Height() == d->height)) return nullptr;
    return new GdiBitmap(std::move(image));
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
    if (!bitmap || !info || usage != DIB_RGB_COLORS) return 0;
    if (info->bmiHeader.biBitCount == 0) {
        DescribeDeviceFormat(bitmap, info->bmiHeader);
        return bitmap->Height();
    }
    const auto d = DibLayout::From(info->bmiHeader);
    if (!d || d->compression == BI_BITFIELDS || d->width != bitmap->Width() || d->height != bitmap->Height()) return 0;
    if (start >= static_cast<UINT>(d->height)) return 0;
    lines = std::min(lines, static_cast<UINT>(d->height) - start);
    TableFromPalette(dc, *info, *d);
    if (d->IsRle()) return CompressedBits(bitmap, start, lines, bits, *info, *d);
    std::vector<BYTE> encoded;
    if (!EncodeDib(bitmap->Pixels(), *info, encoded)) return 0;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(d->imageSize);
    if (bits) std::memcpy(bits, encoded.data() + start * d->stride, lines * d->stride);
    return static_cast<int>(lines);
}

int StretchDIBits(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!dc || !info || !bits || usage != DIB_RGB_COLORS) return 0;
    const auto d = DibLayout::From(info->bmiHeader, DibSizeLimit::lifted);
    if (!d) return 0;
    const int top = d->topDown ? sy : d->height - sy - sh;
    // Uncompressed rows are read where they lie, only the pixels drawn, so an image of any
    // size paints; run-length-encoded ones must be decoded whole first.
    if (!d->IsRle())
        return dc->StretchSampled(x, y, w, h, CSize(d->width, d->height), sx, top, sw, sh, rop,
                                  SampleDib(*info, static_cast<const BYTE*>(bits), *d))
                   ? std::abs(h)
                   : 0;
    CSurface image;
    if (!Decode(*info, bits, image)) return 0;
    return dc->StretchSurface(x, y, w, h, image, sx, top, sw, sh, rop) ? std::abs(h) : 0;
}
