#include "tests/mail/MailPeers.h"
#include "tests/support/RunCommand.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string RunCapture(const std::string& command) {
    CommandResult result = RunCommand(command);
    if (result.status != 0) throw std::runtime_error("failed: " + command);
    return std::move(result.output);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits up to `seconds` for `path` to exist.
bool WaitForFile(const std::string& path, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!std::filesystem::exists(path)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace

std::string MailTestFile(const std::string& name) {
    const char* source = std::getenv("DVRKIT_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/mail/" + name;
}

std::string PythonBase64(const std::string& path) {
    return RunCapture(std::string(kPython) + " " + Quoted(MailTestFile("mail_peer.py")) + " b64 " + Quoted(path));
}

nlohmann::json PythonParseMail(const std::string& path) {
    return nlohmann::json::parse(
        RunCapture(std::string(kPython) + " " + Quoted(MailTestFile("mail_peer.py")) + " parse " + Quoted(path)));
}

bool HasBareLineEnd(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return true;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return true;
    }
    return false;
}

TestCertificates::TestCertificates() {
    RunCapture("sh " + Quoted(MailTestFile("make_certificates.sh")) + " " + Quoted(m_folder.path()));
}

LocalSmtpServer::LocalSmtpServer(bool auth) : LocalSmtpServer(SmtpServerOptions{.auth = auth}) {}

LocalSmtpServer::LocalSmtpServer(const SmtpServerOptions& options) {
    std::vector<std::string> args = {kPython, MailTestFile("smtp_server.py"), "--folder", m_folder.path()};
    if (options.auth) args.insert(args.end(), {"--auth", "--mechanisms", options.mechanisms});
    if (options.tls != ServerTls::None) {
        args.insert(args.end(), {"--cert", options.certificates->cert(), "--key", options.certificates->key()});
        if (options.tls == ServerTls::Implicit) args.emplace_back("--implicit-tls");
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    m_pid = fork();
    if (m_pid == 0) {
        execv(kPython, argv.data());
        _exit(127);
    }
    if (m_pid < 0 || !WaitForFile(m_folder.file("port"), 30))
        throw std::runtime_error("the local SMTP server did not start");
    m_port = static_cast<unsigned>(std::stoul(ReadText(m_folder.file("port"))));
}

LocalSmtpServer::~LocalSmtpServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

std::string LocalSmtpServer::WaitForMail(int n) const {
    const std::string path = m_folder.file("mail" + std::to_string(n) + ".eml");
    return WaitForFile(path, 10) ? path : std::string();
}

nlohmann::json LocalSmtpServer::Auth() const {
    const std::string path = m_folder.file("auth.json");
    return std::filesystem::exists(path) ? nlohmann::json::parse(ReadText(path)) : nlohmann::json();
}

nlohmann::json LocalSmtpServer::Envelope(int n) const {
    return nlohmann::json::parse(ReadText(m_folder.file("mail" + std::to_string(n) + ".json")));
}
