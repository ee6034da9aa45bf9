#include "platform/sdl/sdl_watch.h"

#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "platform/sdl/sdl_pause.h"
#include "platform/sdl/sdl_window.h"
#include "platform/watch_control.h"

namespace {

constexpr int BarHeight = 30;
constexpr int BarInset = 10;  // the track's distance from the play area's sides
constexpr int TrackHeight = 6;
constexpr uint8_t BarShade = 170;
constexpr uint32_t TrackColour = 0x505050;
constexpr uint32_t PlayedColour = 0x3C8CFF;
constexpr uint32_t BossColour = 0xFF5040;
constexpr uint32_t EndColour = 0xFFFFFF;
constexpr uint32_t TextColour = 0xFFFFFF;
constexpr uint32_t InputOnColour = 0xFFFFFF;
constexpr uint32_t FireOnColour = 0xFFD040;
constexpr uint32_t InputOffColour = 0x484848;
constexpr int InputCell = 14;    // one arrow's square
constexpr int HoldWakeMs = 250;  // signals become a quit event only when events are pumped

bool Dragging = false;  // the left button went down on the bar and is still down

UiRect Bar() {
    const UiRect play = PlayArea();
    return {play.X, play.Y + play.H - BarHeight, play.W, BarHeight};
}

UiRect Track() {
    const UiRect bar = Bar();
    return {bar.X + BarInset, bar.Y + bar.H - TrackHeight - 5, bar.W - 2 * BarInset, TrackHeight};
}

int XOfFrame(int64_t frame) {
    const UiRect track = Track();
    const int64_t frames = std::max<int64_t>(WatchedFrames(), 1);
    return track.X +
           static_cast<int>((frame - 1) * (track.W - 1) / std::max<int64_t>(frames - 1, 1));
}

int64_t FrameAtX(int x) {
    const UiRect track = Track();
    const int64_t frames = WatchedFrames();
    const int64_t along = std::clamp(x - track.X, 0, track.W - 1);
    return 1 + (along * (frames - 1) + (track.W - 1) / 2) / std::max(track.W - 1, 1);
}

// m:ss.s of the recorded game at twenty frames a second.
std::string TimeText(int64_t frame) {
    const int64_t tenths = frame / 2;
    const std::string seconds = std::to_string(tenths / 10 % 60);
    return std::to_string(tenths / 600) + ":" + (seconds.size() < 2 ? "0" : "") + seconds + "." +
           std::to_string(tenths % 10);
}

void DrawBar() {
    const UiRect bar = Bar();
    UiShade(bar, BarShade);
    const UiRect track = Track();
    UiFill(track, TrackColour);
    const int at = XOfFrame(WatchedFrame());
    UiFill({track.X, track.Y, at - track.X + 1, track.H}, PlayedColour);
    const int64_t boss = WatchedBossFrame();
    if (boss > 0 && boss <= WatchedFrames())
        UiFill({XOfFrame(boss) - 1, track.Y - 3, 3, track.H + 6}, BossColour);
    UiFill({track.X + track.W - 2, track.Y - 3, 2, track.H + 6}, EndColour);
    UiFill({at - 2, track.Y - 4, 5, track.H + 8}, TextColour);

    const std::string where = TimeText(WatchedFrame()) + " / " + TimeText(WatchedFrames()) +
                              "   frame " + std::to_string(WatchedFrame()) + " / " +
                              std::to_string(WatchedFrames());
    const int textY = bar.Y + 2;
    UiText(where, track.X, textY, TextColour);
    const std::string state =
        std::string(WatchPaused() ? "PAUSE  " : "") + WatchSpeedName(WatchSpeed());
    UiText(state, track.X + track.W - UiTextWidth(state), textY, TextColour);
    if (boss > 0 && boss <= WatchedFrames()) {
        const std::string mark = "BOSS";
        const int markX = std::clamp(XOfFrame(boss) - UiTextWidth(mark) / 2, track.X,
                                     track.X + track.W - UiTextWidth(mark));
        UiText(mark, markX, textY - UiTextHeight() - 1, BossColour);
    }
}

// A triangle pointing `towards` in a cell, lit when its direction was read as down.
void DrawArrow(const UiRect& cell, uint8_t towards, bool on) {
    const uint32_t colour = on ? InputOnColour : InputOffColour;
    switch (towards) {
        case InputUp:
            UiFillRows(cell, colour, [](float v) { return std::pair{0.5f - v / 2, 0.5f + v / 2}; });
            break;
        case InputDown:
            UiFillRows(cell, colour, [](float v) { return std::pair{v / 2, 1 - v / 2}; });
            break;
        case InputLeft:
            UiFillRows(cell, colour, [](float v) {
                return std::pair{1 - (v < 0.5f ? v : 1 - v) * 2, 1.0f};
            });
            break;
        default:
            UiFillRows(cell, colour, [](float v) {
                return std::pair{0.0f, (v < 0.5f ? v : 1 - v) * 2};
            });
            break;
    }
}

// A cross of the four directions and the fire button beside it, at the play area's bottom left
// above the bar.
void DrawInputs() {
    const uint8_t read = WatchedInputs();
    const UiRect bar = Bar();
    const int gap = 2;
    const UiRect box{bar.X + 6, bar.Y - 3 * InputCell - 4 * gap - 6, 5 * InputCell + 6 * gap,
                     3 * InputCell + 4 * gap};
    UiShade(box, BarShade);
    const int x = box.X + gap;
    const int y = box.Y + gap;
    const int step = InputCell + gap;
    DrawArrow({x + step, y, InputCell, InputCell}, InputUp, read & InputUp);
    DrawArrow({x, y + step, InputCell, InputCell}, InputLeft, read & InputLeft);
    DrawArrow({x + 2 * step, y + step, InputCell, InputCell}, InputRight, read & InputRight);
    DrawArrow({x + step, y + 2 * step, InputCell, InputCell}, InputDown, read & InputDown);
    const UiRect fire{x + 3 * step + gap, y + step - gap, InputCell + 2 * gap, InputCell + 2 * gap};
    UiFill(fire, (read & InputFire) ? FireOnColour : InputOffColour);
    UiTextIn(fire, "Z", (fire.W - UiTextWidth("Z")) / 2, (read & InputFire) ? 0x000000 : 0xA0A0A0);
}

bool HandleWatchKey(const SDL_KeyboardEvent& key) {
    if ((key.keysym.mod & ChordModifiers) != 0) return false;  // the desktop's and the window's
    const bool down = key.type == SDL_KEYDOWN;
    switch (key.keysym.sym) {
        case SDLK_SPACE:
        case SDLK_k:
            if (down && !key.repeat) ToggleWatchPause();
            return true;
        case SDLK_PERIOD:
            if (down) StepWatch(1);
            return true;
        case SDLK_COMMA:
            if (down) StepWatch(-1);
            return true;
        case SDLK_RIGHT:
        case SDLK_l:
            if (down) SeekWatchBy(WatchSeekFrames);
            return true;
        case SDLK_LEFT:
        case SDLK_j:
            if (down) SeekWatchBy(-WatchSeekFrames);
            return true;
        case SDLK_UP:
        case SDLK_PLUS:
        case SDLK_EQUALS:
        case SDLK_KP_PLUS:
            if (down && !key.repeat) ChangeWatchSpeed(1);
            return true;
        case SDLK_DOWN:
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            if (down && !key.repeat) ChangeWatchSpeed(-1);
            return true;
        case SDLK_HOME:
            if (down) SeekWatchTo(1);
            return true;
        case SDLK_END:
            if (down) SeekWatchTo(WatchedFrames());
            return true;
        case SDLK_b:
            if (down) SeekWatchTo(WatchedBossFrame());
            return true;
        case SDLK_i:
            if (down && !key.repeat) ToggleInputDisplay();
            return true;
        case SDLK_ESCAPE:
            if (down) UnloadMainWindow();
            return true;
        default:
            return false;
    }
}

void HandleWatchButton(uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
        case SDL_CONTROLLER_BUTTON_START:
            ToggleWatchPause();
            break;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            StepWatch(1);
            break;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            StepWatch(-1);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            SeekWatchBy(WatchSeekFrames);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            SeekWatchBy(-WatchSeekFrames);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            ChangeWatchSpeed(1);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            ChangeWatchSpeed(-1);
            break;
        case SDL_CONTROLLER_BUTTON_Y:
            ToggleInputDisplay();
            break;
        case SDL_CONTROLLER_BUTTON_BACK:
            UnloadMainWindow();
        default:
            break;
    }
}

}  // namespace

