// The game window: the menu bar and below it the 500 x 600 play area, one picture scaled to the
// window (sharp fit or whole steps) and centred on black. In fullscreen the play area alone
// fills the screen's height and the menu bar comes over it when the pointer reaches the top.
#include "platform/sdl/sdl_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/answers.h"
#include "platform/picture_turn.h"
#include "platform/profile.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_menu.h"
#include "platform/sdl/sdl_outside_end.h"
#include "platform/sdl/sdl_present.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_watch.h"
#include "platform/watch_control.h"
#include "platform/window_scale.h"

namespace {

SDL_Window* Window = nullptr;
int FrameWidth = 0;
int FrameHeight = 0;

// Room left around the opening window for the desktop's frame and panels.
constexpr int OpeningMargin = 64;

// The window's size, mode, scaling and renderer, kept between runs in a section of the game's
// data file of its own.
const std::string WindowSection = "window";
constexpr size_t SavedTextBytes = 16;
// The section's values as the settings file held them before the window opened; none kept
// means a program that keeps no window settings (a test, a replay played fast).
bool SettingsKept = false;
std::map<std::string, std::string> SavedTexts;
struct WindowSettings {
    PictureSize Size;  // the window's size while neither maximised nor full
    // Whether the player chose the size (now or in an earlier run): one never chosen is not
    // kept, so that the window still opens to fit a larger screen later.
    bool SizeChosen = false;
    Scaling Scale = Scaling::SharpFit;
    RendererSetting Renderer = RendererSetting::Auto;
    VideoSetting Video = VideoSetting::Auto;  // kept as chosen: a fall-back costs one line
    int Rotation = 0;  // the picture turned clockwise, for a monitor on its side
};
WindowSettings Settings;

// In fullscreen the mouse pointer hides once it has been still this long, and shows again as
// soon as it moves.
constexpr Uint32 PointerIdleMs = 2000;
Uint32 LastPointerMotion = 0;
bool PointerHidden = false;
// In fullscreen, the pointer within this many points of the screen's top shows the menu bar,
// until it leaves the bar.
constexpr int MenuRevealEdge = 2;
bool MenuBarRevealed = false;

// What the window showed at its last whole drawing, so that a new frame can be drawn over it by
// what changed: the frame alone over its place (no overlay, no menu bar over it), and where.
struct WindowDrawing {
    bool FrameAlone = false;
    SDL_Rect Frame{};
    bool MenuBar = false;
};
WindowDrawing Drawn;

void ShowPointer(bool shown) {
    if (PointerHidden != shown) return;
    PointerHidden = !shown;
    SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void HideIdlePointer() {
    if (IsFullscreen() && SDL_GetTicks() - LastPointerMotion >= PointerIdleMs) ShowPointer(false);
}

void FailOnSdl(const char* what) {
    FatalError(std::string(what) + ": " + SDL_GetError());
}

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(name) + "=\"" + value + "\"" : std::string(name) + " unset";
}

void FailForNoDesktop(const std::string& why) {
    FatalError("Cannot open the display: no X11 or Wayland desktop answers (" +
               EnvironmentText("DISPLAY") + ", " + EnvironmentText("WAYLAND_DISPLAY") + ")" + why);
}

// Where no desktop answers, SDL may fall back to a driver that shows nothing; a game nobody can
// see must say so and stop. Asked for by name (SDL_VIDEODRIVER), such a driver is fine.
void RefuseInvisibleDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0))
        return;
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    if (requested && SDL_strcasecmp(requested, driver) == 0) return;
    FailForNoDesktop("");
}

// The picture the window shows: the menu bar over the play area, or in fullscreen the play
// area alone.
PictureSize Picture() {
    if (Window && IsFullscreen()) return {FrameWidth, FrameHeight};
    return {FrameWidth, FrameHeight + MenuBarHeight};
}
PictureSize WindowedPicture() {
    return {FrameWidth, FrameHeight + MenuBarHeight};
}

PictureSize WindowPoints() {
    PictureSize size;
    SDL_GetWindowSize(Window, &size.Width, &size.Height);
    return size;
}

PictureSize DrawablePixels() {
    PictureSize size;
    if (SDL_GetRendererOutputSize(PresenterRenderer(), &size.Width, &size.Height) != 0)
        return WindowPoints();
    return size;
}

