#include "mail/SmtpCapabilities.h"

#include <cctype>
#include <string>

namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// The mechanisms of an AUTH line, blank-separated ("AUTH LOGIN PLAIN"); some older servers also
// write "AUTH=LOGIN".
void TakeMechanisms(std::string_view parameters, SmtpCapabilities& caps) {
    const std::string list = " " + Upper(parameters) + " ";
    caps.authLogin = caps.authLogin || list.find(" LOGIN ") != std::string::npos;
    caps.authPlain = caps.authPlain || list.find(" PLAIN ") != std::string::npos;
}

}  // namespace

SmtpCapabilities SmtpCapabilities::Parse(std::string_view reply) {
    SmtpCapabilities caps;
    bool first = true;
    while (!reply.empty()) {
        const std::size_t end = reply.find('\n');
        std::string_view line = reply.substr(0, end);
        reply.remove_prefix(end == std::string_view::npos ? reply.size() : end + 1);
        if (first || line.size() <= 4) {  // the first line greets; keywords follow the code
            first = false;
            continue;
        }
        line.remove_prefix(4);
        const std::size_t blank = line.find_first_of(" =");
        const std::string keyword = Upper(line.substr(0, blank));
        const std::string_view parameters = blank == std::string_view::npos ? "" : line.substr(blank + 1);
        if (keyword == "STARTTLS") caps.startTls = true;
        else if (keyword == "8BITMIME") caps.eightBitMime = true;
        else if (keyword == "AUTH") TakeMechanisms(parameters, caps);
    }
    return caps;
}
