// The platform's pixel rules on tiny surfaces: line end points, fills and rectangles,
// clipping at clip and surface edges, the viewport origin, focus rectangles.
#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "platform/gdi/RasterOp.h"
#include "platform/gdi/StockObjects.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0, kRed = 0x0000FF;

struct LineCase {
    const char* name;
    CPoint from, to;
    const char* picture;
};

class PixelRules : public ::testing::Test {
protected:
    MemoryDC m{6, 4};
};

TEST_F(PixelRules, LineToLeavesOutItsEndPoint) {
    const LineCase cases[] = {
        {"horizontal", {1, 1}, {5, 1}, "......\n.####.\n......\n......\n"},
        {"leftwards", {4, 2}, {0, 2}, "......\n......\n.####.\n......\n"},
        {"vertical", {2, 0}, {2, 3}, "..#...\n..#...\n..#...\n......\n"},
        {"diagonal", {0, 0}, {3, 3}, "#.....\n.#....\n..#...\n......\n"},
        {"shallow", {0, 0}, {4, 2}, "##....\n..##..\n......\n......\n"},
        {"steep upwards", {5, 3}, {4, 0}, "......\n....#.\n.....#\n.....#\n"},
        {"single point", {3, 3}, {3, 3}, "......\n......\n......\n......\n"},
    };
    for (const auto& c : cases) {
        MemoryDC fresh(6, 4);
        fresh.dc().MoveTo(c.from);
        fresh.dc().LineTo(c.to);
        EXPECT_EQ(fresh.Picture(kBlack), c.picture) << c.name;
        EXPECT_EQ(fresh.dc().GetCurrentPosition(), c.to) << c.name;
    }
}

TEST_F(PixelRules, ConsecutiveLinesJoinWithoutGapsOrDoubleEnds) {
    // The outline of a button: each edge stops short of its end point, the next starts there.
    m.dc().MoveTo(0, 0);
    m.dc().LineTo(5, 0);
    m.dc().LineTo(5, 3);
    EXPECT_EQ(m.Picture(kBlack), "######\n.....#\n.....#\n......\n");
}

TEST_F(PixelRules, FillsHoldLeftAndTopButNotRightAndBottom) {
    m.dc().FillSolidRect(CRect(1, 1, 4, 3), kRed);
    EXPECT_EQ(m.Picture(kRed), "......\n.###..\n.###..\n......\n");
    m.dc().FillSolidRect(CRect(4, 3, 2, 1), kBlack);  // inverted: nothing
    EXPECT_EQ(m.Picture(kBlack), "......\n......\n......\n......\n");
}

TEST_F(PixelRules, RectangleDrawsPenOutlineAndBrushInside) {
    CBrush red(kRed);
    m.dc().SelectObject(&red);
    m.dc().Rectangle(0, 0, 5, 4);
    EXPECT_EQ(m.Picture(kBlack), "#####.\n#...#.\n#...#.\n#####.\n");
    EXPECT_EQ(m.Picture(kRed), "......\n.###..\n.###..\n......\n");
    // Without a pen the fill stops one pixel short on the right and bottom.
    m.dc().SelectStockObject(NULL_PEN);
    m.dc().FillSolidRect(0, 0, 6, 4, kWhite);
    m.dc().Rectangle(0, 0, 5, 4);
    EXPECT_EQ(m.Picture(kRed), "####..\n####..\n####..\n......\n");
    m.dc().SelectStockObject(BLACK_BRUSH);  // let go of the brush before it ends
    m.dc().SelectStockObject(BLACK_PEN);
}

TEST_F(PixelRules, FrameRectAndDraw3dRect) {
    CBrush black(kBlack);
    m.dc().FrameRect(CRect(0, 0, 4, 3), &black);
    EXPECT_EQ(m.Picture(kBlack), "####..\n#..#..\n####..\n......\n");
    m.dc().Draw3dRect(CRect(0, 0, 6, 4), kRed, kBlack);
    EXPECT_EQ(m.Picture(kRed), "#####.\n#.....\n#.....\n......\n");
    EXPECT_EQ(m.Picture(kBlack), ".....#\n...#.#\n.###.#\n######\n");
}

TEST_F(PixelRules, ClipRectangleAndSurfaceEdgesBoundEveryOperation) {
    m.dc().IntersectClipRect(1, 1, 4, 3);
    m.dc().FillSolidRect(-10, -10, 100, 100, kRed);
    EXPECT_EQ(m.Picture(kRed), "......\n.###..\n.###..\n......\n");
    m.dc().MoveTo(-5, 2);
    m.dc().LineTo(50, 2);
    EXPECT_EQ(m.Picture(kBlack), "......\n......\n.###..\n......\n");
    EXPECT_EQ(m.At(0, 0), CLR_INVALID);  // outside the clip
    CRect box;
    EXPECT_EQ(m.dc().GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(1, 1, 4, 3));
    m.dc().IntersectClipRect(10, 10, 20, 20);
    EXPECT_EQ(m.dc().GetClipBox(&box), NULLREGION);
    m.dc().SelectClipRect(nullptr);
    m.dc().FillSolidRect(5, 3, 10, 10, kBlack);  // cut at the surface's edge
    EXPECT_EQ(m.At(5, 3), kBlack);
}