// The picture's place in the window, turned.
PicturePlacement PictureInWindow() {
    return PlacePicture(DrawablePixels(), TurnedSize(Picture(), Settings.Rotation), Settings.Scale);
}

// The picture's size on the screen before its turn.
PictureSize ShownUnturned(const PicturePlacement& place) {
    return TurnedSize({place.Width, place.Height}, Settings.Rotation);
}

SDL_Rect WholePicture() {
    const PicturePlacement place = PictureInWindow();
    return {place.X, place.Y, place.Width, place.Height};
}

// In fullscreen the menu bar comes when the pointer reaches the top of the screen and goes when
// it leaves the bar.
void RevealMenuBar(int pointY, int pictureX, int pictureY) {
    if (!IsFullscreen()) return;
    if (pointY < MenuRevealEdge)
        MenuBarRevealed = true;
    else if (pictureY >= MenuBarHeight || pictureX < 0 || pictureX >= FrameWidth)
        MenuBarRevealed = false;
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
    const PictureSize picture = Picture();
    const PictureSize unturned = ShownUnturned(place);
    // How far the point is from the screen's edge that the picture's top faces.
    int edgeX = *x;
    int pointY = *y;
    TurnPointBack(edgeX, pointY, TurnedSize(points, Settings.Rotation), Settings.Rotation);
    int shownX = *x * pixels.Width / points.Width - place.X;
    int shownY = *y * pixels.Height / points.Height - place.Y;
    TurnPointBack(shownX, shownY, unturned, Settings.Rotation);
    *x = PictureCoordinate(shownX, 0, unturned.Width, picture.Width);
    *y = PictureCoordinate(shownY, 0, unturned.Height, picture.Height);
    if (event->type == SDL_MOUSEMOTION) RevealMenuBar(pointY, *x, *y);
    return 1;
}

std::string SavedText(const std::string& key) {
    const auto found = SavedTexts.find(key);
    return found == SavedTexts.end() ? "" : found->second;
}

int SavedNumber(const std::string& key, int fallback) {
    const std::string value = SavedText(key);
    char* end = nullptr;
    const long number = std::strtol(value.c_str(), &end, 10);
    return (value.empty() || *end != '\0') ? fallback : int(number);
}

// The windowed picture as turned: the window's least size.
PictureSize TurnedWindowedPicture() {
    return TurnedSize(WindowedPicture(), Settings.Rotation);
}

void ReadWindowSettings() {
    Settings.Scale = SavedText("scaling") == "whole" ? Scaling::WholeSteps : Scaling::SharpFit;
    Settings.Renderer = RendererSettingFrom(SavedText("renderer"));
    Settings.Video = VideoSettingFrom(SavedText("video"));
    Settings.Rotation = PictureTurnFrom(SavedNumber("rotation", 0));
    Settings.Size = {SavedNumber("width", 0), SavedNumber("height", 0)};
    const PictureSize picture = TurnedWindowedPicture();
    Settings.SizeChosen =
        Settings.Size.Width >= picture.Width && Settings.Size.Height >= picture.Height;
}

// The size chosen before, where it still fits the screen (else as much of it as fits); else the
// largest picture that fits the screen.
PictureSize OpeningWindowSize() {
    const PictureSize picture = TurnedWindowedPicture();
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return picture;
    if (!Settings.SizeChosen)
        return OpeningSize({usable.w, usable.h}, picture, OpeningMargin, Settings.Scale);
    return {std::max(picture.Width, std::min(Settings.Size.Width, usable.w)),
            std::max(picture.Height, std::min(Settings.Size.Height, usable.h))};
}

void NoteWindowSize() {
    const Uint32 flags = SDL_GetWindowFlags(Window);
    if ((flags & (SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_MAXIMIZED)) != 0) return;
    const PictureSize size = WindowPoints();
    if (size.Width != Settings.Size.Width || size.Height != Settings.Size.Height)
        Settings.SizeChosen = true;
    Settings.Size = size;
}

}  // namespace

SDL_Window* GameWindow() {
    return Window;
}
SDL_Renderer* GameRenderer() {
    return PresenterRenderer();
}

