#include "platform/renderer_choice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

}  // namespace

RendererSetting RendererSettingFrom(const std::string& value) {
    const std::string lowered = Lowered(value);
    if (lowered == "gpu") return RendererSetting::Gpu;
    if (lowered == "software") return RendererSetting::Software;
    return RendererSetting::Auto;
}

const char* RendererSettingName(RendererSetting setting) {
    switch (setting) {
        case RendererSetting::Gpu:
            return "gpu";
        case RendererSetting::Software:
            return "software";
        case RendererSetting::Auto:
            break;
    }
    return "auto";
}

RendererPlan PlanRenderer(RendererSetting setting, const char* environmentDriver, bool cardSeen) {
    if (environmentDriver && *environmentDriver)
        return {Lowered(environmentDriver) != "software", false};
    if (setting == RendererSetting::Auto) return {cardSeen, true};
    return {setting == RendererSetting::Gpu, false};
}

bool GraphicsCardSeen(const std::string& devices, const std::string& drmClass) {
    namespace fs = std::filesystem;
    // vgem shares buffers between programs and vkms only shows them: neither draws.
    constexpr std::array<const char*, 2> VirtualDrivers{"vgem", "vkms"};
    std::error_code error;
    for (const fs::directory_entry& node : fs::directory_iterator(devices, error)) {
        const std::string name = node.path().filename().string();
        if (name.rfind("renderD", 0) != 0) continue;
        const fs::path driver =
            fs::read_symlink(fs::path(drmClass) / name / "device" / "driver", error);
        if (error) return true;
        const std::string driverName = driver.filename().string();
        if (std::none_of(VirtualDrivers.begin(), VirtualDrivers.end(),
                         [&](const char* known) { return driverName == known; }))
            return true;
    }
    return false;
}

bool IsSoftwareRasteriser(const std::string& glRenderer) {
    const std::string lowered = Lowered(glRenderer);
    // Mesa's classic swrast names itself "Software Rasterizer".
    constexpr std::array<const char*, 4> Rasterisers{"llvmpipe", "softpipe", "swrast",
                                                     "software rasterizer"};
    return std::any_of(Rasterisers.begin(), Rasterisers.end(), [&lowered](const char* name) {
        return lowered.find(name) != std::string::npos;
    });
}
