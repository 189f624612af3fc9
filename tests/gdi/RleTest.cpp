// RLE8 and RLE4: DIB bits read back compressed from a device bitmap (as a DIB changes its
// compression), written as a bitmap file and decoded by ImageMagick, must give the original
// pixels; our own decoder must agree; damaged data must never be read past.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "GdiTestSupport.h"
#include "platform/gdi/ColorRef.h"
#include "platform/gdi/DibEncoder.h"
#include "platform/gdi/DibFunctions.h"
#include "platform/gdi/RasterOp.h"
#include "platform/gdi/RleDecoder.h"
#include "platform/gdi/RleEncoder.h"
#include "tests/support/TempDir.h"

namespace {

struct Variant {
    const char* name;
    WORD bitCount;
    DWORD compression;
    int width, height;
};

// Rows that exercise every encoder path: long runs, runs longer than 255, literal stretches
// (odd and even lengths, below and above three), runs of two, single pixels at a row's end.
std::vector<BYTE> Pattern(int width, int height, int colours) {
    std::mt19937 random(7);
    std::vector<BYTE> topDown(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE& p = topDown[static_cast<size_t>(y * width + x)];
            switch (y % 6) {
                case 0: p = static_cast<BYTE>((x / 37) % colours); break;                 // runs
                case 1: p = static_cast<BYTE>(random() % colours); break;                 // noise
                case 2: p = static_cast<BYTE>((x / 2) % colours); break;                  // pairs
                case 3: p = static_cast<BYTE>(x % 5 < 3 ? 1 : (x * 7) % colours); break;  // mixed
                case 4: p = static_cast<BYTE>(x == width - 1 ? colours - 1 : 2); break;   // odd end
                default: p = static_cast<BYTE>(x < 3 ? x : 4); break;
            }
        }
    return topDown;
}

std::vector<COLORREF> Colours(int count) {
    std::vector<COLORREF> table;
    for (int i = 0; i < count; ++i)
        table.push_back(RGB(static_cast<BYTE>(i * 37 + 11), static_cast<BYTE>(255 - i * 13), static_cast<BYTE>(i * 91 + 5)));
    return table;
}

class Rle : public ::testing::TestWithParam<Variant> {
protected:
    void SetUp() override {
        const Variant v = GetParam();
        colours = Colours(v.bitCount == 4 ? 16 : 256);
        topDown = Pattern(v.width, v.height, static_cast<int>(colours.size()));
        // The uncompressed 8-bit image the device bitmap is made from.
        source = InfoBlock(v.width, v.height, 8, BI_RGB, colours);
        const size_t stride = static_cast<size_t>(DibStride(static_cast<std::uint64_t>(v.width), 8));
        bits.assign(stride * static_cast<size_t>(v.height), 0);
        for (int y = 0; y < v.height; ++y)
            std::copy_n(topDown.begin() + y * v.width, v.width, bits.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<size_t>(v.height - 1 - y)));
        bitmap = CreateDIBitmap(nullptr, &Info(source)->bmiHeader, CBM_INIT, bits.data(), Info(source), DIB_RGB_COLORS);
        ASSERT_NE(bitmap, nullptr);
    }
    void TearDown() override { DeleteObject(bitmap); }

    // Compresses through GetDIBits as a DIB changing its compression does: size first.
    std::vector<BYTE> Compress(std::vector<BYTE>& header) {
        const Variant v = GetParam();
        header = InfoBlock(v.width, v.height, v.bitCount, v.compression, colours);
        EXPECT_NE(GetDIBits(nullptr, bitmap, 0, static_cast<UINT>(v.height), nullptr, Info(header), DIB_RGB_COLORS), 0);
        std::vector<BYTE> out(Info(header)->bmiHeader.biSizeImage);
        EXPECT_GT(out.size(), 0u);
        EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, static_cast<UINT>(v.height), out.data(), Info(header), DIB_RGB_COLORS), v.height);
        return out;
    }

    std::string ExpectedRgb() const {
        std::string rgb;
        for (BYTE index : topDown) {
            rgb += static_cast<char>(GetRValue(colours[index]));
            rgb += static_cast<char>(GetGValue(colours[index]));
            rgb += static_cast<char>(GetBValue(colours[index]));
        }
        return rgb;
    }

    std::vector<COLORREF> colours;
    std::vector<BYTE> topDown, source, bits;
    HBITMAP bitmap = nullptr;
};

