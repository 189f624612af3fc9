#pragma once
// Where DrawText puts its lines: the format flags below, applied to a text inside a
// rectangle with one sized face.
//  - Lines break at "\n" (a "\r" before it is dropped) unless DT_SINGLELINE, which draws one
//    line and drops line breaks; DT_WORDBREAK also breaks a line between words where it would
//    pass the rectangle's right edge (a word wider than the rectangle stays whole).
//  - Horizontal: left (default), DT_CENTER, DT_RIGHT, per line. Vertical: top (default);
//    DT_VCENTER and DT_BOTTOM act only with DT_SINGLELINE, as on the platform.
//  - "&" marks a mnemonic and is not drawn ("&&" draws one "&") unless DT_NOPREFIX; the
//    mnemonic is not underlined.
//  - DT_EXPANDTABS turns a tab into blanks up to the next multiple of eight blanks' width.
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/FontInstance.h"
#include "platform/gdi/Geometry.h"

constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;

struct TextLine {
    std::u32string text;
    int x = 0;      // left of the line's cell, logical coordinates
    int y = 0;      // top of the line's cell
    int width = 0;
};

struct TextBlock {
    std::vector<TextLine> lines;
    CRect bounds;   // the rectangle the lines cover
};

TextBlock LayOutText(std::string_view text, const RECT& rect, UINT format, FontInstance& font);
