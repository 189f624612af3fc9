// Bitmaps from the host's resources and from files, and the image list built from them:
// transparent drawing never lets the mask colour reach the surface.
#include <gtest/gtest.h>

#include <random>

#include "GdiTestSupport.h"
#include "host/DefaultHost.h"
#include "host/IconStrip.h"
#include "platform/core/ResourceChain.h"
#include "platform/gdi/BmpFile.h"
#include "platform/gdi/CImageList.h"
#include "tests/support/TempDir.h"

namespace {

constexpr COLORREF kMagenta = 0xFF00FF, kGreen = 0x00FF00;

TEST(Bitmaps, HostStripLoadsThroughTheResourceChain) {
    CBitmap strip;
    ASSERT_TRUE(strip.LoadBitmap(host::kIconStripBitmap));
    BITMAP info{};
    ASSERT_TRUE(strip.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, kIconCount * host::kIconSize);
    EXPECT_EQ(info.bmHeight, host::kIconSize);
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(1));
}

TEST(Bitmaps, FileLoadsLikeTheResource) {
    TempDir dir;
    const auto bytes = AfxFindBitmap(host::kIconStripBitmap);
    WriteBytes(dir.file("strip.bmp"), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    HBITMAP fromFile = LoadBitmapFile(dir.file("strip.bmp").c_str());
    HBITMAP fromResource = DecodeBmpFile(bytes);
    ASSERT_NE(fromFile, nullptr);
    ASSERT_NE(fromResource, nullptr);
    const CSurface& a = fromFile->Pixels();
    const CSurface& b = fromResource->Pixels();
    ASSERT_EQ(a.Width(), b.Width());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
    DeleteObject(fromFile);
    DeleteObject(fromResource);
    EXPECT_EQ(LoadBitmapFile(dir.file("none.bmp").c_str()), nullptr);
}

TEST(Bitmaps, DamagedFilesAreRefused) {
    const auto span = AfxFindBitmap(host::kIconStripBitmap);
    const std::vector<BYTE> good(span.begin(), span.end());
    struct Case {
        const char* name;
        std::vector<BYTE> bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"file header only", std::vector<BYTE>(good.begin(), good.begin() + 14)},
        {"pixels cut short", std::vector<BYTE>(good.begin(), good.end() - 10)},
    };
    auto flip = [&](const char* name, size_t at, BYTE value) {
        Case c{name, good};
        c.bytes[at] = value;
        cases.push_back(c);
    };
    flip("no BM", 0, 'X');
    flip("header size 12", 14, 12);
    flip("bit count 7", 28, 7);
    flip("compression 9", 30, 9);
    for (const auto& c : cases) EXPECT_EQ(DecodeBmpFile(c.bytes), nullptr) << c.name;
}

TEST(Bitmaps, RandomlyDamagedFilesNeverReadOutside) {
    // Seeded mutations of the header area: every result is a bitmap or a refusal, never a
    // read past the bytes (the sanitizer build checks).
    const auto span = AfxFindBitmap(host::kIconStripBitmap);
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        std::vector<BYTE> bytes(span.begin(), span.end());
        for (int k = 0; k < 3; ++k) bytes[random() % 70] = static_cast<BYTE>(random());
        bytes.resize(bytes.size() - random() % 64);
        if (HBITMAP bitmap = DecodeBmpFile(bytes)) DeleteObject(bitmap);
    }
}

TEST(ImageList, DrawsTransparentlyWhereTheStripIsMagenta) {
    CBitmap strip;
    ASSERT_TRUE(strip.LoadBitmap(host::kIconStripBitmap));
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLORDDB | ILC_MASK, 8, 0));
    EXPECT_EQ(list.Add(&strip, kMagenta), 0);
    ASSERT_EQ(list.GetImageCount(), kIconCount);

    MemoryDC m(kIconCount * 16 + 4, 20, kGreen);
    for (int i = 0; i < kIconCount; ++i) EXPECT_TRUE(list.Draw(&m.dc(), i, CPoint(2 + 16 * i, 2), ILD_TRANSPARENT));
    EXPECT_FALSE(list.Draw(&m.dc(), kIconCount, CPoint(0, 0), ILD_NORMAL));

    const CSurface& source = strip.GetHandle()->Pixels();
    int transparent = 0;
    for (int y = 0; y < m.Pixels().Height(); ++y)
        for (int x = 0; x < m.Pixels().Width(); ++x) {
            ASSERT_NE(m.At(x, y), kMagenta) << x << "," << y;
            if (x < 2 || y < 2 || x >= 2 + 16 * kIconCount || y >= 18) continue;
            const COLORREF want = ColorFromPixel(source.At(x - 2, y - 2));
            if (want == kMagenta) ++transparent;
            EXPECT_EQ(m.At(x, y), want == kMagenta ? kGreen : want) << x << "," << y;
        }
    EXPECT_GT(transparent, 0);
}

TEST(ImageList, BackgroundColourAndUnmaskedLists) {
    CBitmap strip;
    ASSERT_TRUE(strip.LoadBitmap(host::kIconStripBitmap));
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 8, 0));
    list.Add(&strip, kMagenta);
    list.SetBkColor(0x0000FF);
    MemoryDC m(16, 16, kGreen);
    list.Draw(&m.dc(), 0, CPoint(0, 0), ILD_NORMAL);
    EXPECT_EQ(m.At(0, 0), 0x0000FFu);  // the icon's corner is transparent
    list.Draw(&m.dc(), 0, CPoint(0, 0), ILD_TRANSPARENT);

    CImageList opaque;
    ASSERT_TRUE(opaque.Create(16, 16, ILC_COLOR24, 8, 0));
    opaque.Add(&strip, kMagenta);
    MemoryDC o(16, 16, kGreen);
    opaque.Draw(&o.dc(), 0, CPoint(0, 0), ILD_NORMAL);
    EXPECT_EQ(o.At(0, 0), kMagenta);  // no mask: the strip as it is

    CImageList bad;
    EXPECT_FALSE(bad.Create(0, 16, ILC_MASK, 1, 0));
    EXPECT_EQ(bad.Add(&strip, kMagenta), -1);
}

}  // namespace