TEST_P(Rle, ImageMagickDecodesTheOriginalPixels) {
    std::vector<BYTE> header;
    const std::vector<BYTE> compressed = Compress(header);
    EXPECT_LT(compressed.size(), bits.size() * 2);
    TempDir dir;
    const std::string path = dir.file("image.bmp");
    WriteBytes(path, BmpFileBytes(header, compressed));
    const CommandResult decoded = RunCommand("/usr/bin/convert '" + path + "' -depth 8 rgb:- 2>/dev/null");
    ASSERT_EQ(decoded.status, 0);
    const std::string expected = ExpectedRgb();
    ASSERT_EQ(decoded.output.size(), expected.size());
    for (size_t i = 0; i < expected.size(); i += 3)
        ASSERT_EQ(decoded.output.substr(i, 3), expected.substr(i, 3)) << "pixel " << i / 3;
}

TEST_P(Rle, OwnDecoderDrawsTheOriginalPixels) {
    const Variant v = GetParam();
    std::vector<BYTE> header;
    const std::vector<BYTE> compressed = Compress(header);
    MemoryDC m(v.width, v.height, 0);
    ASSERT_NE(StretchDIBits(&m.dc(), 0, 0, v.width, v.height, 0, 0, v.width, v.height, compressed.data(), Info(header),
                            DIB_RGB_COLORS, SRCCOPY), 0);
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x)
            ASSERT_EQ(m.At(x, y), colours[topDown[static_cast<size_t>(y * v.width + x)]]) << x << "," << y;
}

TEST_P(Rle, DecompressingThroughADeviceBitmapGivesTheOriginalBits) {
    // The way back of a compression change: device bitmap from the RLE bits, then plain bits.
    const Variant v = GetParam();
    std::vector<BYTE> header;
    const std::vector<BYTE> compressed = Compress(header);
    HBITMAP device = CreateDIBitmap(nullptr, &Info(header)->bmiHeader, CBM_INIT, compressed.data(), Info(header), DIB_RGB_COLORS);
    ASSERT_NE(device, nullptr);
    auto plain = InfoBlock(v.width, v.height, 8, BI_RGB, colours);
    std::vector<BYTE> back(bits.size());
    EXPECT_EQ(GetDIBits(nullptr, device, 0, static_cast<UINT>(v.height), back.data(), Info(plain), DIB_RGB_COLORS), v.height);
    EXPECT_EQ(back, bits);
    DeleteObject(device);
}

TEST_P(Rle, ABufferSmallerThanTheCompressedSizeIsRefused) {
    const Variant v = GetParam();
    std::vector<BYTE> header;
    const std::vector<BYTE> compressed = Compress(header);
    Info(header)->bmiHeader.biSizeImage = static_cast<DWORD>(compressed.size() - 1);
    std::vector<BYTE> small(compressed.size() - 1);
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, static_cast<UINT>(v.height), small.data(), Info(header), DIB_RGB_COLORS), 0);
    EXPECT_EQ(GetDIBits(nullptr, bitmap, 0, 1, nullptr, Info(header), DIB_RGB_COLORS), 1);  // sizing only
}

