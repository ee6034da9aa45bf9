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
// `cardSeen`: whether the system shows a graphics card (GraphicsCardSeen); auto without one goes
// straight to the software path, so that no OpenGL library is loaded only to find none.
RendererPlan PlanRenderer(RendererSetting setting, const char* environmentDriver, bool cardSeen);

// Whether the kernel offers a graphics card to draw with: a DRM render node (renderD* in
// `devices`, normally /dev/dri) whose driver (the link device/driver of the node in `drmClass`,
// normally /sys/class/drm) is not a virtual one that draws nothing itself. A node whose driver
// cannot be read counts as a card: the OpenGL renderer's own name has the last word.
bool GraphicsCardSeen(const std::string& devices = "/dev/dri",
                      const std::string& drmClass = "/sys/class/drm");

// Whether an OpenGL renderer string names a rasteriser that runs on the CPU (Mesa's llvmpipe,
// softpipe and swrast, "Software Rasterizer"). "Mesa" alone is no sign: Mesa drives real cards
// too.
bool IsSoftwareRasteriser(const std::string& glRenderer);
