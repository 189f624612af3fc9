#pragma once
// A blocking TCP stream socket in the shape of the framework's CSocket. Connect takes a host name
// or a dotted IPv4 or IPv6 address and tries every address the resolver gives, in its order.
// Every call blocks until it is done, its time-out passes (the call fails with ETIMEDOUT) or
// another thread cancels it with CancelBlockingCall (the call fails with ECANCELED).
//
// Threads: the socket belongs to one thread, which connects, sends, receives and closes it.
// Another thread may call CancelBlockingCall and Close at any time; a Close during a call of the
// owning thread ends that call and takes effect when it returns.
#include <mutex>

#include "platform/core/CString.h"
#include "platform/core/Types.h"

class CSocket {
public:
    static constexpr int SOCKET_ERROR = -1;
    // Time-out value meaning "no limit".
    static constexpr int kNoTimeout = -1;

    CSocket();
    ~CSocket();
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;

    // Readies the socket for Connect. The descriptor itself is made by Connect, since its address
    // family depends on the address the host name resolves to. FALSE when the system has no
    // resources for the socket's cancel channel.
    BOOL Create();
    // Connects to `host` on `port`; FALSE when the name does not resolve or no address accepts
    // the connection within the connect time-out (GetLastError tells why).
    BOOL Connect(const char* host, UINT port);
    // Sends all `count` bytes and returns `count`, or SOCKET_ERROR.
    int Send(const void* data, int count);
    // Receives up to `count` bytes: their number, 0 when the peer closed the connection, or
    // SOCKET_ERROR.
    int Receive(void* buffer, int count);
    void Close();
    // Ends the blocking call in progress on the owning thread, or the next one when none is.
    void CancelBlockingCall();

    // Time-outs in milliseconds, kNoTimeout (the default) for none. The send time-out bounds each
    // wait for the peer to take more data, not the whole send; the receive time-out bounds one
    // Receive.
    void SetConnectTimeout(int ms) { m_connectTimeout = ms; }
    void SetSendTimeout(int ms) { m_sendTimeout = ms; }
    void SetReceiveTimeout(int ms) { m_receiveTimeout = ms; }

    // The errno value of the last failure (ETIMEDOUT, ECANCELED, ECONNREFUSED, ...); for a name
    // that did not resolve, EHOSTUNREACH.
    int GetLastError() const { return m_error; }
    // The last failure as a person reads it: the system's text, or the resolver's for a name
    // that did not resolve ("unknown host: ...").
    CString GetLastErrorText() const;
    BOOL IsConnected() const;
    // The local end's address as an SMTP address literal, "[192.0.2.1]" or "[IPv6:::1]"; empty
    // when not connected.
    CString GetLocalAddressLiteral() const;

private:
    // Marks a call in progress on the descriptor; -1 (with the error set) when there is none.
    int BeginCall();
    // Ends the call; false (with the error ECANCELED) when a Close came during it.
    bool EndCall();
    // Waits until `fd` is ready for `events`; false with the error set on time-out or cancel.
    bool Wait(int fd, short events, int timeoutMs);
    bool ConnectOne(int family, int type, int protocol, const void* address, unsigned length);
    void CloseLocked();

    mutable std::mutex m_lock;   // guards the descriptor, the call count and the pending close
    int m_fd = -1;
    int m_callsInProgress = 0;
    bool m_closePending = false;
    int m_wake = -1;             // eventfd that CancelBlockingCall signals
    int m_error = 0;
    int m_resolveError = 0;      // getaddrinfo's result for the last Connect
    int m_connectTimeout = kNoTimeout;
    int m_sendTimeout = kNoTimeout;
    int m_receiveTimeout = kNoTimeout;
};
