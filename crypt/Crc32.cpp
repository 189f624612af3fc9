#include "crypt/Crc32.h"

#include <cstdlib>
#include <string_view>

#include "crypt/Crc32Kernels.h"

namespace {

using FoldKernel = DWORD (*)(DWORD reg, const BYTE* data, std::size_t length);

// A path's folding kernel, the check that the processor has it, and the least length it takes;
// a path of another processor family has none.
struct Folding {
    bool (*available)() = nullptr;
    FoldKernel fold = nullptr;
    std::size_t minimum = 0;
};

Folding FoldingOf(CrcPath path) {
    using namespace crc32kernel;
    switch (path) {
#if defined(__x86_64__)
        case CrcPath::vpclmul: return {WideAvailable, FoldedWide, kWideMinimum};
        case CrcPath::pclmul: return {FoldedAvailable, Folded, kFoldMinimum};
#elif defined(__aarch64__)
        case CrcPath::pmull: return {PmullAvailable, FoldedPmull, kFoldMinimum};
#endif
        default: return {};
    }
}

bool Supported(CrcPath path) {
    if (path == CrcPath::sliced) return true;
    const Folding folding = FoldingOf(path);
    return folding.available && folding.available();
}

CrcPath Chosen() {
    CrcPath path = CrcPath::vpclmul;
    if (const char* forced = std::getenv("DVRKIT_CRC_PATH")) {
        const std::string_view name = forced;
        if (name == "sliced") path = CrcPath::sliced;
        if (name == "pmull") path = CrcPath::pmull;
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
    const Folding folding = FoldingOf(path);
    if (folding.fold && length >= folding.minimum) {
        const std::size_t bulk = length - length % crc32kernel::kFoldUnit;
        reg = folding.fold(reg, data, bulk);
        data += bulk;
        length -= bulk;
    }
    return ~crc32kernel::Sliced(reg, data, length);
}

DWORD Crc32(const BYTE* data, std::size_t length, DWORD previous) {
    static const CrcPath path = Chosen();
    return Crc32With(path, data, length, previous);
}
