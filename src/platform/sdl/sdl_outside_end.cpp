#include "platform/sdl/sdl_outside_end.h"

#include <SDL.h>
#include <dlfcn.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

// Last: with the window system's headers it brings in their macros (None, Status, ...).
#include <SDL_syswm.h>

namespace {

void (*CloseHandler)() = nullptr;
bool Closing = false;        // the close handler runs, closing from outside
bool CloseDeferred = false;  // see CloseAtNextEvents
bool Lost = false;
void* WaylandDisplay = nullptr;  // SDL's connection to the compositor, on Wayland

// SDL answers SIGTERM with the close box's event; a hang-up is passed on as one.
void OnHangUp(int) {
    std::raise(SIGTERM);
}

// Xlib calls this when the display's connection breaks, and ends the process itself if it
// returns; it never does. The close runs as from the close box, with nothing drawn.
void NoteDisplayLost() {
    Lost = true;
    std::fprintf(stderr, "vexlan: the display went away; saving and ending\n");
}
int OnDisplayLost(void*) {
    if (Lost) std::_Exit(1);  // the way out touched the display again
    NoteDisplayLost();
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

// SDL answers a broken connection to the Wayland compositor with the close box's event; the
// connection's own error tells the two apart. Asked through the libwayland SDL loaded.
bool WaylandConnectionBroken() {
    if (!WaylandDisplay) return false;
    void* wayland = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!wayland) return false;
    using GetError = int (*)(void*);
    const auto getError = reinterpret_cast<GetError>(dlsym(wayland, "wl_display_get_error"));
    const bool broken = getError && getError(WaylandDisplay) != 0;
    dlclose(wayland);
    return broken;
}

void WatchTheWaylandDisplay(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_WAYLAND)
        WaylandDisplay = info.info.wl.display;
}

}  // namespace

void SetCloseHandler(void (*onClose)()) {
    CloseHandler = onClose;
}

void CloseFromOutside() {
    if (!Lost && WaylandConnectionBroken()) NoteDisplayLost();
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

void WatchOutsideEnds(SDL_Window* window) {
    // Left alone where it was ignored on purpose (nohup).
    struct sigaction current {};
    if (sigaction(SIGHUP, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGHUP, OnHangUp);
    WatchTheXDisplay();
    WatchTheWaylandDisplay(window);
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
