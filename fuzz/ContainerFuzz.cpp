// Encrypted containers in memory, with and without CRC, decrypted into a buffer of exactly the
// size the container promises.
#include <cstring>

#include "crypt/CDesCrypt.h"
#include "crypt/ContainerFormat.h"
#include "fuzz/FuzzTarget.h"

namespace {
unsigned char kKey[] = "fuzzing key";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const bool crc : {false, true}) {
        std::vector<unsigned char> source(data, data + size);
        std::vector<unsigned char> plain(size > 4 ? size - 4 : 1);
        long length = static_cast<long>(size);
        CDesCrypt().DecryptM(crc, source.data(), plain.data(), kKey, &length);
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> FuzzSeeds() {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const long plainLength : {0L, 1L, 9L, 8192L, 8200L}) {
        for (const bool crc : {false, true}) {
            std::vector<unsigned char> plain(static_cast<size_t>(plainLength), 0x5A);
            std::vector<unsigned char> container(container::ContainerLength(static_cast<std::uint64_t>(plainLength), crc,
                                                                             container::Form::memory) + 1);
            long length = plainLength;
            CDesCrypt().EncryptM(crc, plain.data(), container.data(), kKey, &length);
            container.resize(static_cast<size_t>(length));
            seeds.emplace_back(container.begin(), container.end());
        }
    }
    return seeds;
}
