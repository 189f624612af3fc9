// The dvrkit crypt commands, run as a user runs them: the round trip, and failures that leave
// neither the target nor a temporary file behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/crypt/CryptFixture.h"
#include "tests/support/RunCommand.h"

namespace {

constexpr const char* kTool = DVRKIT_TOOL_PATH;

class CryptCommands : public CryptFixture {
protected:
    // Runs the tool with `args`; returns its exit status and its standard output (with its
    // standard error too when `withStderr`).
    std::pair<int, std::string> Run(const std::string& args, bool withStderr = false) {
        return Shell(std::string(kTool) + " " + args + (withStderr ? " 2>&1" : " 2>/dev/null"));
    }
    static std::pair<int, std::string> Shell(const std::string& command) {
        CommandResult result = RunCommand(command);
        return {result.status, std::move(result.output)};
    }
    size_t FilesInFolder() const {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_dir.path()), {}));
    }
};

TEST_F(CryptCommands, RoundTripWithKeyFile) {
    const Bytes plain = RandomBytes(30000, 21);
    WriteBytes(Path("plain"), plain);
    WriteBytes(Path("key"), {'s', 'e', 'c', 'r', 'e', 't', '\r', '\n', 'x'});  // the first line counts
    EXPECT_EQ(Run("crypt encrypt " + Path("plain") + " " + Path("enc") + " --key-file " + Path("key") + " --crc").first, 0);
    EXPECT_EQ(Run("crypt decrypt " + Path("enc") + " " + Path("dec") + " --key secret --crc").first, 0);
    EXPECT_EQ(ReadBytes(Path("dec")), plain);
    // The tool writes the library's container: the library reads it back.
    unsigned char key[] = "secret";
    EXPECT_EQ(m_crypt.DecryptF(true, Path("enc").c_str(), Path("lib").c_str(), key), 0u);
    EXPECT_EQ(ReadBytes(Path("lib")), plain);
    EXPECT_EQ(FilesInFolder(), 5u) << "no temporary file is left";
}

TEST_F(CryptCommands, FailuresLeaveNothingBehind) {
    WriteBytes(Path("plain"), RandomBytes(20000, 22));
    ASSERT_EQ(Run("crypt encrypt " + Path("plain") + " " + Path("enc") + " --key one --crc").first, 0);
    EXPECT_EQ(Run("crypt decrypt " + Path("enc") + " " + Path("dec") + " --key two --crc").first, 2);
    Bytes damaged = ReadBytes(Path("enc"));
    damaged[9000] ^= 1;
    WriteBytes(Path("enc"), damaged);
    EXPECT_EQ(Run("crypt decrypt " + Path("enc") + " " + Path("dec") + " --key one --crc").first, 3);
    EXPECT_EQ(Run("crypt decrypt " + Path("enc") + " " + Path("dec") + " --key ''").first, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("dec")));
    EXPECT_EQ(FilesInFolder(), 2u);
}

