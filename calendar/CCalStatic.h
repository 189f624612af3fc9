#pragma once
// The calendar's labels (the title and the weekday headers): a static label with its own text
// colour, background and font. Every change repaints the label at once.
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/LogFont.h"
#include "platform/ui/CStatic.h"

class CCalStatic : public CStatic {
public:
    CCalStatic();

    void SetFontColor(COLORREF color);
    void SetBackColor(COLORREF color);
    void SetFontSize(int size);
    // The face name is cut to the 31 bytes its field holds.
    void SetFontFace(const char* name);
    void SetFontBold(int bold);
    void SetFontItalic(int italic);
    // Adds (non-zero) or removes the sunken edge.
    void SetEdge(int edge);

    COLORREF GetFontColor() const { return m_textColor; }
    const LOGFONT& GetFontDescription() const { return m_fontDescription; }

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    HBRUSH CtlColor(CDC* dc, UINT kind);

private:
    void FontChanged();
    void Repaint();

    COLORREF m_textColor;
    CBrush m_backBrush;
    LOGFONT m_fontDescription;
    CFont m_font;
};
