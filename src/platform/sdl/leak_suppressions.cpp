// Read by LeakSanitizer in the sanitizer build; unused otherwise. libdbus keeps a buffer of its
// own (1032 bytes) until dbus_shutdown(), which SDL 2.26 leaves to the application on purpose,
// since another part of a process may still use the bus. The game does not talk to the bus
// itself, so the buffer is the library's to keep: it is suppressed here, by library name,
// rather than in the environment of everyone who runs the game.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
