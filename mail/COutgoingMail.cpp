#include "mail/COutgoingMail.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "mail/HeaderEncoding.h"
#include "mail/HeaderFields.h"
#include "mail/MailText.h"
#include "platform/core/CTime.h"

namespace {

// Where the entry at the start of `list` ends: at a ';', or at a ',' outside quotes once the entry
// holds a whole address ("a@b.c" or "... <a@b.c>"), so that "Doe, John <j@b.c>" stays one entry.
std::size_t EntryEnd(std::string_view list) {
    bool quoted = false, open = false, closed = false, at = false;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const char c = list[i];
        if (c == ';') return i;
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '<') open = true;
        if (c == '>' && open) closed = true;
        if (c == '@') at = true;
        if (c == ',' && (closed || (!open && at))) return i;
    }
    return std::string_view::npos;
}

// Splits "name <address>" or "address" into its parts, each without blanks at its ends; false
// when a "<" has no ">" after it.
bool SplitMailbox(const CString& text, CString& address, CString& name) {
    address = text;
    name.Empty();
    const int open = text.Find("<");
    if (open >= 0) {
        const int close = text.Find(">");
        if (close < open) return false;  // also when there is no ">"
        name = text.Left(open);
        address = text.Mid(open + 1, close - open - 1);
    }
    address = TrimSpace(address);
    name = TrimSpace(name);
    return true;
}

}  // namespace

const std::vector<MAIL_RECIPIENT>* COutgoingMail::List(RecipientKind kind) const {
    const int k = static_cast<int>(kind);
    return k >= 0 && k < kRecipientKinds ? &m_lists[k] : nullptr;
}

std::vector<MAIL_RECIPIENT>* COutgoingMail::List(RecipientKind kind) {
    return const_cast<std::vector<MAIL_RECIPIENT>*>(std::as_const(*this).List(kind));
}

int COutgoingMail::AppendRecipient(const CString& address, const CString& name, RecipientKind kind) {
    if (auto* list = List(kind)) list->push_back({address, name});
    return 1;
}

int COutgoingMail::RecipientAt(int index, CString& address, CString& name, RecipientKind kind) const {
    const auto* list = List(kind);
    if (!list || index < 0 || index >= static_cast<int>(list->size())) return 0;
    address = (*list)[static_cast<size_t>(index)].address;
    name = (*list)[static_cast<size_t>(index)].name;
    return 1;
}

int COutgoingMail::RecipientCount(RecipientKind kind) const {
    const auto* list = List(kind);
    return list ? static_cast<int>(list->size()) : 0;
}

int COutgoingMail::ParseRecipientList(const char* list, RecipientKind kind) {
    if (!list) return 1;
    std::string_view rest(list);
    for (;;) {
        const size_t end = EntryEnd(rest);
        CString address, name;
        if (!SplitMailbox(CString(rest.substr(0, end)), address, name)) return 0;
        // Blanks after a ';' would start the address with a blank, and an empty entry (a trailing
        // ';') would become an empty RCPT TO; servers refuse both.
        if (HasLineBreak(address)) return 0;  // it would end the RCPT TO command early
        if (!address.IsEmpty()) AppendRecipient(address, name, kind);
        if (end == std::string_view::npos) return 1;
        rest.remove_prefix(end + 1);
    }
}

void COutgoingMail::Prepare() {
    PrepareHeader();
    ComposeBody();
}

void COutgoingMail::PrepareHeader() {
    ResetHeader();
    ComposeHeader();
    CloseHeader();
}

void COutgoingMail::WriteBody(MailTextSink& sink) {
    ComposeBody();
    sink.Write(m_body.str());
}

void COutgoingMail::ResetHeader() { m_header.Empty(); }

void COutgoingMail::CloseHeader() { m_header += "\r\n"; }

void COutgoingMail::AppendHeaderLine(const CString& line) {
    m_header += line;
    m_header += "\r\n";
}

CString COutgoingMail::AddressLine(const char* field, RecipientKind kind) const {
    CString line = field;
    const char* separator = "";
    for (const MAIL_RECIPIENT& r : *List(kind)) {
        line += separator;
        // A blank between a display name and its address: names are stored without their blanks.
        if (!r.name.IsEmpty()) line += EncodeHeaderText(FoldLineBreaks(r.name), line.GetLength()) + " ";
        line += "<" + r.address + ">";
        separator = ",";
    }
    return line;
}

CString COutgoingMail::SenderAddress() const {
    CString address, name;
    return SplitMailbox(m_sender, address, name) ? address : m_sender;
}

bool COutgoingMail::HasSafeSender() const { return IsSafeAddress(SenderAddress()) && !HasLineBreak(m_sender); }

CString COutgoingMail::FromLine() const {
    CString address, name;
    if (!SplitMailbox(m_sender, address, name) || name.IsEmpty()) return "From: " + FoldLineBreaks(m_sender);
    const CString line = "From: ";
    return line + EncodeHeaderText(FoldLineBreaks(name), line.GetLength()) + " <" + FoldLineBreaks(address) + ">";
}

void COutgoingMail::ComposeHeader() {
    AppendHeaderLine(AddressLine("To: ", RecipientKind::To));
    AppendHeaderLine(AddressLine("Cc: ", RecipientKind::Cc));
    AppendHeaderLine(FromLine());
    AppendHeaderLine("Subject: " + EncodeHeaderText(FoldLineBreaks(m_subject), std::strlen("Subject: ")));
    const CTime now = CTime::GetCurrentTime();
    m_date = now.GetTime();
    AppendHeaderLine("Date: " + MailDateText(now));
    AppendHeaderLine("Message-ID: " + MessageIdText(now));
}

void COutgoingMail::ComposeBody() { EndWithCrLf(m_body); }
