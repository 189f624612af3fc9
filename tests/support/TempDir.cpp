#include "tests/support/TempDir.h"

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dvrkit-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a test folder");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

ScopedTz::ScopedTz(const char* zone) {
    const char* old = std::getenv("TZ");
    m_had = old != nullptr;
    if (old) m_old = old;
    setenv("TZ", zone, 1);
    tzset();
}

ScopedTz::~ScopedTz() {
    if (m_had) setenv("TZ", m_old.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

namespace {
std::atomic<DWORD> g_now{0};
}

ScopedClock::ScopedClock(DWORD start) {
    g_now = start;
    CTime::SetClock(&Read);
}

ScopedClock::~ScopedClock() { CTime::SetClock(nullptr); }

void ScopedClock::Set(DWORD now) { g_now = now; }

DWORD ScopedClock::Read() { return g_now.load(); }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
