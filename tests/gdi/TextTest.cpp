// Text through FreeType: colour and extent, background modes, the font description's effect
// on the glyphs, face fallback, DrawText alignment, clipping and line breaking.
#include <gtest/gtest.h>

#include <cstring>

#include "GdiTestSupport.h"
#include "platform/gdi/ColorRef.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/TextCodec.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000;

LOGFONT GuiFont(LONG height = kDefaultGuiFontHeight, LONG weight = FW_NORMAL, BYTE italic = 0, const char* face = "") {
    LOGFONT f{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof f, &f);
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfItalic = italic;
    std::strncpy(f.lfFaceName, face, LF_FACESIZE - 1);
    return f;
}

// The smallest rectangle holding every pixel that is not `background`.
CRect InkBox(MemoryDC& m, COLORREF background) {
    const CSurface& s = m.Pixels();
    CRect box(s.Width(), s.Height(), 0, 0);
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (ColorFromPixel(s.At(x, y)) != background)
                box = CRect(std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
                            std::max<int>(box.bottom, y + 1));
    return box;
}

int InkCount(MemoryDC& m, COLORREF background) {
    int n = 0;
    const CSurface& s = m.Pixels();
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) n += ColorFromPixel(s.At(x, y)) != background;
    return n;
}

class Text : public ::testing::Test {
protected:
    Text() { Use(GuiFont()); }
    ~Text() override { m.dc().SelectObject(CFont::FromHandle(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))); }
    void Use(const LOGFONT& f) {
        m.dc().SelectObject(CFont::FromHandle(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))));
        font.DeleteObject();
        font.CreateFontIndirect(&f);
        m.dc().SelectObject(&font);
    }
    CSize Draw(const char* text, COLORREF colour = kRed) {
        m.dc().FillSolidRect(0, 0, 200, 40, kWhite);
        m.dc().SetTextColor(colour);
        m.dc().SetBkMode(TRANSPARENT);
        m.dc().TextOut(5, 5, text);
        return m.dc().GetTextExtent(text);
    }

    CFont font;
    MemoryDC m{200, 40};
};

TEST_F(Text, IsDrawnInTheAskedColourInsideItsExtent) {
    const CSize extent = Draw("Log 2005-04 (12)");
    ASSERT_GT(extent.cx, 40);
    EXPECT_GE(extent.cy, 11);
    const CRect ink = InkBox(m, kWhite);
    EXPECT_GE(ink.left, 5);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.right, 5 + extent.cx);
    EXPECT_LE(ink.bottom, 5 + extent.cy);
    // Every inked pixel lies between white and the text colour; the strokes reach it exactly.
    bool exact = false;
    const CSurface& s = m.Pixels();
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) {
            const COLORREF c = ColorFromPixel(s.At(x, y));
            EXPECT_EQ(GetRValue(c), 255);
            EXPECT_EQ(GetGValue(c), GetBValue(c));
            exact |= c == kRed;
        }
    EXPECT_TRUE(exact);
}

TEST_F(Text, OpaqueModeFillsTheExtentWithTheBackgroundColour) {
    m.dc().SetBkMode(OPAQUE);
    m.dc().SetBkColor(kBlue);
    m.dc().SetTextColor(kWhite);
    m.dc().TextOut(10, 10, "Ch03");
    const CSize extent = m.dc().GetTextExtent("Ch03");
    EXPECT_EQ(InkBox(m, kWhite), CRect(10, 10, 10 + extent.cx, 10 + extent.cy));
    EXPECT_EQ(m.At(10, 10), kBlue);
}

TEST_F(Text, WeightSizeAndSlantChangeTheGlyphs) {
    const CSize normal = Draw("Sunday");
    const int normalInk = InkCount(m, kWhite);
    const std::string normalPicture = m.Picture(kRed);
    Use(GuiFont(kDefaultGuiFontHeight, FW_BOLD));
    const CSize bold = Draw("Sunday");
    EXPECT_GT(bold.cx, normal.cx);
    EXPECT_GT(InkCount(m, kWhite), normalInk);
    Use(GuiFont(kDefaultGuiFontHeight, FW_NORMAL, 1));
    Draw("Sunday");
    EXPECT_NE(m.Picture(kRed), normalPicture);
    Use(GuiFont(-30));
    const CSize large = Draw("Sunday");
    EXPECT_GT(large.cy, 2 * normal.cy);
    EXPECT_GT(large.cx, 2 * normal.cx);
    TEXTMETRIC tm{};
    ASSERT_TRUE(m.dc().GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, large.cy);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
}

