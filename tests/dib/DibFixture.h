#pragma once
// Bitmap files built byte by byte for the bitmap class's tests, and a fixture that records the
// message boxes the class shows (a headless desktop answers each with OK).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/CDib.h"
#include "platform/backends/HeadlessBackend.h"
#include "tests/support/TempDir.h"

// What a built bitmap file holds. Colour-table entry i is (blue i, green 255 - i, red 3i);
// pixel byte k is (37k + 11) mod 256, so every row differs, with the padding of each row and
// any bytes beyond the rows zero.
struct BmpSpec {
    int width = 5;
    int height = 3;
    WORD bitCount = 8;
    DWORD clrUsed = 0;
    DWORD headerSize = 40;
    DWORD sizeImage = 0;
    // Red, green and blue masks: the image is BI_BITFIELDS, the masks before the colour table.
    std::vector<DWORD> masks = {};
};

// Offsets of the fields the tests change.
constexpr size_t kAtPixelOffset = 10;
constexpr size_t kAtHeaderSize = 14;
constexpr size_t kAtWidth = 18;
constexpr size_t kAtHeight = 22;
constexpr size_t kAtBitCount = 28;
constexpr size_t kAtCompression = 30;
constexpr size_t kAtSizeImage = 34;
constexpr size_t kAtClrUsed = 46;

std::vector<BYTE> MakeBitmapFile(const BmpSpec& spec = {});
// The pixel bytes that MakeBitmapFile writes for `spec`.
std::vector<BYTE> PixelsOf(const BmpSpec& spec);
void PutU32At(std::vector<BYTE>& bytes, size_t at, DWORD value);
void PutU16At(std::vector<BYTE>& bytes, size_t at, WORD value);
DWORD U32At(const std::vector<BYTE>& bytes, size_t at);

// The colour a 32-bit surface shows for palette entry `i` of a built file.
COLORREF BuiltColor(int i);

class DibTest : public testing::Test {
protected:
    // Writes `bytes` as a file in the test's folder and returns its path.
    std::string Save(const std::vector<BYTE>& bytes, const std::string& name = "image.bmp");
    // Reads the file at `path` with Read.
    BOOL ReadFile(CDib& dib, const std::string& path);
    // The messages shown so far, and forgets them.
    std::vector<std::string> TakeMessages();

    TempDir dir;
    HeadlessBackend backend{400, 300};
};
