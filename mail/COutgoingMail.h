#pragma once
// A plain mail: sender, subject, body and three recipient lists, and the composition of its
// header. Prepare() builds the header text and finishes the body; the SMTP session then sends
// both as they stand. One mail is used by one thread.
#include <vector>

#include "mail/MailRecipient.h"
#include "mail/MailTextSink.h"
#include "mail/MimeFormat.h"
#include "platform/core/CString.h"
#include "platform/core/Types.h"

class COutgoingMail {
public:
    COutgoingMail() = default;
    COutgoingMail(const COutgoingMail&) = delete;
    COutgoingMail& operator=(const COutgoingMail&) = delete;
    virtual ~COutgoingMail() = default;

    void SetWrapWidth(int width) { m_wrapWidth = width; }
    int GetWrapWidth() const { return m_wrapWidth; }

    // Appends one recipient to the list of `kind` (nothing for a kind outside the three); 1.
    int AppendRecipient(const CString& address, const CString& name, RecipientKind kind);
    // Copies entry `index` of the list of `kind`: 1, or 0 with the outputs unchanged when there is
    // no such entry.
    int RecipientAt(int index, CString& address, CString& name, RecipientKind kind) const;
    int RecipientCount(RecipientKind kind) const;
    // Appends the entries of a list separated by ';' or ',', each "address" or "name <address>", to
    // the list of `kind` (a ',' inside quotes or before the entry's address is part of the name). Blanks around names and addresses are dropped and empty entries skipped. Returns
    // 0 at the first malformed entry ("<" without a later ">", or a line break in the address),
    // keeping the entries before it; else 1.
    int ParseRecipientList(const char* list, RecipientKind kind);

    // ResetHeader, ComposeHeader, CloseHeader, ComposeBody, in that order: the whole text in
    // HeaderText and m_body.
    void Prepare();
    // The header alone (ResetHeader, ComposeHeader, CloseHeader), for a mail whose body is then
    // written with WriteBody.
    void PrepareHeader();
    // Composes the body into `sink`, consuming the body text as ComposeBody does; a multipart
    // mail writes its attachments while it reads them, so its size does not matter.
    virtual void WriteBody(MailTextSink& sink);

    // Whether the text may go out in 8 bits (the server offers 8BITMIME); without, text with bytes
    // above 127 is sent quoted-printable. Set before Prepare.
    void SetEightBitAllowed(bool allowed) { m_eightBitAllowed = allowed; }
    // After Prepare or PrepareHeader: whether a part goes out in 8 bits, so MAIL FROM must say
    // BODY=8BITMIME.
    bool UsesEightBit() const { return m_usesEightBit; }

    const CString& HeaderText() const { return m_header; }
    // The address of the sender, for MAIL FROM: the text between "<" and ">" of a sender written
    // "name <address>", else the sender as it stands.
    CString SenderAddress() const;
    // Whether the sender can go into MAIL FROM and the From line as it is: a safe address
    // (IsSafeAddress) and no line break.
    bool HasSafeSender() const;
    DWORD DateSent() const { return m_date; }

    CString m_sender;   // "address" or "name <address>": the From line and the MAIL FROM address
    CString m_subject;
    CString m_body;     // the body text; after Prepare, the body as sent

protected:
    virtual void ComposeHeader();
    virtual void ComposeBody();
    virtual void CloseHeader();
    virtual void ResetHeader();
    virtual void AppendHeaderLine(const CString& line);

    CString m_header;
    DWORD m_date = 0;
    int m_wrapWidth = mime::kDefaultWrapWidth;
    bool m_eightBitAllowed = false;
    bool m_usesEightBit = false;

private:
    const std::vector<MAIL_RECIPIENT>* List(RecipientKind kind) const;
    std::vector<MAIL_RECIPIENT>* List(RecipientKind kind);
    // "From: " and the sender as written; a display name in an encoded word when not ASCII.
    CString FromLine() const;
    // "To: " or "Cc: " followed by the list's entries.
    CString AddressLine(const char* field, RecipientKind kind) const;

    std::vector<MAIL_RECIPIENT> m_lists[kRecipientKinds];
};
