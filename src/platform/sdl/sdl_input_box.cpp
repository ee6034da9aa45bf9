// The name dialog, drawn in the game window over the last frame: caption, prompt, a one-line
// field and OK / Cancel. Text arrives through SDL text input, so an input method can compose
// Japanese; its composition is shown underlined at the caret until it is committed.
#include <algorithm>

#include "platform/sdl/sdl_ui.h"
#include "platform/sdl/sdl_window.h"
#include "platform/text_field.h"

namespace {

constexpr uint32_t FrameColour = 0x5A5A5A;
constexpr uint32_t CaptionFill = 0xFFFFFF;
constexpr uint32_t BodyFill = 0xF0F0F0;
constexpr uint32_t TextColour = 0x000000;
constexpr uint32_t ButtonFill = 0xE1E1E1;
constexpr uint32_t ButtonBorder = 0xADADAD;
constexpr uint32_t PressedFill = 0xCCE4F7;
constexpr uint32_t FocusColour = 0x0078D7;
constexpr uint32_t RefusedColour = 0xE81123;
constexpr int CaretBlinkMs = 500;

enum class Outcome { Pending, Ok, Cancel };
enum class Button { None, Ok, Cancel };

// Centred on the play area.
struct DialogLayout {
    UiRect Box{60, MenuBarHeight + 225, 380, 150};
    UiRect Caption{Box.X, Box.Y, Box.W, 26};
    UiRect Prompt{Box.X + 12, Box.Y + 38, Box.W - 111, 40};
    UiRect OkButton{Box.X + Box.W - 87, Box.Y + 38, 75, 23};
    UiRect CancelButton{Box.X + Box.W - 87, Box.Y + 69, 75, 23};
    UiRect Field{Box.X + 12, Box.Y + Box.H - 35, Box.W - 24, 23};
};
const DialogLayout Layout;

struct Dialog {
    std::string Prompt;
    std::string Title;
    TextField Field;
    std::string Composition;  // what the input method is composing, not yet typed
    bool Refused = false;     // the last edit was refused: the field shows it
    Button Pressed = Button::None;
    Uint32 BlinkStart = 0;  // the caret shows steadily for a moment after each keystroke
    Outcome Result = Outcome::Pending;
};

Button ButtonAt(int x, int y) {
    if (Layout.OkButton.Contains(x, y)) return Button::Ok;
    if (Layout.CancelButton.Contains(x, y)) return Button::Cancel;
    return Button::None;
}

void DrawButton(const UiRect& rect, const std::string& label, bool pressed, bool isDefault) {
    UiFill(rect, pressed ? PressedFill : ButtonFill);
    UiOutline(rect, isDefault ? FocusColour : ButtonBorder);
    UiTextIn(rect, label, (rect.W - UiTextWidth(label)) / 2, TextColour);
}

// The text with the composition at the caret, scrolled so that the caret stays in view.
void DrawFieldText(const Dialog& dialog) {
    const UiRect& field = Layout.Field;
    const std::string before = dialog.Field.Text.substr(0, dialog.Field.Caret);
    const std::string after = dialog.Field.Text.substr(dialog.Field.Caret);
    const int beforeWidth = UiTextWidth(before);
    const int composingWidth = UiTextWidth(dialog.Composition);
    const int caretX = beforeWidth + composingWidth;
    const int scroll = std::max(0, caretX - (field.W - 8));
    const int left = field.X + 4 - scroll;
    UiClip({field.X + 1, field.Y + 1, field.W - 2, field.H - 2});
    UiTextIn({left, field.Y, 0, field.H}, before, 0, TextColour);
    UiTextIn({left + beforeWidth, field.Y, 0, field.H}, dialog.Composition, 0, TextColour);
    if (composingWidth > 0)
        UiFill({left + beforeWidth, field.Y + field.H - 5, composingWidth, 1}, TextColour);
    UiTextIn({left + caretX, field.Y, 0, field.H}, after, 0, TextColour);
    if (((SDL_GetTicks() - dialog.BlinkStart) / CaretBlinkMs) % 2 == 0)
        UiFill({left + caretX, field.Y + 4, 1, field.H - 8}, TextColour);
    UiClip({});
}

void DrawDialog(const Dialog& dialog) {
    UiFill(Layout.Box, BodyFill);
    UiFill(Layout.Caption, CaptionFill);
    UiTextIn(Layout.Caption, dialog.Title, 8, TextColour);
    UiOutline(Layout.Box, FrameColour);
    UiText(dialog.Prompt, Layout.Prompt.X, Layout.Prompt.Y, TextColour);
    DrawButton(Layout.OkButton, "OK", dialog.Pressed == Button::Ok, true);
    DrawButton(Layout.CancelButton, "Cancel", dialog.Pressed == Button::Cancel, false);
    UiFill(Layout.Field, 0xFFFFFF);
    UiOutline(Layout.Field, dialog.Refused ? RefusedColour : FocusColour);
    DrawFieldText(dialog);
}

// Editing keys repeat while held; OK and Cancel answer only a fresh press.
void HandleKey(Dialog& dialog, const SDL_KeyboardEvent& key) {
    // While the input method composes, the keys are its own (Return commits, Escape drops).
    if (!dialog.Composition.empty()) return;
    dialog.Refused = false;
    switch (key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            if (!key.repeat) dialog.Result = Outcome::Ok;
            break;
        case SDLK_ESCAPE:
            if (!key.repeat) dialog.Result = Outcome::Cancel;
            break;
        case SDLK_BACKSPACE:
            DeleteBeforeCaret(dialog.Field);
            break;
        case SDLK_DELETE:
            DeleteAfterCaret(dialog.Field);
            break;
        case SDLK_LEFT:
            MoveCaret(dialog.Field, -1);
            break;
        case SDLK_RIGHT:
            MoveCaret(dialog.Field, 1);
            break;
        case SDLK_HOME:
            MoveCaretHome(dialog.Field);
            break;
        case SDLK_END:
            MoveCaretEnd(dialog.Field);
            break;
        default:
            break;
    }
}

void HandleMouse(Dialog& dialog, const SDL_Event& event) {
    if (event.button.button != SDL_BUTTON_LEFT) return;
    const Button under = ButtonAt(event.button.x, event.button.y);
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        dialog.Pressed = under;
        return;
    }
    // A click counts when it is released on the button it was pressed on.
    if (under != Button::None && under == dialog.Pressed)
        dialog.Result = under == Button::Ok ? Outcome::Ok : Outcome::Cancel;
    dialog.Pressed = Button::None;
}

