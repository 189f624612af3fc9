#pragma once
// Renders one kind of MIME body part: its part header and its body, appended to the mail body.
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
    virtual CString ContentTypeName() const = 0;
    // The part's header, ending with its empty line.
    virtual CString BuildPartHeader(const CString& content, const CString& parameter) = 0;

protected:
    int m_typeId;
};
