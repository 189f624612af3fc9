#pragma once
// The text part: a text/plain header and the text with CR LF line ends, wrapped near a width.
// Plain ASCII text with no line over SMTP's limit goes out as "7Bit", as it always has. Other
// text is labelled UTF-8 and goes out in 8 bits when allowed, else quoted-printable; so does text
// with a line too long for SMTP.
#include <string>
#include <string_view>

#include "mail/CPartRenderer.h"

class CTextPartRenderer : public CPartRenderer {
public:
    // Widths below 1 are taken as 1: smaller ones would never stop inserting line breaks.
    explicit CTextPartRenderer(int wrapWidth);

    BOOL Render(const CString& content, const CString& parameter, CString& body) override;
    // Whether 8-bit text may be sent as it is.
    void SetEightBitAllowed(bool allowed) { m_eightBitAllowed = allowed; }
    // Whether the part for `content` goes out in 8 bits.
    bool UsesEightBit(const CString& content) const;
    CString ContentTypeName() const override;
    CString BuildPartHeader(const CString& content, const CString& parameter) override;

    // Breaks `text` into lines of about the wrap width at blanks (see the .cpp for the rule).
    // Takes time linear in the text's length.
    std::string WrapText(std::string_view text) const;

private:
    enum class Form { SevenBit, EightBit, QuotedPrintable };
    struct Shape {
        Form form;
        bool ascii;
    };
    // How the wrapped text `text` must go out.
    Shape ShapeOf(std::string_view text) const;
    CString Header(const Shape& shape, const CString& parameter) const;

    int m_wrapWidth;
    bool m_eightBitAllowed = false;
};
