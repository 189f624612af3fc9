// Global memory blocks and file mappings, the stand-ins a DIB attaches its memory through.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/FileMapping.h"
#include "platform/core/GlobalMemory.h"
#include "tests/support/TempDir.h"

namespace {

TEST(GlobalMemory, LockGivesTheBlockAndFreeEndsIt) {
    HGLOBAL block = GlobalAlloc(GHND, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 16u);
    auto* bytes = static_cast<BYTE*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[15], 0);  // zero-initialised
    EXPECT_EQ(GlobalLock(block), bytes);
    EXPECT_TRUE(GlobalUnlock(block));   // still locked once
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));  // not locked at all
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
}

TEST(FileMapping, WritableViewChangesTheFile) {
    TempDir dir;
    const std::string path = dir.file("image.bmp");
    WriteBytes(path, {'B', 'M', 1, 2, 3});
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 5u);
    // Not shared: a second opener is refused while the first holds the file.
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    auto* view = static_cast<BYTE*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    // The view outlives its mapping and file handles.
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(view[0], 'B');
    view[4] = 9;
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_FALSE(UnmapViewOfFile(view));
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'B', 'M', 1, 2, 9}));
}

TEST(FileMapping, CreatingAMappingLargerThanTheFileGrowsIt) {
    TempDir dir;
    const std::string path = dir.file("new.bmp");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);  // empty file
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 64, nullptr);
    ASSERT_NE(mapping, nullptr);
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    std::memcpy(view, "BM", 2);
    UnmapViewOfFile(view);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 65), nullptr);
    CloseHandle(mapping);
    CloseHandle(file);
    EXPECT_EQ(ReadBytes(path).size(), 64u);
}

TEST(FileMapping, FailuresAreClearResults) {
    TempDir dir;
    EXPECT_EQ(CreateFileA(dir.file("missing").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
    EXPECT_EQ(MapViewOfFile(nullptr, FILE_MAP_READ, 0, 0, 0), nullptr);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    WriteBytes(dir.file("ro"), {1, 2, 3});
    HANDLE file = CreateFileA(dir.file("ro").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);  // read-only file
    CloseHandle(file);
}

}  // namespace
