// The game's own 5 x 7 capital letter font, so that every word in the pictures is the same on
// every machine. Letters are scaled up by whole pixels and dressed with a bevel, a colour
// gradient, an outline and a drop shadow.
#pragma once

#include <string>
#include <vector>

#include "image.h"

constexpr int GlyphW = 5, GlyphH = 7;

// True when the glyph of `ch` has ink at (gx, gy); unknown characters are blank.
bool GlyphPixel(char ch, int gx, int gy);

struct TextStyle {
    int Scale = 3;
    int Spacing = 1;            // blank glyph columns between letters, before scaling
    std::vector<Rgb> Gradient;  // colours from the top of the letters to the bottom
    Rgb Outline{20, 10, 30};
    int OutlineWidth = 1;
    Rgb Shadow{0, 0, 0};
    int ShadowDx = 0, ShadowDy = 0;  // no shadow when both are 0
    double Bevel = 0.25;             // strength of the light and dark block edges
};

int TextWidth(const std::string& text, const TextStyle& s);
int TextHeight(const TextStyle& s);
// Draws with the letters' top-left corner at (x, y); outline and shadow go around it.
void DrawText(Image& img, int x, int y, const std::string& text, const TextStyle& s);
void DrawTextCentred(Image& img, int centreX, int y, const std::string& text, const TextStyle& s);
