#pragma once
// Files, file mappings and mapped views in the shape of the platform's kernel calls, over
// POSIX descriptors and mmap. A mapping keeps its own descriptor, and a view stays valid
// after its mapping and file are closed, as on the platform; views are released with
// UnmapViewOfFile.
//
// Sharing: a file opened without any share flag takes an exclusive advisory lock (flock), one
// opened with share flags a shared lock, so two openers through these calls keep to the
// platform's share rules; other programs are not held back.
#include <cstddef>

#include "platform/core/Types.h"

class KernelObject {
public:
    virtual ~KernelObject() = default;
};
using HANDLE = KernelObject*;
// The failure result of CreateFileA (CreateFileMappingA fails with nullptr).
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;
constexpr DWORD FILE_MAP_WRITE = 0x0002;
constexpr DWORD FILE_MAP_READ = 0x0004;
constexpr DWORD FILE_MAP_ALL_ACCESS = 0x000F001F;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

HANDLE CreateFileA(const char* path, DWORD access, DWORD share, void* security, DWORD disposition, DWORD flags,
                   HANDLE templateFile);
// The file's size (low 32 bits; the high ones into `high` when given).
DWORD GetFileSize(HANDLE file, DWORD* high);
// A mapping of the file's first `size` bytes (0: the whole file, which must not be empty);
// a size beyond the file's end grows the file. nullptr on failure.
HANDLE CreateFileMappingA(HANDLE file, void* security, DWORD protect, DWORD sizeHigh, DWORD sizeLow, const char* name);
// A view of `bytes` bytes from the offset (0: to the mapping's end); nullptr on failure.
void* MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, size_t bytes);
BOOL UnmapViewOfFile(const void* view);
// Closes a file or mapping handle; FALSE for nullptr or INVALID_HANDLE_VALUE.
BOOL CloseHandle(HANDLE handle);
