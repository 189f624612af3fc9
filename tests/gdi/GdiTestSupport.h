#pragma once
// Helpers of the drawing tests: a memory context over a small bitmap, pixel reading, running
// an independent decoder, and bitmap files put together byte by byte.
#include <string>
#include <vector>

#include "platform/gdi/CDC.h"
#include "platform/gdi/DibFormat.h"
#include "tests/support/RunCommand.h"

// A memory context with a w x h bitmap selected, filled with `background`.
class MemoryDC {
public:
    MemoryDC(int width, int height, COLORREF background = 0xFFFFFF);
    ~MemoryDC();
    CDC& dc() { return m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    const CSurface& Pixels() { return *m_dc.GetSurface(); }
    // Rows of characters: `ink` where the pixel has colour `color`, '.' elsewhere.
    std::string Picture(COLORREF color, char ink = '#');

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
};

// A bitmap file: file header, the info block (header and colour table) and the bits.
std::vector<BYTE> BmpFileBytes(const std::vector<BYTE>& infoBlock, const std::vector<BYTE>& bits);

// An info block: header of the given form and a colour table of `colors`.
std::vector<BYTE> InfoBlock(int width, int height, WORD bitCount, DWORD compression, const std::vector<COLORREF>& colors);
inline BITMAPINFO* Info(std::vector<BYTE>& block) { return reinterpret_cast<BITMAPINFO*>(block.data()); }
