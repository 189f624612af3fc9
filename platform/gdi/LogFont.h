#pragma once
// The font description (LOGFONT) and the text metrics a context reports (TEXTMETRIC).
// lfHeight < 0 asks for a character (em) height of -lfHeight pixels, lfHeight > 0 for a cell
// height (ascent + descent), 0 for the default size. Only height, weight, italic and face name
// choose the face; the other fields are kept and returned as given.
#include "platform/core/Types.h"

constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;

struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];  // zero-terminated
};
using LOGFONTA = LOGFONT;

struct TEXTMETRIC {
    LONG tmHeight;            // ascent + descent
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;   // height - em size
    LONG tmExternalLeading;
    LONG tmAveCharWidth;      // width of 'x'
    LONG tmMaxCharWidth;
    LONG tmWeight;
    BYTE tmItalic;
};
