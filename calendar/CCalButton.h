#pragma once
// One button of the calendar: a day cell of the grid or one of the two month buttons. It is an
// owner-drawn button that paints itself: a face in its colour, a black frame with a raised or
// pressed edge, and its caption (the day of month for a cell, left and top with a margin; the
// caption given at creation, centred, for a month button). A cell of the shown month that has
// the focus, or was marked to take it, shows the focus look: a blue face, yellow text and a
// dotted frame.
//
// A cell's date decides its colours: grey text for days of other months, the Sunday and
// Saturday faces for weekend days. "In the shown month" compares month numbers only.
#include "platform/core/CTime.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/LogFont.h"
#include "platform/ui/CButton.h"

class CCalButton : public CButton {
public:
    enum Kind { kDayCell = 0, kPreviousMonth = 1, kNextMonth = 2 };

    CCalButton();

    void SetKind(int kind) { m_kind = kind; }
    int GetKind() const { return m_kind; }
    // Stores the date and the calendar's current time; with a window, shows the date's day
    // and its text colour for the shown month.
    void SetTime(CTime date, CTime reference);
    CTime GetTime() const { return m_date; }
    bool InShownMonth() const { return m_date.GetMonth() == m_reference.GetMonth(); }

    // The base face, and for a cell its caption and weekend or other-month colours.
    void SetDayColors(COLORREF text, COLORREF face);
    // Stores the colours; with a window, repaints it (without erasing).
    void SetColors(COLORREF text, COLORREF face, COLORREF disabledFace);
    void SetColors(COLORREF text, COLORREF face) { SetColors(text, face, face); }
    // The face, remembered as the weekend face when the date is a Sunday or a Saturday.
    void SetFaceColor(COLORREF face);
    void SetCellFont(COLORREF text, COLORREF face, int size, const char* faceName, int bold, int italic);
    void SetFontSize(int size);
    // Marks the button to take the focus when it is next painted in the shown month, and asks
    // for that paint.
    void SetFocusRequest(int request);

    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF GetFaceColor() const { return m_faceColor; }
    COLORREF GetDisabledFaceColor() const { return m_disabledFaceColor; }
    const LOGFONT& GetFontDescription() const { return m_fontDescription; }

    void DrawItem(LPDRAWITEMSTRUCT item) override;

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    int OnCreate(LPCREATESTRUCT cs);
    HBRUSH CtlColor(CDC* dc, UINT kind);
    // The calendar's navigation keys go to the calendar; others (Space clicks) stay here.
    void OnKeyDown(UINT key, UINT repeat, UINT flags);

private:
    void SetDayCaption();
    void RecreateFont();
    void DrawCaption(CDC& dc, const CString& caption, CRect area, COLORREF color);

    COLORREF m_textColor;
    COLORREF m_faceColor;
    COLORREF m_disabledFaceColor;
    // The edge colours, in the order light, highlight, shadow, dark shadow.
    COLORREF m_borderLight, m_borderHighlight, m_borderShadow, m_borderDarkShadow;
    int m_focusRequest = 0;
    COLORREF m_normalTextColor;
    COLORREF m_otherMonthTextColor;
    COLORREF m_sundayFaceColor;
    COLORREF m_saturdayFaceColor;
    COLORREF m_baseFaceColor;
    CTime m_date;
    CTime m_reference;
    LOGFONT m_fontDescription;
    CFont m_font;
    CBrush m_controlBrush;
    int m_kind = kDayCell;
};
