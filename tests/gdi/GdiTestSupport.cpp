#include "GdiTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>

#include "platform/core/LittleEndian.h"
#include "platform/gdi/ColorRef.h"

MemoryDC::MemoryDC(int width, int height, COLORREF background) {
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.CreateCompatibleBitmap(&m_dc, width, height);
    m_old = m_dc.SelectObject(&m_bitmap);
    m_dc.FillSolidRect(0, 0, width, height, background);
}

MemoryDC::~MemoryDC() { m_dc.SelectObject(m_old); }

std::string MemoryDC::Picture(COLORREF color, char ink) {
    std::string out;
    const CSurface& s = Pixels();
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) out += ColorFromPixel(s.At(x, y)) == color ? ink : '.';
        out += '\n';
    }
    return out;
}

std::vector<BYTE> BmpFileBytes(const std::vector<BYTE>& infoBlock, const std::vector<BYTE>& bits) {
    const size_t pixelOffset = kBmpFileHeaderSize + infoBlock.size();
    std::vector<BYTE> file(pixelOffset + bits.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file.data() + kBmpOffsetFileSize, static_cast<std::uint32_t>(file.size()));
    PutU32(file.data() + kBmpOffsetPixels, static_cast<std::uint32_t>(pixelOffset));
    std::copy(infoBlock.begin(), infoBlock.end(), file.begin() + kBmpFileHeaderSize);
    std::copy(bits.begin(), bits.end(), file.begin() + static_cast<std::ptrdiff_t>(pixelOffset));
    return file;
}

std::vector<BYTE> InfoBlock(int width, int height, WORD bitCount, DWORD compression, const std::vector<COLORREF>& colors) {
    std::vector<BYTE> block(kInfoHeaderSize + colors.size() * kColorEntrySize, 0);
    BITMAPINFOHEADER h{};
    h.biSize = kInfoHeaderSize;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bitCount;
    h.biCompression = compression;
    h.biClrUsed = static_cast<DWORD>(colors.size());
    std::memcpy(block.data(), &h, sizeof h);
    for (size_t i = 0; i < colors.size(); ++i) {
        BYTE* e = block.data() + kInfoHeaderSize + i * kColorEntrySize;
        e[0] = GetBValue(colors[i]);
        e[1] = GetGValue(colors[i]);
        e[2] = GetRValue(colors[i]);
    }
    return block;
}
