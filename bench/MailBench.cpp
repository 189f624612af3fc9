// In-process cost of composing a mail, with Google Benchmark's fit of the time against the size:
// wrapping a body text and encoding an attachment must both be linear. The base64 encoder against
// OpenSSL's in the same run. The comparison with coreutils base64 and swaks, which run as their
// own processes, is bench/mail_bench.py.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include <openssl/evp.h>

#include "mail/CBase64Codec.h"
#include "mail/CMultipartMail.h"
#include "mail/CTextPartRenderer.h"
#include "mail/MimeFormat.h"

namespace {

// Words and line ends, as a long notification text has them.
std::string BodyText(std::size_t size) {
    static const char* const words[] = {"camera", "motion", "alarm", "channel", "signal", "lost", "\r\n"};
    std::mt19937 random(7);
    std::string text;
    while (text.size() < size) text += std::string(words[random() % 7]) + " ";
    text.resize(size);
    return text;
}

void WrapText(benchmark::State& state) {
    const std::string text = BodyText(static_cast<std::size_t>(state.range(0)));
    const CTextPartRenderer renderer(mime::kDefaultWrapWidth);
    for (auto _ : state) benchmark::DoNotOptimize(renderer.WrapText(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(WrapText)->RangeMultiplier(4)->Range(1 << 18, 1 << 24)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void ComposeAttachment(benchmark::State& state) {
    char path[] = "/tmp/dvrkit-mail-bench-XXXXXX";
    const int fd = mkstemp(path);
    std::string bytes(static_cast<std::size_t>(state.range(0)), '\0');
    std::mt19937 random(54);
    for (char& b : bytes) b = static_cast<char>(random());
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        state.SkipWithError("cannot write the attachment");
        return;
    }
    close(fd);
    for (auto _ : state) {
        CMultipartMail mail;
        mail.AppendRecipient("ops@example.com", "", RecipientKind::To);
        mail.AttachPart(path, mime::kFilePart, "");
        mail.Prepare();
        benchmark::DoNotOptimize(mail.m_body.GetLength());
    }
    std::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ComposeAttachment)->RangeMultiplier(4)->Range(1 << 20, 1 << 26)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// The base64 encoder on one buffer, against OpenSSL's EVP_EncodeBlock on the same bytes: the ratio
// of their bytes per second is the figure.
std::vector<BYTE> RandomBytes(std::size_t size) {
    std::vector<BYTE> bytes(size);
    std::mt19937 random(64);
    for (BYTE& b : bytes) b = static_cast<BYTE>(random());
    return bytes;
}

void Base64Encode(benchmark::State& state) {
    const std::vector<BYTE> bytes = RandomBytes(static_cast<std::size_t>(state.range(0)));
    std::string text(CBase64Codec::EncodedSize(bytes.size()), '\0');
    CBase64Codec codec;
    for (auto _ : state) benchmark::DoNotOptimize(codec.EncodeTo(bytes.data(), bytes.size(), text.data()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(Base64Encode)->Arg(1 << 20);

void OpenSslEncodeBlock(benchmark::State& state) {
    const std::vector<BYTE> bytes = RandomBytes(static_cast<std::size_t>(state.range(0)));
    std::string text(CBase64Codec::EncodedSize(bytes.size()) + 1, '\0');
    for (auto _ : state)
        benchmark::DoNotOptimize(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(text.data()), bytes.data(),
                                                 static_cast<int>(bytes.size())));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(OpenSslEncodeBlock)->Arg(1 << 20);

}  // namespace

BENCHMARK_MAIN();
