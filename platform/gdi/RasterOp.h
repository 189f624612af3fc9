#pragma once
// Ternary raster operations: how pattern (brush), source and destination combine. The high
// word of a ROP code holds its truth table: bit (P * 4 + S * 2 + D) of the table's byte is the
// result for pattern bit P, source bit S and destination bit D.
#include "platform/core/Types.h"
#include "platform/gdi/CSurface.h"

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

constexpr BYTE RopTable(DWORD rop) { return static_cast<BYTE>(rop >> 16); }
// True when the operation reads the source (the table differs between S = 0 and S = 1).
constexpr bool RopUsesSource(DWORD rop) {
    const BYTE t = RopTable(rop);
    return ((t >> 2) & 0x33) != (t & 0x33);
}

constexpr Pixel ApplyRop(BYTE table, Pixel pattern, Pixel source, Pixel dest) {
    Pixel result = 0;
    for (int i = 0; i < 8; ++i) {
        if (((table >> i) & 1) == 0) continue;
        result |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? source : ~source) & ((i & 1) ? dest : ~dest);
    }
    return result & 0xFFFFFF;
}
static_assert(ApplyRop(RopTable(SRCCOPY), 0x111111, 0x123456, 0xABCDEF) == 0x123456);
static_assert(ApplyRop(RopTable(PATCOPY), 0x111111, 0x123456, 0xABCDEF) == 0x111111);
static_assert(ApplyRop(RopTable(DSTINVERT), 0, 0, 0xABCDEF) == 0x543210);
static_assert(RopUsesSource(SRCCOPY) && !RopUsesSource(PATCOPY) && !RopUsesSource(DSTINVERT));
