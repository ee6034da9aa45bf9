// The boss: a horned war-skull the size of half the field, with armoured wings, two great
// pincers, shoulder guns and an open, glowing maw. Drawn on its left half and mirrored.
#include <cmath>

#include "assetgen.h"
#include "paint.h"

namespace {

constexpr double A = 134.5;  // centre line of the 269-pixel picture

void Glowing(Canvas& c, int mat, double cx, double cy, double rx, double ry, float lo,
             float hi = 1.05f) {
    Ellipse(c, cx, cy, rx, ry, {.Material = mat, .Z0 = 0, .Dz = 0, .Emit0 = lo, .Emit1 = hi});
}

void Exhausts(Canvas& c) {
    for (double x : {A - 36.0, A - 58.0}) {
        Ellipse(c, x, 14, 7, 12,
                {.Material = Fire, .Z0 = 0, .Dz = 0, .Emit0 = 0.3f, .Emit1 = 1.05f});
        Capsule(c, x, 22, x, 36, 8, 9, {.Material = Steel, .Z0 = 2, .Dz = 5});
        Ellipse(c, x, 21, 6, 3,
                {.Material = Fire, .Z0 = 0, .Dz = 0, .Emit0 = 0.8f, .Emit1 = 1.05f});
    }
}

void Wings(Canvas& c) {
    const std::vector<P> wing = {{A - 50, 40},   {A - 100, 44},  {A - 131, 70},
                                 {A - 128, 118}, {A - 108, 150}, {A - 70, 140}};
    Polygon(c, wing, 10, {.Material = Hull, .Z0 = 0, .Dz = 8});
    Polygon(c, {{A - 100, 48}, {A - 126, 72}, {A - 124, 96}, {A - 112, 70}}, 4,
            {.Material = Red, .Z0 = 0, .Dz = 8, .How = Mode::Decal});
    const Brush groove{.Material = Hull, .Z0 = 0, .Dz = 0, .How = Mode::Decal, .Bias = -0.3f};
    Capsule(c, A - 66, 60, A - 118, 122, 1, 1, groove);
    Capsule(c, A - 74, 100, A - 110, 140, 1, 1, groove);
    // Wing gun.
    Ellipse(c, A - 110, 104, 11, 11, {.Material = Steel, .Z0 = 8, .Dz = 6});
    Capsule(c, A - 110, 108, A - 110, 130, 3, 3, {.Material = Steel, .Z0 = 10, .Dz = 3});
    Glowing(c, EyeRed, A - 110, 102, 3.5, 3.5, 0.4f);
}

void Pincer(Canvas& c) {
    const Brush arm{.Material = Red, .Z0 = 4, .Dz = 8};
    Capsule(c, A - 92, 128, A - 118, 170, 11, 9, arm);
    Capsule(c, A - 118, 170, A - 110, 204, 9, 7, arm);
    Ellipse(c, A - 118, 170, 9, 9, {.Material = Steel, .Z0 = 10, .Dz = 5});
    Polygon(c, {{A - 117, 198}, {A - 108, 233}, {A - 96, 216}, {A - 102, 196}}, 5,
            {.Material = Bone, .Z0 = 8, .Dz = 6});
    Polygon(c, {{A - 109, 190}, {A - 84, 217}, {A - 101, 203}}, 3,
            {.Material = Bone, .Z0 = 8, .Dz = 5});
}

void Body(Canvas& c) {
    Polygon(c,
            Symmetric({{A, 22},
                       {A - 44, 28},
                       {A - 72, 66},
                       {A - 76, 136},
                       {A - 54, 188},
                       {A - 22, 212},
                       {A, 214}},
                      A),
            16, {.Material = Hull, .Z0 = 6, .Dz = 14});
    const Brush band{.Material = Steel, .Z0 = 6, .Dz = 14, .How = Mode::Decal, .Bias = -0.1f};
    Polygon(c, Symmetric({{A, 30}, {A - 40, 36}, {A - 52, 52}, {A, 46}}, A), 4, band);
    for (double y : {182.0, 196.0})
        Capsule(c, A - 46, y - 6, A, y + 8, 1, 1,
                {.Material = Hull, .Z0 = 0, .Dz = 0, .How = Mode::Decal, .Bias = -0.3f});
    for (P r : {P{A - 60, 74}, P{A - 66, 100}, P{A - 64, 126}, P{A - 50, 160}, P{A - 34, 38}})
        Ellipse(c, r.X, r.Y, 2, 2, {.Material = Steel, .Z0 = 20, .Dz = 2});
    // Shoulder guns.
    Ellipse(c, A - 58, 62, 16, 15, {.Material = Steel, .Z0 = 16, .Dz = 8});
    Capsule(c, A - 64, 66, A - 64, 98, 3.5, 3, {.Material = Steel, .Z0 = 20, .Dz = 4});
    Capsule(c, A - 52, 66, A - 52, 98, 3.5, 3, {.Material = Steel, .Z0 = 20, .Dz = 4});
    Ellipse(c, A - 58, 58, 6, 5, {.Material = Hull, .Z0 = 24, .Dz = 2});
}

void Horns(Canvas& c) {
    const Brush horn{.Material = Bone, .Z0 = 18, .Dz = 6};
    Capsule(c, A - 26, 86, A - 48, 52, 8, 6, horn);
    Capsule(c, A - 48, 52, A - 50, 30, 6, 4, horn);
    Capsule(c, A - 50, 30, A - 42, 12, 4, 1.5, horn);
}

void Skull(Canvas& c) {
    Ellipse(c, A, 112, 40, 44, {.Material = Bone, .Z0 = 18, .Dz = 14});
    Polygon(c, Symmetric({{A, 118}, {A - 34, 130}, {A - 30, 168}, {A - 14, 180}, {A, 182}}, A), 8,
            {.Material = Bone, .Z0 = 18, .Dz = 10});
    // Eye sockets, glaring red.
    Ellipse(c, A - 18, 108, 13, 10, {.Material = Hull, .Z0 = 24, .Dz = -6});
    Glowing(c, EyeRed, A - 17, 109, 8, 5.5, 0.3f, 0.8f);
    Polygon(c, {{A - 32, 96}, {A - 6, 103}, {A - 8, 98}, {A - 30, 92}}, 1,
            {.Material = Bone, .Z0 = 30, .Dz = 2, .Bias = -0.2f});
    Polygon(c, {{A - 4, 124}, {A, 132}, {A, 120}}, 1, {.Material = Hull, .Z0 = 26, .Dz = 1});
    // The maw, a cannon burning at the back of it, and the teeth around it.
    Ellipse(c, A, 156, 22, 16, {.Material = Hull, .Z0 = 28, .Dz = -8});
    Glowing(c, Glow, A, 158, 12, 9, 0.3f);
    for (int i = 0; i < 4; ++i) {
        const double x = A - 20 + i * 5.5;
        Polygon(c, {{x - 2.5, 141 + i * 0.5}, {x + 2.5, 141 + i * 0.5}, {x, 150}}, 1.5,
                {.Material = Bone, .Z0 = 30, .Dz = 3});
        Polygon(c, {{x - 2.5, 172 - i * 0.3}, {x + 2.5, 172 - i * 0.3}, {x, 164}}, 1.5,
                {.Material = Bone, .Z0 = 30, .Dz = 3});
    }
    // The forehead gem that pulses with the boss's life.
    Ellipse(c, A, 72, 12, 14, {.Material = Red, .Z0 = 26, .Dz = 6});
    Glowing(c, Glow, A, 72, 8, 10, 0.35f);
}

}  // namespace

Image MakeBoss() {
    Canvas c(269, 236);
    Exhausts(c);
    Wings(c);
    Pincer(c);
    Body(c);
    Horns(c);
    Skull(c);
    MirrorLeft(c, 268);
    Image img = Shade(c);
    Outline(img, 0.3, false);
    return img;
}
