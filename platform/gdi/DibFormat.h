#pragma once
// The device-independent bitmap (DIB) in memory and in a bitmap file: the 14-byte file header,
// the 40-byte info header, the colour table of 4-byte entries and the pixel rows, each row
// padded to a multiple of 4 bytes. Rows run bottom-up for a positive height and top-down for
// a negative one. The records below are the in-memory form the drawing calls take, in the
// host's byte order; files are parsed and written field by field (BmpFile). On a little-endian
// host their layout equals the file's bytes; the drawing code is tested on little-endian hosts
// only (the big-endian suite covers the stored formats, not drawing).
#include <cstddef>
#include <cstdint>

#include "platform/core/Types.h"

// File header: "BM", file size (4), two reserved words (2 + 2), pixel offset (4).
constexpr size_t kBmpFileHeaderSize = 2 + 4 + 2 + 2 + 4;
constexpr WORD kBmpMagic = 0x4D42;  // "BM" read little-endian
constexpr size_t kBmpOffsetFileSize = 2;
constexpr size_t kBmpOffsetPixels = 10;

// Info header sizes: the classic 40-byte form and the longer V4 and V5 forms.
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kInfoHeaderV4Size = 108;
constexpr DWORD kInfoHeaderV5Size = 124;
constexpr size_t kColorEntrySize = 4;  // blue, green, red, reserved
// BI_BITFIELDS: the red, green and blue masks (4 bytes each) that follow a 40-byte info header
// where a colour table would begin.
constexpr size_t kBitfieldMaskBytes = 3 * 4;

// Compression codes of the info header.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;

// Colour usage of the DIB calls: the colour table holds colours (or palette indices).
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;

// CreateDIBitmap: initialise the bitmap from the given bits.
constexpr DWORD CBM_INIT = 4;

struct BITMAPINFOHEADER {
    DWORD biSize;           // size of this header: 40
    LONG biWidth;           // pixels per row
    LONG biHeight;          // rows; negative for top-down rows
    WORD biPlanes;          // 1
    WORD biBitCount;        // 1, 4, 8, 16, 24 or 32
    DWORD biCompression;    // BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS
    DWORD biSizeImage;      // bytes of pixel data; may be 0 for BI_RGB
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;        // colour-table entries; 0 = all that the bit count allows
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// The info header followed by its colour table (declared with one entry; callers allocate
// the header with as many entries as the header asks for).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

static_assert(sizeof(BITMAPINFOHEADER) == kInfoHeaderSize);
static_assert(offsetof(BITMAPINFOHEADER, biCompression) == 16);
static_assert(offsetof(BITMAPINFOHEADER, biClrImportant) == 36);
static_assert(sizeof(RGBQUAD) == kColorEntrySize);
static_assert(offsetof(BITMAPINFO, bmiColors) == kInfoHeaderSize);

// Bytes per uncompressed row: bit count x width rounded up to whole 32-bit words.
constexpr std::uint64_t DibStride(std::uint64_t width, std::uint64_t bitCount) {
    return ((bitCount * width + 31) / 32) * 4;
}
static_assert(DibStride(3, 24) == 12);
static_assert(DibStride(1, 1) == 4);

// Colour-table entries a header implies: the colours-used field when set, else all that a
// palettised bit count allows, else none.
constexpr DWORD DibColorCount(DWORD clrUsed, WORD bitCount) {
    if (clrUsed != 0) return clrUsed;
    return bitCount <= 8 ? (1u << bitCount) : 0;
}
