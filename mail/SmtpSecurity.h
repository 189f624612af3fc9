#pragma once
// How a session protects its connection, as the host chooses it.
#include "platform/core/CString.h"

enum class SmtpTlsMode {
    // The default: the session greets and logs in as it always has (HELO, or EHLO when it has
    // credentials; AUTH LOGIN also over plain text), and when the EHLO reply offers STARTTLS it
    // encrypts, verifying the certificate but encrypting even when that fails. Mail keeps going
    // wherever it went before.
    Opportunistic,
    // EHLO always; STARTTLS when offered, with a certificate that must verify; credentials only
    // over TLS unless `plainAuthAllowed`.
    WhenOffered,
    // As WhenOffered, but a server that does not offer STARTTLS is refused.
    Required,
    // TLS from the first byte (port 465), with a certificate that must verify.
    Implicit,
    // Plain text throughout: the session talks exactly as it always has.
    Off,
};

struct SmtpSecurity {
    SmtpTlsMode mode = SmtpTlsMode::Opportunistic;
    // PEM file of the certificates to trust; empty for the system's trust store.
    CString caFile;
    // With WhenOffered and Required: credentials may go over an unencrypted connection.
    bool plainAuthAllowed = false;
};

namespace smtp {
constexpr unsigned kImplicitTlsPort = 465;
}
