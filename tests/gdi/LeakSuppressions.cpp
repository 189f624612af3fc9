// LeakSanitizer's suppressions for this test program: fontconfig 2.14 loses a few hundred
// bytes while it parses its configuration files, once per process, inside its own code.
// Leaks anywhere else are still reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