UiRect PlayArea() {
    return {0, IsFullscreen() ? 0 : MenuBarHeight, FrameWidth, FrameHeight};
}

SDL_Rect PictureRectInShown(const UiRect& rect) {
    const PictureSize shown = ShownUnturned(PictureInWindow());
    const PictureSize picture = Picture();
    const int left = AreaCoordinate(rect.X, 0, shown.Width, picture.Width);
    const int top = AreaCoordinate(rect.Y, 0, shown.Height, picture.Height);
    const int right = AreaCoordinate(rect.X + rect.W, 0, shown.Width, picture.Width);
    const int bottom = AreaCoordinate(rect.Y + rect.H, 0, shown.Height, picture.Height);
    return {left, top, right - left, bottom - top};
}

SDL_Rect ShownRectInWindow(const SDL_Rect& shown) {
    const PicturePlacement place = PictureInWindow();
    const PixelRect turned =
        TurnRect({shown.x, shown.y, shown.w, shown.h}, ShownUnturned(place), Settings.Rotation);
    return {place.X + turned.X, place.Y + turned.Y, turned.W, turned.H};
}

SDL_Rect PictureRectInWindow(const UiRect& rect) {
    return ShownRectInWindow(PictureRectInShown(rect));
}

double PictureScale() {
    const PictureSize picture = Picture();
    return picture.Width > 0 ? double(ShownUnturned(PictureInWindow()).Width) / picture.Width : 1.0;
}

int PictureRotation() {
    return Settings.Rotation;
}

void SetPictureRotation(int degrees) {
    degrees = PictureTurnFrom(degrees);
    if (degrees == Settings.Rotation) return;
    const bool sideways = TurnIsSideways(degrees) != TurnIsSideways(Settings.Rotation);
    Settings.Rotation = degrees;
    TurnFrames(degrees);
    if (!Window) return;
    const PictureSize least = TurnedWindowedPicture();
    SDL_SetWindowMinimumSize(Window, least.Width, least.Height);
    // A window turned on its side trades its width and height, so that the picture keeps its
    // scale, as far as the screen allows.
    const Uint32 flags = SDL_GetWindowFlags(Window);
    SDL_Rect usable{0, 0, 0, 0};
    if (sideways && (flags & (SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_MAXIMIZED)) == 0 &&
        SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(Window)), &usable) == 0) {
        const PictureSize now = WindowPoints();
        const PictureSize turned{std::max(least.Width, std::min(now.Height, usable.w)),
                                 std::max(least.Height, std::min(now.Width, usable.h))};
        if (!Settings.SizeChosen) Settings.Size = turned;  // still not the player's own choice
        SDL_SetWindowSize(Window, turned.Width, turned.Height);
    }
    ForgetWindowPixels();
    RedrawWindow();
}

