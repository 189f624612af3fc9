#include "calendar/CalendarFont.h"

#include <string>

#include "module/FixedText.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/StockObjects.h"

namespace calendar {

LOGFONT DefaultGuiFontDescription() {
    LOGFONT font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

void SetFaceName(LOGFONT& font, const char* name) {
    const std::string fitted(FitText(name ? name : "", LF_FACESIZE - 1));
    StoreFixedText(font.lfFaceName, fitted.c_str());
}

void Recreate(CFont& font, const LOGFONT& description) {
    font.DeleteObject();
    font.CreateFontIndirect(&description);
}

}  // namespace calendar
