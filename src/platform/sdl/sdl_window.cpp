// The game window: the menu bar, and below it the 500 x 600 play area shown scaled to the
// drawable size with nearest-neighbour sampling, so it stays sharp on HiDPI screens.
#include "platform/sdl/sdl_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
SDL_Texture* Frame = nullptr;  // the last frame the game showed, kept for redrawing
int FrameWidth = 0;
int FrameHeight = 0;

void FailOnSdl(const char* what) {
    FatalError(std::string(what) + ": " + SDL_GetError());
}

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(name) + "=\"" + value + "\"" : std::string(name) + " unset";
}

// Where no desktop answers, SDL falls back to a driver that shows nothing; a game nobody can
// see must say so and stop. Asked for by name (SDL_VIDEODRIVER), such a driver is fine.
void RefuseInvisibleDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0))
        return;
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    if (requested && SDL_strcasecmp(requested, driver) == 0) return;
    FatalError("Cannot open the display: no X11 or Wayland desktop answers (" +
               EnvironmentText("DISPLAY") + ", " + EnvironmentText("WAYLAND_DISPLAY") + ")");
}

}  // namespace

SDL_Window* GameWindow() {
    return Window;
}
SDL_Renderer* GameRenderer() {
    return Renderer;
}

UiRect PlayArea() {
    return {0, MenuBarHeight, FrameWidth, FrameHeight};
}

float WindowScale() {
    int pointsWide = 0;
    int pointsHigh = 0;
    int pixelsWide = 0;
    int pixelsHigh = 0;
    SDL_GetWindowSize(Window, &pointsWide, &pointsHigh);
    if (SDL_GetRendererOutputSize(Renderer, &pixelsWide, &pixelsHigh) != 0 || pointsWide <= 0)
        return 1.0f;
    return float(pixelsWide) / float(pointsWide);
}

void OpenMainWindow(const std::string& caption, int width, int height) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // The frame is 500 x 600 at 20 frames a second: scaling it on the CPU costs next to nothing,
    // whereas a GL context (a software rasteriser where there is no GPU) would more than double
    // the game's memory and CPU use. SDL_RENDER_DRIVER in the environment still overrides this.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Long input-method compositions arrive whole instead of cut at 32 bytes.
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        FailOnSdl("Cannot open the display");
    RefuseInvisibleDisplay();
    Window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              width, height + MenuBarHeight, SDL_WINDOW_ALLOW_HIGHDPI);
    if (!Window) FailOnSdl("Cannot open the game window");
    // Text input is only for the name dialog: during play an input method must not take the
    // game's keys.
    SDL_StopTextInput();
    Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
    if (!Renderer) FailOnSdl("Cannot draw into the game window");
    FrameWidth = width;
    FrameHeight = height;
    Frame = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width,
                              height);
    if (!Frame) FailOnSdl("Cannot create the frame texture");
    // Whole pixels, whatever the scale hint says: a HiDPI screen shows big sharp pixels.
    SDL_SetTextureScaleMode(Frame, SDL_ScaleModeNearest);
    std::vector<uint32_t> black(size_t(width) * height, 0);
    SDL_UpdateTexture(Frame, nullptr, black.data(), width * int(sizeof(uint32_t)));
    RedrawWindow();
}

void RedrawWindow(const std::function<void()>& overlay) {
    if (!Renderer) return;
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
    DrawMenuBar();
    int pixelsWide = 0;
    int pixelsHigh = 0;
    SDL_GetRendererOutputSize(Renderer, &pixelsWide, &pixelsHigh);
    const int barPixels = pixelsHigh * MenuBarHeight / (FrameHeight + MenuBarHeight);
    const SDL_Rect playArea{0, barPixels, pixelsWide, pixelsHigh - barPixels};
    SDL_RenderCopy(Renderer, Frame, nullptr, &playArea);
    if (overlay) overlay();
    SDL_RenderPresent(Renderer);
}

void PresentPixels(const uint32_t* pixels, int width, int height) {
    if (!Renderer || width != FrameWidth || height != FrameHeight) return;
    SDL_UpdateTexture(Frame, nullptr, pixels, width * int(sizeof(uint32_t)));
    RedrawWindow();
}
