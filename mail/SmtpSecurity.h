#pragma once
// How a session protects its connection, as the host chooses it.
#include "platform/core/CString.h"

enum class SmtpTlsMode {
    Off,          // plain text throughout: the session talks exactly as it always has
    WhenOffered,  // STARTTLS when the server's EHLO reply offers it
    Required,     // STARTTLS or no mail: a server that does not offer it is refused
    Implicit,     // TLS from the first byte (port 465)
};

struct SmtpSecurity {
    SmtpTlsMode mode = SmtpTlsMode::WhenOffered;
    // PEM file of the certificates to trust; empty for the system's trust store.
    CString caFile;
    // Credentials go over an unencrypted connection only when the host allows it here, or when it
    // chose SmtpTlsMode::Off.
    bool plainAuthAllowed = false;
};

namespace smtp {
constexpr unsigned kImplicitTlsPort = 465;
}
