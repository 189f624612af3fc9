#include "platform/core/Prefault.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

void PrefaultForWrite(void* begin, std::size_t length) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = (reinterpret_cast<std::uintptr_t>(begin) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(begin) + length) / page * page;
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}
