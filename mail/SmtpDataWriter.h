#pragma once
// The mail's body on its way to the server after DATA, as it is composed: every line end made
// CR LF and every line that starts with "." given a second one (see MailText.h), sent in blocks
// of a fixed size so that memory stays the same for any size of mail.
#include <string>
#include <string_view>

#include "mail/MailText.h"
#include "mail/MailTextSink.h"
#include "mail/SmtpConnection.h"

class SmtpDataWriter : public MailTextSink {
public:
    explicit SmtpDataWriter(SmtpConnection& connection);
    void Write(std::string_view text) override;
    // Sends what is left; a CR at the very end becomes CR LF.
    void Finish();

private:
    void Flush();

    SmtpConnection& m_connection;
    DotStuffer m_stuffer;
    std::string m_block;
    bool m_failed = false;  // a send failed: the rest is dropped, and the reply check tells
};
