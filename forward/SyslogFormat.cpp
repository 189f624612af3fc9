#include "forward/SyslogFormat.h"

#include <ctime>

#include "module/Utf8.h"
#include "platform/core/HostName.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// `text` as UTF-8, each byte that begins no well-formed character replaced; `escape` is called
// for each ASCII byte and appends it (escaped or not).
template <typename Escape>
void AppendUtf8(std::string& out, std::string_view text, Escape escape) {
    while (!text.empty()) {
        const std::size_t length = Utf8CharacterLength(text);
        if (length == 1) escape(out, text.front());
        else if (length == 0) out += kReplacement;
        else out += text.substr(0, length);
        text.remove_prefix(length == 0 ? 1 : length);
    }
}

void AppendPlain(std::string& out, char c) { out += c; }

// Inside a PARAM-VALUE, '"', '\' and ']' are escaped with a backslash.
void AppendParamChar(std::string& out, char c) {
    if (c == '"' || c == '\\' || c == ']') out += '\\';
    out += c;
}

void AppendTwoDigits(std::string& out, long value) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
}

// "YYYY-MM-DDTHH:MM:SS+HH:MM" in the local zone.
void AppendTimestamp(std::string& out, DWORD time) {
    const std::time_t t = time;
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    out.append(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local));
    const long offset = local.tm_gmtoff / 60;
    out += offset < 0 ? '-' : '+';
    AppendTwoDigits(out, (offset < 0 ? -offset : offset) / 60);
    out += ':';
    AppendTwoDigits(out, (offset < 0 ? -offset : offset) % 60);
}

void AppendParam(std::string& out, const char* name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendUtf8(out, value, AppendParamChar);
    out += '"';
}

// One SD-ELEMENT with every field; a list gives one parameter of its name per item.
void AppendStructuredData(std::string& out, const std::vector<JournalField>& fields) {
    if (fields.empty()) {
        out += '-';
        return;
    }
    out += '[';
    out += syslogformat::kSdId;
    for (const JournalField& field : fields) {
        if (field.isNumber) AppendParam(out, field.name, std::to_string(field.number));
        else if (!field.isList) AppendParam(out, field.name, field.text);
        else
            for (const std::string& item : field.list) AppendParam(out, field.name, item);
    }
    out += ']';
}

}  // namespace

std::string SyslogHostName() {
    const CString name = GetLocalHostName();
    std::string host;
    for (const char c : std::string_view(name.c_str()))
        if (c > ' ' && c < 0x7F && host.size() < syslogformat::kMaxHostName) host += c;
    return host.empty() ? "-" : host;
}

void AppendSyslogMessage(std::string& out, const SyslogOrigin& origin, DWORD time, const JournalText& text) {
    out += '<';
    out += std::to_string(syslogformat::kFacility * 8 + syslogformat::kSeverity);
    out += '>';
    out += std::to_string(syslogformat::kVersion);
    out += ' ';
    AppendTimestamp(out, time);
    out += ' ';
    out += origin.hostName;
    out += ' ';
    out += syslogformat::kAppName;
    out += " - ";
    out += origin.msgId;
    out += ' ';
    AppendStructuredData(out, text.fields);
    out += ' ';
    out += syslogformat::kBom;
    AppendUtf8(out, text.heading, AppendPlain);
    std::string_view body = text.body;
    if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
    if (!body.empty()) {
        out += '\n';
        AppendUtf8(out, body, AppendPlain);
    }
}

void AppendOctetCounted(std::string& out, std::string_view message) {
    out += std::to_string(message.size());
    out += ' ';
    out += message;
}
