// Message boxes drawn in the game window over the last frame, in the look of the name dialog:
// an icon that says what kind of message it is, the text (several lines, wrapped to the play
// area), and OK or OK and Cancel. Drawn by the game itself, they open on any desktop, X11 or
// Wayland, with or without a window manager or X core fonts.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/answers.h"
#include "platform/sdl/sdl_dialog.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_outside_end.h"
#include "platform/sdl/sdl_window.h"
#include "platform/text_wrap.h"

namespace {

constexpr int IconSize = 32;
constexpr int IconGap = 12;            // between the icon and the text
constexpr int LineSpacing = 3;         // between two lines of the text
constexpr int ButtonGap = 8;           // between two buttons
constexpr int BoxMinWidth = 180;       // a one-word message still makes a box, not a label
constexpr int PlayAreaMargin = 20;     // the widest box leaves this much of the frame either side
constexpr int CaptionTextRoom = 40;    // the caption's inset on the left and some air on the right
constexpr int BlinkFreeWakeMs = 1000;  // nothing blinks: a slow wake is enough

enum class Button { None, Ok, Cancel };

struct Layout {
    UiRect Box;
    UiRect Icon;
    int TextX = 0;
    int TextY = 0;
    int LineHeight = 0;
    std::vector<std::string> Lines;
    std::vector<std::pair<Button, UiRect>> Buttons;  // left to right
};

struct OpenBox {
    std::string Title;
    BoxIcon Icon = BoxIcon::None;
    bool CloseBoxEnds = true;  // the window's close box ends the program (not in a fatal box)
    Layout Where;
    size_t Focus = 0;  // the button Return and Space press
    Button Pressed = Button::None;
    Button Answer = Button::None;
};

Layout LayOut(const std::string& text, BoxIcon icon, BoxButtons buttons, const std::string& title) {
    Layout layout;
    const int iconRoom = icon == BoxIcon::None ? 0 : IconSize + IconGap;
    const int widestText = PlayArea().W - 2 * PlayAreaMargin - 2 * DialogMargin - iconRoom;
    layout.Lines = WrapText(text, widestText, UiTextWidth);
    layout.LineHeight = UiTextHeight() + LineSpacing;
    int textWidth = 0;
    for (const std::string& line : layout.Lines) textWidth = std::max(textWidth, UiTextWidth(line));
    const int textHeight = int(layout.Lines.size()) * layout.LineHeight - LineSpacing;
    const int contentHeight = std::max(textHeight, iconRoom > 0 ? IconSize : 0);

    std::vector<Button> order{Button::Ok};
    if (buttons == BoxButtons::OkCancel) order.push_back(Button::Cancel);
    const int buttonsWidth =
        int(order.size()) * DialogButtonWidth + (int(order.size()) - 1) * ButtonGap;
    const int width =
        std::min(PlayArea().W - 2 * PlayAreaMargin,
                 std::max({BoxMinWidth, iconRoom + textWidth + 2 * DialogMargin,
                           buttonsWidth + 2 * DialogMargin, UiTextWidth(title) + CaptionTextRoom}));
    const int height =
        DialogCaptionHeight + 2 * DialogMargin + contentHeight + DialogMargin + DialogButtonHeight;
    layout.Box = CentredOnPlayArea(width, height);

    const int contentTop = layout.Box.Y + DialogCaptionHeight + DialogMargin;
    layout.Icon = {layout.Box.X + DialogMargin, contentTop, IconSize, IconSize};
    layout.TextX = layout.Box.X + DialogMargin + iconRoom;
    // A short text stands level with the middle of the icon.
    layout.TextY = contentTop + (contentHeight - textHeight) / 2;
    int left = layout.Box.X + layout.Box.W - DialogMargin - buttonsWidth;
    const int top = layout.Box.Y + layout.Box.H - DialogMargin - DialogButtonHeight;
    for (Button button : order) {
        layout.Buttons.push_back({button, {left, top, DialogButtonWidth, DialogButtonHeight}});
        left += DialogButtonWidth + ButtonGap;
    }
    return layout;
}

std::pair<float, float> DiscRow(float v) {
    const float half = std::sqrt(std::max(0.0f, 0.25f - (v - 0.5f) * (v - 0.5f)));
    return {0.5f - half, 0.5f + half};
}

// The marks inside the icons, in fractions of the icon.
UiRect IconPart(const UiRect& icon, float x, float y, float w, float h) {
    return {icon.X + int(std::lround(x * icon.W)), icon.Y + int(std::lround(y * icon.H)),
            int(std::lround(w * icon.W)), int(std::lround(h * icon.H))};
}

void DrawIcon(BoxIcon icon, const UiRect& where) {
    constexpr uint32_t WarningFill = 0xFFC83D;
    constexpr uint32_t WarningMark = 0x1F1F1F;
    constexpr uint32_t ErrorFill = 0xE81123;
    constexpr uint32_t InformationFill = 0x0078D7;
    constexpr uint32_t LightMark = 0xFFFFFF;
    constexpr float CrossThickness = 0.12f;
    switch (icon) {
        case BoxIcon::Warning:  // "!" on a triangle
            UiFillRows(where, WarningFill, [](float v) {
                return std::pair{0.5f - v / 2, 0.5f + v / 2};
            });
            UiFill(IconPart(where, 0.44f, 0.32f, 0.12f, 0.38f), WarningMark);
            UiFill(IconPart(where, 0.44f, 0.77f, 0.12f, 0.12f), WarningMark);
            break;
        case BoxIcon::Error: {  // a cross on a red disc
            UiFillRows(where, ErrorFill, DiscRow);
            const UiRect cross = IconPart(where, 0.28f, 0.28f, 0.44f, 0.44f);
            UiFillRows(cross, LightMark, [](float v) {
                return std::pair{v - CrossThickness, v + CrossThickness};
            });
            UiFillRows(cross, LightMark, [](float v) {
                return std::pair{1 - v - CrossThickness, 1 - v + CrossThickness};
            });
            break;
        }
        case BoxIcon::Information:  // "i" on a blue disc
            UiFillRows(where, InformationFill, DiscRow);
            UiFill(IconPart(where, 0.44f, 0.2f, 0.12f, 0.12f), LightMark);
            UiFill(IconPart(where, 0.44f, 0.4f, 0.12f, 0.4f), LightMark);
            break;
        case BoxIcon::None:
            break;
    }
}

void DrawBox(const OpenBox& box) {
    const Layout& layout = box.Where;
    DrawDialogFrame(layout.Box, box.Title);
    DrawIcon(box.Icon, layout.Icon);
    for (size_t i = 0; i < layout.Lines.size(); ++i)
        UiText(layout.Lines[i], layout.TextX, layout.TextY + int(i) * layout.LineHeight,
               DialogTextColour);
    for (size_t i = 0; i < layout.Buttons.size(); ++i) {
        const auto& [button, rect] = layout.Buttons[i];
        DrawDialogButton(rect, button == Button::Ok ? "OK" : "Cancel", box.Pressed == button,
                         i == box.Focus);
    }
}

// Escape answers Cancel, or OK when OK is all there is.
Button EscapeAnswer(const OpenBox& box) {
    return box.Where.Buttons.back().first;
}

void MoveFocus(OpenBox& box, int step) {
    const int count = int(box.Where.Buttons.size());
    box.Focus = size_t((int(box.Focus) + step + count) % count);
}

void HandleKey(OpenBox& box, const SDL_KeyboardEvent& key) {
    if (key.repeat && key.keysym.sym != SDLK_TAB && key.keysym.sym != SDLK_LEFT &&
        key.keysym.sym != SDLK_RIGHT)
        return;  // an answer takes a fresh press: the Escape that asked to quit is still held
    switch (key.keysym.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
            box.Answer = box.Where.Buttons[box.Focus].first;
            break;
        case SDLK_ESCAPE:
            box.Answer = EscapeAnswer(box);
            break;
        case SDLK_LEFT:
            MoveFocus(box, -1);
            break;
        case SDLK_RIGHT:
            MoveFocus(box, 1);
            break;
        case SDLK_TAB:
            MoveFocus(box, (key.keysym.mod & KMOD_SHIFT) ? -1 : 1);
            break;
        default:
            break;
    }
}

// A pad: left and right move between the buttons, A presses the highlighted one, B (and Back,
// the pad's Escape) answers as Escape does.
void HandlePad(OpenBox& box, PadAction action) {
    switch (action) {
        case PadAction::Left:
            MoveFocus(box, -1);
            break;
        case PadAction::Right:
            MoveFocus(box, 1);
            break;
        case PadAction::Accept:
            box.Answer = box.Where.Buttons[box.Focus].first;
            break;
        case PadAction::Back:
        case PadAction::Escape:
            box.Answer = EscapeAnswer(box);
            break;
        default:
            break;
    }
}

Button ButtonAt(const OpenBox& box, int x, int y) {
    for (const auto& [button, rect] : box.Where.Buttons)
        if (rect.Contains(x, y)) return button;
    return Button::None;
}

void HandleEvent(OpenBox& box, SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            // The close box ends the program from here too, through the usual way out; if
            // nothing ends it, the box is answered as Escape would answer it.
            if (box.CloseBoxEnds) CloseFromOutside();
            box.Answer = EscapeAnswer(box);
            break;
        case SDL_KEYDOWN:
            HandleKey(box, event.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            box.Answer = TrackClick<Button>(event, box.Pressed, Button::None,
                                            [&box](int x, int y) { return ButtonAt(box, x, y); });
            break;
        default:
            HandlePad(box, PadActionOf(event));
            break;
    }
}

Button ShowBox(OpenBox& box) {
    RunDialogLoop([&box] { DrawBox(box); }, [&box](SDL_Event& event) { HandleEvent(box, event); },
                  [&box] { return box.Answer != Button::None; }, BlinkFreeWakeMs);
    return box.Answer;
}

std::string CaptionFor(const std::string& title) {
    // A box given no title carries the window's caption, as desktop message boxes do.
    return title.empty() ? SDL_GetWindowTitle(GameWindow()) : title;
}

}  // namespace

