// CRC-32 against zlib's crc32, through the public function and through each kernel.
#include <gtest/gtest.h>

#include <zlib.h>

#include <random>
#include <vector>

#include "crypt/Crc32.h"
#include "crypt/Crc32Kernels.h"

namespace {

DWORD Zlib(const std::vector<BYTE>& data, size_t from, size_t length, DWORD previous = 0) {
    return static_cast<DWORD>(crc32(previous, data.data() + from, static_cast<uInt>(length)));
}

std::vector<BYTE> RandomBytes(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<BYTE> v(n);
    for (auto& b : v) b = static_cast<BYTE>(rng());
    return v;
}

TEST(Crc32, KnownValues) {
    const BYTE abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(Crc32(abc, 3), 0x352441C2u);
    EXPECT_EQ(Crc32(abc, 0), 0u);
    EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

// Random lengths and offsets (so that unaligned starts and every tail length occur), split at
// random points and fed in two pieces, through the chosen path and every path forced.
TEST(Crc32, MatchesZlibAtRandomLengthsAndSplits) {
    const auto data = RandomBytes(1 << 16, 11);
    const struct {
        CrcPath path;
        const char* name;
    } paths[] = {{CrcPath::sliced, "sliced"},
                 {CrcPath::pmull, "pmull"},
                 {CrcPath::pclmul, "pclmul"},
                 {CrcPath::vpclmul, "vpclmul"}};
    for (const auto& p : paths) {
        if (!CrcPathSupported(p.path)) {
            std::printf("this processor lacks the %s path; it is not tested here\n", p.name);
            continue;
        }
        std::mt19937 rng(12);
        for (int trial = 0; trial < 2000; ++trial) {
            const size_t from = rng() % 64;
            const size_t length = trial < 600 ? static_cast<size_t>(trial) : rng() % (data.size() - from);
            const size_t split = length ? rng() % (length + 1) : 0;
            const DWORD whole = Crc32With(p.path, data.data() + from, length);
            ASSERT_EQ(whole, Zlib(data, from, length)) << p.name << " length " << length << " from " << from;
            ASSERT_EQ(Crc32With(p.path, data.data() + from + split, length - split,
                                Crc32With(p.path, data.data() + from, split)),
                      whole)
                << p.name << " split " << split;
            ASSERT_EQ(Crc32(data.data() + from, length), whole);
        }
    }
}

TEST(Crc32, EachKernelMatchesZlib) {
    const auto data = RandomBytes(1 << 14, 13);
    std::mt19937 rng(14);
    for (int trial = 0; trial < 500; ++trial) {
        const size_t from = rng() % 32;
        size_t length = rng() % (data.size() - from);
        const DWORD previous = rng();
        EXPECT_EQ(~crc32kernel::Sliced(~previous, data.data() + from, length), Zlib(data, from, length, previous));
        length = crc32kernel::kFoldMinimum + (length / crc32kernel::kFoldUnit) * crc32kernel::kFoldUnit;
        if (from + length > data.size()) continue;
        // Other processors have no folding kernel, and nothing reads it there.
        [[maybe_unused]] const DWORD expected = Zlib(data, from, length, previous);
#if defined(__x86_64__)
        if (!crc32kernel::FoldedAvailable()) continue;
        EXPECT_EQ(~crc32kernel::Folded(~previous, data.data() + from, length), expected) << "length " << length;
        if (!crc32kernel::WideAvailable() || length < crc32kernel::kWideMinimum) continue;
        EXPECT_EQ(~crc32kernel::FoldedWide(~previous, data.data() + from, length), expected)
            << "wide, length " << length;
#elif defined(__aarch64__)
        if (!crc32kernel::PmullAvailable()) continue;
        EXPECT_EQ(~crc32kernel::FoldedPmull(~previous, data.data() + from, length), expected)
            << "pmull, length " << length;
#endif
    }
}

}  // namespace
