#pragma once
// The DIB calls of the platform: DIB sections, device bitmaps made from DIB bits, DIB bits
// read back from a bitmap (uncompressed or RLE8/RLE4), and DIB bits stretched onto a context.
// Only colour tables of colours are taken (DIB_RGB_COLORS); DIB_PAL_COLORS is refused.
// An info block is the header followed, right after its biSize bytes, by its colour table;
// bits point to at least the image size the header implies (for RLE: its biSizeImage).
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/DibFormat.h"

// A DIB section of the header's format with zeroed bits; `*bits` receives the bits, which
// live as long as the bitmap. nullptr (and `*bits` nullptr) for a header that is not
// drawable, a compressed one, or a file-mapping section (`section` must be nullptr).
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD offset);

// A device bitmap of the header's size; with CBM_INIT filled from `bits` as `info` describes
// them. nullptr for a header or bits that cannot be drawn.
HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage);

// Reads a bitmap's pixels as DIB bits in the format of `info` (which must have the bitmap's
// width and height). With a palette other than the default one selected into `dc`, a
// palettised format takes its colour table from that palette; otherwise from `info` as
// given. Without `bits` only fills the header's biSizeImage (for RLE: the compressed size)
// and the colour table. With `bits`, writes scan lines `start` to `start + lines` (RLE: all
// of them, and only when the biSizeImage given is large enough). A header with biBitCount 0
// is filled with the bitmap's own format. Returns the scan lines done, 0 on failure.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage);

// Draws a block of DIB bits scaled onto the context (ROP and stretch mode as StretchBlt).
// The source block is in DIB coordinates: for a bottom-up image y counts from the bottom row.
// Returns the destination height drawn, 0 on failure.
int StretchDIBits(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rop);
