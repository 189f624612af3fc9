// Blits between contexts: plain copies, copies cut at clip and source edges, overlapping
// copies within one surface, raster operations, and stretching by the colour-on-colour rule.
#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/gdi/RasterOp.h"
#include "platform/gdi/StockObjects.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

// A 2 x 2 source of four colours: A B / C D.
constexpr COLORREF kA = 0x0000FF, kB = 0x00FF00, kC = 0xFF0000, kD = 0x00FFFF;

class Blit : public ::testing::Test {
protected:
    Blit() {
        src.dc().SetPixel(0, 0, kA);
        src.dc().SetPixel(1, 0, kB);
        src.dc().SetPixel(0, 1, kC);
        src.dc().SetPixel(1, 1, kD);
    }
    // The destination's pixels as letters: A to D for the source colours, '.' for white.
    std::string Letters(MemoryDC& m) {
        std::string out;
        const CSurface& s = m.Pixels();
        for (int y = 0; y < s.Height(); ++y) {
            for (int x = 0; x < s.Width(); ++x) {
                const COLORREF c = ColorFromPixel(s.At(x, y));
                out += c == kA ? 'A' : c == kB ? 'B' : c == kC ? 'C' : c == kD ? 'D' : c == kWhite ? '.' : '?';
            }
            out += '\n';
        }
        return out;
    }

    MemoryDC src{2, 2};
    MemoryDC dst{4, 4};
};

TEST_F(Blit, CopyPlacesTheBlockExactly) {
    dst.dc().BitBlt(1, 2, 2, 2, &src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(Letters(dst), "....\n....\n.AB.\n.CD.\n");
}

TEST_F(Blit, CopyIsCutAtTheDestinationEdgeClipAndSourceEdge) {
    dst.dc().BitBlt(3, 3, 2, 2, &src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(Letters(dst), "....\n....\n....\n...A\n");
    MemoryDC clipped(4, 4);
    clipped.dc().IntersectClipRect(0, 0, 1, 4);
    clipped.dc().BitBlt(0, 0, 2, 2, &src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(Letters(clipped), "A...\nC...\n....\n....\n");
    // Source pixels outside the source leave the destination alone.
    MemoryDC partial(4, 4);
    partial.dc().BitBlt(0, 0, 3, 3, &src.dc(), 1, 1, SRCCOPY);
    EXPECT_EQ(Letters(partial), "D...\n....\n....\n....\n");
}

TEST_F(Blit, OverlappingCopyWithinOneSurfaceReadsTheOldPixels) {
    dst.dc().BitBlt(0, 0, 2, 2, &src.dc(), 0, 0, SRCCOPY);
    dst.dc().BitBlt(1, 1, 2, 2, &dst.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(Letters(dst), "AB..\nCAB.\n.CD.\n....\n");
}

TEST_F(Blit, RasterOperationsCombinePatternSourceAndDestination) {
    struct Case {
        DWORD rop;
        COLORREF before, expected;
    };
    const Case cases[] = {
        {SRCCOPY, 0x123456, kA}, {SRCAND, 0x00FF0F, 0x00000F},  {SRCPAINT, 0x00FF00, 0x00FFFF},
        {SRCINVERT, 0x0000FF, 0}, {NOTSRCCOPY, 0, 0xFFFF00},    {DSTINVERT, 0x0000FF, 0xFFFF00},
        {BLACKNESS, 0x123456, 0}, {WHITENESS, 0x123456, kWhite}, {PATCOPY, 0x123456, 0x808080},
    };
    for (const auto& c : cases) {
        MemoryDC one(1, 1, c.before);
        one.dc().SelectStockObject(GRAY_BRUSH);
        one.dc().BitBlt(0, 0, 1, 1, &src.dc(), 0, 0, c.rop);
        one.dc().SelectStockObject(WHITE_BRUSH);
        EXPECT_EQ(one.At(0, 0), c.expected) << std::hex << c.rop;
    }
}

TEST_F(Blit, StretchRepeatsAndDropsWholeRowsAndColumns) {
    dst.dc().SetStretchBltMode(COLORONCOLOR);
    dst.dc().StretchBlt(0, 0, 4, 4, &src.dc(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(Letters(dst), "AABB\nAABB\nCCDD\nCCDD\n");
    MemoryDC wide(4, 1);
    wide.dc().StretchBlt(0, 0, 3, 1, &src.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(Letters(wide), "ABB.\n");
    MemoryDC small(2, 2);
    small.dc().StretchBlt(0, 0, 1, 1, &dst.dc(), 0, 0, 4, 4, SRCCOPY);  // one of each 4 x 4 kept
    EXPECT_EQ(Letters(small), "D.\n..\n");
}

TEST_F(Blit, NegativeExtentMirrors) {
    dst.dc().StretchBlt(1, 0, -2, 2, &src.dc(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(Letters(dst), "BA..\nDC..\n....\n....\n");
}

TEST_F(Blit, WindowContextDrawsOntoItsOwnersSurface) {
    CSurface desktop(4, 4, PixelFromColor(kWhite));
    CDC window;
    window.AttachSurface(&desktop);
    window.SetViewportOrg(2, 2);
    window.BitBlt(0, 0, 2, 2, &src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(ColorFromPixel(desktop.At(2, 2)), kA);
    EXPECT_EQ(ColorFromPixel(desktop.At(3, 3)), kD);
    // A window context takes no bitmap.
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&window, 2, 2);
    EXPECT_EQ(window.SelectObject(&bitmap), nullptr);
}

}  // namespace
