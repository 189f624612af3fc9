#pragma once
// UTF-8 as the texts of the files and of the host hold it, where a text must be cut or shown.
#include <cstddef>
#include <string_view>

// What the bytes at the start of `text` hold of a UTF-8 character: the length its first byte
// announces (0 when it begins none: a stray continuation byte, the start of an overlong form, or
// a byte of another character set), and how many of those bytes are there and well-formed.
struct Utf8Start {
    std::size_t length = 0;
    std::size_t valid = 0;
};

inline Utf8Start ReadUtf8Start(std::string_view text) {
    if (text.empty()) return {};
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {1, 1};
    const std::size_t length = lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
    if (length == 0) return {};
    // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    std::size_t valid = 1;
    for (; valid < length && valid < text.size(); ++valid) {
        const unsigned char b = byte(valid);
        if (valid == 1 ? b < low || b > high : (b & 0xC0) != 0x80) break;
    }
    return {length, valid};
}

// The length of the well-formed UTF-8 character at the start of `text` (1 to 4 bytes), or 0 when
// it does not start with one (a stray continuation byte, an overlong form, a surrogate, a cut-off
// character, or a byte of another character set).
inline std::size_t Utf8CharacterLength(std::string_view text) {
    const Utf8Start start = ReadUtf8Start(text);
    return start.length != 0 && start.valid == start.length ? start.length : 0;
}

// The longest start of `text` of at most `maxBytes` bytes that does not end inside a UTF-8
// character. Only a well-formed character that runs past the cut is left out whole, so texts in
// a single-byte character set are cut at `maxBytes`. For names and texts that must fit a field or
// a buffer and still read as text.
inline std::string_view FitText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    for (std::size_t start = maxBytes; start > 0 && maxBytes - start < 3;) {
        --start;
        if (const std::size_t length = Utf8CharacterLength(text.substr(start)))
            return text.substr(0, start + length > maxBytes ? start : maxBytes);
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) break;
    }
    return text.substr(0, maxBytes);
}
