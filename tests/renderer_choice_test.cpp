// Which way frames reach the screen: the player's setting, the environment's override, the
// renderer strings that give a GPU driver away as a rasteriser running on the CPU, and the
// display system the window opens on.
#include "platform/renderer_choice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/video_choice.h"
#include "support/test_support.h"

namespace {

TEST(RendererChoice, SoftwareRasterisersAreKnownByNameNotByMesa) {
    EXPECT_TRUE(IsSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsSoftwareRasteriser("Gallium 0.4 on softpipe"));
    EXPECT_TRUE(IsSoftwareRasteriser("Software Rasterizer"));
    EXPECT_TRUE(IsSoftwareRasteriser("Mesa swrast"));
    EXPECT_FALSE(IsSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(IsSoftwareRasteriser("AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)"));
    EXPECT_FALSE(IsSoftwareRasteriser(""));  // not OpenGL: nothing says it is no GPU
}

TEST(RendererChoice, TheEnvironmentOverridesTheSettingAndOnlyAutoRefusesARasteriser) {
    const RendererPlan automatic = PlanRenderer(RendererSetting::Auto, nullptr, true);
    EXPECT_TRUE(automatic.TryGpu);
    EXPECT_TRUE(automatic.RefuseSoftwareRasteriser);
    const RendererPlan gpu = PlanRenderer(RendererSettingFrom("GPU"), nullptr, false);
    EXPECT_TRUE(gpu.TryGpu);
    EXPECT_FALSE(gpu.RefuseSoftwareRasteriser);
    EXPECT_FALSE(PlanRenderer(RendererSettingFrom("software"), nullptr, true).TryGpu);
    EXPECT_FALSE(PlanRenderer(RendererSetting::Gpu, "software", true).TryGpu);
    const RendererPlan named = PlanRenderer(RendererSetting::Software, "opengl", false);
    EXPECT_TRUE(named.TryGpu);
    EXPECT_FALSE(named.RefuseSoftwareRasteriser);
    // An unknown kept value is auto, never a lock-out.
    EXPECT_EQ(RendererSettingFrom("vulkan"), RendererSetting::Auto);
    EXPECT_STREQ(RendererSettingName(RendererSettingFrom("software")), "software");
}

TEST(RendererChoice, AutoWithoutACardNeverTriesTheGpu) {
    EXPECT_FALSE(PlanRenderer(RendererSetting::Auto, nullptr, false).TryGpu);
    // The environment still names its driver.
    EXPECT_TRUE(PlanRenderer(RendererSetting::Auto, "opengl", false).TryGpu);
}

TEST(RendererChoice, ACardIsARenderNodeWithADriverThatDraws) {
    namespace fs = std::filesystem;
    const fs::path root = MakeScratchDir();
    const fs::path devices = root / "dev";
    const fs::path drm = root / "drm";
    fs::create_directories(devices);
    const auto node = [&](const std::string& name, const std::string& driver) {
        WriteFile((devices / name).string(), "");
        fs::create_directories(drm / name / "device");
        if (!driver.empty())
            fs::create_symlink("../../../bus/pci/drivers/" + driver,
                               drm / name / "device" / "driver");
    };
    EXPECT_FALSE(GraphicsCardSeen(devices.string(), drm.string()));  // no node at all
    node("card0", "i915");                                           // a node that cannot render
    EXPECT_FALSE(GraphicsCardSeen(devices.string(), drm.string()));
    node("renderD128", "vgem");
    EXPECT_FALSE(GraphicsCardSeen(devices.string(), drm.string()));
    node("renderD129", "amdgpu");
    EXPECT_TRUE(GraphicsCardSeen(devices.string(), drm.string()));
    fs::remove(devices / "renderD129");
    node("renderD130", "");  // no driver to read: the renderer's name decides
    EXPECT_TRUE(GraphicsCardSeen(devices.string(), drm.string()));
    EXPECT_FALSE(GraphicsCardSeen((root / "missing").string(), drm.string()));
    fs::remove_all(root);
}

// Native Wayland where the session is Wayland, X11 elsewhere; the player's choice goes first
// either way, and the other is always there to fall back on.
TEST(RendererChoice, TheWindowOpensOnWaylandFirstInAWaylandSessionOrWhereThePlayerChoseIt) {
    using Order = std::array<const char*, 2>;
    const auto order = [](VideoSetting setting, bool session) {
        const Order got = VideoDriverOrder(setting, session);
        return std::string(got[0]) + "," + got[1];
    };
    EXPECT_EQ(order(VideoSetting::Auto, true), "wayland,x11");
    EXPECT_EQ(order(VideoSetting::Auto, false), "x11,wayland");
    EXPECT_EQ(order(VideoSettingFrom("X11"), true), "x11,wayland");
    EXPECT_EQ(order(VideoSettingFrom("wayland"), false), "wayland,x11");
    // An unknown kept value is auto; what is kept is read back as the same choice.
    EXPECT_EQ(VideoSettingFrom("directfb"), VideoSetting::Auto);
    for (VideoSetting setting : {VideoSetting::Auto, VideoSetting::Wayland, VideoSetting::X11})
        EXPECT_EQ(VideoSettingFrom(VideoSettingName(setting)), setting);
}

}  // namespace
