#include "crypt/KeyExpansion.h"

#include "crypt/KeyTables.h"
#include "crypt/SecureWipe.h"

namespace {

constexpr BYTE kFirstPrevious = 'k';
constexpr BYTE kAlphabetMask = 0x3D;  // only 32 of the 62 alphabet characters are reachable
constexpr int kPicked = 16;

// The character codes themselves (7 bits wide) are shifted in, so neighbours overlap and at
// shift 28 only the low four bits of a code survive in the 32-bit word.
constexpr int PackShift(int n) { return 4 * ((n ^ 1) & 7); }
static_assert(PackShift(0) == 4 && PackShift(1) == 0 && PackShift(6) == 28 && PackShift(7) == 24);

}  // namespace

KeyWords psen_expand_key(const BYTE* key) {
    BYTE c[kKeyCharacters];
    BYTE previous = kFirstPrevious;
    unsigned j = 0;
    for (int i = 0; i < kKeyCharacters; ++i) {
        if (key[j] == 0) j = 0;
        // Key bytes are read as signed: an arithmetic shift brings a set top bit into bit 5.
        const int b = static_cast<signed char>(key[j]);
        const int x = (b >> (i % 4)) & 0x3F;
        c[i] = static_cast<BYTE>(KEY_ALPHABET[(KEY_MIX_TABLE[x] ^ previous) & kAlphabetMask]);
        previous = c[i];
        j = (j + 1) % 65536;
    }

    KeyWords words;
    for (int n = 0; n < kPicked; ++n) {
        const DWORD code = c[n == 0 ? 0 : 4 * n - 1];
        DWORD& w = n < 8 ? words.w0 : words.w1;
        w |= code << PackShift(n);
    }
    SecureWipe(c, sizeof c);
    return words;
}
