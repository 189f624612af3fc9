// `dvrkit view controls --snapshot`: the tool writes a PNG that Pillow decodes, of the window's
// size, with the selected tree item highlighted and the owner-drawn buttons' face.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gdi/StockObjects.h"
#include "tests/support/TempDir.h"

namespace {

std::string Capture(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
    return out;
}

TEST(ViewCommandTest, SnapshotShowsTheControls) {
    TempDir dir;
    const std::string png = dir.file("controls.png");
    // Under the leak checker the tool, like the drawing tests, excuses fontconfig's own loss.
    const std::string suppressions = dir.file("lsan.supp");
    WriteBytes(suppressions, {'l', 'e', 'a', 'k', ':', 'l', 'i', 'b', 'f', 'o', 'n', 't', 'c', 'o', 'n', 'f', 'i', 'g', '\n'});
    const std::string env = "LSAN_OPTIONS=suppressions=" + suppressions + " ";
    ASSERT_EQ(std::system((env + DVRKIT_CLI + " view controls --snapshot " + png).c_str()), 0);
    // Size, the highlight behind the selected day (first child row), the buttons' face.
    const std::string script =
        "from PIL import Image; im = Image.open('" + png + "').convert('RGB'); w, h = im.size;"
        "hl = sum(1 for x in range(10, 250) for y in range(70, 90) if im.getpixel((x, y)) == (0, 0, 128));"
        "face = im.getpixel((20, h - 45));"
        "print(w, h, hl > 20, face)";
    EXPECT_EQ(Capture("/usr/bin/python3 -c \"" + script + "\""), "640 400 True (0, 96, 160)\n");
}

TEST(ViewCommandTest, WithoutADisplayItAsksForASnapshot) {
    const std::string out = Capture("env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(DVRKIT_CLI) + " view controls 2>&1; echo rc=$?");
    EXPECT_NE(out.find("--snapshot"), std::string::npos) << out;
    EXPECT_NE(out.find("rc=1"), std::string::npos) << out;
}

}  // namespace
