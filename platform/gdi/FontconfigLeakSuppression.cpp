// LeakSanitizer's suppressions for programs that draw text (the tool, the drawing and window
// tests): fontconfig 2.14 loses a few hundred bytes while it parses its configuration files,
// once per process, inside its own code, and libdbus keeps what SDL's start on an X display has it
// allocate (the tool's view commands). Leaks anywhere else are still reported. Not part of
// the library: a host decides its own sanitizer settings. Linked as an object library, because
// nothing references the hook but the sanitizer's runtime.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libdbus-1.so\n"; }
