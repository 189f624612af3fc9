#pragma once
// Backing a large buffer with memory before it is written.
#include <cstddef>

// Asks the system to back the whole pages inside [begin, begin + length) with writable memory now,
// in one call, instead of one page fault per page as the buffer is first written. Only a hint:
// where the system cannot (an older kernel), the pages are backed on first write as usual.
void PrefaultForWrite(void* begin, std::size_t length);
