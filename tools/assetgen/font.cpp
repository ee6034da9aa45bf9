#include "font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "paint.h"

namespace {

using Glyph = std::array<const char*, GlyphH>;

const std::map<char, Glyph>& Glyphs() {
    static const std::map<char, Glyph> g = {
        {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
        {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
        {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
        {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
        {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
        {'J', {"..###", "...#.", "...#.", "...#.", "#..#.", "#..#.", ".##.."}},
        {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
        {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
        {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
        {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
        {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
        {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
        {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
        {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
        {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
        {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
        {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
        {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
        {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
        {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
        {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
        {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
        {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
        {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
        {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
        {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
        {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
        {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
        {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
        {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
        {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
        {'-', {".....", ".....", ".....", ".###.", ".....", ".....", "....."}},
        {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
    };
    return g;
}

// The letters alone, one value per pixel: 0 blank, else 1 + the pixel's place inside its
// scaled block, kept so the bevel knows which block edge a pixel sits on.
struct Mask {
    int W, H;
    std::vector<uint8_t> On;
    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < W && y < H && On[size_t(y) * W + x];
    }
};

Mask Letters(const std::string& text, const TextStyle& s) {
    Mask m{TextWidth(text, s), TextHeight(s), {}};
    m.On.assign(size_t(m.W) * m.H, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        const int left = int(i) * (GlyphW + s.Spacing) * s.Scale;
        for (int gy = 0; gy < GlyphH; ++gy)
            for (int gx = 0; gx < GlyphW; ++gx)
                if (GlyphPixel(text[i], gx, gy))
                    for (int py = 0; py < s.Scale; ++py)
                        for (int px = 0; px < s.Scale; ++px)
                            m.On[size_t(gy * s.Scale + py) * m.W + left + gx * s.Scale + px] = 1;
    }
    return m;
}

Rgb GradientAt(const std::vector<Rgb>& g, double t, int x, int y) {
    if (g.size() == 1) return g[0];
    const double pos = std::clamp(t, 0.0, 1.0) * double(g.size() - 1);
    const int i = std::min(int(pos), int(g.size()) - 2);
    // Two-level dither between neighbouring stops keeps the pixel look of a hand-made ramp.
    const double f = pos - i;
    return f > Bayer(x, y) ? g[size_t(i) + 1] : g[size_t(i)];
}

// Lighter on the upper and left rims of a stroke, darker on the lower and right ones.
double BevelLight(const Mask& m, int x, int y, int scale) {
    const int edge = std::max(1, scale / 4);
    double v = 0;
    if (!m.At(x, y - edge)) v += 1;
    if (!m.At(x - edge, y)) v += 0.5;
    if (!m.At(x, y + edge)) v -= 1;
    if (!m.At(x + edge, y)) v -= 0.5;
    return v;
}

}  // namespace

bool GlyphPixel(char ch, int gx, int gy) {
    const auto it = Glyphs().find(ch);
    if (it == Glyphs().end() || gx < 0 || gy < 0 || gx >= GlyphW || gy >= GlyphH) return false;
    return it->second[size_t(gy)][gx] == '#';
}

int TextWidth(const std::string& text, const TextStyle& s) {
    if (text.empty()) return 0;
    return (int(text.size()) * (GlyphW + s.Spacing) - s.Spacing) * s.Scale;
}

int TextHeight(const TextStyle& s) {
    return GlyphH * s.Scale;
}

void DrawText(Image& img, int x, int y, const std::string& text, const TextStyle& s) {
    const Mask m = Letters(text, s);
    const int ow = s.OutlineWidth;
    if (s.ShadowDx || s.ShadowDy)
        for (int j = -ow; j < m.H + ow; ++j)
            for (int i = -ow; i < m.W + ow; ++i)
                for (int dj = -ow; dj <= ow; ++dj)
                    for (int di = -ow; di <= ow; ++di)
                        if (m.At(i + di, j + dj))
                            img.Set(x + i + s.ShadowDx, y + j + s.ShadowDy, s.Shadow);
    for (int j = -ow; j < m.H + ow; ++j)
        for (int i = -ow; i < m.W + ow; ++i) {
            bool near = false;
            for (int dj = -ow; dj <= ow && !near; ++dj)
                for (int di = -ow; di <= ow && !near; ++di) near = m.At(i + di, j + dj);
            if (near && !m.At(i, j)) img.Set(x + i, y + j, s.Outline);
        }
    for (int j = 0; j < m.H; ++j)
        for (int i = 0; i < m.W; ++i) {
            if (!m.At(i, j)) continue;
            Rgb c = GradientAt(s.Gradient, (j + 0.5) / m.H, x + i, y + j);
            const double b = BevelLight(m, i, j, s.Scale) * s.Bevel;
            c = b > 0 ? Mix(c, Rgb{255, 255, 255}, b) : Mix(c, Rgb{0, 0, 0}, -b);
            img.Set(x + i, y + j, c);
        }
}

void DrawTextCentred(Image& img, int centreX, int y, const std::string& text, const TextStyle& s) {
    DrawText(img, centreX - TextWidth(text, s) / 2, y, text, s);
}