TEST_P(Rle, WhatChangesAfterTheSizeQueryGivesFreshBits) {
    // The size query keeps its encoding for the call that follows; a bitmap drawn on, or a
    // header with another colour table, between the two must not get the kept bits.
    const Variant v = GetParam();
    const auto rows = static_cast<UINT>(v.height);
    const std::vector<COLORREF> reversed(colours.rbegin(), colours.rend());
    struct Change {
        const char* name;
        std::function<void(std::vector<BYTE>& header)> apply;
    };
    const Change changes[] = {
        {"drawn on",
         [&](std::vector<BYTE>&) {
             CDC dc;
             dc.CreateCompatibleDC(nullptr);
             CBitmap wrapper;
             wrapper.Attach(bitmap);
             CBitmap* old = dc.SelectObject(&wrapper);
             dc.FillSolidRect(0, 0, v.width, v.height, colours[1]);
             dc.SelectObject(old);
             wrapper.Detach();
         }},
        {"another colour table", [&](std::vector<BYTE>& header) { header = InfoBlock(v.width, v.height, v.bitCount, v.compression, reversed); }},
    };
    for (const Change& change : changes) {
        auto header = InfoBlock(v.width, v.height, v.bitCount, v.compression, colours);
        ASSERT_NE(GetDIBits(nullptr, bitmap, 0, rows, nullptr, Info(header), DIB_RGB_COLORS), 0) << change.name;
        std::vector<BYTE> before;
        ASSERT_TRUE(EncodeDib(bitmap->Pixels(), *Info(header), before));
        change.apply(header);
        std::vector<BYTE> fresh;
        ASSERT_TRUE(EncodeDib(bitmap->Pixels(), *Info(header), fresh));
        ASSERT_NE(fresh, before) << change.name;  // the change shows in the bits
        // Room for any encoding: the header's size now says how much the buffer holds.
        std::vector<BYTE> out(bits.size() * 2 + 2 * rows + 2);
        Info(header)->bmiHeader.biSizeImage = static_cast<DWORD>(out.size());
        ASSERT_EQ(GetDIBits(nullptr, bitmap, 0, rows, out.data(), Info(header), DIB_RGB_COLORS), v.height) << change.name;
        out.resize(Info(header)->bmiHeader.biSizeImage);
        EXPECT_EQ(out, fresh) << change.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, Rle,
                         ::testing::Values(Variant{"rle8", 8, BI_RLE8, 301, 12}, Variant{"rle8_small", 8, BI_RLE8, 5, 6},
                                           Variant{"rle4", 4, BI_RLE4, 301, 12}, Variant{"rle4_odd", 4, BI_RLE4, 13, 7},
                                           Variant{"rle4_one", 4, BI_RLE4, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RleDecoder, DamagedDataNeverReadsOrWritesOutside) {
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::vector<BYTE> data(random() % 64);
        for (auto& b : data) b = static_cast<BYTE>(random() % 4 == 0 ? random() % 4 : random());
        const int width = 1 + static_cast<int>(random() % 9), height = 1 + static_cast<int>(random() % 5);
        for (bool fourBit : {false, true}) ASSERT_EQ(DecodeRle(data, width, height, fourBit).size(), static_cast<size_t>(width * height));
    }
}

TEST(RleDecoder, EscapesDeltaAndCutRuns) {
    // 4 x 2: a run past the row's end is cut; a delta skips; end of bitmap stops.
    const std::vector<BYTE> data = {6, 1, 0, 0, 0, 2, 2, 0, 1, 3, 0, 1, 9, 9};
    EXPECT_EQ(DecodeRle(data, 4, 2, false), (std::vector<BYTE>{1, 1, 1, 1, 0, 0, 3, 0}));
    // RLE4: a run alternates the two nibbles; an absolute run of 3 is padded to a word.
    const std::vector<BYTE> four = {3, 0x12, 0, 3, 0x45, 0x60, 0, 1};
    EXPECT_EQ(DecodeRle(four, 6, 1, true), (std::vector<BYTE>{1, 2, 1, 4, 5, 6}));
    EXPECT_EQ(EncodeRle({1, 2, 3, 3, 3, 3}, 6, 1, false), (std::vector<BYTE>{1, 1, 1, 2, 4, 3, 0, 1}));
}

}  // namespace
