#include "platform/sdl/sdl_present.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/frame_changes.h"
#include "platform/picture_turn.h"
#include "platform/platform.h"
#include "platform/sharp_fit.h"
#include "platform/window_scale.h"

namespace {

SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
bool Software = true;

// The game's frames as shown: turned as the player asked, and so FrameWidth x FrameHeight.
PictureSize GameFrame;
int Turn = 0;
int FrameWidth = 0;
int FrameHeight = 0;
FrameChanges Kept;                  // the last frame shown, and what changed since it was drawn
std::vector<uint32_t> TurnedFrame;  // where a frame is turned before it is kept

// The software path: the frame drawn by the CPU into the window's surface.
SharpFitPlan SurfacePlan;
bool BlackAroundDrawn = false;  // the window's pixels around the picture are black already

// The GPU path: the frame as a texture, enlarged by a whole factor into a second texture with
// whole pixels, which the card brings down to the size shown with linear filtering.
SDL_Texture* FrameTexture = nullptr;
SDL_Texture* Enlarged = nullptr;
int EnlargedFactor = 0;
bool TexturesStale = true;

constexpr unsigned GlRendererName = 0x1F01;  // GL_RENDERER of glGetString

// The name of the rasteriser behind an OpenGL renderer, or "" for one that is not OpenGL.
std::string GlRendererString(const SDL_RendererInfo& info) {
    if (std::strncmp(info.name, "opengl", 6) != 0) return "";
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(GlRendererName) : nullptr;
    return name ? reinterpret_cast<const char*>(name) : "";
}

int DriverIndex(const char* name) {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info{};
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::strcmp(info.name, name) == 0) return i;
    }
    return -1;
}

bool OpenGpuRenderer(bool refuseSoftwareRasteriser) {
    // SDL_RENDER_DRIVER, where set, is the driver SDL tries first.
    Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!Renderer) return false;
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(Renderer, &info);
    const std::string rasteriser = GlRendererString(info);
    if ((info.flags & SDL_RENDERER_SOFTWARE) != 0 ||
        (refuseSoftwareRasteriser && IsSoftwareRasteriser(rasteriser))) {
        SDL_DestroyRenderer(Renderer);
        Renderer = nullptr;
        return false;
    }
    Software = false;
    return true;
}

void OpenSoftwareRenderer() {
    Renderer = SDL_CreateRenderer(Window, DriverIndex("software"), SDL_RENDERER_SOFTWARE);
    if (!Renderer) FatalError(std::string("Cannot draw into the game window: ") + SDL_GetError());
    Software = true;
}

SDL_Texture* FrameAsTexture() {
    if (!FrameTexture) {
        FrameTexture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888,
                                         SDL_TEXTUREACCESS_STREAMING, FrameWidth, FrameHeight);
        if (!FrameTexture)
            FatalError(std::string("Cannot create the frame texture: ") + SDL_GetError());
        SDL_SetTextureScaleMode(FrameTexture, SDL_ScaleModeNearest);
    }
    if (TexturesStale)
        SDL_UpdateTexture(FrameTexture, nullptr, Kept.Pixels.data(),
                          FrameWidth * int(sizeof(uint32_t)));
    return FrameTexture;
}

// The frame enlarged by `factor` with whole pixels, filtered linearly when drawn; null where the
// renderer cannot draw into textures.
SDL_Texture* EnlargedFrame(SDL_Texture* frame, int factor) {
    if (factor != EnlargedFactor) {
        if (Enlarged) SDL_DestroyTexture(Enlarged);
        Enlarged = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                     FrameWidth * factor, FrameHeight * factor);
        EnlargedFactor = factor;
        if (!Enlarged) return nullptr;
        SDL_SetTextureScaleMode(Enlarged, SDL_ScaleModeLinear);
        TexturesStale = true;
    }
    if (!Enlarged) return nullptr;
    if (TexturesStale) {
        SDL_SetRenderTarget(Renderer, Enlarged);
        SDL_RenderCopy(Renderer, frame, nullptr, nullptr);
        SDL_SetRenderTarget(Renderer, nullptr);
    }
    return Enlarged;
}

void DrawFrameAsTexture(const SDL_Rect& where) {
    SDL_Texture* frame = FrameAsTexture();
    const int factor = WholeFactorBefore({where.w, where.h}, {FrameWidth, FrameHeight});
    SDL_Texture* shown = frame;
    // At a whole multiple the frame's own whole pixels are the picture.
    if (where.w != FrameWidth * factor || where.h != FrameHeight * factor) {
        if (SDL_Texture* enlarged = EnlargedFrame(frame, factor)) shown = enlarged;
    }
    TexturesStale = false;
    SDL_RenderCopy(Renderer, shown, nullptr, &where);
}

// The window's surface, where the software path can write the frame into it directly.
SDL_Surface* WritableSurface(const SDL_Rect& where) {
    if (!Software) return nullptr;
    SDL_Surface* surface = SDL_GetWindowSurface(Window);
    if (!surface || surface->format->BytesPerPixel != 4 || surface->format->Rmask != 0xFF0000 ||
        surface->format->Gmask != 0x00FF00 || surface->format->Bmask != 0x0000FF)
        return nullptr;
    if (where.x < 0 || where.y < 0 || where.x + where.w > surface->w ||
        where.y + where.h > surface->h)
        return nullptr;
    return surface;
}

