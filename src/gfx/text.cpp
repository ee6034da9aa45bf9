#include "gfx/text.h"

#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "common/number_text.h"
#include "gfx/display.h"
#include "platform/font_file.h"
#include "platform/platform.h"

namespace {

std::string FontFile;  // the file behind the window font, kept for the whole run
// The fonts live as long as the program; the map is never destroyed, so they stay reachable
// until the process ends.
std::map<uint8_t, TTF_Font*>& FontsBySize = *new std::map<uint8_t, TTF_Font*>;

// Rendered lines are kept, because the status texts repeat frame after frame.
using RenderedText = std::shared_ptr<const CoverageMask>;
using TextKey = std::tuple<std::string, uint8_t>;
constexpr size_t TextCacheLimit = 256;

// What drawing text remembers between calls, as the program starts.
struct TextStateRecord {
    uint8_t CurrentSize = 0;  // sticky point size of the shared font
    std::map<TextKey, RenderedText> TextCache;
};
TextStateRecord TextState;

FpsCounter FpsCarriedOver;  // the frame-rate display's count, kept from game to game

std::function<void(const DrawnText&)> TextObserver;

TTF_Font* FontOfSize(uint8_t size) {
    auto found = FontsBySize.find(size);
    if (found != FontsBySize.end()) return found->second;
    TTF_Font* font = TTF_OpenFontDPI(FontFile.c_str(), size, 96, 96);
    if (!font) FatalError("Cannot open the font " + FontFile + ": " + TTF_GetError());
    FontsBySize[size] = font;
    return font;
}

const RenderedText& Render(const std::string& text, uint8_t size) {
    TextKey key{text, size};
    auto found = TextState.TextCache.find(key);
    if (found != TextState.TextCache.end()) return found->second;
    if (TextState.TextCache.size() >= TextCacheLimit) TextState.TextCache.clear();
    auto rendered = std::make_shared<CoverageMask>();
    // Rendered in white; the colour is applied when the coverage is blended in.
    SDL_Surface* glyphs =
        TTF_RenderUTF8_Blended(FontOfSize(size), text.c_str(), {255, 255, 255, 255});
    if (glyphs) {
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(glyphs);
        if (!argb) FatalError(std::string("Cannot draw text: ") + SDL_GetError());
        rendered->Width = argb->w;
        rendered->Height = argb->h;
        rendered->Alpha.resize(size_t(argb->w) * argb->h);
        for (int y = 0; y < argb->h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(argb->pixels) + size_t(y) * argb->pitch);
            for (int x = 0; x < argb->w; ++x)
                rendered->Alpha[size_t(y) * argb->w + x] = row[x] >> 24;
        }
        SDL_FreeSurface(argb);
    }
    return TextState.TextCache.emplace(key, std::move(rendered)).first->second;
}

}  // namespace

void CreateTextFont(const std::string& faceName) {
    if (!TTF_WasInit() && TTF_Init() != 0)
        FatalError(std::string("Cannot start the text renderer: ") + TTF_GetError());
    FontFile = FontFileOrExit(faceName);
}

void ResetText() {
    TextState = {};
    FpsCarriedOver = {};
}

uint8_t TextFontSize() {
    return TextState.CurrentSize;
}

void SetTextObserver(std::function<void(const DrawnText&)> observer) {
    TextObserver = std::move(observer);
}

void DrawText(const std::string& text, int32_t x, int32_t y, int32_t bgrColour, uint8_t size) {
    if (size != 0) TextState.CurrentSize = size;
    if (!BackBuffer || text.empty() || TextState.CurrentSize == 0) return;
    if (TextObserver) TextObserver({text, x, y, bgrColour, TextState.CurrentSize});
    if (FontFile.empty()) CreateTextFont("ＭＳ Ｐゴシック");
    DrawCoverage(BackBuffer, x, y, Render(text, TextState.CurrentSize),
                 static_cast<uint32_t>(SurfaceColour(bgrColour)));
}

void DrawFps() {
    const int32_t now = TickCount();
    if (int64_t(now) - FpsCarriedOver.LastTime > 1000) {
        FpsCarriedOver.Shown = static_cast<uint8_t>(FpsCarriedOver.FrameCount);
        FpsCarriedOver.LastTime = now;
        FpsCarriedOver.FrameCount = 1;
    } else {
        ++FpsCarriedOver.FrameCount;
    }
    DrawText("FPS:" + NumberText(FpsCarriedOver.Shown), 50, 10, TextBlue, 12);
}

FpsCounter FpsCounterState() {
    return FpsCarriedOver;
}
void SetFpsCounterState(const FpsCounter& counter) {
    FpsCarriedOver = counter;
}
