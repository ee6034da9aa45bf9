// The real platform on SDL2: the game window, the keyboard, the clocks and the message boxes.
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <sched.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "platform/answers.h"
#include "platform/key_state.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_bindings.h"
#include "platform/sdl/sdl_dialog.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_menu.h"
#include "platform/sdl/sdl_outside_end.h"
#include "platform/sdl/sdl_pause.h"
#include "platform/sdl/sdl_settings_dialog.h"
#include "platform/sdl/sdl_watch.h"
#include "platform/sdl/sdl_window.h"
#include "platform/watch_control.h"

namespace {

WindowHandlers Handlers;
bool ReplayListAsked = false;  // F8: opened once the events being taken have been taken

// The desktop's opener of the last document asked for, until it has exited and been reaped.
struct DocumentOpener {
    pid_t Pid = 0;
    std::string Path;
};
DocumentOpener Opener;

int VirtualKeyOf(const SDL_Keysym& key) {
    const InputCode code = KeyCodeOf(key);
    Action action{};
    return KeyBindings().FindAction(code, action) ? VirtualKeyForKey(action, code) : 0;
}

bool IsWindowKey(const SDL_KeyboardEvent& key, SDL_Keycode windowKey) {
    return key.type == SDL_KEYDOWN && !key.repeat && key.keysym.sym == windowKey &&
           (key.keysym.mod & ChordModifiers) == 0;
}

// The settings or the replay list, asked for by their keys.
void OpenBoxesIfAsked() {
    OpenSettingsIfAsked();
    if (!ReplayListAsked) return;
    ReplayListAsked = false;
    if (Handlers.onReplayList) Handlers.onReplayList();
}

// Alt+Enter and F11: the window's own keys, taken before the game's filter sees them.
bool IsFullscreenToggle(const SDL_KeyboardEvent& key) {
    if (key.type != SDL_KEYDOWN || key.repeat) return false;
    if (key.keysym.sym == SDLK_F11) return (key.keysym.mod & ChordModifiers) == 0;
    const bool enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
    return enter && (key.keysym.mod & KMOD_ALT) != 0;
}

void ApplyKeyEvent(const SDL_Event& event) {
    if (IsFullscreenToggle(event.key)) {
        ToggleFullscreen();
        return;
    }
    if (IsWindowKey(event.key, SettingsKey)) {
        AskForSettings();
        return;
    }
    if (IsWindowKey(event.key, ReplayListKey)) {
        ReplayListAsked = true;
        return;
    }
    NotePauseEvent(event);
    // A chord's key-down is not the game's; a release always is, so that no key stays down.
    const bool down = event.type == SDL_KEYDOWN;
    if (down && (event.key.repeat || (event.key.keysym.mod & ChordModifiers) != 0)) return;
    const int vk = VirtualKeyOf(event.key.keysym);
    if (vk != 0) SetKeyDown(vk, down);
}

// The key state the game reads is the one left by the last look at the events: DoEvents, the
// end of each frame wait and the boxes' own loops. At the end of a frame wait the keys and pads
// are taken from the queue, so the frame about to run reads them fresh; everything else (the
// menu, the close box) waits for DoEvents.
void TakeInputEvents() {
    SDL_PumpEvents();
    SDL_Event events[32];
    int count = 0;
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_KEYDOWN, SDL_KEYUP)) > 0) {
        for (int i = 0; i < count; ++i) ApplyKeyEvent(events[i]);
    }
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION,
                                   SDL_CONTROLLERDEVICEREMOVED)) > 0) {
        for (int i = 0; i < count; ++i) HandleGamepadEvent(events[i]);
    }
    OpenBoxesIfAsked();
}

int64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int32_t MachineTick() {
    return static_cast<int32_t>(static_cast<uint32_t>(MonotonicMs()));
}

// One event of the window: keys, the close box, the menu bar.
void HandleWindowEvent(const SDL_Event& event) {
    if (CurrentPace() == PlaybackPace::Watching && HandleWatchEvent(event)) return;
    switch (event.type) {
        case SDL_QUIT:
            CloseFromOutside();
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            ApplyKeyEvent(event);
            break;
        case SDL_WINDOWEVENT:
            NotePauseEvent(event);
            HandleWindowChange(event.window);
            break;
        default:
            if (!HandleGamepadEvent(event)) HandleMenuEvent(event, Handlers);
            break;
    }
    OpenBoxesIfAsked();
}

// Where no program could open the document (no xdg-open, or none for its type), the player is
// told where it is, so that it can still be read.
void TellWhereTheDocumentIs(const std::string& path) {
    std::error_code unknown;
    const bool folder = std::filesystem::is_directory(path, unknown);
    MessageBox("No program could open the " + std::string(folder ? "folder" : "read-me") +
                   ". It is here:\n" + path,
               "", BoxButtons::Ok, BoxIcon::Information);
}

}  // namespace

