#pragma once
// Syslog over RELP through librelp. librelp's send is window-based: it returns once the frame is
// written while fewer than the window's frames await their acknowledgment, and otherwise first
// waits for the oldest one's. So after a send returns, all but the last kWindow frames are
// acknowledged; those last ones are the unacknowledged window, which a forwarder killed at that
// moment sends again. Drain closes the session, whose close the server answers only after every
// frame before it.
#include <string>

#include "forward/SyslogTransport.h"

using relpEngine_t = struct relpEngine_s;
using relpClt_t = struct relpClt_s;

class RelpTransport : public SyslogTransport {
public:
    static constexpr int kWindow = 128;

    RelpTransport(ForwardTarget target, ForwardSecurity security);
    ~RelpTransport() override;

    bool Connect() override;
    bool Send(std::string_view message) override;
    bool Flush() override { return true; }
    bool Drain() override;
    std::size_t Unconfirmed() const override { return m_unconfirmed; }
    void Close() override;

    // What librelp reported last, for the error texts.
    void Report(const char* what);

private:
    bool Failed(const char* what, int code);
    bool Configure();

    ForwardTarget m_target;
    ForwardSecurity m_security;
    relpEngine_t* m_engine = nullptr;
    relpClt_t* m_client = nullptr;
    std::size_t m_unconfirmed = 0;
    std::string m_reported;
};
