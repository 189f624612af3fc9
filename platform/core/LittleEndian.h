#pragma once
// Little-endian field access for the file formats, independent of the host's byte order and of
// any struct layout.
#include <bit>
#include <cstdint>
#include <cstring>

inline void PutU32(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
    at[2] = static_cast<std::uint8_t>(v >> 16);
    at[3] = static_cast<std::uint8_t>(v >> 24);
}

inline std::uint32_t GetU32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

// Eight bytes as one word, for the kernels that work on whole words: a plain load and store on a
// little-endian host.
inline std::uint64_t GetU64(const std::uint8_t* at) {
    std::uint64_t v;
    std::memcpy(&v, at, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

inline void PutU64(std::uint8_t* at, std::uint64_t v) {
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    std::memcpy(at, &v, sizeof v);
}
