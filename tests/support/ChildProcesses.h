#pragma once
// Writer processes for the tests of files shared between processes: several writers at once,
// and a writer killed in the middle of its work.
#include <cstdint>
#include <functional>
#include <string>

// Forks `count` children, child `index` running `work(index)` and exiting 0 when it returns true;
// waits for all of them. True when every child exited 0.
bool RunInChildren(int count, const std::function<bool(int index)>& work);

// Forks a child that runs `work` for ever, waits until `path` holds at least `size` bytes, then
// kills the child with SIGKILL. True when the child was killed (not ended on its own).
bool KillWhenFileReaches(const std::string& path, std::uint64_t size, const std::function<void()>& work);