// A container written with --crc and decrypted without it is refused, naming the option; without
// the check a plaintext of one whole chunk came out wrong with exit status 0.
TEST_F(CryptCommands, ContainerWithCrcsNeedsTheOption) {
    WriteBytes(Path("plain"), RandomBytes(8192, 26));
    ASSERT_EQ(Run("crypt encrypt " + Path("plain") + " " + Path("enc") + " --key pw --crc").first, 0);
    const auto [status, message] = Run("crypt decrypt " + Path("enc") + " " + Path("dec") + " --key pw", true);
    EXPECT_EQ(status, 1);
    EXPECT_NE(message.find("carries a CRC-32 per chunk: decrypt it with --crc"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(Path("dec")));
}

// Decrypted plaintext in a new file is for its owner alone, whatever the umask; a file that
// exists keeps its mode, and a container gets what the umask allows.
TEST_F(CryptCommands, NewPlaintextIsReadableByItsOwnerAlone) {
    WriteBytes(Path("plain"), RandomBytes(1000, 27));
    const std::string tool = "umask 022; " + std::string(kTool);
    const auto mode = [&](const char* name) {
        return std::filesystem::status(Path(name)).permissions() & std::filesystem::perms::mask;
    };
    using std::filesystem::perms;
    ASSERT_EQ(Shell(tool + " crypt encrypt " + Path("plain") + " " + Path("enc") + " --key pw").first, 0);
    EXPECT_EQ(mode("enc"), perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
    ASSERT_EQ(Shell(tool + " crypt decrypt " + Path("enc") + " " + Path("dec") + " --key pw").first, 0);
    EXPECT_EQ(mode("dec"), perms::owner_read | perms::owner_write);
    std::filesystem::permissions(Path("dec"), perms::owner_read | perms::owner_write | perms::group_read);
    ASSERT_EQ(Shell(tool + " crypt decrypt " + Path("enc") + " " + Path("dec") + " --key pw").first, 0);
    EXPECT_EQ(mode("dec"), perms::owner_read | perms::owner_write | perms::group_read);
}

// "-" is standard input for IN and standard output for OUT; a decryption that fails writes nothing.
TEST_F(CryptCommands, StandardInputAndOutput) {
    const Bytes plain = RandomBytes(20000, 23);
    WriteBytes(Path("plain"), plain);
    const std::string key = " --key-env DVRKIT_TEST_KEY --crc";
    const std::string tool = "DVRKIT_TEST_KEY=pw " + std::string(kTool);
    EXPECT_EQ(Shell(tool + " crypt encrypt - - " + key + " < " + Path("plain") + " | " + tool + " crypt decrypt - " +
                    Path("dec") + key).first,
              0);
    EXPECT_EQ(ReadBytes(Path("dec")), plain);
    ASSERT_EQ(Run("crypt encrypt " + Path("plain") + " " + Path("enc") + " --key pw --crc").first, 0);
    const auto wrongKey = Shell("DVRKIT_TEST_KEY=px " + std::string(kTool) + " crypt decrypt " + Path("enc") + " - " +
                                "--key-env DVRKIT_TEST_KEY --crc 2>/dev/null");
    EXPECT_EQ(wrongKey, std::make_pair(2, std::string()));
    EXPECT_EQ(Shell(std::string(kTool) + " crypt crc - < " + Path("plain")).second, Run("crypt crc " + Path("plain")).second);
    EXPECT_EQ(FilesInFolder(), 3u) << "no temporary file is left";
}

// The bar is drawn for large work on a terminal (here the pseudo-terminal of script(1)) and
// never into a pipe.
TEST_F(CryptCommands, ProgressBarOnlyOnATerminal) {
    WriteBytes(Path("plain"), RandomBytes(4 << 20, 23));
    WriteBytes(Path("key"), {'k'});
    const std::string args = "crypt encrypt " + Path("plain") + " " + Path("enc") + " --key-file " + Path("key");
    EXPECT_EQ(Run(args, true), std::make_pair(0, std::string()));
    if (!std::filesystem::exists("/usr/bin/script")) GTEST_SKIP() << "script(1) is not installed";
    const auto [status, terminal] = Shell("/usr/bin/script -qec '" + std::string(kTool) + " " + args + "' /dev/null");
    EXPECT_EQ(status, 0);
    EXPECT_NE(terminal.find("%"), std::string::npos) << terminal;
}

// Every way of giving the key. Only --key, which puts the key in the process list, warns.
TEST_F(CryptCommands, KeySources) {
    const Bytes plain = RandomBytes(10000, 24);
    WriteBytes(Path("plain"), plain);
    WriteBytes(Path("key"), {'p', 'w', '\n'});
    const std::string encrypt = "crypt encrypt " + Path("plain") + " " + Path("enc") + " ";
    const std::string decrypt = "crypt decrypt " + Path("enc") + " " + Path("dec") + " --key-file " + Path("key");
    struct Case {
        const char* what;
        std::string command;
        int status;
        const char* message;  // expected on stderr; "" for nothing at all
    };
    const Case cases[] = {
        {"file", std::string(kTool) + " " + encrypt + "--key-file " + Path("key"), 0, ""},
        {"environment", "DVRKIT_TEST_KEY=pw " + std::string(kTool) + " " + encrypt + "--key-env DVRKIT_TEST_KEY", 0, ""},
        {"command line", std::string(kTool) + " " + encrypt + "--key pw", 0, "warning: --key shows the key"},
        {"unset variable", "env -u DVRKIT_TEST_KEY " + std::string(kTool) + " " + encrypt + "--key-env DVRKIT_TEST_KEY",
         1, "DVRKIT_TEST_KEY is not set"},
        {"empty variable", "DVRKIT_TEST_KEY= " + std::string(kTool) + " " + encrypt + "--key-env DVRKIT_TEST_KEY", 1,
         "the key is empty"},
        {"no key and no terminal", std::string(kTool) + " " + encrypt + "< /dev/null", 1, "no key"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(Path("enc"));
        const auto [status, stderrText] = Shell(c.command + " 2>&1 >/dev/null");
        EXPECT_EQ(status, c.status);
        if (*c.message)
            EXPECT_NE(stderrText.find(c.message), std::string::npos) << stderrText;
        else
            EXPECT_EQ(stderrText, "");
        if (c.status != 0) continue;
        ASSERT_EQ(Run(decrypt).first, 0);
        EXPECT_EQ(ReadBytes(Path("dec")), plain);
    }
}

// On a terminal (the pseudo-terminal of script(1)) the key is asked, twice for encryption.
TEST_F(CryptCommands, KeyPrompt) {
    if (!std::filesystem::exists("/usr/bin/script")) GTEST_SKIP() << "script(1) is not installed";
    const Bytes plain = RandomBytes(1000, 25);
    WriteBytes(Path("plain"), plain);
    const auto prompted = [&](const std::string& typed, const std::string& args) {
        return Shell("printf '" + typed + "' | /usr/bin/script -qec '" + std::string(kTool) + " " + args +
                     "' /dev/null");
    };
    const auto [status, terminal] = prompted("pw\\npw\\n", "crypt encrypt " + Path("plain") + " " + Path("enc"));
    EXPECT_EQ(status, 0) << terminal;
    EXPECT_NE(terminal.find("Key again: "), std::string::npos) << terminal;
    ASSERT_EQ(Run("crypt decrypt " + Path("enc") + " " + Path("dec") + " --key pw").first, 0);
    EXPECT_EQ(ReadBytes(Path("dec")), plain);

    std::filesystem::remove(Path("enc"));
    EXPECT_EQ(prompted("pw\\npx\\n", "crypt encrypt " + Path("plain") + " " + Path("enc")).first, 1);
    EXPECT_FALSE(std::filesystem::exists(Path("enc")));
}

TEST_F(CryptCommands, Crc) {
    WriteBytes(Path("abc"), {'a', 'b', 'c'});
    EXPECT_EQ(Run("crypt crc " + Path("abc")), std::make_pair(0, std::string("352441c2\n")));
    WriteBytes(Path("empty"), {});
    EXPECT_EQ(Run("crypt crc " + Path("empty")).second, "00000000\n");
    EXPECT_NE(Run("crypt crc " + Path("missing")).first, 0);
}

}  // namespace
