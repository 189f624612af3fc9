// LeakSanitizer's suppressions for programs that draw text (the tool, the drawing and window
// tests): fontconfig 2.14 loses a few hundred bytes while it parses its configuration files,
// once per process, inside its own code, and libdbus keeps what SDL's start on an X display has it
// allocate (the tool's view commands), and librelp 1.11 does not free a session's permitted peers
// and TLS state when it is destroyed (the tool's forward over RELP with TLS). Leaks anywhere else
// are still reported (librelp's allocations are made inside libcrypto: they are seen as librelp's
// only with whole stacks, fast_unwind_on_malloc=0). Not part of the library: a host decides its
// own sanitizer settings. Linked as an object library, because nothing references the hook but
// the sanitizer's runtime.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libdbus-1.so\nleak:librelp.so\n"; }
