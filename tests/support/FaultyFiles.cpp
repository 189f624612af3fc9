#include "tests/support/FaultyFiles.h"

#include <algorithm>
#include <cerrno>

namespace {

// A fault armed for the n-th call of one kind; n = 0 means none.
struct Countdown {
    int callsLeft = 0;
    UINT bytes = 0;
    // Counts one call; true for the call the fault was armed for.
    bool Fires() { return callsLeft > 0 && --callsLeft == 0; }
};

}  // namespace

struct FaultyFiles::Plan {
    Countdown write, read, setLength;
};

namespace {

class FaultyFile : public CFile {
public:
    explicit FaultyFile(std::shared_ptr<FaultyFiles::Plan> plan) : m_plan(std::move(plan)) {}

    UINT Read(void* buffer, UINT count) override { return CFile::Read(buffer, ReadSize(count)); }
    UINT ReadAt(std::uint64_t offset, void* buffer, UINT count) override {
        return CFile::ReadAt(offset, buffer, ReadSize(count));
    }
    void Write(const void* buffer, UINT count) override {
        WriteThrough(count, [&](UINT n) { CFile::Write(buffer, n); });
    }
    void WriteAt(std::uint64_t offset, const void* buffer, UINT count) override {
        WriteThrough(count, [&](UINT n) { CFile::WriteAt(offset, buffer, n); });
    }
    void SetLength(std::uint64_t length) override {
        if (m_plan->setLength.Fires()) Fail(CFileException::generic, EIO, "resize");
        CFile::SetLength(length);
    }

private:
    // Puts all `count` bytes down with `put`, or as many as an armed write fault lets through
    // before the disk is full.
    template <typename Put>
    void WriteThrough(UINT count, Put put) {
        if (!m_plan->write.Fires()) return put(count);
        put(std::min(count, m_plan->write.bytes));
        Fail(CFileException::diskFull, ENOSPC, "write");
    }
    UINT ReadSize(UINT count) { return m_plan->read.Fires() ? std::min(count, m_plan->read.bytes) : count; }
    // The exception CFile raises for the same errno.
    [[noreturn]] void Fail(CFileException::Cause cause, int osError, const char* action) const {
        throw CFileException(cause, osError, GetFilePath(), action);
    }

    std::shared_ptr<FaultyFiles::Plan> m_plan;
};

}  // namespace

FaultyFiles::FaultyFiles() : m_plan(std::make_shared<Plan>()) {}

void FaultyFiles::FailWrite(int n, UINT written) { m_plan->write = {n, written}; }
void FaultyFiles::ShortRead(int n, UINT bytes) { m_plan->read = {n, bytes}; }
void FaultyFiles::FailSetLength(int n) { m_plan->setLength = {n, 0}; }

FileFactory FaultyFiles::Factory() const {
    return [plan = m_plan]() -> std::unique_ptr<CFile> { return std::make_unique<FaultyFile>(plan); };
}
