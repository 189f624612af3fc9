#include "platform/core/GlobalMemory.h"

#include <memory>
#include <new>

struct GlobalBlock {
    std::unique_ptr<std::byte[]> bytes;
    size_t size = 0;
    int locks = 0;
};

HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
    auto* block = new (std::nothrow) GlobalBlock;
    if (!block) return nullptr;
    // At least one byte, so that a zero-size block still has an address of its own.
    const size_t allocated = bytes == 0 ? 1 : bytes;
    block->bytes.reset((flags & GMEM_ZEROINIT) ? new (std::nothrow) std::byte[allocated]()
                                               : new (std::nothrow) std::byte[allocated]);
    if (!block->bytes) {
        delete block;
        return nullptr;
    }
    block->size = bytes;
    return block;
}

void* GlobalLock(HGLOBAL block) {
    if (!block) return nullptr;
    ++block->locks;
    return block->bytes.get();
}

BOOL GlobalUnlock(HGLOBAL block) {
    if (!block || block->locks == 0) return FALSE;
    return --block->locks > 0;
}

size_t GlobalSize(HGLOBAL block) { return block ? block->size : 0; }

HGLOBAL GlobalFree(HGLOBAL block) {
    delete block;
    return nullptr;
}
