#pragma once
// The fixed texts and sizes of the notification mail's MIME layout.
#include <cstddef>

namespace mime {

// Every line of the mail ends with CR LF.
constexpr char kCrLf[] = "\r\n";
constexpr char kPreamble[] = "This is a multi-part message in MIME format.";
constexpr char kBoundary[] = "ZM_MAIL_PaRt_BoUnDaRy_05151998";
constexpr char kMultipartType[] = "multipart/mixed";
constexpr char kTextType[] = "text/plain";
constexpr char kTextEncoding[] = "7Bit";
// Text that is not plain ASCII: its character set, and its encodings for a server that takes
// 8 bits and one that does not (or for lines too long for SMTP).
constexpr char kTextCharset[] = "; charset=UTF-8";
constexpr char kEightBitEncoding[] = "8bit";
constexpr char kQuotedPrintableEncoding[] = "quoted-printable";
// SMTP's limit for a line of the mail, without its CR LF (RFC 5321 4.5.3.1.6).
constexpr std::size_t kMaxLineLength = 998;
constexpr char kFileType[] = "application/octet-stream";

// Part type ids of the part queue.
constexpr int kTextPart = 0;
constexpr int kFilePart = 1;

// Line width handed to the text part's wrapping.
constexpr int kDefaultWrapWidth = 76;

// An attachment is read and encoded in pieces of 54 bytes, one base64 line each.
constexpr std::size_t kBase64PieceSize = 54;
constexpr std::size_t kBase64LineLength = 72;
static_assert(kBase64PieceSize % 3 == 0, "a full piece encodes without padding");
static_assert(kBase64PieceSize / 3 * 4 == kBase64LineLength, "a full piece fills one line");

}  // namespace mime
