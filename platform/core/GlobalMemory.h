#pragma once
// Global memory blocks in the shape of the platform's: a handle to a heap block that is
// locked to get its address. Blocks never move, so every lock gives the same address.
#include <cstddef>

#include "platform/core/Types.h"

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

struct GlobalBlock;
using HGLOBAL = GlobalBlock*;

// A block of `bytes` (zeroed with GMEM_ZEROINIT); nullptr when memory runs out.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
// The block's address (nullptr for no block); each lock wants one unlock.
void* GlobalLock(HGLOBAL block);
// TRUE while the block stays locked after this unlock.
BOOL GlobalUnlock(HGLOBAL block);
size_t GlobalSize(HGLOBAL block);
// Frees the block, locked or not; returns nullptr (the platform's success).
HGLOBAL GlobalFree(HGLOBAL block);
