#pragma once
// A connection to a central syslog server over one of the transports. Messages go in order;
// the transport says how many of those sent it cannot yet vouch for, so that the forwarder moves
// its cursor only past what is safe: for RELP what the server acknowledged, for plain syslog what
// was handed to the system's socket.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "forward/ForwardTarget.h"

class SyslogTransport {
public:
    virtual ~SyslogTransport() = default;

    // False, with Error(), when the server cannot be reached or refuses the session.
    virtual bool Connect() = 0;
    // Sends one message (without framing); false, with Error(), when the session broke.
    virtual bool Send(std::string_view message) = 0;
    // Hands over what Send kept back (the end of a batch); false with Error().
    virtual bool Flush() = 0;
    // Makes every message sent so far safe, as when no more are coming for a while; false with
    // Error(). The next Send may need a new session, which it makes itself.
    virtual bool Drain() { return Flush(); }
    // Of the messages sent since Connect, how many are not yet safe.
    virtual std::size_t Unconfirmed() const = 0;
    // Ends the session; messages not yet safe may be lost and are sent again by the caller.
    virtual void Close() = 0;

    const std::string& Error() const { return m_error; }

protected:
    bool Fail(std::string error) {
        m_error = std::move(error);
        return false;
    }

private:
    std::string m_error;
};

// The transport `target` names.
std::unique_ptr<SyslogTransport> MakeSyslogTransport(const ForwardTarget& target, const ForwardSecurity& security);
