// PNG output read back by an independent decoder (Pillow).
#include <gtest/gtest.h>

#include <sstream>

#include "GdiTestSupport.h"
#include "platform/gdi/PngWriter.h"
#include "tests/support/TempDir.h"

namespace {

TEST(Png, PillowReadsBackTheSurfacePixels) {
    MemoryDC m(7, 5, 0xFFFFFF);
    m.dc().FillSolidRect(1, 1, 3, 2, 0x0000FF);  // red
    m.dc().SetPixel(6, 4, 0x336699);
    TempDir dir;
    const std::string path = dir.file("shot.png");
    SaveSurfacePng(m.Pixels(), path);
    const CommandResult r = RunCommand(
        "/usr/bin/python3 -c \"from PIL import Image; im = Image.open('" + path +
        "'); print(im.format, im.mode, im.size[0], im.size[1]); print(*im.getpixel((0, 0))); print(*im.getpixel((2, 2))); "
        "print(*im.getpixel((6, 4)))\"");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "PNG RGB 7 5\n255 255 255\n255 0 0\n153 102 51\n");
}

TEST(Png, ErrorsNameTheFault) {
    TempDir dir;
    EXPECT_THROW(SaveSurfacePng(CSurface(2, 2), dir.file("missing/dir/x.png")), std::runtime_error);
    EXPECT_THROW(SaveSurfacePng(CSurface(), dir.file("empty.png")), std::runtime_error);
}

}  // namespace
