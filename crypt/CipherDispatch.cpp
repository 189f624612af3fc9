#include "crypt/CipherDispatch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "crypt/BitslicedDes.h"
#include "crypt/DesBlock.h"
#include "crypt/SecureWipe.h"

namespace {

struct Kernel {
    bitsliced::BatchKernel crypt;
    std::size_t blocks;
    // Below this many blocks the scalar path is quicker than a whole batch (measured with
    // bench_crypt: the scalar path costs about as much per block as these fractions of a batch).
    std::size_t scalarBelow;
};

// A width of another processor family has no kernel here; CipherWidthSupported keeps it unused.
constexpr Kernel kAbsent = {nullptr, 1, 0};

// Indexed by CipherWidth. NEON's threshold is the 64-bit kernel's, not measured on hardware.
constexpr Kernel kKernels[] = {
    kAbsent,
    {bitsliced::CryptPortable, bitsliced::kPortableBlocks, 40},
#if defined(__aarch64__)
    {bitsliced::CryptNeon, bitsliced::kNeonBlocks, 40},
#else
    kAbsent,
#endif
#if defined(__x86_64__)
    {bitsliced::CryptAvx2, bitsliced::kAvx2Blocks, 48},
    {bitsliced::CryptAvx512, bitsliced::kAvx512Blocks, 48},
#else
    kAbsent,
    kAbsent,
#endif
};

constexpr CipherWidth kWidest[] = {CipherWidth::avx512, CipherWidth::avx2, CipherWidth::neon, CipherWidth::portable64};

CipherWidth Clamp(CipherWidth width) {
    for (const CipherWidth w : kWidest)
        if (w <= width && CipherWidthSupported(w)) return w;
    return CipherWidth::scalar;
}

CipherWidth Initial() {
    const char* forced = std::getenv("DVRKIT_CRYPT_WIDTH");
    const auto parsed = forced ? ParseCipherWidth(forced) : std::nullopt;
    return Clamp(parsed.value_or(CipherWidth::avx512));
}

std::atomic<CipherWidth>& Active() {
    static std::atomic<CipherWidth> active{Initial()};
    return active;
}

void Scalar(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys, bool decrypt) {
    (decrypt ? ScalarDecryptBlocks : ScalarEncryptBlocks)(in, out, blocks, keys);
}

}  // namespace

std::optional<CipherWidth> ParseCipherWidth(std::string_view name) {
    if (name == "scalar") return CipherWidth::scalar;
    if (name == "64") return CipherWidth::portable64;
    if (name == "neon") return CipherWidth::neon;
    if (name == "avx2") return CipherWidth::avx2;
    if (name == "avx512") return CipherWidth::avx512;
    return std::nullopt;
}

bool CipherWidthSupported(CipherWidth width) {
    switch (width) {
#if defined(__x86_64__)
        case CipherWidth::avx512: return __builtin_cpu_supports("avx512f");
        case CipherWidth::avx2: return __builtin_cpu_supports("avx2");
#else
        case CipherWidth::avx512:
        case CipherWidth::avx2: return false;
#endif
        // Every AArch64 processor has NEON.
        case CipherWidth::neon: return kKernels[static_cast<int>(width)].crypt != nullptr;
        default: return true;
    }
}

CipherWidth ActiveCipherWidth() { return Active().load(std::memory_order_relaxed); }

CipherWidth SetCipherWidth(CipherWidth width) {
    const CipherWidth taken = Clamp(width);
    Active().store(taken, std::memory_order_relaxed);
    return taken;
}

void CryptBlocksWith(CipherWidth width, const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys,
                     bool decrypt) {
    const Kernel& kernel = kKernels[static_cast<int>(Clamp(width))];
    if (!kernel.crypt || blocks < kernel.scalarBelow) return Scalar(in, out, blocks, keys, decrypt);
    const std::size_t batches = blocks / kernel.blocks;
    kernel.crypt(in, out, batches, keys, decrypt);
    const std::size_t done = batches * kernel.blocks * kBlockSize;
    in += done;
    out += done;
    blocks %= kernel.blocks;
    if (blocks < kernel.scalarBelow) return Scalar(in, out, blocks, keys, decrypt);
    alignas(64) BYTE batch[bitsliced::kAvx512Blocks * kBlockSize] = {};
    std::memcpy(batch, in, blocks * kBlockSize);
    kernel.crypt(batch, batch, 1, keys, decrypt);
    std::memcpy(out, batch, blocks * kBlockSize);
    SecureWipe(batch, sizeof batch);
}

void EncryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys) {
    CryptBlocksWith(ActiveCipherWidth(), in, out, blocks, keys, false);
}
void DecryptBlocks(const BYTE* in, BYTE* out, std::size_t blocks, const RoundKeys& keys) {
    CryptBlocksWith(ActiveCipherWidth(), in, out, blocks, keys, true);
}