void CheckDocumentOpener() {
    if (Opener.Pid == 0) return;
    int status = 0;
    const pid_t done = waitpid(Opener.Pid, &status, WNOHANG);
    if (done == 0) return;
    Opener.Pid = 0;
    if (done < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        TellWhereTheDocumentIs(Opener.Path);
}

// A replay answers in place of the keyboard and the clocks (platform/answers.h). No events are
// taken here: every query of a frame reads the same snapshot, whatever their order.
uint16_t GetAsyncKeyState(int virtualKey) {
    if (PlayingAnswers()) {
        const uint16_t state = PlayedKeyState(virtualKey);
        NoteWatchedKey(virtualKey, state);
        return state;
    }
    return RecordKeyState(virtualKey, TakeKeyState(virtualKey));
}

int32_t TickCount() {
    if (PlayingAnswers()) return PlayedTick();
    return RecordTick(MachineTick());
}

// In milliseconds: the generator keeps its own state between reseeds, so a finer clock would
// add nothing to the game but bytes to every replay.
uint64_t TimeOfDaySeed() {
    if (PlayingAnswers()) return PlayedSeed();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return RecordSeed(uint64_t(now.tv_sec) * 1000ull + uint64_t(now.tv_nsec) / 1000000ull);
}

void SleepMs(int32_t milliseconds) {
    if (milliseconds <= 0) return;
    switch (CurrentPace()) {
        case PlaybackPace::Live:
            SDL_Delay(static_cast<Uint32>(milliseconds));
            break;
        case PlaybackPace::Watching:
            WatchSleep(milliseconds);
            break;
        case PlaybackPace::Fastest:
            break;
    }
}

// The wait reads the machine's clock, not the game's: what it reads is no answer to the game, so
// a replay holds the same clock readings whichever platform recorded it.
void SleepUntilTick(int32_t tick) {
    switch (CurrentPace()) {
        case PlaybackPace::Live:
            break;
        case PlaybackPace::Watching:
            WatchSleep(tick - LastPlayedTick());
            return;
        case PlaybackPace::Fastest:
            return;
    }
    // One sleep to the very millisecond the tick begins: the clock the ticks count is the
    // monotonic clock itself, so its deadline is exact and the frame wakes only once.
    const int64_t nowMs = MonotonicMs();
    const int32_t remaining = tick - static_cast<int32_t>(static_cast<uint32_t>(nowMs));
    if (remaining <= 0) return;
    const int64_t deadlineMs = nowMs + remaining;
    const timespec deadline{static_cast<time_t>(deadlineMs / 1000),
                            static_cast<long>(deadlineMs % 1000 * 1000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

void DoEvents() {
    if (CurrentPace() == PlaybackPace::Fastest) return;  // no window to take events from
    RunDeferredClose();
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleWindowEvent(event);
    CheckDocumentOpener();
}

void SetWindowHandlers(const WindowHandlers& handlers) {
    Handlers = handlers;
    SetCloseHandler(handlers.onClose);
}

void UnloadMainWindow() {
    if (Handlers.onClose) Handlers.onClose();
    EndProgram(0);
}

void OpenDocument(const std::string& path) {
    if (Opener.Pid != 0) return;  // still opening the last one
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0) {
        TellWhereTheDocumentIs(path);
        return;
    }
    Opener = {child, path};
}

// A program of its own, so the game in this window goes on as it was. Started through a child
// that exits at once, so that nothing is left to reap.
void WatchReplayFile(const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        if (fork() == 0) {
            setsid();
            execl("/proc/self/exe", "vexlan", "--replay", path.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(0);
    }
    if (child > 0) waitpid(child, nullptr, 0);
}

void ChangeDirectory(const std::string& path) {
    if (chdir(path.c_str()) != 0) std::perror(("chdir " + path).c_str());
}

void FatalError(const std::string& message) {
    static bool failing = false;  // a failure while saving or telling of one ends at once
    std::fprintf(stderr, "vexlan: %s\n", message.c_str());
    if (!failing) {
        failing = true;
        if (Handlers.onFatalError) Handlers.onFatalError();
        if (CurrentPace() != PlaybackPace::Fastest) ShowFatalBox(message);
    }
    if (!DisplayLost()) SDL_Quit();
    std::exit(1);
}

// The pause holds the game here, between two frames. The menu bar is not for a paused game.
void FrameWaitBegins() {
    if (CurrentPace() == PlaybackPace::Fastest) return;
    const auto handle = [](const SDL_Event& event) {
        const bool click = event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP;
        if (CurrentPace() == PlaybackPace::Watching && HandleWatchEvent(event)) return;
        if (!click) HandleWindowEvent(event);
    };
    if (CurrentPace() == PlaybackPace::Watching) {
        WatchFrameBegins();
        HoldWhileWatchPaused(handle);
        FollowWatchMove();
    }
    PauseIfAsked(handle);
}
void FrameWaitEnds() {
    if (CurrentPace() == PlaybackPace::Live) TakeInputEvents();  // a replay's keys are its own
    NoteFrameEnd();
}
