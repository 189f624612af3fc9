// Runs a fuzz target without libFuzzer: its seeds, then seeded mutations of them (bit flips,
// byte overwrites with boundary values, cuts, insertions and repeated pieces), so that every
// test run exercises the parser with damaged input under the sanitizers.
//   fuzz_smoke_NAME [ITERATIONS] [SEED]   or   fuzz_smoke_NAME FILE...   or
//   fuzz_smoke_NAME --write-seeds FOLDER   (the seeds as files seed-1, seed-2, ..., to start a
//                                           corpus from)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "fuzz/FuzzTarget.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Mutate(Bytes& data, std::mt19937& rng) {
    auto pick = [&rng](size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng) : 0; };
    static constexpr std::uint8_t kBoundary[] = {0x00, 0x01, 0x02, 0x07, 0x08, 0x0A, 0x7F, 0x80, 0xFE, 0xFF};
    switch (pick(6)) {
        case 0:
            if (!data.empty()) data[pick(data.size())] ^= static_cast<std::uint8_t>(1u << pick(8));
            break;
        case 1:
            if (!data.empty()) data[pick(data.size())] = kBoundary[pick(std::size(kBoundary))];
            break;
        case 2: data.resize(pick(data.size() + 1)); break;
        case 3: data.insert(data.begin() + static_cast<std::ptrdiff_t>(pick(data.size() + 1)), static_cast<std::uint8_t>(pick(256))); break;
        case 4:
            if (data.size() >= 4) {  // a little-endian count turned huge
                const size_t at = pick(data.size() - 3);
                for (size_t i = 0; i < 4; ++i) data[at + i] = 0xFF;
            }
            break;
        default:
            if (!data.empty()) {
                const size_t from = pick(data.size()), len = pick(std::min<size_t>(64, data.size() - from) + 1);
                data.insert(data.begin() + static_cast<std::ptrdiff_t>(pick(data.size() + 1)), data.begin() + static_cast<std::ptrdiff_t>(from),
                            data.begin() + static_cast<std::ptrdiff_t>(from + len));
            }
    }
}

Bytes ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteSeeds(const std::string& folder) {
    int number = 0;
    for (const Bytes& seed : FuzzSeeds()) {
        std::ofstream out(folder + "/seed-" + std::to_string(++number), std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write the seeds to %s\n", folder.c_str());
            std::exit(1);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write-seeds") {
        WriteSeeds(argv[2]);
        return 0;
    }
    if (argc > 1 && std::string(argv[1]).find_first_not_of("0123456789") != std::string::npos) {
        for (int i = 1; i < argc; ++i) {
            const Bytes data = ReadFile(argv[i]);
            LLVMFuzzerTestOneInput(data.data(), data.size());
        }
        return 0;
    }
    const long iterations = argc > 1 ? std::atol(argv[1]) : 20000;
    std::mt19937 rng(argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 20261210u);
    const auto seeds = FuzzSeeds();
    for (const Bytes& seed : seeds) LLVMFuzzerTestOneInput(seed.data(), seed.size());
    for (long i = 0; i < iterations; ++i) {
        Bytes data = seeds[i % static_cast<long>(seeds.size())];
        const int rounds = 1 + static_cast<int>(rng() % 4);
        for (int r = 0; r < rounds; ++r) Mutate(data, rng);
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("%ld mutated inputs, no fault\n", iterations);
    return 0;
}
