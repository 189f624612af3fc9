#include "crypt/Crc32.h"

#include "crypt/Crc32Kernels.h"

// Long inputs take the folding kernel where the processor has carry-less multiplication; the
// tail below one fold unit, and every input on other processors, takes the table kernel.
DWORD Crc32(const BYTE* data, std::size_t length, DWORD previous) {
    static const bool folded = crc32kernel::FoldedAvailable();
    DWORD reg = ~previous;
    if (folded && length >= crc32kernel::kFoldMinimum) {
        const std::size_t bulk = length - length % crc32kernel::kFoldUnit;
        reg = crc32kernel::Folded(reg, data, bulk);
        data += bulk;
        length -= bulk;
    }
    return ~crc32kernel::Sliced(reg, data, length);
}
