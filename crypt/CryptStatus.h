#pragma once
// The results of CDesCrypt's operations: 32-bit unsigned values that carry negative codes in
// two's complement.
#include "platform/core/Types.h"

namespace cryptstatus {

constexpr DWORD Code(int value) { return static_cast<DWORD>(value); }

constexpr DWORD kOk = 0;
// Key pointer missing or key empty; in file modes also: the input cannot be opened (to measure
// it for encryption, to read its pad byte for decryption).
constexpr DWORD kKeySetupFailed = 1;
// Encryption: the container cannot be created or written. Decryption: the container cannot be
// opened. Memory encryption: no destination buffer.
constexpr DWORD kContainerFailed = Code(-1);
// Encryption: the plain input cannot be opened. Decryption: the plain output cannot be created
// or written. Memory: no plain buffer.
constexpr DWORD kPlainFailed = Code(-2);
// A read error, or a file that changed its length while it was read.
constexpr DWORD kReadError = Code(-3);
// The key check value differs: wrong key or not a container.
constexpr DWORD kWrongKey = Code(-22);
// A chunk's stored CRC differs, or the container's length, pad byte or final piece do not fit
// the chunk structure, or a container that carries chunk CRCs is read without them.
constexpr DWORD kDamaged = Code(-23);
constexpr DWORD kNoMemory = Code(-99);

}  // namespace cryptstatus
