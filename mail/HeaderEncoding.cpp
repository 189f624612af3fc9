#include "mail/HeaderEncoding.h"

#include <string>
#include <string_view>

#include "mail/CBase64Codec.h"
#include "mail/MimeFormat.h"
#include "module/FixedText.h"

namespace {

// Bytes per encoded word: 45 bytes are 60 base64 characters, 72 with "=?UTF-8?B?" and "?=".
constexpr std::size_t kWordBytes = 45;

bool IsPlain(std::string_view text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u > 0x7E || (u < 0x20 && c != '\t')) return false;
    }
    return true;
}

}  // namespace

CString EncodeHeaderText(const CString& text, std::size_t used) {
    std::string_view rest(text.str());
    if (IsPlain(rest) && used + rest.size() <= mime::kMaxLineLength) return text;
    std::string out;
    CBase64Codec codec;
    while (!rest.empty()) {
        std::string_view piece = FitText(rest, kWordBytes);
        if (piece.empty()) piece = rest.substr(0, kWordBytes);  // not UTF-8: cut anywhere
        if (!out.empty()) out += "\r\n ";
        out += "=?UTF-8?B?";
        codec.AppendEncoded(reinterpret_cast<const BYTE*>(piece.data()), piece.size(), out);
        out += "?=";
        rest.remove_prefix(piece.size());
    }
    return CString(std::move(out));
}
