#include "mail/CFilePartRenderer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "mail/CBase64Codec.h"
#include "mail/MailText.h"
#include "mail/MimeFormat.h"

namespace {

// Whole pieces read at once: reading piece by piece would cost a system call per line.
constexpr std::size_t kPiecesPerRead = 1024;

bool IsTokenChar(unsigned char c) {
    return c > 0x20 && c < 0x7F && !std::strchr("()<>@,;:\\\"/[]?=", c);
}

bool IsAscii(const CString& text) {
    for (const char c : text.str())
        if (static_cast<unsigned char>(c) > 0x7E) return false;
    return true;
}

// `name` as an RFC 2231 extended value: the character set, no language, and every byte that is
// not an attribute character as %XX.
CString ExtendedValue(const CString& name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string value = "UTF-8''";
    for (const char c : name.str()) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || std::strchr("!#$&+-.^_`|~", c)) {
            value += c;
        } else {
            value += '%';
            value += kHex[u >> 4];
            value += kHex[u & 0x0F];
        }
    }
    return CString(std::move(value));
}

}  // namespace

CFilePartRenderer::CFilePartRenderer() : CPartRenderer(mime::kFilePart) {}

CString CFilePartRenderer::ContentTypeName() const { return mime::kFileType; }

CString FileNameOfPath(const CString& path) {
    const std::string& p = path.str();
    const size_t slash = p.find_last_of("/\\");
    if (slash != std::string::npos) return CString(p.substr(slash + 1));
    const bool drive = p.size() >= 2 && p[1] == ':';
    return CString(drive ? p.substr(2) : p);
}

CString ParameterValue(const CString& name) {
    const CString folded = FoldLineBreaks(name);
    const std::string& s = folded.str();
    bool token = !s.empty();
    for (const char c : s) token = token && IsTokenChar(static_cast<unsigned char>(c));
    if (token) return folded;
    std::string quoted = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return CString(quoted + "\"");
}

CString CFilePartRenderer::BuildPartHeader(const CString& path, const CString&) {
    return BuildPartHeader(path, false);
}

CString CFilePartRenderer::BuildPartHeader(const CString& path, bool withFileName) const {
    const CString fileName = FileNameOfPath(path);
    CString suffix, header, disposition;
    if (IsAscii(fileName)) {
        const CString name = ParameterValue(fileName);
        if (withFileName) suffix.Format("; file=%s", name.c_str());
        disposition.Format("Content-Disposition: attachment; filename=%s\r\n", name.c_str());
    } else {
        // RFC 2231, each parameter on a line of its own; readers that look at the content type
        // for the name find it as "name".
        const CString name = ExtendedValue(fileName);
        if (withFileName) suffix.Format(";\r\n file*=%s", name.c_str());
        suffix += ";\r\n name*=" + name;
        disposition.Format("Content-Disposition: attachment;\r\n filename*=%s\r\n", name.c_str());
    }
    header.Format("Content-Type: %s%s\r\n", ContentTypeName().c_str(), suffix.c_str());
    return header + "Content-Transfer-Encoding: base64\r\n" + disposition + "\r\n";
}

BOOL CFilePartRenderer::Render(const CString& path, const CString& parameter, CString& body) {
    StringSink sink(body.str());
    return RenderTo(path, parameter, sink);
}

BOOL CFilePartRenderer::RenderTo(const CString& path, const CString&, MailTextSink& sink) {
    CFile file;
    if (path.IsEmpty() || !file.Open(path, CFile::modeRead | CFile::typeBinary)) return 0;
    sink.Write(BuildPartHeader(path, true).str());
    EncodeFileTo(file, sink);
    file.Abort();
    return 1;
}

void CFilePartRenderer::EncodeFileBody(CFile& file, CString& body) {
    StringSink sink(body.str());
    EncodeFileTo(file, sink);
}

void CFilePartRenderer::EncodeFileTo(CFile& file, MailTextSink& sink) {
    const auto codec = std::make_unique<CBase64Codec>();
    std::vector<BYTE> block(mime::kBase64PieceSize * kPiecesPerRead);
    std::string text((mime::kBase64LineLength + 2) * (kPiecesPerRead + 1), '\0');
    bool lastBlock = false;
    while (!lastBlock) {
        std::size_t got = 0;
        try {
            got = file.Read(block.data(), static_cast<UINT>(block.size()));
        } catch (const CFileException&) {
            break;  // the lines encoded so far stay
        }
        // A piece shorter than 54 bytes, empty included, is the last one; so a file whose size
        // is a multiple of 54 ends with an empty line. A full block may be followed by more.
        lastBlock = got < block.size();
        const std::size_t lineCount = got / mime::kBase64PieceSize + (lastBlock ? 1 : 0);
        char* out = text.data();
        for (std::size_t line = 0; line < lineCount; ++line) {
            const std::size_t at = line * mime::kBase64PieceSize;
            out = codec->EncodeTo(block.data() + at, std::min(mime::kBase64PieceSize, got - at), out);
            *out++ = '\r';
            *out++ = '\n';
        }
        sink.Write(std::string_view(text.data(), static_cast<std::size_t>(out - text.data())));
    }
    sink.Write("\r\n");
}