void HandleDialogEvent(Dialog& dialog, SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            // The close box ends the program from here too.
            HandleWindowEvent(event);
            dialog.Result = Outcome::Cancel;
            break;
        case SDL_TEXTINPUT:
            dialog.Composition.clear();
            dialog.Refused = !TypeText(dialog.Field, event.text.text);
            break;
        case SDL_TEXTEDITING:
            dialog.Composition = event.edit.text;
            break;
        case SDL_TEXTEDITING_EXT:
            dialog.Composition = event.editExt.text ? event.editExt.text : "";
            SDL_free(event.editExt.text);
            break;
        case SDL_KEYDOWN:
            HandleKey(dialog, event.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            HandleMouse(dialog, event);
            break;
        default:
            break;
    }
}

}  // namespace

std::string InputBox(const std::string& prompt, const std::string& title,
                     bool (*accept)(const std::string&)) {
    Dialog dialog;
    dialog.Prompt = prompt;
    dialog.Title = title;
    dialog.Field.Accept = accept;
    // Keys pressed before the dialog appeared are not typing (nor an answer).
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_TEXTINPUT);
    SDL_Rect field{Layout.Field.X, Layout.Field.Y, Layout.Field.W, Layout.Field.H};
    SDL_SetTextInputRect(&field);
    SDL_StartTextInput();
    while (dialog.Result == Outcome::Pending) {
        RedrawWindow([&dialog] { DrawDialog(dialog); });
        SDL_Event event;
        // Woken now and then to blink the caret. Everything queued is taken before the next
        // drawing, so fast typing never falls behind the screen.
        if (!SDL_WaitEventTimeout(&event, CaretBlinkMs / 2)) continue;
        dialog.BlinkStart = SDL_GetTicks();
        do {
            HandleDialogEvent(dialog, event);
        } while (dialog.Result == Outcome::Pending && SDL_PollEvent(&event));
    }
    SDL_StopTextInput();
    ForgetKeyState();
    RedrawWindow();
    return dialog.Result == Outcome::Ok ? dialog.Field.Text : std::string();
}
