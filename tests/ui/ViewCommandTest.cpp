// `dvrkit view controls --snapshot`: the tool writes a PNG that Pillow decodes, of the window's
// size, with the selected tree item highlighted and the owner-drawn buttons' face.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

namespace {

TEST(ViewCommandTest, SnapshotShowsTheControls) {
    TempDir dir;
    const std::string png = dir.file("controls.png");
    // Under the leak checker the tool, like the drawing tests, excuses fontconfig's own loss.
    const std::string suppressions = dir.file("lsan.supp");
    WriteBytes(suppressions, {'l', 'e', 'a', 'k', ':', 'l', 'i', 'b', 'f', 'o', 'n', 't', 'c', 'o', 'n', 'f', 'i', 'g', '\n'});
    const std::string env = "LSAN_OPTIONS=suppressions=" + suppressions + " ";
    ASSERT_EQ(RunCommand(env + DVRKIT_CLI + " view controls --snapshot " + png).status, 0);
    // Size, the highlight behind the selected day (first child row), the buttons' face.
    const std::string script =
        "from PIL import Image; im = Image.open('" + png + "').convert('RGB'); w, h = im.size;"
        "hl = sum(1 for x in range(10, 250) for y in range(70, 90) if im.getpixel((x, y)) == (0, 0, 128));"
        "face = im.getpixel((20, h - 45));"
        "print(w, h, hl > 20, face)";
    EXPECT_EQ(RunCommand("/usr/bin/python3 -c \"" + script + "\"").output, "640 400 True (0, 96, 160)\n");
}

TEST(ViewCommandTest, WithoutADisplayItAsksForASnapshot) {
    const CommandResult run = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY " + std::string(DVRKIT_CLI) + " view controls 2>&1");
    EXPECT_NE(run.output.find("--snapshot"), std::string::npos) << run.output;
    EXPECT_EQ(run.status, 1) << run.output;
}

// A display named but not to be opened: the tool says which and why, and ends, instead of
// drawing into a window no one sees or waiting on the network. No display is needed: none of
// these can be reached (`timeout` turns the old endless wait into a failure).
TEST(ViewCommandTest, ADisplayThatCannotBeOpenedIsNamedWithTheReason) {
    struct Case {
        const char* display;
        const char* reason;
    };
    const Case cases[] = {
        {":54321", "/tmp/.X11-unix/X54321: No such file or directory"},
        {"unix:54321.0", "/tmp/.X11-unix/X54321: No such file or directory"},
        {"no-display-here", "not an X display name"},
        // A documentation address: no route, no answer within seconds, or (behind a proxy that
        // accepts every connection) a refusal from SDL; the reason is the network's to give.
        {"198.51.100.1:0", ""},
    };
    for (const Case& c : cases) {
        const CommandResult run = RunCommand("timeout 60 env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY='" +
                                             std::string(c.display) + "' " + DVRKIT_CLI + " view controls 2>&1");
        if (run.output.find("no display backend") != std::string::npos) GTEST_SKIP() << "built without SDL2";
        EXPECT_EQ(run.status, 1) << c.display << ": " << run.output;
        EXPECT_NE(run.output.find("cannot open the display '" + std::string(c.display) + "': "), std::string::npos)
            << run.output;
        EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
    }
}

}  // namespace
