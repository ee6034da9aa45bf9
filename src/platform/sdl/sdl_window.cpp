// The game window: the menu bar, and below it the 500 x 600 play area. The two make one
// picture, scaled by the largest whole factor the window allows and centred on black, with
// nearest-neighbour sampling, so that it stays sharp at any window size and on HiDPI screens.
#include "platform/sdl/sdl_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/profile.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/window_scale.h"

namespace {

SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
std::vector<uint32_t> LastFrame;  // the last frame the game showed, kept for redrawing
SDL_Texture* Frame = nullptr;     // the same for renderers that draw elsewhere than in memory
bool FrameTextureStale = true;
int FrameWidth = 0;
int FrameHeight = 0;

// Room left around the opening window for the desktop's frame and panels.
constexpr int OpeningMargin = 64;

// The window's size and mode, kept between runs in a section of the game's data file of its own.
const std::string WindowSection = "window";
std::string SettingsFile;
int WindowedScale = 1;  // the last whole scale of the window while neither maximised nor full
// Whether the player chose the scale (now or in an earlier run): one never chosen is not kept,
// so that the window still opens to fit a larger screen later.
bool ScaleChosen = false;

// In fullscreen the mouse pointer hides once it has been still this long, and shows again as
// soon as it moves.
constexpr Uint32 PointerIdleMs = 2000;
Uint32 LastPointerMotion = 0;
bool PointerHidden = false;

void ShowPointer(bool shown) {
    if (PointerHidden != shown) return;
    PointerHidden = !shown;
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

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

PictureSize Picture() {
    return {FrameWidth, FrameHeight + MenuBarHeight};
}

PictureSize WindowPoints() {
    PictureSize size;
    SDL_GetWindowSize(Window, &size.Width, &size.Height);
    return size;
}

PictureSize DrawablePixels() {
    PictureSize size;
    if (SDL_GetRendererOutputSize(Renderer, &size.Width, &size.Height) != 0) return WindowPoints();
    return size;
}

bool IsFullscreen() {
    return (SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

// Mouse positions arrive in window points; everything that reads them (the menu bar, the boxes,
// the name dialog) works in the picture's own pixels. Run as each event is queued.
int MapMouseToPicture(void*, SDL_Event* event) {
    int* x = nullptr;
    int* y = nullptr;
    if (event->type == SDL_MOUSEMOTION) {
        x = &event->motion.x;
        y = &event->motion.y;
    } else if (event->type == SDL_MOUSEBUTTONDOWN || event->type == SDL_MOUSEBUTTONUP) {
        x = &event->button.x;
        y = &event->button.y;
    }
    if (!x || !Window) return 1;
    if (event->type == SDL_MOUSEMOTION) {
        LastPointerMotion = SDL_GetTicks();
        ShowPointer(true);
    }
    const PictureSize points = WindowPoints();
    const PictureSize pixels = DrawablePixels();
    if (points.Width <= 0 || points.Height <= 0) return 1;
    const PicturePlacement place = PictureInWindow();
    *x = PictureCoordinate(*x * pixels.Width / points.Width, place.X, place.Scale);
    *y = PictureCoordinate(*y * pixels.Height / points.Height, place.Y, place.Scale);
    return 1;
}

int SavedSetting(const std::string& key, int fallback) {
    if (SettingsFile.empty()) return fallback;
    const std::string value = GetProfileString(SettingsFile, WindowSection, key, "", 8);
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    return (value.empty() || *end != '\0') ? fallback : int(number);
}

// The scale asked for before, where it still fits the screen; else the largest that fits.
int OpeningWindowScale() {
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    const int fitting = OpeningScale({usable.w, usable.h}, Picture(), OpeningMargin);
    const int saved = SavedSetting("scale", 0);
    if (saved < 1) return fitting;
    ScaleChosen = true;
    return std::min(saved, LargestWholeScale({usable.w, usable.h}, Picture()));
}

void NoteWindowSize() {
    const Uint32 flags = SDL_GetWindowFlags(Window);
    if ((flags & (SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_MAXIMIZED)) != 0) return;
    const int scale = LargestWholeScale(WindowPoints(), Picture());
    if (scale != WindowedScale) ScaleChosen = true;
    WindowedScale = scale;
}

// The software renderer draws into the window's surface. There the frame is scaled by whole
// pixels directly: each row widened once and copied down, a fraction of what a general stretch
// costs at 3x. Returns false where the surface cannot take it (another renderer, another pixel
// format, a window the desktop made smaller than the picture).
bool DrawFrameIntoSurface(const SDL_Rect& where, int scale) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(Renderer, &info) != 0 || (info.flags & SDL_RENDERER_SOFTWARE) == 0)
        return false;
    SDL_RenderFlush(Renderer);  // what was drawn before must lie under the frame
    SDL_Surface* surface = SDL_GetWindowSurface(Window);
    if (!surface || surface->format->BytesPerPixel != 4 || surface->format->Rmask != 0xFF0000 ||
        surface->format->Gmask != 0x00FF00 || surface->format->Bmask != 0x0000FF)
        return false;
    if (where.x < 0 || where.y < 0 || where.x + where.w > surface->w ||
        where.y + where.h > surface->h)
        return false;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    const size_t rowBytes = size_t(where.w) * sizeof(uint32_t);
    for (int y = 0; y < FrameHeight; ++y) {
        const uint32_t* from = LastFrame.data() + size_t(y) * FrameWidth;
        auto* first = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                                  size_t(where.y + y * scale) * surface->pitch) +
                      where.x;
        uint32_t* to = first;
        for (int x = 0; x < FrameWidth; ++x) {
            for (int copy = 0; copy < scale; ++copy) *to++ = from[x];
        }
        for (int copy = 1; copy < scale; ++copy)
            std::memcpy(reinterpret_cast<uint8_t*>(first) + size_t(copy) * surface->pitch, first,
                        rowBytes);
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return true;
}

void DrawFrame(const SDL_Rect& where, int scale) {
    if (DrawFrameIntoSurface(where, scale)) return;
    if (FrameTextureStale) {
        SDL_UpdateTexture(Frame, nullptr, LastFrame.data(), FrameWidth * int(sizeof(uint32_t)));
        FrameTextureStale = false;
    }
    SDL_RenderCopy(Renderer, Frame, nullptr, &where);
}

// Black around the picture, drawn apart from it: clearing the whole of a large window with every
// frame would cost as much as drawing the picture again.
void DrawBlackAround(const PicturePlacement& place) {
    const PictureSize window = DrawablePixels();
    const PictureSize picture = Picture();
    const int right = place.X + picture.Width * place.Scale;
    const int bottom = place.Y + picture.Height * place.Scale;
    const SDL_Rect around[] = {{0, 0, window.Width, place.Y},
                               {0, bottom, window.Width, window.Height - bottom},
                               {0, place.Y, place.X, bottom - place.Y},
                               {right, place.Y, window.Width - right, bottom - place.Y}};
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    for (const SDL_Rect& rect : around) {
        if (rect.w > 0 && rect.h > 0) SDL_RenderFillRect(Renderer, &rect);
    }
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

PicturePlacement PictureInWindow() {
    return PlacePicture(DrawablePixels(), Picture());
}

void KeepWindowSettingsIn(const std::string& profileFile) {
    SettingsFile = profileFile;
}

void SaveWindowSettings() {
    if (!Window || SettingsFile.empty()) return;
    if (ScaleChosen)
        WriteProfileString(SettingsFile, WindowSection, "scale", std::to_string(WindowedScale));
    WriteProfileString(SettingsFile, WindowSection, "fullscreen", IsFullscreen() ? "1" : "0");
}

void ToggleFullscreen() {
    if (!Window) return;
    SDL_SetWindowFullscreen(Window, IsFullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    LastPointerMotion = SDL_GetTicks();
    ShowPointer(true);
    RedrawWindow();
}

void HandleWindowChange(const SDL_WindowEvent& event) {
    if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED) NoteWindowSize();
    if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED || event.event == SDL_WINDOWEVENT_EXPOSED)
        RedrawWindow();
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
    OpenGamepads();
    FrameWidth = width;
    FrameHeight = height;
    WindowedScale = OpeningWindowScale();
    const PictureSize picture = Picture();
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
    if (SavedSetting("fullscreen", 0) == 1) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    Window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              picture.Width * WindowedScale, picture.Height * WindowedScale, flags);
    if (!Window) FailOnSdl("Cannot open the game window");
    SDL_SetWindowMinimumSize(Window, picture.Width, picture.Height);
    // Text input is only for the name dialog: during play an input method must not take the
    // game's keys.
    SDL_StopTextInput();
    Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
    if (!Renderer) FailOnSdl("Cannot draw into the game window");
    SDL_AddEventWatch(MapMouseToPicture, nullptr);
    Frame = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width,
                              height);
    if (!Frame) FailOnSdl("Cannot create the frame texture");
    // Whole pixels, whatever the scale hint says: a HiDPI screen shows big sharp pixels.
    SDL_SetTextureScaleMode(Frame, SDL_ScaleModeNearest);
    LastFrame.assign(size_t(width) * height, 0);
    RedrawWindow();
}

void RedrawWindow(const std::function<void()>& overlay) {
    if (!Renderer) return;
    const PicturePlacement place = PictureInWindow();
    DrawBlackAround(place);
    DrawMenuBar();
    const SDL_Rect playArea{place.X, place.Y + MenuBarHeight * place.Scale,
                            FrameWidth * place.Scale, FrameHeight * place.Scale};
    DrawFrame(playArea, place.Scale);
    if (overlay) overlay();
    SDL_RenderPresent(Renderer);
    if (IsFullscreen() && SDL_GetTicks() - LastPointerMotion >= PointerIdleMs) ShowPointer(false);
}

void PresentPixels(const uint32_t* pixels, int width, int height) {
    if (!Renderer || width != FrameWidth || height != FrameHeight) return;
    LastFrame.assign(pixels, pixels + size_t(width) * height);
    FrameTextureStale = true;
    RedrawWindow();
}
