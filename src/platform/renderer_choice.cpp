#include "platform/renderer_choice.h"

#include <algorithm>
#include <array>
#include <cctype>

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

RendererPlan PlanRenderer(RendererSetting setting, const char* environmentDriver) {
    if (environmentDriver && *environmentDriver)
        return {Lowered(environmentDriver) != "software", false};
    return {setting != RendererSetting::Software, setting == RendererSetting::Auto};
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