BoxAnswer MessageBox(const std::string& text, const std::string& title, BoxButtons buttons,
                     BoxIcon icon) {
    // A box with OK alone tells the game nothing; the answer of an OK/Cancel box is a replay's.
    const bool asks = buttons == BoxButtons::OkCancel;
    if (asks && PlayingAnswers()) return PlayedBoxAnswer();
    if (!asks && CurrentPace() == PlaybackPace::Fastest) return BoxAnswer::Ok;
    if (!GameRenderer() || ClosingFromOutside()) {
        // Nowhere to ask, or no time to: the text is told on stderr and the answer is the one
        // that changes nothing, so a quit question that could not be shown never quits.
        std::fprintf(stderr, "%s\n", text.c_str());
        return asks ? RecordBoxAnswer(BoxAnswer::Cancel) : BoxAnswer::Ok;
    }
    OpenBox box;
    box.Title = CaptionFor(title);
    box.Icon = icon;
    box.Where = LayOut(text, icon, buttons, box.Title);
    const BoxAnswer answer = ShowBox(box) == Button::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
    return asks ? RecordBoxAnswer(answer) : answer;
}

void ShowFatalBox(const std::string& text) {
    if (!GameRenderer() || ClosingFromOutside()) return;
    OpenBox box;
    box.Title = CaptionFor("");
    box.Icon = BoxIcon::Error;
    box.CloseBoxEnds = false;  // the program is ending already
    box.Where = LayOut(text, box.Icon, BoxButtons::Ok, box.Title);
    ShowBox(box);
}
