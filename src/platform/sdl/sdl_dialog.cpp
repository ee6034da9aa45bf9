#include "platform/sdl/sdl_dialog.h"

#include <vector>

#include "platform/key_state.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_window.h"

namespace {

constexpr uint32_t FrameColour = 0x5A5A5A;
constexpr uint32_t CaptionFill = 0xFFFFFF;
constexpr uint32_t BodyFill = 0xF0F0F0;
constexpr uint32_t ButtonFill = 0xE1E1E1;
constexpr uint32_t ButtonBorder = 0xADADAD;
constexpr uint32_t PressedFill = 0xCCE4F7;
constexpr int CaptionInset = 8;

// The boxes open, the outermost first: a box opened from another is drawn over it.
std::vector<const std::function<void()>*> OpenBoxes;

void DrawOpenBoxes() {
    for (const std::function<void()>* draw : OpenBoxes) (*draw)();
}

}  // namespace

UiRect CentredOnPlayArea(int width, int height) {
    const UiRect play = PlayArea();
    return {play.X + (play.W - width) / 2, play.Y + (play.H - height) / 2, width, height};
}

void DrawDialogFrame(const UiRect& box, const std::string& title) {
    UiFill(box, BodyFill);
    UiFill({box.X, box.Y, box.W, DialogCaptionHeight}, CaptionFill);
    UiTextIn({box.X, box.Y, box.W, DialogCaptionHeight}, title, CaptionInset, DialogTextColour);
    UiOutline(box, FrameColour);
}

void DrawDialogButton(const UiRect& rect, const std::string& label, bool pressed, bool focused) {
    UiFill(rect, pressed ? PressedFill : ButtonFill);
    UiOutline(rect, focused ? DialogFocusColour : ButtonBorder);
    UiTextIn(rect, label, (rect.W - UiTextWidth(label)) / 2, DialogTextColour);
}

void RunDialogLoop(const std::function<void()>& draw, const std::function<void(SDL_Event&)>& handle,
                   const std::function<bool()>& finished, int wakeMs) {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
    SDL_FlushEvents(SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP);
    ForgetPadPresses();
    OpenBoxes.push_back(&draw);
    while (!finished()) {
        RedrawWindow(DrawOpenBoxes);
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, wakeMs)) continue;
        // Everything queued is taken before the next drawing, so fast typing never falls
        // behind the screen.
        do {
            handle(event);
        } while (!finished() && SDL_PollEvent(&event));
    }
    OpenBoxes.pop_back();
    ForgetKeyState();
    ForgetPadPresses();
    RedrawWindow(DrawOpenBoxes);
}
