// The bitmap class against its references, in one run:
//  - Read of a 4096 x 4096 24-bit file from the page cache, against one read(2) of the same
//    bytes into a fresh buffer;
//  - ChangeCompression of a 4096 x 4096 8-bit image to RLE8 and back, against ImageMagick
//    converting the same file both ways as whole processes.
// bench/dib_ratios.py runs it and prints the ratios.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "calendar/CDib.h"

namespace {

constexpr int kSide = 4096;

const std::string& BenchDir() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "dvrkit-dib-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    // Registered once the folder's name exists, so it is removed before the name ends.
    static const bool removedAtExit = std::atexit([] { std::filesystem::remove_all(BenchDir()); }) == 0;
    (void)removedAtExit;
    return dir;
}

std::string BenchFile(const char* name) { return BenchDir() + "/" + name; }

// A 4096 x 4096 image of `bitCount` bits: rings, with runs that compress as camera stills do.
const std::string& ImageFile(int bitCount) {
    static std::string paths[33];
    std::string& path = paths[bitCount];
    if (!path.empty()) return path;
    path = BenchFile(bitCount == 8 ? "rings8.bmp" : "rings24.bmp");
    CDib dib(CSize(kSide, kSide), bitCount);
    for (int i = 0; i < dib.GetColorCount(); ++i) {
        BYTE* entry = dib.GetColorTable() + 4 * i;
        entry[0] = static_cast<BYTE>(i);
        entry[1] = static_cast<BYTE>(255 - i);
        entry[2] = static_cast<BYTE>(i * 7);
    }
    dib.MakeSection(nullptr);
    const size_t stride = dib.GetImageSize() / kSide;
    for (int y = 0; y < kSide; ++y)
        for (size_t x = 0; x < stride; ++x) {
            const long dx = static_cast<long>(x) - kSide / 2, dy = y - kSide / 2;
            dib.GetBits()[static_cast<size_t>(y) * stride + x] = static_cast<BYTE>((dx * dx + dy * dy) / 4096);
        }
    // With its true size in the file header, which ImageMagick checks.
    if (!dib.SaveToMappedFile(path.c_str())) std::abort();
    return path;
}

void DibRead(benchmark::State& state) {
    const std::string& path = ImageFile(24);
    for (auto _ : state) {
        CFile file;
        file.Open(path.c_str(), CFile::modeRead);
        CDib dib;
        if (!dib.Read(&file)) state.SkipWithError("Read failed");
        benchmark::DoNotOptimize(dib.GetBits());
        state.SetBytesProcessed(state.bytes_processed() + static_cast<std::int64_t>(file.GetLength()));
    }
}
BENCHMARK(DibRead)->Unit(benchmark::kMillisecond);

void OneReadSyscall(benchmark::State& state) {
    const std::string& path = ImageFile(24);
    const auto size = static_cast<size_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        auto buffer = std::make_unique_for_overwrite<BYTE[]>(size);
        if (::read(fd, buffer.get(), size) != static_cast<ssize_t>(size)) state.SkipWithError("short read");
        ::close(fd);
        benchmark::DoNotOptimize(buffer.get());
        state.SetBytesProcessed(state.bytes_processed() + static_cast<std::int64_t>(size));
    }
}
BENCHMARK(OneReadSyscall)->Unit(benchmark::kMillisecond);

void DibRle8RoundTrip(benchmark::State& state) {
    CFile file;
    file.Open(ImageFile(8).c_str(), CFile::modeRead);
    CDib dib;
    if (!dib.Read(&file)) state.SkipWithError("Read failed");
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    for (auto _ : state) {
        if (!dib.ChangeCompression(&dc, TRUE) || !dib.ChangeCompression(&dc, FALSE)) state.SkipWithError("conversion failed");
    }
}
BENCHMARK(DibRle8RoundTrip)->Unit(benchmark::kMillisecond)->Iterations(3);

void ImageMagickRle8RoundTrip(benchmark::State& state) {
    const std::string& in = ImageFile(8);
    const std::string rle = BenchFile("magick-rle.bmp"), back = BenchFile("magick-back.bmp");
    const std::string command = "convert '" + in + "' -compress RLE BMP3:'" + rle + "' 2>/dev/null && convert '" + rle +
                                "' -compress None BMP3:'" + back + "' 2>/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("ImageMagick failed");
    }
}
BENCHMARK(ImageMagickRle8RoundTrip)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
