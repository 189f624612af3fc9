#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <vector>

#include "platform/core/ByteStream.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<std::uint8_t> Counting(size_t n) {
    std::vector<std::uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
    return bytes;
}

void Append(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

// A file shorter than one chunk, or than one peek, is read as it stands, and what a writer
// appends after the stream began is read on.
TEST(ByteStream, FilesOfEveryLengthAgainstTheChunkAndThePeek) {
    TempDir dir;
    struct Case {
        size_t length, chunk, peek;
    } cases[] = {{0, 64, 8}, {5, 64, 8}, {8, 64, 8}, {20, 64, 8}, {200, 64, 8}, {200, 64, 64}, {7, 8, 8}};
    for (const Case& c : cases) {
        const std::string path = dir.file("f" + std::to_string(c.length) + "-" + std::to_string(c.peek));
        const auto bytes = Counting(c.length);
        Append(path, bytes);
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
        ByteStream in(file, c.chunk);
        size_t taken = 0;
        while (const std::uint8_t* at = in.Take(c.peek)) {
            EXPECT_TRUE(std::equal(at, at + c.peek, bytes.begin() + static_cast<std::ptrdiff_t>(taken))) << c.length;
            taken += c.peek;
        }
        EXPECT_EQ(taken, c.length / c.peek * c.peek) << c.length << " " << c.peek;

        Append(path, Counting(c.peek));
        EXPECT_NE(in.Peek(c.peek), nullptr) << c.length << " " << c.peek;
    }
}
