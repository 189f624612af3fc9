#pragma once
// Windows bitmap files (DibFormat.h) read into device bitmaps: the host's bitmap resources and
// bitmap files on disk. Info headers of 40, 108 and 124 bytes are read (the longer forms
// through their first 40 bytes and masks), with any bit count and compression the DIB
// decoder draws; rows top-down or bottom-up.
#include <span>

#include "platform/gdi/CBitmap.h"

// The info header at `at` (40 readable bytes, any alignment), read field by field.
BITMAPINFOHEADER ReadInfoHeaderAt(const BYTE* at);

// A device bitmap of the file's image, or nullptr for bytes that are not a readable bitmap
// file (short, no "BM", a header or colour table cut off, pixels missing).
HBITMAP DecodeBmpFile(std::span<const BYTE> file);
// The same for a file on disk; nullptr also when it cannot be read.
HBITMAP LoadBitmapFile(const char* path);
