#pragma once
// A fuzz target: the entry point that libFuzzer calls with each input, and the valid inputs it
// starts from. Every parser of outside data has one; the smoke driver runs each target over
// seeded mutations of its seeds in the ordinary test suite (under the sanitizers there).
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Well-formed inputs to mutate from.
std::vector<std::vector<std::uint8_t>> FuzzSeeds();

// Seeds written as texts.
inline std::vector<std::vector<std::uint8_t>> TextSeeds(std::initializer_list<std::string_view> texts) {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const std::string_view t : texts) seeds.emplace_back(t.begin(), t.end());
    return seeds;
}
