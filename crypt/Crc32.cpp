#include "crypt/Crc32.h"

#include <cstdlib>
#include <string_view>

#include "crypt/Crc32Kernels.h"

namespace {

bool Supported(CrcPath path) {
    switch (path) {
        case CrcPath::vpclmul: return crc32kernel::WideAvailable();
        case CrcPath::pclmul: return crc32kernel::FoldedAvailable();
        default: return true;
    }
}

CrcPath Chosen() {
    CrcPath path = CrcPath::vpclmul;
    if (const char* forced = std::getenv("DVRKIT_CRC_PATH")) {
        const std::string_view name = forced;
        if (name == "sliced") path = CrcPath::sliced;
        if (name == "pclmul") path = CrcPath::pclmul;
    }
    while (!Supported(path)) path = static_cast<CrcPath>(static_cast<int>(path) - 1);
    return path;
}

}  // namespace

bool CrcPathSupported(CrcPath path) { return Supported(path); }

// Long inputs take a folding kernel where the processor has carry-less multiplication; the
// tail below one fold unit, and every input on other processors, takes the table kernel.
DWORD Crc32With(CrcPath path, const BYTE* data, std::size_t length, DWORD previous) {
    DWORD reg = ~previous;
    const bool wide = path == CrcPath::vpclmul && length >= crc32kernel::kWideMinimum;
    if ((wide || path == CrcPath::pclmul) && length >= crc32kernel::kFoldMinimum) {
        const std::size_t bulk = length - length % crc32kernel::kFoldUnit;
        reg = wide ? crc32kernel::FoldedWide(reg, data, bulk) : crc32kernel::Folded(reg, data, bulk);
        data += bulk;
        length -= bulk;
    }
    return ~crc32kernel::Sliced(reg, data, length);
}

DWORD Crc32(const BYTE* data, std::size_t length, DWORD previous) {
    static const CrcPath path = Chosen();
    return Crc32With(path, data, length, previous);
}
