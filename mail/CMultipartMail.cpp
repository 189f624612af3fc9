#include "mail/CMultipartMail.h"

#include "mail/CFilePartRenderer.h"
#include "mail/CTextPartRenderer.h"
#include "mail/MailText.h"
#include "mail/MimeFormat.h"

CMultipartMail::CMultipartMail()
    : m_preamble(mime::kPreamble), m_boundary(mime::kBoundary), m_contentType(mime::kMultipartType) {
    m_textRenderer = new CTextPartRenderer(m_wrapWidth);
    m_registry.Register(m_textRenderer);
    m_registry.Register(new CFilePartRenderer());
}

int CMultipartMail::AttachPart(const CString& content, int type, const CString& parameter) {
    MAIL_PART part{type, parameter, TrimSpace(content)};
    if (type == mime::kTextPart) m_parts.push_front(std::move(part));
    else m_parts.push_back(std::move(part));
    return 1;
}

CString CMultipartMail::UnusedBoundary() const {
    // Attachments are base64, whose alphabet has no "_", and part headers start with "Content-":
    // only texts can hold a boundary line.
    const auto used = [this](const CString& boundary) {
        if (m_body.Find(boundary.c_str()) >= 0 || m_preamble.Find(boundary.c_str()) >= 0) return true;
        for (const MAIL_PART& part : m_parts)
            if (part.type == mime::kTextPart && part.content.Find(boundary.c_str()) >= 0) return true;
        return false;
    };
    CString boundary = mime::kBoundary;
    for (int n = 1; used(boundary); ++n) boundary.Format("%s_%d", mime::kBoundary, n);
    return boundary;
}

void CMultipartMail::ComposeHeader() {
    m_boundary = UnusedBoundary();
    // Decided before the body is written, since MAIL FROM, sent before it, must say so.
    m_textRenderer->SetEightBitAllowed(m_eightBitAllowed);
    m_usesEightBit = !m_body.IsEmpty() && m_textRenderer->UsesEightBit(TrimSpace(m_body));
    for (const MAIL_PART& part : m_parts)
        m_usesEightBit = m_usesEightBit || (part.type == mime::kTextPart && m_textRenderer->UsesEightBit(part.content));
    COutgoingMail::ComposeHeader();
    AppendHeaderLine("MIME-Version: 1.0");
    CString type;
    type.Format("Content-Type: %s; boundary=%s", m_contentType.c_str(), m_boundary.c_str());
    AppendHeaderLine(type);
}

void CMultipartMail::ComposeBody() {
    std::string text;
    StringSink sink(text);
    WriteBody(sink);
    m_body = CString(std::move(text));
}

void CMultipartMail::WriteBody(MailTextSink& sink) {
    if (!m_body.IsEmpty()) AttachPart(m_body, mime::kTextPart, "");
    m_body.Empty();
    LineEndTracker body(sink);
    body.Write((m_preamble + "\r\n\r\n").str());
    AppendParts(body);
    CloseBoundary(body);
}

void CMultipartMail::AppendParts(LineEndTracker& body) {
    for (const MAIL_PART& part : m_parts) {
        CPartRenderer* renderer = m_registry.Lookup(part.type);
        if (!renderer) continue;
        OpenPartBoundary(body);
        renderer->RenderTo(part.content, part.parameter, body);
    }
}

void CMultipartMail::OpenPartBoundary(LineEndTracker& text) const {
    text.EndLine();
    text.Write(("--" + m_boundary + "\r\n").str());
}

void CMultipartMail::CloseBoundary(LineEndTracker& text) const {
    text.EndLine();
    text.Write(("--" + m_boundary + "--\r\n").str());
}
