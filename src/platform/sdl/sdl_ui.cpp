#include "platform/sdl/sdl_ui.h"

#include <SDL_ttf.h>

#include <cmath>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "platform/font_file.h"
#include "platform/picture_turn.h"
#include "platform/sdl/sdl_window.h"

namespace {

constexpr int UiFontPoints = 9;  // the desktop's menu and dialog font size, at 96 DPI

TTF_Font* Font = nullptr;
unsigned FontDpi = 0;  // the pixel density the font was opened for
int TextsTurn = 0;     // the picture's turn the rendered texts were turned for

// Rendered texts are kept: the menu bar's caption is drawn with every frame.
struct RenderedText {
    SDL_Texture* Texture = nullptr;
    int Width = 0;  // pixels
    int Height = 0;
};
std::map<std::pair<std::string, uint32_t>, RenderedText> TextCache;
constexpr size_t TextCacheLimit = 32;

void ForgetRenderedTexts() {
    for (auto& [key, text] : TextCache) SDL_DestroyTexture(text.Texture);
    TextCache.clear();
}

double Scale() {
    return PictureScale();
}

SDL_Rect ToPixels(const UiRect& rect) {
    return PictureRectInWindow(rect);
}

void SetColour(uint32_t rgb) {
    SDL_SetRenderDrawColor(GameRenderer(), Uint8(rgb >> 16), Uint8(rgb >> 8), Uint8(rgb), 255);
}

// Opened at the window's pixel density, so glyphs are rasterised for the screen, not scaled.
TTF_Font* UiFont() {
    const unsigned dpi = static_cast<unsigned>(std::lround(96 * Scale()));
    if (Font && FontDpi == dpi) return Font;
    if (Font) TTF_CloseFont(Font);
    ForgetRenderedTexts();
    FontDpi = dpi;
    if (!TTF_WasInit() && TTF_Init() != 0)
        FatalError(std::string("Cannot start the text renderer: ") + TTF_GetError());
    const std::string& file = WindowFontFile();
    Font = TTF_OpenFontDPI(file.c_str(), UiFontPoints, dpi, dpi);
    if (!Font) FatalError("Cannot open the font " + file + ": " + TTF_GetError());
    return Font;
}

// The rendered text turned with the picture, pixel for pixel, so that it stays as sharp.
SDL_Surface* Turned(SDL_Surface* glyphs) {
    const int turn = PictureRotation();
    if (turn == 0 || glyphs->format->BytesPerPixel != 4) return glyphs;
    const PictureSize size{glyphs->w, glyphs->h};
    const PictureSize turnedSize = TurnedSize(size, turn);
    std::vector<uint32_t> rows(size_t(size.Width) * size_t(size.Height));
    for (int y = 0; y < size.Height; ++y)
        std::memcpy(rows.data() + size_t(y) * size_t(size.Width),
                    static_cast<const uint8_t*>(glyphs->pixels) + ptrdiff_t(y) * glyphs->pitch,
                    size_t(size.Width) * sizeof(uint32_t));
    std::vector<uint32_t> turned(rows.size());
    TurnPixels(rows.data(), size, turn, turned.data());
    SDL_Surface* result = SDL_CreateRGBSurfaceWithFormat(0, turnedSize.Width, turnedSize.Height, 32,
                                                         glyphs->format->format);
    if (!result) return glyphs;
    for (int y = 0; y < turnedSize.Height; ++y)
        std::memcpy(static_cast<uint8_t*>(result->pixels) + ptrdiff_t(y) * result->pitch,
                    turned.data() + size_t(y) * size_t(turnedSize.Width),
                    size_t(turnedSize.Width) * sizeof(uint32_t));
    SDL_FreeSurface(glyphs);
    return result;
}

const RenderedText& Rendered(const std::string& text, uint32_t rgb) {
    TTF_Font* font = UiFont();
    if (TextsTurn != PictureRotation()) {
        ForgetRenderedTexts();
        TextsTurn = PictureRotation();
    }
    const auto key = std::make_pair(text, rgb);
    const auto found = TextCache.find(key);
    if (found != TextCache.end()) return found->second;
    if (TextCache.size() >= TextCacheLimit) ForgetRenderedTexts();
    RenderedText rendered;
    const SDL_Color colour{Uint8(rgb >> 16), Uint8(rgb >> 8), Uint8(rgb), 255};
    if (SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font, text.c_str(), colour)) {
        const int width = glyphs->w;
        const int height = glyphs->h;
        glyphs = Turned(glyphs);
        rendered = {SDL_CreateTextureFromSurface(GameRenderer(), glyphs), width, height};
        SDL_FreeSurface(glyphs);
    }
    return TextCache.emplace(key, rendered).first->second;
}

}  // namespace

