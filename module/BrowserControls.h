#pragma once
// What the browser windows share of their controls: the font and the icons every browser makes
// when it is created, and the two-tree plan of the log and event browsers: a month tree on the
// left, an entry tree on the right overlapping it by one pixel, and a text pane below both,
// placed from the client size at creation and placed again by the same rule at every resize.
#include <initializer_list>
#include <memory>

#include "platform/gdi/CFont.h"
#include "platform/gdi/CImageList.h"
#include "platform/gdi/Geometry.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CTreeCtrl.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/WindowStyles.h"

namespace browser {

constexpr DWORD kMonthTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_SHOWSELALWAYS;
constexpr DWORD kEntryTreeStyle = kMonthTreeStyle | TVS_HASBUTTONS | TVS_LINESATROOT;
constexpr DWORD kPaneStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_READONLY | ES_MULTILINE;
constexpr DWORD kPaneExStyle = WS_EX_STATICEDGE;
static_assert(kMonthTreeStyle == 0x50800022 && kEntryTreeStyle == 0x50800027);
static_assert(kPaneStyle == 0x50200804 && kPaneExStyle == 0x20000);

constexpr int kPaneHeight = 150, kMargin = 5;

struct Layout {
    CRect monthTree, entryTree, pane;

    // For a client area of `width` x `height`: the trees split at 0.4 of the width.
    static Layout For(int width, int height);
};

// The browsers' three controls and their IDs.
struct Controls {
    CTreeCtrl& monthTree;
    UINT monthTreeId;
    CTreeCtrl& entryTree;
    UINT entryTreeId;
    CEdit& pane;
    UINT paneId;
};

// A new font made from the description of the stock default GUI font.
std::unique_ptr<CFont> DefaultGuiFont();
// A 16 x 16 image list with a mask holding the host's icon strip (empty if the host has none).
std::unique_ptr<CImageList> HostIcons(UINT colorFlags);
// Creates the month tree, the entry tree and the pane inside `parent` by the two-tree plan, gives
// them the font, and gives both trees the icons.
void CreateTwoTreeControls(CWnd& parent, const Controls& controls, CFont& font, CImageList& icons);
// Places the three controls for `parent`'s client size now, as CreateTwoTreeControls placed
// them for the size it had then.
void PlaceTwoTreeControls(CWnd& parent, const Controls& controls);
// Sends the close message to each control whose window still exists, in the order given.
void CloseControls(std::initializer_list<CWnd*> controls);

}  // namespace browser
