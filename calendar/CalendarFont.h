#pragma once
// The font description edits that the calendar's buttons and labels share.
#include "platform/gdi/CFont.h"
#include "platform/gdi/LogFont.h"

namespace calendar {

// The default GUI font's description.
LOGFONT DefaultGuiFontDescription();
// Sizes are character heights: stored as the negative font height.
inline void SetSize(LOGFONT& font, int size) { font.lfHeight = -size; }
inline void SetBold(LOGFONT& font, int bold) { font.lfWeight = bold ? FW_BOLD : FW_NORMAL; }
inline void SetItalic(LOGFONT& font, int italic) { font.lfItalic = static_cast<BYTE>(italic & 0xFF); }
// Copies the name, cut at a character boundary to the 31 bytes the field holds.
void SetFaceName(LOGFONT& font, const char* name);
// Replaces the font object by a new one made from the description.
void Recreate(CFont& font, const LOGFONT& description);

}  // namespace calendar