void UiFill(const UiRect& rect, uint32_t rgb) {
    SetColour(rgb);
    const SDL_Rect pixels = ToPixels(rect);
    SDL_RenderFillRect(GameRenderer(), &pixels);
}

void UiShade(const UiRect& rect, uint8_t alpha) {
    SDL_SetRenderDrawBlendMode(GameRenderer(), SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(GameRenderer(), 0, 0, 0, alpha);
    const SDL_Rect pixels = ToPixels(rect);
    SDL_RenderFillRect(GameRenderer(), &pixels);
    SDL_SetRenderDrawBlendMode(GameRenderer(), SDL_BLENDMODE_NONE);
}

void UiOutline(const UiRect& rect, uint32_t rgb) {
    SetColour(rgb);
    const SDL_Rect pixels = ToPixels(rect);
    // One pixel wide, however dense the screen, like the desktop's own borders.
    SDL_RenderDrawRect(GameRenderer(), &pixels);
}

void UiFillRows(const UiRect& rect, uint32_t rgb,
                const std::function<std::pair<float, float>(float v)>& span) {
    SetColour(rgb);
    const SDL_Rect pixels = PictureRectInShown(rect);
    for (int row = 0; row < pixels.h; ++row) {
        const auto [from, to] = span((float(row) + 0.5f) / float(pixels.h));
        if (to <= from) continue;
        const int left = pixels.x + int(std::lround(from * float(pixels.w)));
        const int right = pixels.x + int(std::lround(to * float(pixels.w)));
        const SDL_Rect line = ShownRectInWindow({left, pixels.y + row, right - left, 1});
        SDL_RenderFillRect(GameRenderer(), &line);
    }
}

int UiTextWidth(const std::string& text) {
    int width = 0;
    int height = 0;
    if (text.empty() || TTF_SizeUTF8(UiFont(), text.c_str(), &width, &height) != 0) return 0;
    return static_cast<int>(std::lround(width / Scale()));
}

int UiTextHeight() {
    return static_cast<int>(std::lround(TTF_FontHeight(UiFont()) / Scale()));
}

void UiText(const std::string& text, int x, int y, uint32_t rgb) {
    if (text.empty()) return;
    const RenderedText& rendered = Rendered(text, rgb);
    if (!rendered.Texture) return;
    const SDL_Rect origin = PictureRectInShown({x, y, 0, 0});
    const SDL_Rect where = ShownRectInWindow({origin.x, origin.y, rendered.Width, rendered.Height});
    SDL_RenderCopy(GameRenderer(), rendered.Texture, nullptr, &where);
}

void UiTextMagnified(const std::string& text, int x, int y, uint32_t rgb, int times) {
    if (text.empty()) return;
    const RenderedText& rendered = Rendered(text, rgb);
    if (!rendered.Texture) return;
    SDL_SetTextureScaleMode(rendered.Texture, SDL_ScaleModeNearest);
    const SDL_Rect centre = PictureRectInShown({x, y, 0, 0});
    const int width = rendered.Width * times;
    const int height = rendered.Height * times;
    const SDL_Rect where =
        ShownRectInWindow({centre.x - width / 2, centre.y - height / 2, width, height});
    SDL_RenderCopy(GameRenderer(), rendered.Texture, nullptr, &where);
}

void UiTextIn(const UiRect& rect, const std::string& text, int inset, uint32_t rgb) {
    UiText(text, rect.X + inset, rect.Y + (rect.H - UiTextHeight()) / 2, rgb);
}

void UiClip(const UiRect& rect) {
    if (rect.W <= 0 || rect.H <= 0) {
        SDL_RenderSetClipRect(GameRenderer(), nullptr);
        return;
    }
    const SDL_Rect pixels = ToPixels(rect);
    SDL_RenderSetClipRect(GameRenderer(), &pixels);
}
