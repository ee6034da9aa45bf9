// The replay list "リプレイ一覧" in the game window: a table of the shell's rows, one of them
// chosen, and a row of buttons for what can be done to it. Worked with the keyboard (arrows,
// Page Up/Down, Home/End choose; Left/Right and Tab go along the buttons; Return presses one;
// Delete and F2 delete and keep at once; Escape or F8 closes), the mouse (a click chooses, a
// double click watches, the wheel scrolls) or a pad (up and down choose, left and right go
// along the buttons, A presses, B closes).
#include <algorithm>
#include <array>

#include "platform/answers.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_bindings.h"
#include "platform/sdl/sdl_dialog.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_outside_end.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_window.h"
#include "platform/text_wrap.h"

namespace {

constexpr int BoxWidth = 488;
constexpr int VisibleRows = 18;
constexpr int RowHeight = 20;
constexpr int HeaderGap = 6;  // between the caption bar and the columns' captions
constexpr int CellInset = 4;
constexpr int ButtonGap = 6;
constexpr int ButtonPadding = 10;  // either side of a button's caption
constexpr int ScrollMarkWidth = 4;
constexpr int WheelRows = 3;
constexpr int StatusLines = 2;  // a file's name and a check's result line may take two
constexpr int WakeMs = 100;     // a running check is looked at this often

constexpr uint32_t ListFill = 0xFFFFFF;
constexpr uint32_t ListBorder = 0x828282;
constexpr uint32_t HeaderFill = 0xE8E8E8;
constexpr uint32_t ChosenFill = 0xCCE8FF;
constexpr uint32_t ChosenBorder = 0x99D1FF;
constexpr uint32_t ScrollColour = 0xA0A0A0;
constexpr uint32_t StatusColour = 0x404040;

struct Column {
    const char* Caption;
    int Left;  // from the list's left edge
    int Width;
    bool Right = false;  // numbers stand at the right
};
// The list is BoxWidth - 2 * DialogMargin = 464 wide.
constexpr std::array<Column, 6> Columns{{{"日時", 0, 114},
                                         {"難易度", 114, 50},
                                         {"スコア", 164, 46, true},
                                         {"長さ", 210, 44, true},
                                         {"名前", 258, 110},
                                         {"状態", 368, 96}}};

enum class Button { Watch, Verify, Keep, Remove, Folder, Close };
constexpr std::array<Button, 6> Buttons{Button::Watch,  Button::Verify, Button::Keep,
                                        Button::Remove, Button::Folder, Button::Close};
const char* ButtonCaption(Button button) {
    switch (button) {
        case Button::Watch:
            return "見る";
        case Button::Verify:
            return "確認";
        case Button::Keep:
            return "名前を付けて残す...";
        case Button::Remove:
            return "削除...";
        case Button::Folder:
            return "フォルダを開く";
        case Button::Close:
            return "閉じる";
    }
    return "";
}

bool ListOpen = false;

struct ListDialog {
    const ReplayListActions* Actions = nullptr;
    std::vector<ReplayListRow> Rows;
    size_t Chosen = 0;
    size_t Top = 0;      // the first row shown
    size_t Focus = 0;    // the focused button
    std::string Status;  // empty: the chosen row's line
    int Pressed = -1;    // the button under the mouse press
    bool Finished = false;
};

// ---- where things are

UiRect BoxRect() {
    const int height = DialogCaptionHeight + HeaderGap + RowHeight * (VisibleRows + 1) +
                       DialogMargin / 2 + StatusLines * UiTextHeight() + DialogMargin +
                       DialogButtonHeight + DialogMargin;
    return CentredOnPlayArea(BoxWidth, height);
}

UiRect ListRect(const UiRect& box) {
    return {box.X + DialogMargin, box.Y + DialogCaptionHeight + HeaderGap, box.W - 2 * DialogMargin,
            RowHeight * (VisibleRows + 1)};
}

UiRect RowRect(const UiRect& list, size_t shown) {
    return {list.X + 1, list.Y + RowHeight * int(shown + 1), list.W - 2, RowHeight};
}

UiRect StatusRect(const UiRect& box) {
    const UiRect list = ListRect(box);
    return {list.X, list.Y + list.H + DialogMargin / 2, list.W, StatusLines * UiTextHeight()};
}

int ButtonWidth(Button button) {
    return std::max(DialogButtonWidth / 2, UiTextWidth(ButtonCaption(button)) + 2 * ButtonPadding);
}

UiRect ButtonRect(const UiRect& box, size_t index) {
    int left = box.X + DialogMargin;
    for (size_t i = 0; i < index; ++i) left += ButtonWidth(Buttons[i]) + ButtonGap;
    // Close stands at the right, as in the other boxes.
    if (Buttons[index] == Button::Close)
        left = box.X + box.W - DialogMargin - ButtonWidth(Button::Close);
    return {left, box.Y + box.H - DialogMargin - DialogButtonHeight, ButtonWidth(Buttons[index]),
            DialogButtonHeight};
}

// ---- what the player does

void Choose(ListDialog& dialog, long row) {
    if (dialog.Rows.empty()) return;
    dialog.Chosen = size_t(std::clamp(row, 0L, long(dialog.Rows.size()) - 1));
    if (dialog.Chosen < dialog.Top) dialog.Top = dialog.Chosen;
    if (dialog.Chosen >= dialog.Top + VisibleRows) dialog.Top = dialog.Chosen + 1 - VisibleRows;
    dialog.Status.clear();
}

void Scroll(ListDialog& dialog, long rows) {
    const long most = std::max(0L, long(dialog.Rows.size()) - VisibleRows);
    dialog.Top = size_t(std::clamp(long(dialog.Top) + rows, 0L, most));
}

// The rows again after an action that may have changed them, the chosen one kept in the list.
void TakeRows(ListDialog& dialog) {
    dialog.Rows = dialog.Actions->rows();
    const std::string status = dialog.Status;
    Choose(dialog, long(dialog.Chosen));
    Scroll(dialog, 0);
    dialog.Status = status;
}

void Press(ListDialog& dialog, Button button) {
    const ReplayListActions& actions = *dialog.Actions;
    const bool any = !dialog.Rows.empty();
    switch (button) {
        case Button::Watch:
            if (any) dialog.Status = actions.watch(dialog.Chosen);
            break;
        case Button::Verify:
            if (any) dialog.Status = actions.verify(dialog.Chosen);
            break;
        case Button::Keep:
            if (any) dialog.Status = actions.keep(dialog.Chosen);
            break;
        case Button::Remove:
            if (any) dialog.Status = actions.remove(dialog.Chosen);
            break;
        case Button::Folder:
            dialog.Status = actions.showFolder();
            break;
        case Button::Close:
            dialog.Finished = true;
            return;
    }
    if (ClosingFromOutside()) dialog.Finished = true;  // closed from a box it asked with
    TakeRows(dialog);
}

void MoveFocus(ListDialog& dialog, int step) {
    dialog.Focus = (dialog.Focus + Buttons.size() + size_t(step)) % Buttons.size();
}

void HandleKey(ListDialog& dialog, const SDL_KeyboardEvent& key) {
    const bool fresh = !key.repeat;
    switch (key.keysym.sym) {
        case SDLK_UP:
            return Choose(dialog, long(dialog.Chosen) - 1);
        case SDLK_DOWN:
            return Choose(dialog, long(dialog.Chosen) + 1);
        case SDLK_PAGEUP:
            return Choose(dialog, long(dialog.Chosen) - VisibleRows);
        case SDLK_PAGEDOWN:
            return Choose(dialog, long(dialog.Chosen) + VisibleRows);
        case SDLK_HOME:
            return Choose(dialog, 0);
        case SDLK_END:
            return Choose(dialog, long(dialog.Rows.size()) - 1);
        case SDLK_LEFT:
            return MoveFocus(dialog, -1);
        case SDLK_RIGHT:
            return MoveFocus(dialog, 1);
        case SDLK_TAB:
            return MoveFocus(dialog, (key.keysym.mod & KMOD_SHIFT) != 0 ? -1 : 1);
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            if (fresh) Press(dialog, Buttons[dialog.Focus]);
            return;
        case SDLK_DELETE:
            if (fresh) Press(dialog, Button::Remove);
            return;
        case SDLK_F2:
            if (fresh) Press(dialog, Button::Keep);
            return;
        case SDLK_ESCAPE:
        case ReplayListKey:
            if (fresh) dialog.Finished = true;
            return;
        default:
            return;
    }
}

void HandlePad(ListDialog& dialog, PadAction action) {
    switch (action) {
        case PadAction::Up:
            return Choose(dialog, long(dialog.Chosen) - 1);
        case PadAction::Down:
            return Choose(dialog, long(dialog.Chosen) + 1);
        case PadAction::Left:
            return MoveFocus(dialog, -1);
        case PadAction::Right:
            return MoveFocus(dialog, 1);
        case PadAction::Accept:
            return Press(dialog, Buttons[dialog.Focus]);
        case PadAction::Back:
        case PadAction::Escape:
        case PadAction::Start:
            dialog.Finished = true;
            return;
        case PadAction::None:
            return;
    }
}

int ButtonAt(int x, int y) {
    const UiRect box = BoxRect();
    for (size_t i = 0; i < Buttons.size(); ++i)
        if (ButtonRect(box, i).Contains(x, y)) return int(i);
    return -1;
}

void HandleMouse(ListDialog& dialog, const SDL_Event& event) {
    if (event.type == SDL_MOUSEWHEEL) return Scroll(dialog, -event.wheel.y * WheelRows);
    const UiRect list = ListRect(BoxRect());
    for (size_t shown = 0; shown < VisibleRows; ++shown) {
        if (event.type != SDL_MOUSEBUTTONDOWN || event.button.button != SDL_BUTTON_LEFT) break;
        const size_t row = dialog.Top + shown;
        if (row >= dialog.Rows.size() ||
            !RowRect(list, shown).Contains(event.button.x, event.button.y))
            continue;
        Choose(dialog, long(row));
        if (event.button.clicks >= 2) Press(dialog, Button::Watch);
        return;
    }
    const int clicked = TrackClick<int>(event, dialog.Pressed, -1, ButtonAt);
    if (clicked < 0) return;
    dialog.Focus = size_t(clicked);
    Press(dialog, Buttons[size_t(clicked)]);
}

void HandleEvent(ListDialog& dialog, SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            CloseFromOutside();
            dialog.Finished = true;
            break;
        case SDL_KEYDOWN:
            HandleKey(dialog, event.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
            HandleMouse(dialog, event);
            break;
        default:
            HandlePad(dialog, PadActionOf(event));
            break;
    }
}

// ---- drawing

// A cell's text, cut where the column ends.
void DrawCell(const UiRect& row, const Column& column, const std::string& text, uint32_t rgb) {
    const UiRect cell{row.X + column.Left, row.Y, column.Width, row.H};
    UiClip(cell);
    const int inset = column.Right ? column.Width - CellInset - UiTextWidth(text) : CellInset;
    UiTextIn(cell, text, inset, rgb);
    UiClip({});
}

void DrawRows(const ListDialog& dialog, const UiRect& list) {
    UiFill(list, ListFill);
    const UiRect header{list.X, list.Y, list.W, RowHeight};
    UiFill(header, HeaderFill);
    for (const Column& column : Columns) DrawCell(header, column, column.Caption, DialogTextColour);
    if (dialog.Rows.empty())
        UiTextIn(RowRect(list, 0), "リプレイはまだありません。ゲームを終えるたびに一つ増えます。",
                 CellInset, StatusColour);
    for (size_t shown = 0; shown < VisibleRows && dialog.Top + shown < dialog.Rows.size();
         ++shown) {
        const size_t index = dialog.Top + shown;
        const ReplayListRow& row = dialog.Rows[index];
        const UiRect rect = RowRect(list, shown);
        if (index == dialog.Chosen) {
            UiFill(rect, ChosenFill);
            UiOutline(rect, ChosenBorder);
        }
        const std::array<const std::string*, 6> cells{&row.When,   &row.Difficulty, &row.Score,
                                                      &row.Length, &row.Name,       &row.State};
        for (size_t c = 0; c < Columns.size(); ++c)
            DrawCell(rect, Columns[c], *cells[c], DialogTextColour);
    }
    // Where the rows shown stand among all of them.
    if (dialog.Rows.size() > VisibleRows) {
        const int track = list.H - RowHeight;
        const int height = std::max(RowHeight / 2, int(track * VisibleRows / dialog.Rows.size()));
        const int top =
            int(long(track - height) * long(dialog.Top) / long(dialog.Rows.size() - VisibleRows));
        UiFill({list.X + list.W - ScrollMarkWidth - 1, list.Y + RowHeight + top, ScrollMarkWidth,
                height},
               ScrollColour);
    }
    UiOutline(list, ListBorder);
}

void DrawList(const ListDialog& dialog) {
    const UiRect box = BoxRect();
    DrawDialogFrame(box, "リプレイ一覧");
    DrawRows(dialog, ListRect(box));
    std::string status = dialog.Status;
    if (status.empty() && !dialog.Rows.empty()) status = dialog.Rows[dialog.Chosen].Detail;
    const UiRect lines = StatusRect(box);
    UiClip(lines);
    const std::vector<std::string> wrapped = WrapText(status, lines.W, UiTextWidth);
    for (size_t i = 0; i < wrapped.size() && i < StatusLines; ++i)
        UiText(wrapped[i], lines.X, lines.Y + int(i) * UiTextHeight(), StatusColour);
    UiClip({});
    for (size_t i = 0; i < Buttons.size(); ++i)
        DrawDialogButton(ButtonRect(box, i), ButtonCaption(Buttons[i]), dialog.Pressed == int(i),
                         i == dialog.Focus);
}

}  // namespace

void ShowReplayList(const ReplayListActions& actions) {
    if (ListOpen || !GameRenderer() || ClosingFromOutside()) return;
    if (CurrentPace() == PlaybackPace::Fastest) return;
    ListOpen = true;
    ListDialog dialog;
    dialog.Actions = &actions;
    TakeRows(dialog);
    RunDialogLoop(
        [&dialog] {
            CheckDocumentOpener();  // the folder that could not be opened is told at once
            std::string told;
            if (dialog.Actions->poll(told)) {
                dialog.Status = told;
                TakeRows(dialog);
            }
            DrawList(dialog);
        },
        [&dialog](SDL_Event& event) { HandleEvent(dialog, event); },
        [&dialog] { return dialog.Finished; }, WakeMs);
    ListOpen = false;
}
