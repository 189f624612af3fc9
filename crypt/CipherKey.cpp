#include "crypt/CipherKey.h"

#include "crypt/Crc32.h"
#include "crypt/SecureWipe.h"
#include "platform/core/LittleEndian.h"

namespace {

constexpr int kCheckedKeyBytes = 16;  // round-key pairs 0 and 1
constexpr int kRun = 8;               // each byte followed by 7 successors

}  // namespace

DWORD KeyCheckValue(const RoundKeys& keys) {
    BYTE keyBytes[kCheckedKeyBytes];
    for (int w = 0; w < kCheckedKeyBytes / 4; ++w) PutU32(keyBytes + 4 * w, keys.k[w]);
    BYTE buffer[kCheckedKeyBytes * kRun];
    for (int v = 0; v < kCheckedKeyBytes; ++v)
        for (int m = 0; m < kRun; ++m) buffer[kRun * v + m] = static_cast<BYTE>(keyBytes[v] + m);
    const DWORD value = Crc32(buffer, sizeof buffer);
    SecureWipe(keyBytes, sizeof keyBytes);
    SecureWipe(buffer, sizeof buffer);
    return value;
}

void MakeCipherKey(const BYTE* key, CipherKey& out) {
    out.words = psen_expand_key(key);
    psen_key_schedule(out.words, out.roundKeys);
    out.checkValue = KeyCheckValue(out.roundKeys);
}
