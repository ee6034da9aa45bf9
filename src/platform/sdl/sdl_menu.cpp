// The menu bar with its two menus, "表示" (the window's view: fullscreen, scaling and the settings)
// and "ヘルプ". SDL has no native menus, so the bar is drawn with the picture and an open menu runs
// its own loop, as a desktop menu does: the game stands still, no frame is drawn, until the menu
// closes.
#include "platform/sdl/sdl_menu.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "platform/key_state.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_outside_end.h"
#include "platform/sdl/sdl_settings_dialog.h"
#include "platform/sdl/sdl_ui.h"
#include "platform/sdl/sdl_window.h"

namespace {

constexpr uint32_t BarColour = 0xF0F0F0;
constexpr uint32_t TextColour = 0x000000;
constexpr uint32_t HotFill = 0xCCE8FF;
constexpr uint32_t HotBorder = 0x99D1FF;
constexpr uint32_t MenuFill = 0xF2F2F2;
constexpr uint32_t MenuBorder = 0x979797;
constexpr uint32_t SeparatorColour = 0xD7D7D7;
constexpr int TitlePadding = 7;  // blank either side of a menu's caption
constexpr int ItemHeight = 22;
constexpr int SeparatorHeight = 9;
constexpr int ItemTextInset = 28;  // where a desktop menu leaves room for check marks
constexpr int ShortcutGap = 24;    // between an item's caption and its key
constexpr int MenuMinWidth = 140;
constexpr int MarkSize = 8;  // a check mark's or a choice's dot, square

// The five places of the table follow one another, from Replay1.
enum class Command {
    None,
    Fullscreen,
    SharpFit,
    WholeSteps,
    Settings,
    ReadMe,
    About,
    ReplayList,
    Replay1,
    Replay2,
    Replay3,
    Replay4,
    Replay5,
};
struct MenuItem {
    std::string Caption;  // empty for the separator
    Command Action = Command::None;
    std::string Shortcut;
};
struct Menu {
    std::string Caption;
    std::vector<MenuItem> Items;
};
const std::array<Menu, 2> Menus{{
    {"表示",
     {{"全画面表示", Command::Fullscreen, "F11"},
      {"", Command::None, ""},
      {"画面に合わせて拡大", Command::SharpFit, ""},
      {"整数倍で拡大", Command::WholeSteps, ""},
      {"", Command::None, ""},
      {"設定...", Command::Settings, "F9"}}},
    {"ヘルプ",
     {{"ReadMeを表示", Command::ReadMe, ""},
      {"", Command::None, ""},
      {"リプレイ一覧...", Command::ReplayList, "F8"},
      {"1位のリプレイを見る", Command::Replay1, ""},
      {"2位のリプレイを見る", Command::Replay2, ""},
      {"3位のリプレイを見る", Command::Replay3, ""},
      {"4位のリプレイを見る", Command::Replay4, ""},
      {"5位のリプレイを見る", Command::Replay5, ""},
      {"", Command::None, ""},
      {"アバウト", Command::About, ""}}},
}};

UiRect TitleRect(size_t menu) {
    int left = 0;
    for (size_t i = 0; i < menu; ++i) left += UiTextWidth(Menus[i].Caption) + 2 * TitlePadding;
    return {left, 0, UiTextWidth(Menus[menu].Caption) + 2 * TitlePadding, MenuBarHeight};
}

int TitleAt(int x, int y) {
    for (size_t i = 0; i < Menus.size(); ++i) {
        if (TitleRect(i).Contains(x, y)) return int(i);
    }
    return -1;
}

int RowHeight(const MenuItem& item) {
    return item.Caption.empty() ? SeparatorHeight : ItemHeight;
}

UiRect MenuRect(size_t menu) {
    int widest = 0;
    int height = 6;
    for (const MenuItem& item : Menus[menu].Items) {
        const int shortcut = item.Shortcut.empty() ? 0 : ShortcutGap + UiTextWidth(item.Shortcut);
        widest = std::max(widest, UiTextWidth(item.Caption) + shortcut);
        height += RowHeight(item);
    }
    return {TitleRect(menu).X, MenuBarHeight, std::max(MenuMinWidth, widest + 2 * ItemTextInset),
            height};
}

UiRect ItemRect(size_t menu, size_t index) {
    const UiRect box = MenuRect(menu);
    int top = box.Y + 3;
    for (size_t i = 0; i < index; ++i) top += RowHeight(Menus[menu].Items[i]);
    return {box.X + 2, top, box.W - 4, RowHeight(Menus[menu].Items[index])};
}

// The command item under a point, or -1 (the separator is not an item one can choose).
int ItemAt(size_t menu, int x, int y) {
    const auto& items = Menus[menu].Items;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].Action != Command::None && ItemRect(menu, i).Contains(x, y)) return int(i);
    }
    return -1;
}

