#include "UiTestSupport.h"

#include "platform/ui/CButton.h"
#include "platform/ui/TreeTypes.h"

namespace {

std::string Describe(const char* what, const NMHDR* header) {
    const auto* nm = reinterpret_cast<const NMTREEVIEW*>(header);
    return std::string(what) + " " + std::to_string(header->idFrom) + " action " + std::to_string(nm->action) +
           " old " + std::to_string(reinterpret_cast<std::uintptr_t>(nm->itemOld.hItem)) + " new " +
           std::to_string(reinterpret_cast<std::uintptr_t>(nm->itemNew.hItem));
}

}  // namespace

const MessageMap* LoggingFrame::ThisMessageMap() {
    static constexpr MessageMapEntry entries[] = {
        msgmap::OnCreate<&LoggingFrame::OnCreate>(),
        msgmap::OnDestroy<&LoggingFrame::OnDestroy>(),
        msgmap::OnNotify<&LoggingFrame::OnSelChanging>(TVN_SELCHANGING, 1001),
        msgmap::OnNotify<&LoggingFrame::OnSelChanged>(TVN_SELCHANGED, 1001),
        msgmap::OnCommandRange<&LoggingFrame::OnButtons>(BN_CLICKED, 8000, 8043),
    };
    static const MessageMap map{CWnd::ThisMessageMap(), entries};
    return &map;
}

BOOL LoggingFrame::CreateFrame(int width, int height) {
    return CreateEx(0, nullptr, "frame", WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0);
}

int LoggingFrame::OnCreate(LPCREATESTRUCT cs) {
    log.push_back("create");
    return CWnd::OnCreate(cs);
}

void LoggingFrame::OnDestroy() {
    log.push_back("destroy");
    CWnd::OnDestroy();
}

void LoggingFrame::OnSelChanging(NMHDR* header, LRESULT* result) {
    log.push_back(Describe("changing", header));
    *result = vetoSelection;
}

void LoggingFrame::OnSelChanged(NMHDR* header, LRESULT* result) {
    log.push_back(Describe("changed", header));
    *result = 0;
}

void LoggingFrame::OnButtons(UINT id) { log.push_back("clicked " + std::to_string(id)); }

void UiTest::SetUp() { ASSERT_TRUE(frame.CreateFrame(400, 300)); }

void UiTest::TearDown() {
    frame.DestroyWindow();
    EXPECT_EQ(CDesktop::Get().Root().GetChildren().size(), 0u) << "a test left a window behind";
}

CRect UiTest::InkBox(const CRect& area, COLORREF ground) {
    backend.Render();
    CRect box(area.right, area.bottom, area.left, area.top);
    bool any = false;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (backend.PixelAt(x, y) == ground) continue;
            any = true;
            box = CRect(std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
                        std::max<int>(box.bottom, y + 1));
        }
    }
    return any ? box : CRect();
}
