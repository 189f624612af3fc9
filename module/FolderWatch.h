#pragma once
// Waiting for files of a folder to be written: inotify on the folder (modified, closed after
// writing, created, moved in), or, where inotify is not to be had, a look every second.
#include <string>

class FolderWatch {
public:
    FolderWatch() = default;
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;
    ~FolderWatch();

    // Watches `folder` from now on; without inotify, Wait falls back to the clock.
    void Watch(const std::string& folder);
    // Waits up to `timeoutMs` for a change, at most a second without inotify; true when the folder
    // may have changed (always after the second's wait of the fallback).
    bool Wait(int timeoutMs);

private:
    void Stop();

    int m_fd = -1;
};
