#pragma once
// The text part: a text/plain header and the text with CR LF line ends, wrapped near a width.
#include <string>
#include <string_view>

#include "mail/CPartRenderer.h"

class CTextPartRenderer : public CPartRenderer {
public:
    // Widths below 1 are taken as 1: smaller ones would never stop inserting line breaks.
    explicit CTextPartRenderer(int wrapWidth);

    BOOL Render(const CString& content, const CString& parameter, CString& body) override;
    CString ContentTypeName() const override;
    CString BuildPartHeader(const CString& content, const CString& parameter) override;

    // Breaks `text` into lines of about the wrap width at blanks (see the .cpp for the rule).
    // Takes time linear in the text's length.
    std::string WrapText(std::string_view text) const;

private:
    int m_wrapWidth;
};
