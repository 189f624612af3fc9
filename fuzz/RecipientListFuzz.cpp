// Recipient lists of a mail ("name <address>; address; ..."), parsed into the To and Cc lists
// and composed into the mail's header. Whatever the list holds, the header must stay a header:
// CR LF line ends only, every line a field or a folded continuation.
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/FuzzTarget.h"
#include "mail/COutgoingMail.h"

namespace {

// A field ("Name: ...", the name printable and without a colon) or a continuation (starting
// with a blank).
bool IsHeaderLine(std::string_view line) {
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) return true;
    const size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos) return false;
    for (size_t i = 0; i < colon; ++i)
        if (line[i] <= ' ' || line[i] > '~') return false;
    return true;
}

// CR LF line ends only, every line a header line, and the empty line that ends the header last.
bool IsHeaderText(const std::string& text) {
    if (text.size() < 4 || text.compare(text.size() - 4, 4, "\r\n\r\n") != 0) return false;
    const std::string_view fields(text.data(), text.size() - 2);
    for (size_t start = 0; start < fields.size();) {
        const size_t end = fields.find("\r\n", start);
        const std::string_view line = fields.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string_view::npos || !IsHeaderLine(line)) return false;
        start = end + 2;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string list(reinterpret_cast<const char*>(data), size);
    COutgoingMail mail;
    for (const RecipientKind kind : {RecipientKind::To, RecipientKind::Cc}) {
        mail.ParseRecipientList(list.c_str(), kind);
        CString address, name;
        for (int i = 0; mail.RecipientAt(i, address, name, kind); ++i)
            if (address.IsEmpty() || address.Find("\r") >= 0 || address.Find("\n") >= 0) std::abort();
    }
    mail.m_sender = "camera@example.org";
    mail.Prepare();
    if (!IsHeaderText(mail.HeaderText().str())) std::abort();
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    return TextSeeds({
        "ops@example.org",
        "Night Desk <night@example.org>; day@example.org;  Front \"Gate\" <gate@example.org> ;",
        "broken <no-end@example.org",
        "Two\r\nLines <two@example.org>;bad\naddress@example.org",
    });
}
