// dvrkit crypt: encrypt and decrypt files in the container of CDesCrypt, and print CRC-32s.
//
// The library writes its output in place and leaves partial output behind on failure; the tool
// has it write the tool's pending output (OutputFile.h) instead, put in place only on success,
// so a failed or killed run never leaves a half-written file. Decrypted plaintext that gets a new
// file is readable by its owner alone.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "crypt/CDesCrypt.h"
#include "crypt/ContainerFormat.h"
#include "crypt/Crc32.h"
#include "crypt/FileContainer.h"
#include "crypt/CryptStatus.h"
#include "platform/core/CFile.h"
#include "tools/dvrkit/Commands.h"
#include "tools/dvrkit/CryptKey.h"
#include "tools/dvrkit/FileBytes.h"
#include "tools/dvrkit/OutputFile.h"
#include "tools/dvrkit/ProgressBar.h"

namespace {

enum class Direction { encrypt, decrypt };

struct CryptOptions {
    std::string input, output;
    KeySources key;
    bool crc = false;
};

// Exit codes beyond the general 1, so that scripts can tell the two container faults apart.
constexpr int kExitWrongKey = 2;
constexpr int kExitDamaged = 3;

// `inputPath`: where IN can be read again (a copy of standard input for "-").
CommandError StatusError(DWORD status, Direction d, const CryptOptions& o, const std::string& inputPath) {
    using namespace cryptstatus;
    const bool enc = d == Direction::encrypt;
    switch (status) {
        case kKeySetupFailed: return {"cannot open " + o.input};
        case kContainerFailed:
            return {enc ? "cannot create or write the container file beside " + o.output
                        : "cannot open the container " + o.input};
        case kPlainFailed:
            return {enc ? "cannot open " + o.input : "cannot create or write the output file beside " + o.output};
        case kReadError: return {"read error in " + o.input};
        case kWrongKey: return {"wrong key, or " + o.input + " is not a container", kExitWrongKey};
        case kDamaged:
            if (!o.crc && CarriesChunkCrcs(inputPath.c_str()))
                return {o.input + " carries a CRC-32 per chunk: decrypt it with --crc"};
            return {o.input + " is damaged: a chunk's CRC or the container's structure does not match" +
                        (o.crc ? "" : " (was it written with --crc?)"),
                    kExitDamaged};
        case kNoMemory: return {"out of memory"};
        default: return {"unexpected result " + std::to_string(static_cast<int>(status))};
    }
}

std::uint64_t FileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

void RunCrypt(CryptOptions& o, Direction d) {
    const NonDumpable whileKeyHeld;
    SecretKey key;
    ReadCryptKey(o.key, d == Direction::encrypt, key);
    const InputPath input(o.input);
    const std::uint64_t inputSize = FileSize(input.Path());
    const std::uint64_t expected = d == Direction::encrypt
                                       ? container::ContainerLength(inputSize, o.crc, container::Form::file)
                                       : inputSize;
    OutputFile output(o.output, d == Direction::decrypt ? Readers::ownerOnly : Readers::usual);
    DWORD status;
    {
        ProgressBar bar(output.TempPath(), expected);
        CDesCrypt crypt;
        auto* k = reinterpret_cast<unsigned char*>(key.value.data());
        const char* in = input.Path().c_str();
        const char* out = output.TempPath().c_str();
        status = d == Direction::encrypt ? crypt.EncryptF(o.crc, in, out, k) : crypt.DecryptF(o.crc, in, out, k);
    }
    if (status != cryptstatus::kOk) throw StatusError(status, d, o, input.Path());
    output.Commit();
}

void PrintCrc(const std::string& path) {
    const InputPath input(path);
    CFile file;
    CFileException error(CFileException::none, 0, input.Path(), "open");
    if (!file.Open(input.Path().c_str(), CFile::modeRead, &error)) throw CommandError{error.what()};
    std::vector<BYTE> buffer(1 << 20);
    DWORD crc = 0;
    while (const UINT n = file.Read(buffer.data(), static_cast<UINT>(buffer.size()))) crc = Crc32(buffer.data(), n, crc);
    char text[9];
    std::snprintf(text, sizeof text, "%08x", crc);
    std::cout << text << "\n";
}

// IN must exist, unless it is "-".
CLI::Validator InputFileCheck() {
    return CLI::Validator(
        [](std::string& path) { return path == "-" ? std::string() : CLI::ExistingFile(path); }, "FILE");
}

void AddCryptCommand(CLI::App& group, const char* name, const char* help, Direction d) {
    static CryptOptions options[2];
    CryptOptions& o = options[d == Direction::encrypt ? 0 : 1];
    CLI::App* c = group.add_subcommand(name, help);
    c->add_option("IN", o.input, "Input file (- for standard input)")->required()->check(InputFileCheck());
    c->add_option("OUT", o.output, "Output file (replaced only on success; - for standard output)")->required();
    auto* keyFile =
        c->add_option("--key-file", o.key.keyFile, "A file whose first line is the key")->check(CLI::ExistingFile);
    auto* keyEnv = c->add_option("--key-env", o.key.keyEnv, "The environment variable VAR holds the key");
    auto* key = c->add_option("--key", o.key.key, "The key string (visible to all users in the process list)");
    key->excludes(keyFile)->excludes(keyEnv);
    keyEnv->excludes(keyFile);
    c->add_flag("--crc", o.crc, "A CRC-32 per chunk (decryption must be told what encryption used)");
    c->footer(
        "Without a key option the key is asked on the terminal.\n"
        "Exit status: 0 done, 2 wrong key or not a container, 3 damaged container, 1 any other failure.");
    c->callback([&o, d, key] {
        o.key.keyGiven = static_cast<bool>(*key);
        RunCrypt(o, d);
    });
}

void AddCryptCommands(CLI::App& app) {
    CLI::App* crypt = app.add_subcommand("crypt", "Encrypted containers and CRC-32");
    crypt->require_subcommand(1);
    AddCryptCommand(*crypt, "encrypt", "Encrypt IN into the container OUT", Direction::encrypt);
    AddCryptCommand(*crypt, "decrypt", "Decrypt the container IN into OUT", Direction::decrypt);

    static std::string file;
    CLI::App* c = crypt->add_subcommand("crc", "Print the CRC-32 of FILE as eight hex digits");
    c->add_option("FILE", file, "Any file (- for standard input)")->required();
    c->callback([] { PrintCrc(file); });
}

const CommandGroups::Add registration(30, AddCryptCommands);

}  // namespace
