#include "tools/dvrkit/FileBytes.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/core/CFile.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/OutputFile.h"
#include "tools/dvrkit/TempFiles.h"

namespace {

std::vector<std::uint8_t> ReadStdin() {
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw CommandError{std::string("cannot read standard input: ") + std::strerror(errno)};
        if (n == 0) return bytes;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

}  // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    if (path == "-") return ReadStdin();
    CFile file;
    CFileException error(CFileException::none, 0, path, "open");
    if (!file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary, &error)) throw CommandError{error.what()};
    std::vector<std::uint8_t> bytes(file.GetLength());
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    return bytes;
}

InputPath::InputPath(const std::string& path) : m_path(path) {
    if (path != "-") return;
    const std::vector<std::uint8_t> bytes = ReadStdin();
    CreatePendingFor(m_spool, "-", Readers::ownerOnly);
    m_path = m_spool.Path();
    if (!WriteAll(m_spool.Descriptor(), bytes.data(), bytes.size())) {
        const int error = errno;
        RemoveTemp(m_spool);
        throw CommandError{std::string("cannot keep a copy of standard input: ") + std::strerror(error)};
    }
}

InputPath::~InputPath() { RemoveTemp(m_spool); }
