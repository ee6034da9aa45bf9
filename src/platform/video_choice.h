// Which display system the window opens on. On a Wayland desktop the game talks to the
// compositor itself: through XWayland the compositor would enlarge the whole window with its own
// filter on a HiDPI screen, and the sharp picture would arrive blurred. Elsewhere X11. The
// player may choose in data.ini ("auto", "wayland", "x11"); SDL_VIDEODRIVER in the environment
// overrides both.
#pragma once

#include <array>
#include <string>

enum class VideoSetting { Auto, Wayland, X11 };

// The setting a kept value names; anything else is Auto.
VideoSetting VideoSettingFrom(const std::string& value);
const char* VideoSettingName(VideoSetting setting);

// SDL's names of the two drivers in the order they are tried: the first where it starts, the
// second where it does not. `waylandSession` is whether WAYLAND_DISPLAY names a compositor.
std::array<const char*, 2> VideoDriverOrder(VideoSetting setting, bool waylandSession);
// What a player reads for a driver's name in a message.
const char* VideoDriverTitle(const char* driver);