bool DrawFrameIntoSurface(const SDL_Rect& where) {
    SDL_Surface* surface = WritableSurface(where);
    if (!surface) return false;
    SDL_RenderFlush(Renderer);  // what was drawn before must lie under the frame
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    PlanSharpFit(SurfacePlan, {FrameWidth, FrameHeight}, {where.w, where.h});
    const ptrdiff_t pitch = surface->pitch / ptrdiff_t(sizeof(uint32_t));
    auto* origin = static_cast<uint32_t*>(surface->pixels) + where.y * pitch + where.x;
    DrawSharpFit(SurfacePlan, Kept.Pixels.data(), FrameWidth, origin, pitch);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return true;
}

void ForgetTextures() {
    if (FrameTexture) SDL_DestroyTexture(FrameTexture);
    if (Enlarged) SDL_DestroyTexture(Enlarged);
    FrameTexture = Enlarged = nullptr;
    EnlargedFactor = 0;
    TexturesStale = true;
}

}  // namespace

bool OpenPresenter(SDL_Window* window, RendererSetting setting, int frameWidth, int frameHeight) {
    Window = window;
    GameFrame = {frameWidth, frameHeight};
    const PictureSize shown = TurnedSize(GameFrame, Turn);
    FrameWidth = shown.Width;
    FrameHeight = shown.Height;
    ResetFrameChanges(Kept, shown);
    // The system is asked first: creating an OpenGL renderer to find there is no card would
    // load a software rasteriser and keep it resident.
    const bool cardSeen = setting != RendererSetting::Auto || GraphicsCardSeen();
    const RendererPlan plan = PlanRenderer(setting, std::getenv("SDL_RENDER_DRIVER"), cardSeen);
    if (plan.TryGpu && OpenGpuRenderer(plan.RefuseSoftwareRasteriser)) return true;
    OpenSoftwareRenderer();
    // Only an explicit wish that failed counts as failed; auto finding no card is no failure.
    return !plan.TryGpu || plan.RefuseSoftwareRasteriser;
}

SDL_Renderer* PresenterRenderer() {
    return Renderer;
}

bool KeepFrame(const uint32_t* pixels, const WrittenTiles* written) {
    if (Turn != 0) {
        TurnedFrame.resize(Kept.Pixels.size());
        TurnPixels(pixels, GameFrame, Turn, TurnedFrame.data());
        pixels = TurnedFrame.data();
        written = nullptr;  // the tiles are the unturned frame's
    }
    KeepFrameNotingChanges(Kept, pixels, written);
    if (Kept.Any) TexturesStale = true;
    return Kept.Any;
}

void FrameNotKept() {
    Kept.KeptLast = false;
}

void TurnFrames(int degrees) {
    degrees = PictureTurnFrom(degrees);
    if (degrees == Turn) return;
    // The frame kept is turned on from where it stands, so that it can be drawn again at once.
    const std::vector<uint32_t> shown = Kept.Pixels;
    const PictureSize shownSize = Kept.Size;
    const int further = (360 + degrees - Turn) % 360;
    Turn = degrees;
    const PictureSize turned = TurnedSize(GameFrame, Turn);
    FrameWidth = turned.Width;
    FrameHeight = turned.Height;
    ResetFrameChanges(Kept, turned);
    if (!shown.empty()) TurnPixels(shown.data(), shownSize, further, Kept.Pixels.data());
    ForgetTextures();
}

void ForgetWindowPixels() {
    BlackAroundDrawn = false;
}

void BeginWindowDrawing(const SDL_Rect& picture) {
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    if (!Software) {
        SDL_RenderClear(Renderer);  // the card's buffers hold nothing worth keeping
        return;
    }
    // Black drawn apart from the picture, and only when the window's pixels were lost: clearing
    // the whole of a large window with every frame would cost as much as drawing the picture.
    if (BlackAroundDrawn) return;
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(Renderer, &width, &height);
    const int right = picture.x + picture.w;
    const int bottom = picture.y + picture.h;
    const SDL_Rect around[] = {{0, 0, width, picture.y},
                               {0, bottom, width, height - bottom},
                               {0, picture.y, picture.x, picture.h},
                               {right, picture.y, width - right, picture.h}};
    for (const SDL_Rect& rect : around) {
        if (rect.w > 0 && rect.h > 0) SDL_RenderFillRect(Renderer, &rect);
    }
}

void DrawKeptFrame(const SDL_Rect& where) {
    TakeChanges(Kept);  // all of it is drawn
    if (DrawFrameIntoSurface(where)) return;
    DrawFrameAsTexture(where);
}

bool ShowFrameChanges(const SDL_Rect& where) {
    SDL_Surface* surface = WritableSurface(where);
    if (!surface) return false;  // the card draws whole frames
    SDL_RenderFlush(Renderer);
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    PlanSharpFit(SurfacePlan, {FrameWidth, FrameHeight}, {where.w, where.h});
    const ptrdiff_t pitch = surface->pitch / ptrdiff_t(sizeof(uint32_t));
    auto* origin = static_cast<uint32_t*>(surface->pixels) + where.y * pitch + where.x;
    std::vector<SDL_Rect> sent;
    for (const PixelRect& part : DrawChangesSharpFit(Kept, SurfacePlan, origin, pitch))
        sent.push_back({where.x + part.X, where.y + part.Y, part.W, part.H});
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (!sent.empty()) SDL_UpdateWindowSurfaceRects(Window, sent.data(), int(sent.size()));
    return true;
}

void EndWindowDrawing(const SDL_Rect& picture) {
    if (!Software || !BlackAroundDrawn) {
        SDL_RenderPresent(Renderer);
        BlackAroundDrawn = true;
        return;
    }
    // Only the picture changed: the desktop is handed only that.
    SDL_RenderFlush(Renderer);
    if (SDL_UpdateWindowSurfaceRects(Window, &picture, 1) != 0) SDL_RenderPresent(Renderer);
}
