#pragma once
// Shared pieces of the window tests: a headless desktop per test with its driver, a top-level
// frame window that records what reaches it, and pixel helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/HeadlessBackend.h"
#include "platform/ui/CWnd.h"
#include "tests/support/WindowDriver.h"

// A top-level window that logs the messages and notifications its table handles.
class LoggingFrame : public CWnd {
public:
    std::vector<std::string> log;
    LRESULT vetoSelection = 0;  // answer to TVN_SELCHANGING

    BOOL CreateFrame(int width, int height);
    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnSelChanging(NMHDR* header, LRESULT* result);
    void OnSelChanged(NMHDR* header, LRESULT* result);
    void OnButtons(UINT id);
};

class UiTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The bounding box of the pixels in `area` (desktop coordinates) whose colour is not `ground`.
    CRect InkBox(const CRect& area, COLORREF ground);

    HeadlessBackend backend{400, 300};
    WindowDriver ui{backend};
    LoggingFrame frame;
};
