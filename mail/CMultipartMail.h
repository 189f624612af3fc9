#pragma once
// A multipart/mixed mail: the body text becomes a text part, followed by file attachments, each
// rendered by the renderer registered for its type. The boundary is the fixed one unless a text
// holds it; then a variant that no text holds.
#include <list>

#include "mail/COutgoingMail.h"
#include "mail/CTextPartRenderer.h"
#include "mail/CPartRendererRegistry.h"
#include "mail/MailPart.h"

class CMultipartMail : public COutgoingMail {
public:
    // Registers a text renderer (with this mail's wrap width) and a file renderer.
    CMultipartMail();

    // Queues a part with its content stripped of surrounding white space: text parts at the head,
    // other parts at the tail. Returns 1.
    int AttachPart(const CString& content, int type, const CString& parameter);
    void WriteBody(MailTextSink& sink) override;

protected:
    void ComposeHeader() override;
    void ComposeBody() override;
    virtual void AppendParts(LineEndTracker& body);
    void OpenPartBoundary(LineEndTracker& text) const;
    void CloseBoundary(LineEndTracker& text) const;
    // The fixed boundary, or the first of its numbered variants that no text of the mail holds.
    CString UnusedBoundary() const;

    CString m_preamble;
    CString m_boundary;
    CString m_contentType;

private:
    std::list<MAIL_PART> m_parts;
    CPartRendererRegistry m_registry;
    CTextPartRenderer* m_textRenderer;  // owned by the registry
};
