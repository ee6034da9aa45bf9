#include "platform/sdl/sdl_pause.h"

#include <SDL_mixer.h>

#include "platform/sdl/sdl_bindings.h"
#include "platform/sdl/sdl_ui.h"
#include "platform/sdl/sdl_window.h"

namespace {

bool FocusAway = false;         // the window lost the keyboard focus or was minimised
bool PlayerPaused = false;      // P or Pause pressed, until pressed again
bool PauseKeysAllowed = false;  // during play

// How often the pause looks at the clock even when nothing happens: signals (SIGTERM) become a
// quit event only when events are pumped.
constexpr int PauseWakeMs = 250;
constexpr Uint8 DimAlpha = 160;  // of black over the last frame
constexpr uint32_t PauseTextColour = 0xFFFFFF;
constexpr int PauseTextMagnification = 4;
constexpr int PauseHintDrop = 40;  // below the middle of "PAUSE"

bool Paused() {
    return FocusAway || PlayerPaused;
}

bool IsPauseKey(const SDL_Event& event) {
    if (!PauseKeysAllowed || event.type != SDL_KEYDOWN || event.key.repeat) return false;
    if ((event.key.keysym.mod & ChordModifiers) != 0) return false;
    Action action{};
    return KeyBindings().FindAction(KeyCodeOf(event.key.keysym), action) && action == Action::Pause;
}

void DrawPause() {
    const UiRect play = PlayArea();
    UiShade(play, DimAlpha);
    UiTextMagnified("PAUSE", play.X + play.W / 2, play.Y + play.H / 2, PauseTextColour,
                    PauseTextMagnification);
    const std::string hint = "F9 / パッドのガイドボタン: 設定";
    UiText(hint, play.X + (play.W - UiTextWidth(hint)) / 2, play.Y + play.H / 2 + PauseHintDrop,
           PauseTextColour);
}

}  // namespace

// Pauses the effects, and the mixer's music unless it is paused already; returns whether it
// was held. The tune resumes where it stopped: a tune the game itself paused stays paused. (The
// tune played from its rendering is no music of the mixer's own, so whether the mixer plays any
// is not asked: the rendering's player honours the pause too.)
bool HoldSounds() {
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) return false;
    Mix_Pause(-1);
    const bool musicHeld = !Mix_PausedMusic();
    if (musicHeld) Mix_PauseMusic();
    return musicHeld;
}

void ReleaseSounds(bool musicHeld) {
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0) return;
    Mix_Resume(-1);
    if (musicHeld) Mix_ResumeMusic();
}

void AllowPauseKeys(bool allowed) {
    PauseKeysAllowed = allowed;
}

void TogglePlayerPause() {
    PlayerPaused = !PlayerPaused;
}

void NotePauseButton() {
    if (PauseKeysAllowed) PlayerPaused = !PlayerPaused;
}

void NotePauseEvent(const SDL_Event& event) {
    if (IsPauseKey(event)) PlayerPaused = !PlayerPaused;
    if (event.type != SDL_WINDOWEVENT) return;
    switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
            FocusAway = true;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            FocusAway = false;
            break;
        default:
            break;
    }
}

void PauseIfAsked(const std::function<void(const SDL_Event&)>& handle) {
    if (!Paused()) return;
    const bool musicHeld = HoldSounds();
    // Drawn again only after events: the paused picture does not change by itself.
    bool redraw = true;
    while (Paused()) {
        if (redraw) RedrawWindow(DrawPause);
        SDL_Event event;
        redraw = SDL_WaitEventTimeout(&event, PauseWakeMs) != 0;
        if (!redraw) continue;
        do {
            handle(event);
        } while (Paused() && SDL_PollEvent(&event));
    }
    ReleaseSounds(musicHeld);
    RedrawWindow();
}
