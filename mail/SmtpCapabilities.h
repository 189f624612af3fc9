#pragma once
// What a server's EHLO reply offers, of what the session can use (RFC 5321 4.1.1.1: each line
// after the first is a keyword and its parameters).
#include <string_view>

struct SmtpCapabilities {
    bool startTls = false;
    bool eightBitMime = false;
    bool authLogin = false;
    bool authPlain = false;

    // From the EHLO reply's text, lines ending in "\n"; all false for a HELO reply.
    static SmtpCapabilities Parse(std::string_view ehloReply);
};
