#include "tests/forward/RsyslogServer.h"

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/RunCommand.h"

namespace {

constexpr const char* kRsyslogd = "/usr/sbin/rsyslogd";
const char* const kSchemes[] = {"syslog+tcp", "syslog+tls", "relp", "relp+tls"};

// Whether 127.0.0.1:`port` is listening, as the kernel's table says: a connection to try would
// be a session the server logs as broken.
bool Listening(unsigned port) {
    std::ifstream table("/proc/net/tcp");
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "0100007F:%04X", port);
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (local == wanted && state == "0A") return true;
    }
    return false;
}

std::string TextOf(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The server's certificate for 127.0.0.1 and localhost from a CA of the test, and a CA that
// signed nothing of it.
constexpr const char* kMakeCertificates = R"(set -e
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=dvrkit test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout other-ca.key -out other-ca.pem -days 2 \
  -subj "/CN=dvrkit other CA" -addext "basicConstraints=critical,CA:TRUE" 2>/dev/null
openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout server.key -out server.csr -subj "/CN=localhost" 2>/dev/null
printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\n' > server.ext
openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out server.pem -days 2 \
  -extfile server.ext 2>/dev/null
)";

// Every property of the message as the server parsed it, one JSON object a line.
constexpr const char* kTemplate = R"(template(name="parsed" type="list" option.jsonf="on") {
  property(outname="pri" name="pri" format="jsonf")
  property(outname="time" name="timereported" dateFormat="rfc3339" format="jsonf")
  property(outname="host" name="hostname" format="jsonf")
  property(outname="app" name="app-name" format="jsonf")
  property(outname="procid" name="procid" format="jsonf")
  property(outname="msgid" name="msgid" format="jsonf")
  property(outname="sd" name="structured-data" format="jsonf")
  property(outname="msg" name="msg" format="jsonf")
}
)";

}  // namespace

unsigned FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

void MakeTestCertificates(const std::string& folder) {
    std::ofstream(folder + "/certificates.sh") << kMakeCertificates;
    if (RunCommand("cd '" + folder + "' && sh certificates.sh").status != 0)
        throw std::runtime_error("openssl could not make the test certificates");
}

RsyslogServer::RsyslogServer() {
    if (::access(kRsyslogd, X_OK) != 0)
        throw std::runtime_error(std::string(kRsyslogd) + " is missing: run scripts/setup.sh, which installs rsyslog");
    MakeTestCertificates(m_folder.path());
    for (const char* scheme : kSchemes) m_ports.emplace_back(scheme, FreePort());
    WriteConfig();
    const std::string conf = m_folder.file("rsyslog.conf");
    if (RunCommand(std::string(kRsyslogd) + " -N1 -f '" + conf + "' >'" + conf + ".check' 2>&1").status != 0)
        throw std::runtime_error("rsyslogd refuses the test's configuration: " + TextOf(conf + ".check"));
    Start();
}

RsyslogServer::~RsyslogServer() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
}

unsigned RsyslogServer::Port(const std::string& scheme) const {
    for (const auto& [name, port] : m_ports)
        if (name == scheme) return port;
    throw std::runtime_error("no port for " + scheme);
}

std::string RsyslogServer::Url(const std::string& scheme) const {
    const std::string base = scheme == "relp+tls" ? "relp" : scheme;
    return base + "://127.0.0.1:" + std::to_string(Port(scheme));
}

void RsyslogServer::WriteConfig() const {
    const std::string dir = m_folder.path();
    std::ofstream conf(m_folder.file("rsyslog.conf"));
    // Messages go from the input straight to the file (a direct main queue, the file flushed at
    // each batch), so that what RELP acknowledged is in the file even when rsyslogd is killed.
    conf << "global(workDirectory=\"" << dir << "\" maxMessageSize=\"256k\"\n"
         << "  parser.escapeControlCharactersOnReceive=\"off\"\n"
         << "  defaultNetstreamDriverCAFile=\"" << dir << "/ca.pem\"\n"
         << "  defaultNetstreamDriverCertFile=\"" << dir << "/server.pem\"\n"
         << "  defaultNetstreamDriverKeyFile=\"" << dir << "/server.key\")\n"
         << "main_queue(queue.type=\"Direct\")\n"
         << "module(load=\"imtcp\" maxSessions=\"100\")\n"
         << "module(load=\"imrelp\" tls.tlslib=\"openssl\")\n"
         << kTemplate
         << "input(type=\"imtcp\" address=\"127.0.0.1\" port=\"" << Port("syslog+tcp") << "\")\n"
         << "input(type=\"imtcp\" address=\"127.0.0.1\" port=\"" << Port("syslog+tls") << "\" streamDriver.name=\"ossl\""
         << " streamDriver.mode=\"1\" streamDriver.authMode=\"anon\")\n"
         << "input(type=\"imrelp\" address=\"127.0.0.1\" port=\"" << Port("relp") << "\")\n"
         << "input(type=\"imrelp\" address=\"127.0.0.1\" port=\"" << Port("relp+tls") << "\" tls=\"on\""
         << " tls.caCert=\"" << dir << "/ca.pem\" tls.myCert=\"" << dir
         << "/server.pem\" tls.myPrivKey=\"" << dir << "/server.key\")\n"
         << "action(type=\"omfile\" file=\"" << dir << "/received.json\" template=\"parsed\" flushOnTXEnd=\"on\""
         << " asyncWriting=\"off\")\n";
}

void RsyslogServer::Start() {
    const std::string conf = m_folder.file("rsyslog.conf"), pidFile = m_folder.file("rsyslogd.pid");
    const std::string log = m_folder.file("rsyslogd.log");
    ::unlink(pidFile.c_str());
    m_pid = ::fork();
    if (m_pid == 0) {
        std::freopen(log.c_str(), "a", stdout);
        std::freopen(log.c_str(), "a", stderr);
        ::execl(kRsyslogd, kRsyslogd, "-n", "-f", conf.c_str(), "-i", pidFile.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 300; ++i) {
        bool all = true;
        for (const auto& [name, port] : m_ports) all = all && Listening(port);
        if (all) return;
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
    throw std::runtime_error("rsyslogd did not start listening: " + TextOf(log));
}

void RsyslogServer::Kill() {
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

void RsyslogServer::Restart() { Start(); }

std::vector<nlohmann::json> RsyslogServer::Received() const {
    std::vector<nlohmann::json> messages;
    std::ifstream in(m_folder.file("received.json"));
    std::string line;
    while (std::getline(in, line))
        if (!in.eof()) messages.push_back(nlohmann::json::parse(line));
    return messages;
}

std::vector<nlohmann::json> RsyslogServer::WaitFor(std::size_t count, int seconds) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<nlohmann::json> messages = Received();
    while (messages.size() < count && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        messages = Received();
    }
    return messages;
}
