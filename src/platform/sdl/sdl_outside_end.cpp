#include "platform/sdl/sdl_outside_end.h"

#include <SDL.h>
#include <dlfcn.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace {

void (*CloseHandler)() = nullptr;
bool Closing = false;        // the close handler runs, closing from outside
bool CloseDeferred = false;  // see CloseAtNextEvents
bool Lost = false;

// SDL answers SIGTERM with the close box's event; a hang-up is passed on as one.
void OnHangUp(int) {
    std::raise(SIGTERM);
}

// Xlib calls this when the display's connection breaks, and ends the process itself if it
// returns; it never does. The close runs as from the close box, with nothing drawn.
int OnDisplayLost(void*) {
    if (Lost) std::_Exit(1);  // the way out touched the display again
    Lost = true;
    std::fprintf(stderr, "vexlan: the display went away; saving and ending\n");
    CloseFromOutside();
    EndProgram(1);
}

// Xlib is SDL's to load: its handler is set through the library already in the process, and
// only when SDL talks to an X server.
void WatchTheXDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return;
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return;
    using IoErrorHandler = int (*)(void*);
    using SetIoErrorHandler = IoErrorHandler (*)(IoErrorHandler);
    if (auto set = reinterpret_cast<SetIoErrorHandler>(dlsym(xlib, "XSetIOErrorHandler")))
        set(OnDisplayLost);
    dlclose(xlib);
}

}  // namespace

void SetCloseHandler(void (*onClose)()) {
    CloseHandler = onClose;
}

void CloseFromOutside() {
    Closing = true;
    if (CloseHandler) CloseHandler();
    Closing = false;  // a handler that returns leaves the program running (a test's)
}

bool ClosingFromOutside() {
    return Closing || CloseDeferred;
}

void CloseAtNextEvents() {
    CloseDeferred = true;
}

void RunDeferredClose() {
    if (!CloseDeferred) return;
    CloseDeferred = false;
    CloseFromOutside();
}

void WatchOutsideEnds() {
    // Left alone where it was ignored on purpose (nohup).
    struct sigaction current {};
    if (sigaction(SIGHUP, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGHUP, OnHangUp);
    WatchTheXDisplay();
}

bool DisplayLost() {
    return Lost;
}

// A lost display ends the program as Xlib would (status 1), without asking SDL to close what
// is no longer there.
void EndProgram(int status) {
    if (Lost) std::exit(1);
    SDL_Quit();
    std::exit(status);
}