int NextItem(size_t menu, int from, int direction) {
    const auto& items = Menus[menu].Items;
    const int count = int(items.size());
    int index = from < 0 ? (direction > 0 ? -1 : count) : from;
    for (int step = 0; step < count; ++step) {
        index = (index + direction + count) % count;
        if (items[size_t(index)].Action != Command::None) return index;
    }
    return from;
}

// Fullscreen is checked; of the two scalings the one in use wears a dot.
bool Checked(Command command) {
    switch (command) {
        case Command::Fullscreen:
            return IsFullscreen();
        case Command::SharpFit:
            return WindowScaling() == Scaling::SharpFit;
        case Command::WholeSteps:
            return WindowScaling() == Scaling::WholeSteps;
        default:
            return false;
    }
}

void DrawMark(Command command, const UiRect& row) {
    const UiRect mark{row.X + (ItemTextInset - MarkSize) / 2 - 2, row.Y + (row.H - MarkSize) / 2,
                      MarkSize, MarkSize};
    if (command == Command::Fullscreen) {
        constexpr float Stroke = 0.18f;
        // A tick: the short stroke down to the bottom third, the long one up to the top right.
        UiFillRows(mark, TextColour, [](float v) {
            const float shortStroke = v > 0.45f ? 0.05f + (v - 0.45f) * 0.7f : -1.0f;
            const float longStroke = 1.0f - v * 0.65f;
            if (shortStroke < 0) return std::pair{longStroke - Stroke, longStroke};
            return std::pair{shortStroke, std::max(shortStroke + Stroke, longStroke)};
        });
        return;
    }
    UiFillRows(mark, TextColour, [](float v) {
        const float half = std::sqrt(std::max(0.0f, 0.25f - (v - 0.5f) * (v - 0.5f)));
        return std::pair{0.5f - half, 0.5f + half};
    });
}

void DrawOpenMenu(size_t menu, int hot) {
    const UiRect title = TitleRect(menu);
    UiFill(title, HotFill);
    UiOutline(title, HotBorder);
    UiTextIn(title, Menus[menu].Caption, TitlePadding, TextColour);
    const UiRect box = MenuRect(menu);
    UiFill(box, MenuFill);
    UiOutline(box, MenuBorder);
    const auto& items = Menus[menu].Items;
    for (size_t i = 0; i < items.size(); ++i) {
        const UiRect row = ItemRect(menu, i);
        if (items[i].Caption.empty()) {
            UiFill({row.X + ItemTextInset - 2, row.Y + row.H / 2, row.W - ItemTextInset, 1},
                   SeparatorColour);
            continue;
        }
        if (int(i) == hot) {
            UiFill(row, HotFill);
            UiOutline(row, HotBorder);
        }
        if (Checked(items[i].Action)) DrawMark(items[i].Action, row);
        UiTextIn(row, items[i].Caption, ItemTextInset - 2, TextColour);
        if (!items[i].Shortcut.empty())
            UiTextIn(row, items[i].Shortcut, row.W - ItemTextInset - UiTextWidth(items[i].Shortcut),
                     TextColour);
    }
}

struct MenuTracking {
    size_t Open = 0;  // the menu shown
    int Hot = -1;     // its highlighted item
    bool Tracking = true;
    Command Chosen = Command::None;
    bool CloseRequested = false;  // the window's close box was used
};

void ChooseHot(MenuTracking& menu) {
    if (menu.Hot >= 0) menu.Chosen = Menus[menu.Open].Items[size_t(menu.Hot)].Action;
    menu.Tracking = false;
}

void SwitchMenu(MenuTracking& menu, size_t to) {
    if (to == menu.Open) return;
    menu.Open = to;
    menu.Hot = -1;
}

