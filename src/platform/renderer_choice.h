// How the finished frame reaches the screen: drawn by the CPU into the window (the software
// path, which works everywhere), or sent to the graphics card as a texture that it scales and
// shows on the display's refresh (the GPU path). The choice is the player's, kept in data.ini as
// "auto", "gpu" or "software"; SDL_RENDER_DRIVER in the environment overrides it.
#pragma once

#include <string>

enum class RendererSetting { Auto, Gpu, Software };

// The setting a kept value names; anything else is Auto.
RendererSetting RendererSettingFrom(const std::string& value);
const char* RendererSettingName(RendererSetting setting);

// What to try first. `environmentDriver` is SDL_RENDER_DRIVER (null when unset): "software"
// asks for the software path, any other driver for the GPU path through that driver.
struct RendererPlan {
    bool TryGpu = false;
    // Whether a GPU renderer that turns out to run on the CPU is given up for the software path:
    // only when nobody asked for the GPU.
    bool RefuseSoftwareRasteriser = false;
};
RendererPlan PlanRenderer(RendererSetting setting, const char* environmentDriver);

// Whether an OpenGL renderer string names a rasteriser that runs on the CPU (Mesa's llvmpipe,
// softpipe and swrast, "Software Rasterizer"). "Mesa" alone is no sign: Mesa drives real cards
// too.
bool IsSoftwareRasteriser(const std::string& glRenderer);
