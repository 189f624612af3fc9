#pragma once
// The key of the crypt commands: the first line of a file, an environment variable, a prompt on
// the terminal, or the command line (kept for old scripts, with a warning, since every user of
// the machine can read a process's arguments).
#include <string>

#include "crypt/SecureWipe.h"

struct KeySources {
    std::string key, keyFile, keyEnv;
    bool keyGiven = false;  // --key was given, even empty
};

// A key that is wiped when it goes, whichever way.
struct SecretKey {
    std::string value;
    SecretKey() = default;
    SecretKey(const SecretKey&) = delete;
    SecretKey& operator=(const SecretKey&) = delete;
    ~SecretKey() { SecureWipe(value.data(), value.size()); }
};

// The key string, up to its first zero byte, into `out`; raises CommandError when none can be
// had or it is empty. On the terminal an encryption key is asked twice (`confirm`), since a
// mistyped one would lose the data.
void ReadCryptKey(KeySources& sources, bool confirm, SecretKey& out);

// While one exists the process cannot be dumped (no core file, no ptrace by other processes of
// the user), so the key it holds stays in it.
class NonDumpable {
public:
    NonDumpable();
    ~NonDumpable();
    NonDumpable(const NonDumpable&) = delete;
    NonDumpable& operator=(const NonDumpable&) = delete;

private:
    int m_previous;
};
