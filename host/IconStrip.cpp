#include "host/IconStrip.h"

#include <array>
#include <cstdlib>

#include "host/DefaultHost.h"

namespace {

using Rgb = std::uint32_t;  // 0xRRGGBB
constexpr Rgb kBlack = 0x000000, kWhite = 0xFFFFFF, kGrey = 0x808080, kSilver = 0xC0C0C0,
              kNavy = 0x000080, kBlue = 0x2060E0, kRed = 0xD02020, kGreen = 0x208020,
              kYellow = 0xF0C020, kBrown = 0x906030, kTeal = 0x008080;

class Icon {
public:
    Icon() { m_pixels.fill(kIconTransparent); }
    void Pixel(int x, int y, Rgb c) {
        if (x >= 0 && x < host::kIconSize && y >= 0 && y < host::kIconSize) m_pixels[y * host::kIconSize + x] = c;
    }
    void Fill(int l, int t, int r, int b, Rgb c) {  // inclusive corners
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x) Pixel(x, y, c);
    }
    void Frame(int l, int t, int r, int b, Rgb c) {
        Fill(l, t, r, t, c);
        Fill(l, b, r, b, c);
        Fill(l, t, l, b, c);
        Fill(r, t, r, b, c);
    }
    void Disc(int cx, int cy, int radius, Rgb c) {
        for (int y = -radius; y <= radius; ++y)
            for (int x = -radius; x <= radius; ++x)
                if (x * x + y * y <= radius * radius + radius / 2) Pixel(cx + x, cy + y, c);
    }
    void Line(int x0, int y0, int x1, int y1, Rgb c) {
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= steps; ++i)
            Pixel(x0 + (x1 - x0) * i / std::max(steps, 1), y0 + (y1 - y0) * i / std::max(steps, 1), c);
    }
    Rgb At(int x, int y) const { return m_pixels[y * host::kIconSize + x]; }

private:
    std::array<Rgb, host::kIconSize * host::kIconSize> m_pixels;
};

Icon Calendar(Rgb header, bool markDay) {
    Icon i;
    i.Fill(1, 2, 14, 14, kWhite);
    i.Frame(1, 2, 14, 14, kBlack);
    i.Fill(2, 3, 13, 5, header);
    for (int y = 7; y <= 12; y += 2)
        for (int x = 3; x <= 12; x += 3) i.Fill(x, y, x + 1, y, kGrey);
    if (markDay) i.Fill(9, 9, 10, 10, kRed);
    return i;
}

Icon Page() {
    Icon i;
    i.Fill(3, 1, 12, 14, kWhite);
    i.Frame(3, 1, 12, 14, kBlack);
    for (int y = 4; y <= 11; y += 2) i.Fill(5, y, 10, y, kNavy);
    return i;
}

Icon Monitor() {
    Icon i;
    i.Fill(1, 2, 14, 11, kSilver);
    i.Frame(1, 2, 14, 11, kBlack);
    i.Fill(3, 4, 12, 9, kBlue);
    i.Fill(6, 12, 9, 13, kGrey);
    i.Fill(4, 14, 11, 14, kBlack);
    return i;
}

Icon Magnifier() {
    Icon i;
    i.Disc(6, 6, 5, kBlack);
    i.Disc(6, 6, 3, 0xB0E0FF);
    for (int d = 0; d < 5; ++d) i.Fill(9 + d, 9 + d, 10 + d, 10 + d, kBrown);
    return i;
}

Icon Wrench() {
    Icon i;
    i.Disc(11, 4, 3, kGrey);
    i.Fill(11, 1, 12, 4, kIconTransparent);
    for (int d = 0; d < 9; ++d) i.Fill(2 + d, 12 - d, 3 + d, 13 - d, kGrey);
    i.Line(2, 13, 10, 5, kBlack);
    return i;
}

Icon Globe() {
    Icon i;
    i.Disc(8, 8, 6, kBlue);
    i.Fill(2, 8, 14, 8, kWhite);
    i.Fill(8, 2, 8, 14, kWhite);
    i.Fill(4, 4, 7, 6, kGreen);
    i.Fill(9, 10, 12, 12, kGreen);
    return i;
}

