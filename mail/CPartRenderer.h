#pragma once
// Renders one kind of MIME body part: its part header and its body, appended to the mail body.
#include "mail/MailTextSink.h"
#include "platform/core/CString.h"
#include "platform/core/Types.h"

class CPartRenderer {
public:
    explicit CPartRenderer(int typeId) : m_typeId(typeId) {}
    CPartRenderer(const CPartRenderer&) = delete;
    CPartRenderer& operator=(const CPartRenderer&) = delete;
    virtual ~CPartRenderer() = default;

    bool HandlesType(int type) const { return type == m_typeId; }

    // Appends the part's header and body for `content` to `body`: 1, or 0 when nothing could be
    // appended.
    virtual BOOL Render(const CString& content, const CString& parameter, CString& body) = 0;
    // The same text written to `sink`, piece by piece where the part is large.
    virtual BOOL RenderTo(const CString& content, const CString& parameter, MailTextSink& sink) {
        CString text;
        const BOOL rendered = Render(content, parameter, text);
        sink.Write(text.str());
        return rendered;
    }
    virtual CString ContentTypeName() const = 0;
    // The part's header, ending with its empty line.
    virtual CString BuildPartHeader(const CString& content, const CString& parameter) = 0;

protected:
    int m_typeId;
};
