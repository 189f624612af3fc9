#include "tools/dvrkit/CryptKey.h"

#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "crypt/SecureWipe.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/FileBytes.h"

namespace {

// The first line without its line end.
void CutAtLineEnd(std::string& s) {
    s.resize(std::min(s.find('\n'), s.size()));
    if (!s.empty() && s.back() == '\r') s.pop_back();
}

// One line typed on the terminal with echo off; the terminal's mode is restored whatever
// happens.
std::string Prompt(const char* text) {
    termios saved{};
    if (tcgetattr(STDIN_FILENO, &saved) != 0) throw CommandError{"cannot read the key from the terminal"};
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    std::fputs(text, stderr);
    std::fflush(stderr);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    SecretKey line;
    char c;
    while (::read(STDIN_FILENO, &c, 1) == 1 && c != '\n') line.value.push_back(c);
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::fputs("\n", stderr);
    CutAtLineEnd(line.value);
    return line.value;
}

void FromTerminal(bool confirm, std::string& key) {
    if (!isatty(STDIN_FILENO))
        throw CommandError{"no key: give --key-file FILE or --key-env VAR, or run on a terminal to be asked"};
    key = Prompt("Key: ");
    if (!confirm) return;
    SecretKey again;
    again.value = Prompt("Key again: ");
    if (again.value != key) throw CommandError{"the two keys typed differ"};
}

}  // namespace

void ReadCryptKey(KeySources& sources, bool confirm, SecretKey& out) {
    std::string& key = out.value;
    if (!sources.keyFile.empty()) {
        auto bytes = ReadFileBytes(sources.keyFile);
        key.assign(bytes.begin(), bytes.end());
        SecureWipe(bytes.data(), bytes.size());
        CutAtLineEnd(key);
    } else if (!sources.keyEnv.empty()) {
        const char* value = std::getenv(sources.keyEnv.c_str());
        if (!value) throw CommandError{"the environment variable " + sources.keyEnv + " is not set"};
        key = value;
    } else if (sources.keyGiven) {
        std::cerr << "dvrkit: warning: --key shows the key to every user in the process list; "
                     "use --key-file, --key-env or the prompt\n";
        key.swap(sources.key);
    } else {
        FromTerminal(confirm, key);
    }
    // The key is a C string: it ends at its first zero byte.
    key.resize(std::min(key.find('\0'), key.size()));
    if (key.empty()) throw CommandError{"the key is empty"};
}

NonDumpable::NonDumpable() : m_previous(prctl(PR_GET_DUMPABLE, 0, 0, 0, 0)) { prctl(PR_SET_DUMPABLE, 0, 0, 0, 0); }

NonDumpable::~NonDumpable() {
    if (m_previous > 0) prctl(PR_SET_DUMPABLE, m_previous, 0, 0, 0);
}
