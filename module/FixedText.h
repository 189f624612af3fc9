#pragma once
// Fixed text fields: a character array of fixed width holding a zero-terminated text of at most
// width - 1 characters, the rest of the field zero.
#include <cstddef>
#include <cstring>
#include <string_view>

// Stores `text` (null for none) cut to width - 1 characters, zero-filling the rest.
inline void StoreFixedText(char* field, std::size_t width, const char* text) {
    std::memset(field, 0, width);
    if (!text) return;
    const std::size_t n = strnlen(text, width - 1);
    std::memcpy(field, text, n);
}

// The text of a field read from a file: up to its first zero, never past its width, so a field
// that lacks its terminator still reads safely.
inline std::string_view ReadFixedText(const char* field, std::size_t width) {
    return std::string_view(field, strnlen(field, width));
}

// The longest start of `text` of at most `maxBytes` bytes that does not end inside a UTF-8
// character, for names that must fit a buffer and still read as text.
inline std::string_view FitText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t n = maxBytes;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return text.substr(0, n);
}

template <std::size_t N>
void StoreFixedText(char (&field)[N], const char* text) { StoreFixedText(field, N, text); }

template <std::size_t N>
std::string_view ReadFixedText(const char (&field)[N]) { return ReadFixedText(field, N); }
