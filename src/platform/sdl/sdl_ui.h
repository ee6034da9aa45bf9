// Drawing helpers for what the game window shows besides the game's own picture: the menu bar,
// its menus, the boxes and the name dialog. Coordinates are the picture's pixels (the 500 x 620
// of menu bar and play area in a window, the 500 x 600 play area in fullscreen); the helpers
// scale them to the window's drawable pixels, and text is rendered at that scale, so that it
// stays sharp however large the window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

struct UiRect {
    int X = 0;
    int Y = 0;
    int W = 0;
    int H = 0;
    bool Contains(int x, int y) const { return x >= X && y >= Y && x < X + W && y < Y + H; }
};

// Colours are 0xRRGGBB.
void UiFill(const UiRect& rect, uint32_t rgb);
void UiOutline(const UiRect& rect, uint32_t rgb);
// Fills a shape inside `rect` one pixel row at a time, so that it stays crisp at any pixel
// density: `span(v)` gives, for the row at height v (0 at the top, 1 at the bottom), the part of
// the row to fill as fractions of the width, left edge first.
void UiFillRows(const UiRect& rect, uint32_t rgb,
                const std::function<std::pair<float, float>(float v)>& span);
// Darkens what is drawn in `rect` with black of the given opacity (0..255).
void UiShade(const UiRect& rect, uint8_t alpha);
// Text in the window's font at the desktop's menu size (9 points).
int UiTextWidth(const std::string& text);
int UiTextHeight();
void UiText(const std::string& text, int x, int y, uint32_t rgb);
// The text `times` as large, its pixels whole squares, centred on (x, y).
void UiTextMagnified(const std::string& text, int x, int y, uint32_t rgb, int times);
// The text vertically centred in `rect`, `inset` points from its left edge.
void UiTextIn(const UiRect& rect, const std::string& text, int inset, uint32_t rgb);
// Limits drawing to a rectangle; an empty rectangle lifts the limit.
void UiClip(const UiRect& rect);
