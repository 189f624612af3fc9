#pragma once
// A scripted SMTP server on 127.0.0.1 for transcript tests: it accepts one connection and plays a
// script, recording every line the client sends.
//
// Script steps:
//   "> TEXT"  send TEXT with each "\n" made CR LF and a CR LF added; each "|" in TEXT splits it
//             into separate TCP segments, sent a little apart
//   "<"       wait for one client line
//   "<data"   wait for the mail data, up to its final "." line
//   "close"   close the connection
// After the last step the server records what the client still sends until it closes or goes
// quiet.
#include <string>
#include <thread>
#include <vector>

class ScriptedSmtpServer {
public:
    explicit ScriptedSmtpServer(std::vector<std::string> script);
    ~ScriptedSmtpServer();
    ScriptedSmtpServer(const ScriptedSmtpServer&) = delete;
    ScriptedSmtpServer& operator=(const ScriptedSmtpServer&) = delete;

    unsigned port() const { return m_port; }
    // Waits for the script to end, then: the client's lines (without CR LF; the data shows as one
    // "<data>" entry), and the data, dot-stuffed as sent, without its final ".".
    const std::vector<std::string>& Commands();
    const std::string& Data();

private:
    void Play(int client);
    // Reads up to and including `end`; false when the client closed or went quiet first.
    bool ReadUntil(int client, const std::string& end, std::string& out);

    std::vector<std::string> m_script;
    int m_listener = -1;
    unsigned m_port = 0;
    std::thread m_thread;
    std::string m_pending;  // bytes received beyond the last item read
    std::vector<std::string> m_commands;
    std::string m_data;
};

// A loopback port that was free a moment ago, with nothing listening on it.
unsigned FreeLoopbackPort();
