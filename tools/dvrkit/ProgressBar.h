#pragma once
// A progress bar on stderr for long file work that the library does in one call: a thread
// watches the size of the file being written and draws it against the expected size. Nothing
// is drawn unless stderr is a terminal and the work is large enough to be worth a bar.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

class ProgressBar {
public:
    ProgressBar(std::string watchedPath, std::uint64_t expectedSize);
    ~ProgressBar();  // stops the thread and clears the bar's line
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

private:
    void Run();
    void Draw(std::uint64_t done) const;

    std::string m_path;
    std::uint64_t m_expected;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