Icon Box() {
    Icon i;
    i.Fill(2, 5, 13, 14, kBrown);
    i.Frame(2, 5, 13, 14, kBlack);
    i.Fill(1, 3, 14, 5, 0xB08040);
    i.Frame(1, 3, 14, 5, kBlack);
    i.Fill(7, 3, 8, 14, kYellow);
    return i;
}

Icon Cross() {
    Icon i;
    i.Disc(8, 8, 7, kRed);
    for (int d = -3; d <= 3; ++d) {
        i.Fill(8 + d - 1, 8 + d, 8 + d, 8 + d, kWhite);
        i.Fill(8 + d - 1, 8 - d, 8 + d, 8 - d, kWhite);
    }
    return i;
}

Icon Lens() {
    Icon i;
    i.Disc(8, 8, 6, kBlack);
    i.Disc(8, 8, 4, kTeal);
    i.Disc(8, 8, 2, kBlack);
    i.Pixel(6, 6, kWhite);
    return i;
}

Icon Film() {
    Icon i;
    i.Fill(1, 3, 14, 12, kBlack);
    for (int x = 2; x <= 13; x += 3) {
        i.Pixel(x, 4, kWhite);
        i.Pixel(x, 11, kWhite);
    }
    i.Fill(3, 6, 7, 9, kSilver);
    i.Fill(9, 6, 12, 9, kSilver);
    i.Disc(13, 2, 2, kRed);
    return i;
}

Icon Camera() {
    Icon i;
    i.Fill(1, 5, 11, 11, kSilver);
    i.Frame(1, 5, 11, 11, kBlack);
    i.Fill(12, 6, 14, 10, kGrey);
    i.Disc(5, 8, 2, kNavy);
    i.Fill(3, 12, 4, 14, kBlack);
    return i;
}

Icon Sensor() {
    Icon i;
    i.Disc(8, 7, 5, kYellow);
    i.Fill(3, 7, 13, 11, kYellow);
    i.Frame(2, 11, 14, 12, kBlack);
    i.Disc(8, 14, 1, kBlack);
    i.Pixel(8, 1, kBlack);
    return i;
}

std::array<Icon, kIconCount> DrawIcons() {
    return {Calendar(kNavy, false), Calendar(kGreen, true), Page(), Monitor(), Magnifier(), Wrench(),
            Globe(), Box(), Cross(), Lens(), Film(), Camera(), Sensor()};
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> BuildIconStripBmp() {
    constexpr int width = host::kIconSize * kIconCount, height = host::kIconSize;
    constexpr int rowBytes = (width * 3 + 3) / 4 * 4;
    constexpr std::uint32_t fileHeader = 14, infoHeader = 40;
    constexpr std::uint32_t imageBytes = rowBytes * height;

    std::vector<std::uint8_t> bmp;
    bmp.reserve(fileHeader + infoHeader + imageBytes);
    bmp.push_back('B');
    bmp.push_back('M');
    PutLe(bmp, fileHeader + infoHeader + imageBytes, 4);
    PutLe(bmp, 0, 4);
    PutLe(bmp, fileHeader + infoHeader, 4);
    PutLe(bmp, infoHeader, 4);
    PutLe(bmp, width, 4);
    PutLe(bmp, height, 4);  // positive: bottom-up rows
    PutLe(bmp, 1, 2);       // planes
    PutLe(bmp, 24, 2);      // bits per pixel
    PutLe(bmp, 0, 4);       // no compression
    PutLe(bmp, imageBytes, 4);
    PutLe(bmp, 2835, 4);    // 72 dpi
    PutLe(bmp, 2835, 4);
    PutLe(bmp, 0, 4);
    PutLe(bmp, 0, 4);

    const auto icons = DrawIcons();
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = icons[x / host::kIconSize].At(x % host::kIconSize, y);
            bmp.push_back(static_cast<std::uint8_t>(c));        // blue
            bmp.push_back(static_cast<std::uint8_t>(c >> 8));   // green
            bmp.push_back(static_cast<std::uint8_t>(c >> 16));  // red
        }
        for (int pad = width * 3; pad < rowBytes; ++pad) bmp.push_back(0);
    }
    return bmp;
}
