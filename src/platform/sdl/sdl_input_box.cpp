// The name dialog, drawn in the game window over the last frame: caption, prompt, a one-line
// field and OK / Cancel. Text arrives through SDL text input, so an input method can compose
// Japanese; its composition is shown underlined at the caret until it is committed. With a pad
// plugged in, a grid of characters under the field lets the pad type too: the D-pad or stick
// chooses, A types the character, B deletes the last one, Start answers OK and Back Cancel.
#include <algorithm>

#include "platform/answers.h"
#include "platform/pad_text_entry.h"
#include "platform/sdl/sdl_dialog.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_outside_end.h"
#include "platform/sdl/sdl_window.h"
#include "platform/text_field.h"

namespace {

constexpr uint32_t FieldFill = 0xFFFFFF;
constexpr uint32_t RefusedColour = 0xE81123;
constexpr int CaretBlinkMs = 500;

enum class Outcome { Pending, Ok, Cancel };
enum class Button { None, Ok, Cancel };

constexpr int DialogWidth = 380;
constexpr int DialogHeight = 150;
constexpr int FieldHeight = 23;
constexpr int GridCell = 22;  // one character of the pad's grid, square
constexpr int GridHintHeight = 18;
constexpr uint32_t GridCursorFill = 0xCCE8FF;
const std::string GridHint = "A 入力   B 1字消す   Start 決定   Back 取消";

int GridColumns() {
    size_t widest = 0;
    for (const auto& row : PadCharacterRows()) widest = std::max(widest, row.size());
    return int(widest);
}

int GridHeight() {
    return int(PadCharacterRows().size()) * GridCell + DialogMargin + GridHintHeight;
}

// Centred on the play area: the prompt with the buttons beside it, the field along the bottom,
// and under it the pad's grid where it is shown.
struct DialogLayout {
    explicit DialogLayout(bool withGrid) : WithGrid(withGrid) {}
    bool WithGrid;
    UiRect Box = CentredOnPlayArea(DialogWidth, DialogHeight + (WithGrid ? GridHeight() : 0));
    int ContentTop = Box.Y + DialogCaptionHeight + DialogMargin;
    int ButtonsLeft = Box.X + Box.W - DialogMargin - DialogButtonWidth;
    UiRect Prompt{Box.X + DialogMargin, ContentTop, ButtonsLeft - Box.X - 2 * DialogMargin, 40};
    UiRect OkButton{ButtonsLeft, ContentTop, DialogButtonWidth, DialogButtonHeight};
    UiRect CancelButton{ButtonsLeft, ContentTop + DialogButtonHeight + 8, DialogButtonWidth,
                        DialogButtonHeight};
    UiRect Field{Box.X + DialogMargin, Box.Y + DialogHeight - DialogMargin - FieldHeight,
                 Box.W - 2 * DialogMargin, FieldHeight};
    UiRect Grid{Box.X + (Box.W - GridColumns() * GridCell) / 2, Field.Y + Field.H + DialogMargin,
                GridColumns() * GridCell, int(PadCharacterRows().size()) * GridCell};
};

struct Dialog {
    DialogLayout Layout{AnyPadPlugged()};
    GridCursor Cursor;  // on the pad's grid
    std::string Prompt;
    std::string Title;
    TextField Field;
    std::string Composition;  // what the input method is composing, not yet typed
    bool Refused = false;     // the last edit was refused: the field shows it
    Button Pressed = Button::None;
    Uint32 BlinkStart = 0;  // the caret shows steadily for a moment after each keystroke
    Outcome Result = Outcome::Pending;
    bool CloseAfterAnswer = false;  // the window was closed with a name typed
};

Button ButtonAt(const DialogLayout& layout, int x, int y) {
    if (layout.OkButton.Contains(x, y)) return Button::Ok;
    if (layout.CancelButton.Contains(x, y)) return Button::Cancel;
    return Button::None;
}

// The text with the composition at the caret, scrolled so that the caret stays in view.
void DrawFieldText(const Dialog& dialog) {
    const UiRect& field = dialog.Layout.Field;
    const std::string before = dialog.Field.Text.substr(0, dialog.Field.Caret);
    const std::string after = dialog.Field.Text.substr(dialog.Field.Caret);
    const int beforeWidth = UiTextWidth(before);
    const int composingWidth = UiTextWidth(dialog.Composition);
    const int caretX = beforeWidth + composingWidth;
    const int scroll = std::max(0, caretX - (field.W - 8));
    const int left = field.X + 4 - scroll;
    UiClip({field.X + 1, field.Y + 1, field.W - 2, field.H - 2});
    UiTextIn({left, field.Y, 0, field.H}, before, 0, DialogTextColour);
    UiTextIn({left + beforeWidth, field.Y, 0, field.H}, dialog.Composition, 0, DialogTextColour);
    if (composingWidth > 0)
        UiFill({left + beforeWidth, field.Y + field.H - 5, composingWidth, 1}, DialogTextColour);
    UiTextIn({left + caretX, field.Y, 0, field.H}, after, 0, DialogTextColour);
    if (((SDL_GetTicks() - dialog.BlinkStart) / CaretBlinkMs) % 2 == 0)
        UiFill({left + caretX, field.Y + 4, 1, field.H - 8}, DialogTextColour);
    UiClip({});
}

UiRect GridCellRect(const DialogLayout& layout, int row, int column) {
    return {layout.Grid.X + column * GridCell, layout.Grid.Y + row * GridCell, GridCell, GridCell};
}

void DrawGrid(const Dialog& dialog) {
    const DialogLayout& layout = dialog.Layout;
    const auto& rows = PadCharacterRows();
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t column = 0; column < rows[row].size(); ++column) {
            const UiRect cell = GridCellRect(layout, int(row), int(column));
            if (int(row) == dialog.Cursor.Row && int(column) == dialog.Cursor.Column) {
                UiFill(cell, GridCursorFill);
                UiOutline(cell, DialogFocusColour);
            }
            const std::string& character = rows[row][column];
            if (character == " ") {  // the blank, shown as an open box
                UiFill({cell.X + 6, cell.Y + cell.H - 7, cell.W - 12, 1}, DialogTextColour);
                UiFill({cell.X + 6, cell.Y + cell.H - 10, 1, 3}, DialogTextColour);
                UiFill({cell.X + cell.W - 7, cell.Y + cell.H - 10, 1, 3}, DialogTextColour);
                continue;
            }
            UiTextIn(cell, character, (cell.W - UiTextWidth(character)) / 2, DialogTextColour);
        }
    }
    UiTextIn({layout.Box.X, layout.Grid.Y + layout.Grid.H + DialogMargin / 2, layout.Box.W,
              GridHintHeight},
             GridHint, (layout.Box.W - UiTextWidth(GridHint)) / 2, DialogTextColour);
}