bool IsFullscreen() {
    return Window && (SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

bool MenuBarShown() {
    return !IsFullscreen() || MenuBarRevealed;
}

Scaling WindowScaling() {
    return Settings.Scale;
}

void SetWindowScaling(Scaling scaling) {
    Settings.Scale = scaling;
    ForgetWindowPixels();
    RedrawWindow();
}

void TakeWindowSettingsFrom(const ProfileDocument& settings) {
    SettingsKept = true;
    for (const char* key :
         {"width", "height", "fullscreen", "scaling", "renderer", "video", "rotation"})
        SavedTexts[key] = ProfileString(settings, WindowSection, key, "", SavedTextBytes);
}

void PutWindowSettingsInto(ProfileDocument& settings) {
    if (!Window || !SettingsKept) return;
    const auto put = [&](const char* key, const std::string& value) {
        PutProfileString(settings, WindowSection, key, value);
    };
    if (Settings.SizeChosen) {
        put("width", std::to_string(Settings.Size.Width));
        put("height", std::to_string(Settings.Size.Height));
    }
    put("fullscreen", IsFullscreen() ? "1" : "0");
    put("scaling", Settings.Scale == Scaling::WholeSteps ? "whole" : "sharp");
    put("renderer", RendererSettingName(Settings.Renderer));
    put("video", VideoSettingName(Settings.Video));
    put("rotation", std::to_string(Settings.Rotation));
}

void ToggleFullscreen() {
    if (!Window) return;
    SDL_SetWindowFullscreen(Window, IsFullscreen() ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    MenuBarRevealed = false;
    LastPointerMotion = SDL_GetTicks();
    ShowPointer(true);
    ForgetWindowPixels();
    RedrawWindow();
}

void HandleWindowChange(const SDL_WindowEvent& event) {
    if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED) NoteWindowSize();
    // On another screen the same size in points may be other pixels (another scale).
    if (event.event == SDL_WINDOWEVENT_SIZE_CHANGED || event.event == SDL_WINDOWEVENT_EXPOSED ||
        event.event == SDL_WINDOWEVENT_DISPLAY_CHANGED) {
        ForgetWindowPixels();
        RedrawWindow();
    }
}

void OpenMainWindow(const std::string& caption, int width, int height) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // Long input-method compositions arrive whole instead of cut at 32 bytes.
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    FrameWidth = width;
    FrameHeight = height;
    ReadWindowSettings();
    if (!StartVideo(Settings.Video)) FailForNoDesktop(std::string(": ") + SDL_GetError());
    RefuseInvisibleDisplay();
    // On X11 the software path writes into the window's own pixels, not into a texture. SDL has
    // no such pixels on Wayland: there the window's pixels are a texture it shows through the
    // graphics driver (Mesa's CPU one where there is no card).
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    OpenGamepads();
    const PictureSize size = OpeningWindowSize();
    if (!Settings.SizeChosen) Settings.Size = size;
    // Shown once its renderer is there: a GL renderer may have to make the window anew.
    Uint32 flags = SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN;
    if (SavedNumber("fullscreen", 0) == 1) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    Window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              size.Width, size.Height, flags);
    if (!Window) FailOnSdl("Cannot open the game window");
    WatchOutsideEnds(Window);
    const PictureSize picture = TurnedWindowedPicture();
    SDL_SetWindowMinimumSize(Window, picture.Width, picture.Height);
    // Text input is only for the name dialog: during play an input method must not take the
    // game's keys.
    SDL_StopTextInput();
    // A choice that fails is not kept, so that no setting can keep the game from opening.
    TurnFrames(Settings.Rotation);
    if (!OpenPresenter(Window, Settings.Renderer, width, height)) {
        std::fprintf(stderr,
                     "vexlan: the GPU renderer could not be opened (%s); drawing in software\n",
                     SDL_GetError());
        Settings.Renderer = RendererSetting::Auto;
    }
    SDL_ShowWindow(Window);
    SDL_AddEventWatch(MapMouseToPicture, nullptr);
    RedrawWindow();
}

void RedrawWindow(const std::function<void()>& overlay) {
    if (!PresenterRenderer()) return;
    const SDL_Rect picture = WholePicture();
    const SDL_Rect frame = PictureRectInWindow(PlayArea());
    BeginWindowDrawing(picture);
    DrawKeptFrame(frame);
    const bool menuBar = MenuBarShown();
    if (menuBar) DrawMenuBar();
    const bool watching = CurrentPace() == PlaybackPace::Watching;
    if (watching) DrawWatchOverlay();
    if (overlay) overlay();
    EndWindowDrawing(picture);
    // In fullscreen the menu bar lies over the frame; the watcher's bar and keys lie over it too.
    Drawn = {!overlay && !watching && !(menuBar && IsFullscreen()), frame, menuBar};
    HideIdlePointer();
}

// A frame like the last is not drawn again, and a changed one costs what changed, while the
// window shows the frame alone where it showed it last.
void PresentPixels(const uint32_t* pixels, int width, int height, const WrittenTiles* written) {
    if (SeekingSilently() || !PresenterRenderer() || width != FrameWidth || height != FrameHeight) {
        FrameNotKept();
        return;
    }
    const bool changed = KeepFrame(pixels, written);
    const SDL_Rect frame = PictureRectInWindow(PlayArea());
    if (Drawn.FrameAlone && SDL_RectEquals(&frame, &Drawn.Frame) &&
        Drawn.MenuBar == MenuBarShown() && (!changed || ShowFrameChanges(frame))) {
        HideIdlePointer();
        return;
    }
    RedrawWindow();
}