bool HandleWatchEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return HandleWatchKey(event.key);
        case SDL_CONTROLLERBUTTONDOWN:
            HandleWatchButton(event.cbutton.button);
            return true;  // the game's buttons are the replay's
        case SDL_CONTROLLERBUTTONUP:
            return true;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT ||
                !Bar().Contains(event.button.x, event.button.y))
                return false;
            Dragging = true;
            SeekWatchTo(FrameAtX(event.button.x));
            return true;
        case SDL_MOUSEMOTION:
            if (!Dragging) return false;
            SeekWatchTo(FrameAtX(event.motion.x));
            return true;
        case SDL_MOUSEBUTTONUP:
            if (!Dragging || event.button.button != SDL_BUTTON_LEFT) return false;
            Dragging = false;
            return true;
        default:
            return false;
    }
}

void WatchSleep(int32_t milliseconds) {
    const int32_t wait = WatchDelay(milliseconds);
    if (wait > 0) SDL_Delay(static_cast<Uint32>(wait));
}

void HoldWhileWatchPaused(const std::function<void(const SDL_Event&)>& handle) {
    if (!WatchPaused() || WatchMoveAsked()) return;
    const bool musicHeld = HoldSounds();
    while (WatchPaused() && !WatchMoveAsked()) {
        RedrawWindow();
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, HoldWakeMs)) continue;
        do {
            handle(event);
        } while (WatchPaused() && !WatchMoveAsked() && SDL_PollEvent(&event));
    }
    ReleaseSounds(musicHeld);
}

void DrawWatchOverlay() {
    DrawBar();
    if (InputDisplayShown()) DrawInputs();
}
