// The game window: a 500 x 600 play area shown scaled to the drawable size with nearest-
// neighbour sampling, so it stays sharp on HiDPI screens.
#include <cstdio>
#include <vector>

#include "platform/sdl/sdl_window.h"

namespace {

SDL_Window* Window = nullptr;
SDL_Renderer* Renderer = nullptr;
SDL_Texture* Frame = nullptr;
int FrameWidth = 0;
int FrameHeight = 0;

void FailOnSdl(const char* what) {
    FatalError(std::string(what) + ": " + SDL_GetError());
}

}  // namespace

SDL_Window* GameWindow() { return Window; }

void OpenMainWindow(const std::string& caption, int width, int height) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) FailOnSdl("Cannot open the display");
    Window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              width, height, SDL_WINDOW_ALLOW_HIGHDPI);
    if (!Window) FailOnSdl("Cannot open the game window");
    Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
    if (!Renderer) FailOnSdl("Cannot draw into the game window");
    FrameWidth = width;
    FrameHeight = height;
    Frame = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width,
                              height);
    if (!Frame) FailOnSdl("Cannot create the frame texture");
    SDL_RenderClear(Renderer);
    SDL_RenderPresent(Renderer);
}

void PresentPixels(const uint32_t* pixels, int width, int height) {
    if (!Renderer || width != FrameWidth || height != FrameHeight) return;
    SDL_UpdateTexture(Frame, nullptr, pixels, width * int(sizeof(uint32_t)));
    SDL_RenderClear(Renderer);
    SDL_RenderCopy(Renderer, Frame, nullptr, nullptr);
    SDL_RenderPresent(Renderer);
}

void HandleMenuEvent(const SDL_Event&, const WindowHandlers&) {}

BoxAnswer MessageBox(const std::string& text, const std::string& title, BoxButtons buttons,
                     BoxIcon icon) {
    Uint32 flags = 0;
    if (icon == BoxIcon::Warning) flags = SDL_MESSAGEBOX_WARNING;
    if (icon == BoxIcon::Error) flags = SDL_MESSAGEBOX_ERROR;
    if (icon == BoxIcon::Information) flags = SDL_MESSAGEBOX_INFORMATION;
    std::vector<SDL_MessageBoxButtonData> choices;
    choices.push_back({SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, int(BoxAnswer::Ok), "OK"});
    if (buttons == BoxButtons::OkCancel)
        choices.push_back({SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(BoxAnswer::Cancel), "Cancel"});
    else
        choices.back().flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    const SDL_MessageBoxData data{flags, Window, title.c_str(), text.c_str(), int(choices.size()),
                                  choices.data(), nullptr};
    int pressed = int(BoxAnswer::Cancel);
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return BoxAnswer::Ok;
    }
    // The box had the keyboard: keys released over it never reached the game.
    ForgetKeyState();
    return pressed == int(BoxAnswer::Ok) ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

std::string InputBox(const std::string&, const std::string&, bool (*)(const std::string&)) {
    return {};
}
