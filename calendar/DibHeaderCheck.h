#pragma once
// The checks that stand between a bitmap's bytes and CDib: an info header is taken only when
// it is the 40-byte form, bottom-up, of a size, bit count, compression and colour count that
// can be drawn, with an image size that agrees with its rows; a file's headers are taken only
// when the colour masks, colour table and pixels they announce lie inside the file. Each
// refusal is a CException whose text names the fault; CDib keeps it as its LastFailure.
#include <cstdint>
#include <memory>

#include "platform/core/CFile.h"
#include "platform/gdi/BmpFile.h"
#include "platform/gdi/DibFormat.h"
#include "platform/gdi/DibLayout.h"

// What an accepted info header describes.
struct DibShape {
    DWORD imageSize = 0;  // bytes of pixel data: the header's image-size field, else stride x height
    int colorCount = 0;   // colour-table entries
    size_t maskBytes = 0; // the colour masks of a BI_BITFIELDS image, before the colour table
    // Info header, masks and colour table.
    size_t TableEnd() const {
        return kInfoHeaderSize + maskBytes + kColorEntrySize * static_cast<size_t>(colorCount);
    }
};

// Bytes of pixel data that a header implies: its image-size field when set, else row stride x
// height, all unsigned.
DWORD DibImageSize(const BITMAPINFOHEADER& header);

// The shape of an info header, or a CException naming why CDib cannot hold it. `limit` says
// whether the size limits hold: lifted only where the caller knows how many bytes follow the
// header and checks the shape against them.
DibShape CheckInfoHeader(const BITMAPINFOHEADER& header, DibSizeLimit limit);

// The pixel offset of a bitmap file's 14-byte header, given the bytes available from its start,
// or a CException naming why it announces no bitmap: no "BM", or an offset that leaves no room
// for the info header or lies past the end.
std::uint64_t CheckFileHeader(const BYTE* fileHeader, std::uint64_t available);

// A bitmap file's headers as read from a file: the header block (info header, colour table and
// whatever lies between them and the pixels) and its shape.
struct DibFileHead {
    std::unique_ptr<BYTE[]> block;
    size_t blockBytes = 0;
    DibShape shape;
};

// Reads and checks the file header and header block from the file's current position, leaving
// the file at the pixel data; the pixel data is known to be inside the file. Raises a
// CException naming the fault, or the file's CFileException.
DibFileHead ReadDibFileHead(CFile& file);

// Reads exactly `count` bytes, or raises a CException: a short read is an error.
void ReadExactly(CFile& file, void* into, std::uint64_t count, const char* what);
