#pragma once
// Fixed text fields: a character array of fixed width holding a zero-terminated text of at most
// width - 1 characters, the rest of the field zero.
#include <cstddef>
#include <cstring>
#include <string_view>

#include "module/Utf8.h"

// Stores `text` (null for none) cut to width - 1 bytes, never inside a UTF-8 character, and
// zero-fills the rest.
inline void StoreFixedText(char* field, std::size_t width, const char* text) {
    std::memset(field, 0, width);
    if (!text) return;
    const std::string_view kept = FitText(std::string_view(text, strnlen(text, width)), width - 1);
    std::memcpy(field, kept.data(), kept.size());
}

// The text of a field read from a file: up to its first zero, never past its width, so a field
// that lacks its terminator still reads safely.
inline std::string_view ReadFixedText(const char* field, std::size_t width) {
    return std::string_view(field, strnlen(field, width));
}

template <std::size_t N>
void StoreFixedText(char (&field)[N], const char* text) { StoreFixedText(field, N, text); }

template <std::size_t N>
std::string_view ReadFixedText(const char (&field)[N]) { return ReadFixedText(field, N); }
