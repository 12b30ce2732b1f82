// Linked into every executable of the sanitizer build. LeakSanitizer asks for this function at
// exit: memory that a system library keeps for the life of the process and never frees is not a
// leak of ours. fontconfig holds its configuration that way once Qt has loaded a font.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
