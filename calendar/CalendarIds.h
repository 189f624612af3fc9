#pragma once
// The calendar window's control IDs, child styles and default colours, in one place.
#include "platform/core/Types.h"
#include "platform/gdi/ColorRef.h"
#include "platform/ui/WindowStyles.h"

namespace calendar {

constexpr UINT kFirstCellId = 8000;  // cell i has ID 8000 + i (row-major, 42 cells)
constexpr UINT kLastCellId = 8041;
constexpr UINT kPreviousMonthId = 8042;
constexpr UINT kNextMonthId = 8043;
constexpr UINT kTitleId = 8045;
constexpr UINT kFirstHeaderId = 8046;  // header i (0 = Sunday) has ID 8046 + i

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTERIMAGE | SS_CENTER;
static_assert(kButtonStyle == 0x5000000B && kLabelStyle == 0x50800201);

constexpr COLORREF kGrey = 0xC0C0C0;          // weekday and button faces, the background
constexpr COLORREF kSundayFace = 0x8080FF;
constexpr COLORREF kSaturdayFace = 0xFF8080;
constexpr COLORREF kOtherMonthText = 0x808080;
constexpr COLORREF kFocusFace = 0xFA0000;
constexpr COLORREF kFocusText = 0x00FFFF;
constexpr COLORREF kEmbossLight = 0xFFFFFF;   // a disabled caption's light copy
constexpr COLORREF kEmbossDark = 0x808080;    // and its grey one

constexpr int kTitleFontSize = 30;
constexpr int kHeaderFontSize = 16;
constexpr const char* kCellFace = "verdana";

}  // namespace calendar