void TrackMouse(MenuTracking& menu, const SDL_Event& event) {
    if (event.type == SDL_MOUSEMOTION) {
        // Along the bar, the menu under the pointer opens instead, as on a desktop.
        const int title = TitleAt(event.motion.x, event.motion.y);
        if (title >= 0) SwitchMenu(menu, size_t(title));
        menu.Hot = ItemAt(menu.Open, event.motion.x, event.motion.y);
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        // A press outside the menu closes it, on its caption too; a press on it waits for the
        // release, which is what chooses.
        if (!MenuRect(menu.Open).Contains(event.button.x, event.button.y)) menu.Tracking = false;
    } else if (event.type == SDL_MOUSEBUTTONUP) {
        menu.Hot = ItemAt(menu.Open, event.button.x, event.button.y);
        if (menu.Hot >= 0) ChooseHot(menu);
    }
}

void TrackKey(MenuTracking& menu, const SDL_Keysym& key) {
    const size_t count = Menus.size();
    switch (key.sym) {
        case SDLK_ESCAPE:
            menu.Tracking = false;
            break;
        case SDLK_DOWN:
            menu.Hot = NextItem(menu.Open, menu.Hot, 1);
            break;
        case SDLK_UP:
            menu.Hot = NextItem(menu.Open, menu.Hot, -1);
            break;
        case SDLK_LEFT:
            SwitchMenu(menu, (menu.Open + count - 1) % count);
            break;
        case SDLK_RIGHT:
            SwitchMenu(menu, (menu.Open + 1) % count);
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            ChooseHot(menu);
            break;
        default:
            break;
    }
}

void TrackEvent(MenuTracking& menu, const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            menu.CloseRequested = true;
            menu.Tracking = false;
            break;
        case SDL_KEYDOWN:
            TrackKey(menu, event.key.keysym);
            break;
        case SDL_WINDOWEVENT:
            // Another window took the focus: a desktop menu closes then.
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) menu.Tracking = false;
            break;
        default:
            TrackMouse(menu, event);
            break;
    }
}

void RunCommand(Command command, const WindowHandlers& handlers) {
    switch (command) {
        case Command::Fullscreen:
            ToggleFullscreen();
            break;
        case Command::SharpFit:
            SetWindowScaling(Scaling::SharpFit);
            break;
        case Command::WholeSteps:
            SetWindowScaling(Scaling::WholeSteps);
            break;
        case Command::Settings:
            ShowSettingsDialog();
            break;
        case Command::ReadMe:
            if (handlers.onReadMe) handlers.onReadMe();
            break;
        case Command::About:
            if (handlers.onAbout) handlers.onAbout();
            break;
        case Command::ReplayList:
            if (handlers.onReplayList) handlers.onReplayList();
            break;
        case Command::Replay1:
        case Command::Replay2:
        case Command::Replay3:
        case Command::Replay4:
        case Command::Replay5:
            if (handlers.onWatchReplay)
                handlers.onWatchReplay(int(command) - int(Command::Replay1) + 1);
            break;
        case Command::None:
            break;
    }
}

void RunMenuLoop(size_t opened, const WindowHandlers& handlers) {
    MenuTracking menu;
    menu.Open = opened;
    while (menu.Tracking) {
        RedrawWindow([&menu] {
            DrawMenuBar();  // in fullscreen too, while a menu is open
            DrawOpenMenu(menu.Open, menu.Hot);
        });
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) break;
        do {
            TrackEvent(menu, event);
        } while (menu.Tracking && SDL_PollEvent(&event));
    }
    // Keys went to the menu (Escape closed it): the game must not see them as its own.
    ForgetKeyState();
    ForgetPadPresses();
    RedrawWindow();
    if (menu.CloseRequested) {
        CloseFromOutside();
        return;
    }
    RunCommand(menu.Chosen, handlers);
}

}  // namespace

void DrawMenuBar() {
    UiFill({0, 0, PlayArea().W, MenuBarHeight}, BarColour);
    for (size_t i = 0; i < Menus.size(); ++i)
        UiTextIn(TitleRect(i), Menus[i].Caption, TitlePadding, TextColour);
}

void HandleMenuEvent(const SDL_Event& event, const WindowHandlers& handlers) {
    if (event.type != SDL_MOUSEBUTTONDOWN || event.button.button != SDL_BUTTON_LEFT) return;
    if (!MenuBarShown()) return;
    const int title = TitleAt(event.button.x, event.button.y);
    if (title >= 0) RunMenuLoop(size_t(title), handlers);
}
