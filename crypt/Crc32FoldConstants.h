#pragma once
// The constants of CRC-32 folding with carry-less multiplication, shared by the 128-bit kernels
// of every processor family (see Crc32Folded.cpp for what each is).
#include <cstdint>

namespace crc32kernel {

alignas(16) constexpr std::uint64_t kK1K2[2] = {0x0154442BD4, 0x01C6E41596};
alignas(16) constexpr std::uint64_t kK3K4[2] = {0x01751997D0, 0x00CCAA009E};
alignas(16) constexpr std::uint64_t kK5K0[2] = {0x0163CD6124, 0x0000000000};
alignas(16) constexpr std::uint64_t kPolyMu[2] = {0x01DB710641, 0x01F7011641};

}  // namespace crc32kernel