void DrawDialog(const Dialog& dialog) {
    const DialogLayout& layout = dialog.Layout;
    DrawDialogFrame(layout.Box, dialog.Title);
    UiText(dialog.Prompt, layout.Prompt.X, layout.Prompt.Y, DialogTextColour);
    // Return answers OK whatever has the focus: the field keeps it while one types.
    DrawDialogButton(layout.OkButton, "OK", dialog.Pressed == Button::Ok, true);
    DrawDialogButton(layout.CancelButton, "Cancel", dialog.Pressed == Button::Cancel, false);
    UiFill(layout.Field, FieldFill);
    UiOutline(layout.Field, dialog.Refused ? RefusedColour : DialogFocusColour);
    DrawFieldText(dialog);
    if (layout.WithGrid) DrawGrid(dialog);
}

// OK on a text that may not be the answer keeps the dialog open and shows the field refused.
void PressOk(Dialog& dialog) {
    if (IsAcceptedAnswer(dialog.Field))
        dialog.Result = Outcome::Ok;
    else
        dialog.Refused = true;
}

// Editing keys repeat while held; OK and Cancel answer only a fresh press.
void HandleKey(Dialog& dialog, const SDL_KeyboardEvent& key) {
    // While the input method composes, the keys are its own (Return commits, Escape drops).
    if (!dialog.Composition.empty()) return;
    dialog.Refused = false;
    switch (key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            if (!key.repeat) PressOk(dialog);
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
    const Button clicked =
        TrackClick<Button>(event, dialog.Pressed, Button::None,
                           [&dialog](int x, int y) { return ButtonAt(dialog.Layout, x, y); });
    if (clicked == Button::Ok) PressOk(dialog);
    if (clicked == Button::Cancel) dialog.Result = Outcome::Cancel;
}

void HandlePad(Dialog& dialog, PadAction action) {
    if (action == PadAction::None) return;
    // A pad plugged in while the dialog is open brings the grid.
    if (!dialog.Layout.WithGrid) {
        dialog.Layout = DialogLayout(true);
        return;
    }
    dialog.Refused = false;
    switch (action) {
        case PadAction::Left:
            dialog.Cursor = MoveGridCursor(dialog.Cursor, -1, 0);
            break;
        case PadAction::Right:
            dialog.Cursor = MoveGridCursor(dialog.Cursor, 1, 0);
            break;
        case PadAction::Up:
            dialog.Cursor = MoveGridCursor(dialog.Cursor, 0, -1);
            break;
        case PadAction::Down:
            dialog.Cursor = MoveGridCursor(dialog.Cursor, 0, 1);
            break;
        case PadAction::Accept:
            dialog.Refused = !TypeText(dialog.Field, CharacterAt(dialog.Cursor));
            break;
        case PadAction::Back:
            DeleteBeforeCaret(dialog.Field);
            break;
        case PadAction::Start:
            PressOk(dialog);
            break;
        case PadAction::Escape:
            dialog.Result = Outcome::Cancel;
            break;
        case PadAction::None:
            break;
    }
}

void HandleDialogEvent(Dialog& dialog, SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            // A name typed is the answer, as OK would take it; the close comes once the game
            // has kept it. Without one, the close box ends the program from here.
            if (!dialog.Field.Text.empty() && IsAcceptedAnswer(dialog.Field)) {
                dialog.Result = Outcome::Ok;
                dialog.CloseAfterAnswer = true;
                break;
            }
            CloseFromOutside();
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
            HandlePad(dialog, PadActionOf(event));
            break;
    }
}

}  // namespace

std::string InputBox(const std::string& prompt, const std::string& title,
                     bool (*accept)(const std::string&), bool (*acceptAnswer)(const std::string&)) {
    if (PlayingAnswers()) return PlayedName();
    Dialog dialog;
    dialog.Prompt = prompt;
    dialog.Title = title;
    dialog.Field.Accept = accept;
    dialog.Field.AcceptAnswer = acceptAnswer;
    const UiRect& field = dialog.Layout.Field;
    const SDL_Rect inputRect{field.X, field.Y, field.W, field.H};
    SDL_SetTextInputRect(&inputRect);
    SDL_StartTextInput();
    // Woken now and then to blink the caret.
    RunDialogLoop([&dialog] { DrawDialog(dialog); },
                  [&dialog](SDL_Event& event) {
                      dialog.BlinkStart = SDL_GetTicks();
                      HandleDialogEvent(dialog, event);
                  },
                  [&dialog] { return dialog.Result != Outcome::Pending; }, CaretBlinkMs / 2);
    SDL_StopTextInput();
    if (dialog.CloseAfterAnswer) CloseAtNextEvents();
    return RecordName(dialog.Result == Outcome::Ok ? dialog.Field.Text : std::string());
}
