#pragma once
// Base64 (RFC 4648, table 1) with "=" padding and no line breaks. One object serves one use on
// one thread; the alphabet is a process-wide constant, built when the library is loaded.
#include <string>

#include "mail/CTransferCodec.h"

class CBase64Codec : public CTransferCodec {
public:
    int Decode(const char* text, BYTE* out) override;
    CString Encode(const BYTE* data, int count) override;
    // Appends the text of `count` bytes at `data` to `out`: the same text as Encode, without a
    // string of its own.
    void AppendEncoded(const BYTE* data, std::size_t count, std::string& out);
    // Writes the text of `count` bytes at `data` (not null) to `out`, which has room for
    // EncodedSize(count) characters; returns the end of what was written. For the attachment
    // encoder, which writes many lines into one buffer.
    char* EncodeTo(const BYTE* data, std::size_t count, char* out);
    static constexpr std::size_t EncodedSize(std::size_t count) { return (count + 2) / 3 * 4; }
};
