// Pictures as the generator builds them: RGB pixels plus a mask of which pixels are part of the
// drawing. The mask becomes the colour key when a picture is written as a Windows bitmap.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const Rgb&) const = default;
};

struct Image {
    int W = 0, H = 0;
    std::vector<Rgb> Px;
    std::vector<uint8_t> Solid;  // 1 where the picture has paint, 0 where it shows the key

    Image() = default;
    Image(int w, int h) : W(w), H(h), Px(size_t(w) * h), Solid(size_t(w) * h, 0) {}
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }
    bool IsSolid(int x, int y) const { return Inside(x, y) && Solid[size_t(y) * W + x]; }
    Rgb At(int x, int y) const { return Px[size_t(y) * W + x]; }
    void Set(int x, int y, Rgb c) {
        if (!Inside(x, y)) return;
        Px[size_t(y) * W + x] = c;
        Solid[size_t(y) * W + x] = 1;
    }
    void Clear(int x, int y) {
        if (Inside(x, y)) Solid[size_t(y) * W + x] = 0;
    }
};

Rgb Mix(Rgb a, Rgb b, double t);
Rgb Scale(Rgb c, double f);

// Copies the painted pixels of `src` onto `dst` with their top-left corner at (x, y).
void Paste(Image& dst, const Image& src, int x, int y);
// The same picture mirrored left to right.
Image MirrorX(const Image& src);

// Surrounds the painting with a one-pixel rim darkened from the colour it touches, so shapes
// keep a readable silhouette over busy backgrounds. `diagonal` also rims corner neighbours.
void Outline(Image& img, double darkness, bool diagonal);

// 24-bit bottom-up bitmap bytes. Unpainted pixels get `key`; a painted pixel that happens to
// equal the key is a drawing mistake (it would turn transparent in the game) and throws.
std::vector<uint8_t> EncodeBmp(const Image& img, Rgb key);
// Same, with the key taken from the picture's own top-left pixel (for pictures drawn unkeyed).
std::vector<uint8_t> EncodeBmpOpaque(const Image& img);

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
