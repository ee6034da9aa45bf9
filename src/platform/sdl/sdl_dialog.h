// What the game window's boxes share, the message boxes and the name dialog alike: one look
// (caption bar, body, buttons, in the window's font) and one modal loop over the last frame.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

#include "platform/sdl/sdl_ui.h"

constexpr int DialogCaptionHeight = 26;
constexpr int DialogButtonWidth = 75;
constexpr int DialogButtonHeight = 23;
constexpr int DialogMargin = 12;  // between the body's edge and what it holds

constexpr uint32_t DialogTextColour = 0x000000;
constexpr uint32_t DialogFocusColour = 0x0078D7;

// A box of the given size, centred on the play area.
UiRect CentredOnPlayArea(int width, int height);

// The box's body and frame, with its caption bar.
void DrawDialogFrame(const UiRect& box, const std::string& title);
// A push button. The focused one (the one Return presses) wears the focus colour.
void DrawDialogButton(const UiRect& rect, const std::string& label, bool pressed, bool focused);

// Runs a box until `finished()`: the window shows the last frame with `draw` on top (over the
// box it was opened from, if any), redrawn after every batch of events (an expose or a resize
// included) and at least every `wakeMs`.
// Nothing of the game runs meanwhile. Keys and pad buttons pressed before the box appeared are
// dropped, and the key state is forgotten when it closes: keys released over the box never
// reach the game.
void RunDialogLoop(const std::function<void()>& draw, const std::function<void(SDL_Event&)>& handle,
                   const std::function<bool()>& finished, int wakeMs);

// The error box of a failure the program cannot go on from: OK only, and the window's close box
// just closes it. Shown only when the window is open.
void ShowFatalBox(const std::string& text);

// A left click counts when it is released on the button it was pressed on: `pressed` remembers
// the button under the press. Returns the button released on, or `none`.
template <typename Button>
Button TrackClick(const SDL_Event& event, Button& pressed, Button none,
                  const std::function<Button(int x, int y)>& buttonAt) {
    if (event.button.button != SDL_BUTTON_LEFT) return none;
    const Button under = buttonAt(event.button.x, event.button.y);
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        pressed = under;
        return none;
    }
    const Button clicked = under == pressed ? under : none;
    pressed = none;
    return clicked;
}