TEST_F(Text, PositiveHeightAsksForTheCellHeight) {
    Use(GuiFont(20));
    EXPECT_NEAR(m.dc().GetTextExtent("x").cy, 20, 1);
}

TEST(FontMatching, UnknownFacesFallBackToTheDefaultSansFace) {
    const std::string sans = FontEngine::Get().Open(GuiFont())->Family();
    EXPECT_FALSE(sans.empty());
    EXPECT_EQ(FontEngine::Get().Open(GuiFont(-11, FW_NORMAL, 0, "verdana"))->Family(), sans);
    EXPECT_EQ(FontEngine::Get().Open(GuiFont(-11, FW_NORMAL, 0, "No Such Face At All"))->Family(), sans);
    // Equal descriptions share one sized face and glyph cache.
    EXPECT_EQ(FontEngine::Get().Open(GuiFont()), FontEngine::Get().Open(GuiFont()));
}

TEST_F(Text, DrawTextCentresASingleLineBothWays) {
    CRect cell(20, 0, 180, 40);
    m.dc().SetTextColor(kRed);
    m.dc().SetBkMode(TRANSPARENT);
    const int offset = m.dc().DrawText("December", &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const CSize extent = m.dc().GetTextExtent("December");
    const CRect ink = InkBox(m, kWhite);
    EXPECT_NEAR(ink.left - 20, 180 - ink.right, 3);
    EXPECT_NEAR(ink.top, 40 - ink.bottom, 6);  // ascent and descent differ
    EXPECT_EQ(offset, (40 - extent.cy) / 2 + extent.cy);
}

TEST_F(Text, DrawTextCalcRectMeasuresLinesAndPrefixes) {
    CRect r(0, 0, 0, 0);
    const int height = m.dc().DrawText("&Open", &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), m.dc().GetTextExtent("Open").cx);
    EXPECT_EQ(height, r.Height());
    CRect two(0, 0, 0, 0);
    m.dc().DrawText("Time : x\r\nSensor : 7", &two, DT_CALCRECT);
    EXPECT_EQ(two.Height(), 2 * m.dc().GetTextExtent("T").cy);
    EXPECT_EQ(InkCount(m, kWhite), 0);  // measuring draws nothing
    CRect wrap(0, 0, m.dc().GetTextExtent("one two").cx, 0);
    m.dc().DrawText("one two three", &wrap, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(wrap.Height(), 2 * m.dc().GetTextExtent("T").cy);
}

TEST_F(Text, DrawTextClipsToItsRectangleUnlessAskedNotTo) {
    m.dc().SetTextColor(kRed);
    CRect narrow(10, 5, 30, 30);
    m.dc().DrawText("Wednesday Wednesday", &narrow, DT_LEFT | DT_TOP | DT_SINGLELINE);
    CRect ink = InkBox(m, kWhite);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 30);
    m.dc().DrawText("Wednesday Wednesday", &narrow, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
    ink = InkBox(m, kWhite);
    EXPECT_GT(ink.right, 30);
}

TEST(TextCodec, Utf8SequencesAndStrayBytes) {
    EXPECT_EQ(DecodeText("A\xC3\xA9"), std::u32string(U"A\u00E9"));
    EXPECT_EQ(DecodeText("\xE9t\xE9"), std::u32string(U"\u00E9t\u00E9"));     // Latin-1 bytes
    EXPECT_EQ(DecodeText("\xC0\x80"), std::u32string(U"\u00C0\u0080"));        // overlong: bytes
    EXPECT_EQ(DecodeText("\xE2\x82"), std::u32string(U"\u00E2\u0082"));        // cut short
    EXPECT_EQ(DecodeText("\xF0\x9F\x98\x80"), std::u32string(U"\U0001F600"));
}

}  // namespace
