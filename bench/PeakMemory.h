#pragma once
// The peak memory of one piece of work against the size of what it produced, measured in a child
// process so that nothing the benchmark held before counts.
#include <functional>

// Runs `work` in a child process; `work` returns the bytes of what it produced (a loaded array).
// The result is the growth of the child's peak resident memory over those bytes, or a negative
// number when the child failed.
double PeakGrowthOver(const std::function<double()>& work);
