#pragma once
// The framework's basic integer types, with their Windows widths: DWORD and the system's
// "unsigned long" values are 32 bits wide on every platform.
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using BOOL = int;
using COLORREF = std::uint32_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
