// The menu bar above the play area with its one menu, "ヘルプ". SDL has no native menus, so the
// bar is drawn with every frame and the open menu runs its own loop, as a desktop menu does:
// the game stands still, no frame is drawn, until the menu closes.
#include <algorithm>
#include <array>
#include <string>

#include "platform/key_state.h"
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
constexpr int TitlePadding = 7;  // blank either side of the menu's caption
constexpr int ItemHeight = 22;
constexpr int SeparatorHeight = 9;
constexpr int ItemTextInset = 28;  // where a desktop menu leaves room for check marks
constexpr int MenuMinWidth = 140;

const std::string MenuCaption = "ヘルプ";

// The five places of the table follow one another, from Replay1.
enum class Command { None, ReadMe, About, Replay1, Replay2, Replay3, Replay4, Replay5 };
struct MenuItem {
    std::string Caption;  // empty for the separator
    Command Action = Command::None;
};
const std::array<MenuItem, 9> Items{{
    {"ReadMeを表示", Command::ReadMe},
    {"", Command::None},
    {"1位のリプレイを見る", Command::Replay1},
    {"2位のリプレイを見る", Command::Replay2},
    {"3位のリプレイを見る", Command::Replay3},
    {"4位のリプレイを見る", Command::Replay4},
    {"5位のリプレイを見る", Command::Replay5},
    {"", Command::None},
    {"アバウト", Command::About},
}};

UiRect TitleRect() {
    return {0, 0, UiTextWidth(MenuCaption) + 2 * TitlePadding, MenuBarHeight};
}

UiRect MenuRect() {
    int widest = 0;
    for (const MenuItem& item : Items) widest = std::max(widest, UiTextWidth(item.Caption));
    int height = 6;
    for (const MenuItem& item : Items)
        height += item.Caption.empty() ? SeparatorHeight : ItemHeight;
    return {0, MenuBarHeight, std::max(MenuMinWidth, widest + 2 * ItemTextInset), height};
}

UiRect ItemRect(size_t index) {
    const UiRect menu = MenuRect();
    int top = menu.Y + 3;
    for (size_t i = 0; i < index; ++i)
        top += Items[i].Caption.empty() ? SeparatorHeight : ItemHeight;
    const int height = Items[index].Caption.empty() ? SeparatorHeight : ItemHeight;
    return {menu.X + 2, top, menu.W - 4, height};
}

// The command item under a point, or -1 (the separator is not an item one can choose).
int ItemAt(int x, int y) {
    for (size_t i = 0; i < Items.size(); ++i) {
        if (Items[i].Action != Command::None && ItemRect(i).Contains(x, y)) return int(i);
    }
    return -1;
}

int NextItem(int from, int direction) {
    const int count = int(Items.size());
    int index = from < 0 ? (direction > 0 ? -1 : count) : from;
    for (int step = 0; step < count; ++step) {
        index = (index + direction + count) % count;
        if (Items[size_t(index)].Action != Command::None) return index;
    }
    return from;
}

void DrawOpenMenu(int hot) {
    const UiRect title = TitleRect();
    UiFill(title, HotFill);
    UiOutline(title, HotBorder);
    UiTextIn(title, MenuCaption, TitlePadding, TextColour);
    const UiRect menu = MenuRect();
    UiFill(menu, MenuFill);
    UiOutline(menu, MenuBorder);
    for (size_t i = 0; i < Items.size(); ++i) {
        const UiRect row = ItemRect(i);
        if (Items[i].Caption.empty()) {
            UiFill({row.X + ItemTextInset - 2, row.Y + row.H / 2, row.W - ItemTextInset, 1},
                   SeparatorColour);
            continue;
        }
        if (int(i) == hot) {
            UiFill(row, HotFill);
            UiOutline(row, HotBorder);
        }
        UiTextIn(row, Items[i].Caption, ItemTextInset - 2, TextColour);
    }
}

struct MenuTracking {
    int Hot = -1;  // the highlighted item
    bool Open = true;
    Command Chosen = Command::None;
    bool CloseRequested = false;  // the window's close box was used
};

void ChooseHot(MenuTracking& menu) {
    if (menu.Hot >= 0) menu.Chosen = Items[size_t(menu.Hot)].Action;
    menu.Open = false;
}

void TrackMouse(MenuTracking& menu, const SDL_Event& event) {
    if (event.type == SDL_MOUSEMOTION) {
        menu.Hot = ItemAt(event.motion.x, event.motion.y);
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
        // A press outside the menu closes it, on its caption too; a press on it waits for the
        // release, which is what chooses.
        if (!MenuRect().Contains(event.button.x, event.button.y)) menu.Open = false;
    } else if (event.type == SDL_MOUSEBUTTONUP) {
        menu.Hot = ItemAt(event.button.x, event.button.y);
        if (menu.Hot >= 0) ChooseHot(menu);
    }
}

void TrackKey(MenuTracking& menu, const SDL_Keysym& key) {
    if (key.sym == SDLK_ESCAPE) menu.Open = false;
    if (key.sym == SDLK_DOWN) menu.Hot = NextItem(menu.Hot, 1);
    if (key.sym == SDLK_UP) menu.Hot = NextItem(menu.Hot, -1);
    if (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) ChooseHot(menu);
}

void TrackEvent(MenuTracking& menu, const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            menu.CloseRequested = true;
            menu.Open = false;
            break;
        case SDL_KEYDOWN:
            TrackKey(menu, event.key.keysym);
            break;
        case SDL_WINDOWEVENT:
            // Another window took the focus: a desktop menu closes then.
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) menu.Open = false;
            break;
        default:
            TrackMouse(menu, event);
            break;
    }
}

void RunCommand(Command command, const WindowHandlers& handlers) {
    if (command == Command::ReadMe && handlers.onReadMe) handlers.onReadMe();
    if (command == Command::About && handlers.onAbout) handlers.onAbout();
    if (command >= Command::Replay1 && handlers.onWatchReplay)
        handlers.onWatchReplay(int(command) - int(Command::Replay1) + 1);
}

void RunMenuLoop(const WindowHandlers& handlers) {
    MenuTracking menu;
    while (menu.Open) {
        RedrawWindow([&menu] { DrawOpenMenu(menu.Hot); });
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) break;
        do {
            TrackEvent(menu, event);
        } while (menu.Open && SDL_PollEvent(&event));
    }
    // Keys went to the menu (Escape closed it): the game must not see them as its own.
    ForgetKeyState();
    RedrawWindow();
    if (menu.CloseRequested) {
        if (handlers.onClose) handlers.onClose();
        return;
    }
    RunCommand(menu.Chosen, handlers);
}

}  // namespace

void DrawMenuBar() {
    UiFill({0, 0, PlayArea().W, MenuBarHeight}, BarColour);
    UiTextIn(TitleRect(), MenuCaption, TitlePadding, TextColour);
}

void HandleMenuEvent(const SDL_Event& event, const WindowHandlers& handlers) {
    if (event.type != SDL_MOUSEBUTTONDOWN || event.button.button != SDL_BUTTON_LEFT) return;
    if (TitleRect().Contains(event.button.x, event.button.y)) RunMenuLoop(handlers);
}
