#pragma once
// File work overlapped with the cipher: a run of groups, each read, then transformed, then
// written. The reads and writes go to a worker thread in the order they are posted, the read of
// the next group ahead of the transform of this one and the write of this one behind it, so the
// processor works on one group while the file system moves the others. Two input and two output
// buffers serve the whole run; both are wiped at its end, since one side always holds plaintext.
#include <cstddef>
#include <functional>

#include "platform/core/Types.h"

struct OverlappedSteps {
    std::size_t groups;
    std::size_t inputSize, outputSize;  // buffer sizes, the most one group needs
    // Fills `in` with group g; returns a status (cryptstatus::kOk to go on).
    std::function<DWORD(std::size_t g, BYTE* in)> read;
    // Transforms group g into `out`, setting `outBytes`; on a failure the first `outBytes` are
    // still written, then the run stops.
    std::function<DWORD(std::size_t g, const BYTE* in, BYTE* out, std::size_t& outBytes)> transform;
    std::function<DWORD(const BYTE* out, std::size_t bytes)> write;
};

// Runs the steps to the end or to the first failure in the order of the data, and returns that
// failure's status, or kOk. Every write posted before it returns has finished.
DWORD RunOverlapped(const OverlappedSteps& steps);
