// Throughput of the containers and of CRC-32 against their references, in one run:
// OpenSSL's DES-ECB (EVP, legacy provider) on one core, and zlib's crc32.
// bench/crypt_ratios.py runs this program and prints each figure as a ratio to its reference.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/provider.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "crypt/CDesCrypt.h"
#include "crypt/ContainerFormat.h"
#include "crypt/Crc32.h"

namespace {

constexpr size_t kMemorySize = 1 << 20;
constexpr size_t kFileSize = 8 << 20;
unsigned char kKey[] = "benchmark key";

std::vector<unsigned char> RandomBytes(size_t n) {
    std::mt19937 rng(1);
    std::vector<unsigned char> v(n);
    for (auto& b : v) b = static_cast<unsigned char>(rng());
    return v;
}

void OpenSslDesEcb(benchmark::State& state) {
    const bool encrypt = state.range(0) == 1;
    OSSL_PROVIDER_load(nullptr, "legacy");
    OSSL_PROVIDER_load(nullptr, "default");
    EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "DES-ECB", nullptr);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    const unsigned char key[8] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
    if (!cipher || !EVP_CipherInit_ex2(ctx, cipher, key, nullptr, encrypt ? 1 : 0, nullptr)) {
        state.SkipWithError("OpenSSL has no DES-ECB");
        return;
    }
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    const auto in = RandomBytes(kMemorySize);
    std::vector<unsigned char> out(kMemorySize + 8);
    for (auto _ : state) {
        int n = 0;
        EVP_CipherUpdate(ctx, out.data(), &n, in.data(), static_cast<int>(in.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMemorySize));
    EVP_CIPHER_CTX_free(ctx);
    EVP_CIPHER_free(cipher);
}
BENCHMARK(OpenSslDesEcb)->ArgName("encrypt")->Arg(1)->Arg(0);

void EncryptM(benchmark::State& state) {
    const bool crc = state.range(0) == 1;
    auto plain = RandomBytes(kMemorySize);
    std::vector<unsigned char> out(container::ContainerLength(kMemorySize, crc, container::Form::memory) + 1);
    CDesCrypt crypt;
    for (auto _ : state) {
        long length = kMemorySize;
        crypt.EncryptM(crc, plain.data(), out.data(), kKey, &length);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMemorySize));
}
BENCHMARK(EncryptM)->ArgName("crc")->Arg(0)->Arg(1);

void DecryptM(benchmark::State& state) {
    const bool crc = state.range(0) == 1;
    auto plain = RandomBytes(kMemorySize);
    std::vector<unsigned char> sealed(container::ContainerLength(kMemorySize, crc, container::Form::memory) + 1);
    std::vector<unsigned char> out(kMemorySize + 1);
    CDesCrypt crypt;
    long length = kMemorySize;
    crypt.EncryptM(crc, plain.data(), sealed.data(), kKey, &length);
    for (auto _ : state) {
        crypt.DecryptM(crc, sealed.data(), out.data(), kKey, &length);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMemorySize));
}
BENCHMARK(DecryptM)->ArgName("crc")->Arg(0)->Arg(1);

// Files in the temporary folder, so mostly the page cache: the figure is the container's work
// plus the system calls, not the disk.
class FileBench {
public:
    FileBench() : m_dir(std::filesystem::temp_directory_path() / ("dvrkit-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_dir);
        const auto bytes = RandomBytes(kFileSize);
        FILE* f = std::fopen(Path("plain").c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    ~FileBench() { std::filesystem::remove_all(m_dir); }
    std::string Path(const char* name) const { return (m_dir / name).string(); }

private:
    std::filesystem::path m_dir;
};

void EncryptF(benchmark::State& state) {
    const bool crc = state.range(0) == 1;
    FileBench files;
    CDesCrypt crypt;
    for (auto _ : state) crypt.EncryptF(crc, files.Path("plain").c_str(), files.Path("container").c_str(), kKey);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}
BENCHMARK(EncryptF)->ArgName("crc")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void DecryptF(benchmark::State& state) {
    const bool crc = state.range(0) == 1;
    FileBench files;
    CDesCrypt crypt;
    crypt.EncryptF(crc, files.Path("plain").c_str(), files.Path("container").c_str(), kKey);
    for (auto _ : state) crypt.DecryptF(crc, files.Path("container").c_str(), files.Path("decrypted").c_str(), kKey);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
}
BENCHMARK(DecryptF)->ArgName("crc")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void Crc32Ours(benchmark::State& state) {
    const auto data = RandomBytes(kMemorySize);
    for (auto _ : state) benchmark::DoNotOptimize(Crc32(data.data(), data.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMemorySize));
}
BENCHMARK(Crc32Ours);

void Crc32Zlib(benchmark::State& state) {
    const auto data = RandomBytes(kMemorySize);
    for (auto _ : state) benchmark::DoNotOptimize(crc32(0, data.data(), static_cast<uInt>(data.size())));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMemorySize));
}
BENCHMARK(Crc32Zlib);

}  // namespace

BENCHMARK_MAIN();