TEST_F(PixelRules, HugeCoordinatesAreCutNotOverflowed) {
    constexpr int kFar = 2'000'000'000;
    m.dc().MoveTo(-kFar, 1);
    m.dc().LineTo(kFar, 1);
    m.dc().MoveTo(kFar, -kFar);
    m.dc().LineTo(-kFar, kFar);  // slanted through (0, 0): only the steps inside are visited
    EXPECT_EQ(m.Picture(kBlack), "#.....\n######\n......\n......\n");
    constexpr int kOrigin = 1'000'000'000;
    m.dc().SetViewportOrg(kOrigin, kOrigin);
    m.dc().FillSolidRect(CRect(-kOrigin, -kOrigin, -kOrigin + 1, -kOrigin + 1), kRed);
    m.dc().StretchBlt(-kOrigin, -kOrigin, kFar, 1, &m.dc(), -kOrigin, -kOrigin, 1, 1, SRCCOPY);
    EXPECT_EQ(m.Picture(kRed).substr(0, 7), "######\n");
}

TEST(MemoryContext, DefaultBitmapTakesNoDrawing) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SetPixel(0, 0, kRed);
    EXPECT_NE(dc.GetPixel(0, 0), kRed);
    CDC other;
    other.CreateCompatibleDC(nullptr);
    EXPECT_NE(other.GetPixel(0, 0), kRed);
}

TEST_F(PixelRules, ViewportOriginMovesDrawingAndClip) {
    m.dc().SetViewportOrg(2, 1);
    m.dc().FillSolidRect(0, 0, 2, 2, kRed);
    EXPECT_EQ(m.Picture(kRed), "......\n..##..\n..##..\n......\n");
    EXPECT_EQ(m.At(0, 0), kRed);  // logical (0, 0) is device (2, 1)
    m.dc().IntersectClipRect(0, 0, 1, 1);
    CRect box;
    m.dc().GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 1, 1));
}

TEST_F(PixelRules, SaveAndRestoreBringBackOriginClipAndColours) {
    const int saved = m.dc().SaveDC();
    m.dc().SetViewportOrg(3, 3);
    m.dc().IntersectClipRect(0, 0, 1, 1);
    m.dc().SetTextColor(kRed);
    EXPECT_TRUE(m.dc().RestoreDC(saved));
    EXPECT_EQ(m.dc().GetViewportOrg(), CPoint(0, 0));
    EXPECT_EQ(m.dc().GetTextColor(), kBlack);
    m.dc().FillSolidRect(0, 0, 6, 4, kRed);
    EXPECT_EQ(m.Picture(kRed), "######\n######\n######\n######\n");
    EXPECT_FALSE(m.dc().RestoreDC(-1));  // nothing saved any more
}

TEST_F(PixelRules, FocusRectangleIsADottedInversionThatASecondCallUndoes) {
    MemoryDC f(6, 5);
    f.dc().DrawFocusRect(CRect(0, 0, 6, 5));
    // Every other frame pixel, by x + y even, is inverted to black.
    EXPECT_EQ(f.Picture(kBlack), "#.#.#.\n.....#\n#.....\n.....#\n#.#.#.\n");
    f.dc().DrawFocusRect(CRect(0, 0, 6, 5));
    EXPECT_EQ(f.Picture(kWhite), "######\n######\n######\n######\n######\n");
    // Four pixels in from a cell's edges, as the calendar draws it on its blue face.
    MemoryDC cell(12, 12, 0xFA0000);
    cell.dc().DrawFocusRect(CRect(4, 4, 8, 8));
    EXPECT_EQ(cell.At(4, 4), 0xFA0000 ^ 0xFFFFFF);
    EXPECT_EQ(cell.At(5, 4), 0xFA0000u);
    EXPECT_EQ(cell.At(3, 3), 0xFA0000u);
    EXPECT_EQ(cell.At(8, 8), 0xFA0000u);
}

TEST_F(PixelRules, SetPixelAndDottedPen) {
    EXPECT_EQ(m.dc().SetPixel(2, 2, kRed), kRed);
    EXPECT_EQ(m.At(2, 2), kRed);
    EXPECT_EQ(m.dc().GetPixel(6, 0), CLR_INVALID);
    CPen dotted(PS_DOT, 1, kBlack);
    CPen* old = m.dc().SelectObject(&dotted);
    m.dc().MoveTo(0, 0);
    m.dc().LineTo(6, 0);
    m.dc().SelectObject(old);
    EXPECT_EQ(m.Picture(kBlack).substr(0, 7), "#.#.#.\n");
}

}  // namespace
