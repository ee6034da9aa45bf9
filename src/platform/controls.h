// The keys and pad buttons the player uses by default, and what each does: the one table that
// --help and the read-me (tools/assetgen) print and that README lists. The settings rebind them.
// Every key the game reads (AnswerKeys) belongs to one row; the window's own keys (pause,
// fullscreen) and the pad's buttons have rows with no game key.
#pragma once

#include <array>
#include <string>

#include "platform/platform.h"

struct ControlRow {
    const char* Keys;  // as the player reads them
    const char* Use;
    std::array<int, 5> GameKeys{};  // the virtual keys the row stands for; 0 fills the rest
};

inline constexpr ControlRow Controls[] = {
    {"Arrow keys",
     "move the ship; move the menu cursor, change an option",
     {VkLeft, VkUp, VkRight, VkDown}},
    {"Numeric keypad 8 / 2 (or 5) / 4 / 6",
     "move the ship",
     {VkNumpad8, VkNumpad2, VkNumpad5, VkNumpad4, VkNumpad6}},
    {"Z", "fire (hold it for a volley every third frame); choose a menu item", {VkZ}},
    {"Return", "choose a menu item", {VkReturn}},
    {"Escape",
     "in play, asks whether to quit; leaves the options screen; on the title, starts a game",
     {VkEscape}},
    {"P or Pause", "pauses play, and again resumes it", {}},
    {"F11 or Alt+Enter", "fullscreen on and off", {}},
    {"F9", "the settings: keys, pad buttons, volume, the picture's turn; in the pause too", {}},
    {"F8", "the replay list: watch, check, keep or delete the games kept; in the pause too", {}},
    {"Pad D-pad or left stick", "as the arrow keys", {}},
    {"Pad A", "as Z", {}},
    {"Pad B", "as Return", {}},
    {"Pad Start", "as Return; in play, pauses", {}},
    {"Pad Back", "as Escape", {}},
    {"Pad guide button", "the settings", {}},
};

// The table as lines of plain text: two blanks, the keys in a column of their own, the use
// wrapped to `width` characters under itself.
std::string ControlsText(size_t width);
