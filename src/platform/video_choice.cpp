#include "platform/video_choice.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr const char* Wayland = "wayland";
constexpr const char* X11 = "x11";

}  // namespace

VideoSetting VideoSettingFrom(const std::string& value) {
    std::string lowered = value;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (lowered == Wayland) return VideoSetting::Wayland;
    if (lowered == X11) return VideoSetting::X11;
    return VideoSetting::Auto;
}

const char* VideoSettingName(VideoSetting setting) {
    switch (setting) {
        case VideoSetting::Wayland:
            return Wayland;
        case VideoSetting::X11:
            return X11;
        case VideoSetting::Auto:
            break;
    }
    return "auto";
}

std::array<const char*, 2> VideoDriverOrder(VideoSetting setting, bool waylandSession) {
    const bool waylandFirst =
        setting == VideoSetting::Wayland || (setting == VideoSetting::Auto && waylandSession);
    if (waylandFirst) return {Wayland, X11};
    return {X11, Wayland};
}

const char* VideoDriverTitle(const char* driver) {
    return std::strcmp(driver, Wayland) == 0 ? "Wayland" : "X11";
}
