#include "platform/core/FileMapping.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <mutex>

namespace {

class Descriptor : public KernelObject {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() override { ::close(m_fd); }
    int Fd() const { return m_fd; }

private:
    int m_fd;
};

class FileObject : public Descriptor {
public:
    FileObject(int fd, bool writable) : Descriptor(fd), m_writable(writable) {}
    bool Writable() const { return m_writable; }

private:
    bool m_writable;
};

class MappingObject : public Descriptor {
public:
    MappingObject(int fd, std::uint64_t size, bool writable) : Descriptor(fd), m_size(size), m_writable(writable) {}
    std::uint64_t Size() const { return m_size; }
    bool Writable() const { return m_writable; }

private:
    std::uint64_t m_size;
    bool m_writable;
};

// Views by address, with their lengths for munmap.
std::mutex g_viewsLock;
std::map<const void*, size_t> g_views;

int OpenFlags(DWORD access, DWORD disposition) {
    int flags = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
    switch (disposition) {
        case CREATE_NEW: return flags | O_CREAT | O_EXCL;
        case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
        case OPEN_ALWAYS: return flags | O_CREAT;
        case TRUNCATE_EXISTING: return flags | O_TRUNC;
        case OPEN_EXISTING: return flags;
        default: return -1;
    }
}

template <typename T>
T* As(HANDLE handle) {
    return handle && handle != INVALID_HANDLE_VALUE ? dynamic_cast<T*>(handle) : nullptr;
}

std::uint64_t Join(DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; }

}  // namespace

HANDLE CreateFileA(const char* path, DWORD access, DWORD share, void*, DWORD disposition, DWORD, HANDLE) {
    const int flags = OpenFlags(access, disposition);
    if (!path || flags < 0) return INVALID_HANDLE_VALUE;
    // Truncation waits for the lock: a file that another opener holds must not lose its bytes.
    const int fd = ::open(path, (flags & ~O_TRUNC) | O_CLOEXEC, 0666);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    if (::flock(fd, (share == 0 ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0 || ((flags & O_TRUNC) && ::ftruncate(fd, 0) != 0)) {
        ::close(fd);
        return INVALID_HANDLE_VALUE;
    }
    return new FileObject(fd, (access & GENERIC_WRITE) != 0);
}

DWORD GetFileSize(HANDLE handle, DWORD* high) {
    auto* file = As<FileObject>(handle);
    struct stat st {};
    if (!file || ::fstat(file->Fd(), &st) != 0) return INVALID_FILE_SIZE;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (high) *high = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size);
}

HANDLE CreateFileMappingA(HANDLE handle, void*, DWORD protect, DWORD sizeHigh, DWORD sizeLow, const char*) {
    auto* file = As<FileObject>(handle);
    const bool writable = protect == PAGE_READWRITE;
    if (!file || (writable && !file->Writable())) return nullptr;
    struct stat st {};
    if (::fstat(file->Fd(), &st) != 0) return nullptr;
    std::uint64_t size = Join(sizeHigh, sizeLow);
    const auto length = static_cast<std::uint64_t>(st.st_size);
    if (size == 0) size = length;
    if (size == 0) return nullptr;  // an empty file cannot be mapped
    if (size > length && (!writable || ::ftruncate(file->Fd(), static_cast<off_t>(size)) != 0)) return nullptr;
    const int fd = ::fcntl(file->Fd(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0) return nullptr;
    return new MappingObject(fd, size, writable);
}

void* MapViewOfFile(HANDLE handle, DWORD access, DWORD offsetHigh, DWORD offsetLow, size_t bytes) {
    auto* mapping = As<MappingObject>(handle);
    const bool write = (access & FILE_MAP_WRITE) != 0;
    if (!mapping || (write && !mapping->Writable())) return nullptr;
    const std::uint64_t offset = Join(offsetHigh, offsetLow);
    if (offset >= mapping->Size() || offset % static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)) != 0) return nullptr;
    if (bytes == 0) bytes = static_cast<size_t>(mapping->Size() - offset);
    if (bytes > mapping->Size() - offset) return nullptr;
    void* view = ::mmap(nullptr, bytes, PROT_READ | (write ? PROT_WRITE : 0), MAP_SHARED, mapping->Fd(),
                        static_cast<off_t>(offset));
    if (view == MAP_FAILED) return nullptr;
    std::lock_guard guard(g_viewsLock);
    g_views[view] = bytes;
    return view;
}

BOOL UnmapViewOfFile(const void* view) {
    std::lock_guard guard(g_viewsLock);
    const auto it = g_views.find(view);
    if (it == g_views.end()) return FALSE;
    ::munmap(const_cast<void*>(view), it->second);
    g_views.erase(it);
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    if (!handle || handle == INVALID_HANDLE_VALUE) return FALSE;
    delete handle;
    return TRUE;
}
