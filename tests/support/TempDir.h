#pragma once
// Test helpers: a fresh folder removed at the end, a pinned time zone, a settable clock.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/CTime.h"

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Sets TZ for the scope and restores the old value after.
class ScopedTz {
public:
    explicit ScopedTz(const char* zone);
    ~ScopedTz();

private:
    std::string m_old;
    bool m_had;
};

// Installs a clock that returns `now` (settable) for the scope.
class ScopedClock {
public:
    explicit ScopedClock(DWORD start);
    ~ScopedClock();
    void Set(DWORD now);

private:
    static DWORD Read();
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
