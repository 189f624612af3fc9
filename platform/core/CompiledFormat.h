#pragma once
// A printf format split once into its literal runs and its conversions, then filled any number
// of times into a buffer the caller keeps: a month's text fills a few formats a million times,
// and formatting it whole each time would cost more than the rest of the work. The text is the
// one printf gives; the common plain conversions (%d, %i, %u, %x, %X, %s) are written directly,
// any other conversion through the C library, one conversion at a time.
//
// Only formats with a signature (PrintfSignature.h) without a '*' width or precision are taken:
// each conversion then reads exactly one argument, of the kind the signature says.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Types.h"

class CompiledFormat {
public:
    // One argument: a 32-bit number or a zero-terminated text. Trivial to copy and left
    // unset when default-made, since a record's arguments are made a million times a month.
    struct Arg {
        Arg() = default;
        Arg(DWORD value) : text(nullptr), number(value) {}
        Arg(const char* value) : text(value ? value : ""), number(0) {}
        bool IsText() const { return text != nullptr; }

        const char* text;  // nullptr for a number
        DWORD number;
    };

    CompiledFormat() = default;
    explicit CompiledFormat(std::string_view format);

    // Appends the format filled with `args` to `out`; `args` must match the format's signature.
    void AppendTo(std::string& out, std::span<const Arg> args) const;

private:
    struct Piece {
        std::string text;     // a literal run ("%%" already made "%"), or a whole conversion
        char conversion = 0;  // 0 for a literal run, else the conversion character
        bool plain = false;   // a conversion with no flags, width, precision or length
    };
    static void AppendConversion(std::string& out, const Piece& piece, const Arg& arg);

    std::vector<Piece> m_pieces;
};
