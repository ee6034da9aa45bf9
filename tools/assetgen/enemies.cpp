// The six ordinary enemies. Each faces the player (down the screen) and is drawn on its left
// half and mirrored, so it sits exactly on the centre the game draws it around.
#include <cmath>

#include "assetgen.h"
#include "paint.h"

namespace {

Image Finish(Canvas& c, int axis2) {
    MirrorLeft(c, axis2);
    Image img = Shade(c);
    Outline(img, 0.3, false);
    return img;
}

void Glowing(Canvas& c, int mat, double cx, double cy, double rx, double ry, float lo = 0.45f) {
    Ellipse(c, cx, cy, rx, ry, {.Material = mat, .Z0 = 0, .Dz = 0, .Emit0 = lo, .Emit1 = 1.05f});
}

// ---- Butterfly: five wing positions, from spread flat (0) to raised high (4). ----

Image ButterflyCell(int frame) {
    Canvas c(85, 71);
    const double a = 42.5;                // the cell's centre line
    const double s = 1.0 - 0.19 * frame;  // how far the wings reach out
    auto wx = [&](double reach) { return a - reach * s; };
    const float tilt = float(frame) * 0.05f;  // raised wings catch less light
    const Brush edge{.Material = Purple, .Z0 = 0, .Dz = 2, .Bias = -tilt};
    const std::vector<P> fore = {{a - 1, 34},  {wx(8), 18},  {wx(24), 4}, {wx(38), 5},
                                 {wx(41), 16}, {wx(34), 30}, {wx(16), 37}};
    const std::vector<P> hind = {{a - 1, 36},  {wx(18), 38}, {wx(33), 44}, {wx(35), 56},
                                 {wx(24), 66}, {wx(12), 63}, {a - 1, 48}};
    Polygon(c, fore, 3, edge);
    Polygon(c, hind, 3, edge);
    auto inner = [&](std::vector<P> pts, double k) {
        for (auto& p : pts) p.X = a - 1 - (a - 1 - p.X) * k, p.Y = 36 + (p.Y - 36) * k;
        return pts;
    };
    const Brush pink{.Material = Pink, .Z0 = 0, .Dz = 2, .How = Mode::Decal, .Bias = -tilt};
    Polygon(c, inner(fore, 0.82), 3, pink);
    Polygon(c, inner(hind, 0.78), 3, pink);
    const Brush spot{.Material = Gold, .Z0 = 0, .Dz = 2, .How = Mode::Decal, .Bias = 0.1f - tilt};
    Ellipse(c, wx(27), 15, 6 * s + 0.8, 6, spot);
    Ellipse(c, wx(27), 15, 3 * s + 0.5, 3,
            {.Material = Hull, .Z0 = 0, .Dz = 2, .How = Mode::Decal});
    Ellipse(c, wx(21), 52, 4 * s + 0.6, 4.5, spot);
    Capsule(c, a, 24, a, 56, 3.6, 2.2, {.Material = Hull, .Z0 = 3, .Dz = 4});
    Ellipse(c, a, 21, 4.5, 4.5, {.Material = Hull, .Z0 = 4, .Dz = 4});
    Glowing(c, Glow, a - 2.3, 20.5, 1.3, 1.6);
    Capsule(c, a - 1.5, 17, a - 9, 5, 0.8, 0.8, {.Material = Hull, .Z0 = 4, .Dz = 1});
    Ellipse(c, a - 9.5, 4.5, 1.8, 1.8, {.Material = Gold, .Z0 = 5, .Dz = 2});
    return Finish(c, 84);
}

// ---- Dog: stands tall at 24, sinks through 23..21 to a full crouch at 20, where it barks
// out its ring of bullets. ----

void DogBody(Canvas& c, double a, double h, double top) {
    const double bodyY = top + 31 + (1 - h) * 3;
    Ellipse(c, a, bodyY, 18 + (1 - h) * 4, 13 - (1 - h) * 3, {.Material = Tan, .Z0 = 0, .Dz = 6});
    Ellipse(c, a, bodyY + 2, 8, 8 - (1 - h) * 2,
            {.Material = Bone, .Z0 = 0, .Dz = 6, .How = Mode::Decal, .Bias = 0.05f});
    // Front legs: straight when standing, bent outward in the crouch.
    const double spread = 9 + (1 - h) * 6;
    Capsule(c, a - 9, bodyY, a - spread, top + 47, 4, 3.5, {.Material = Tan, .Z0 = 3, .Dz = 4});
    Ellipse(c, a - spread - 1, top + 48, 5, 3.2, {.Material = Bone, .Z0 = 5, .Dz = 3});
}

void DogHead(Canvas& c, double a, double h, double top, bool barking) {
    const double headY = top + 15 + (1 - h) * 7;
    // Ears hang down beside the head when alert and flatten back in the crouch.
    const double earTipX = a - 20 + (1 - h) * 3, earTipY = headY + 10 - (1 - h) * 14;
    Capsule(c, a - 11, headY - 7, earTipX, earTipY, 4.2, 5.2,
            {.Material = Brown, .Z0 = 2, .Dz = 4});
    Ellipse(c, a, headY, 14, 12, {.Material = Tan, .Z0 = 6, .Dz = 6});
    Ellipse(c, a, headY + 6, 8, 6, {.Material = Bone, .Z0 = 9, .Dz = 4});
    Ellipse(c, a, headY + 2.5, 3.2, 2.4, {.Material = Hull, .Z0 = 13, .Dz = 2});
    Glowing(c, EyeRed, a - 6, headY - 3, 2.2, 2.2 * (0.6 + 0.4 * h));
    // A spiked collar: the dog is a guard.
    Ellipse(c, a, headY + 11, 12, 2.6, {.Material = Red, .Z0 = 8, .Dz = 2});
    for (double x : {a - 8, a - 3})
        Ellipse(c, x, headY + 11, 1.4, 1.4, {.Material = Gold, .Z0 = 10, .Dz = 2});
    if (barking) {
        Ellipse(c, a, headY + 8, 5, 4, {.Material = Hull, .Z0 = 10, .Dz = 1});
        Glowing(c, Glow, a, headY + 8.5, 3.5, 3, 0.5f);
    }
}

Image DogCell(int w, int h, double pose, bool barking) {
    Canvas c(w, h);
    const double a = w / 2.0;
    DogBody(c, a, pose, 0);
    DogHead(c, a, pose, 0, barking);
    return Finish(c, w - 1);
}

// ---- Bat: wings spread wide, finger bones holding a scalloped membrane. ----

void BatWing(Canvas& c) {
    const std::vector<P> wing = {{48, 24}, {32, 14}, {16, 7},  {4, 12},  {7, 38}, {14, 32},
                                 {22, 47}, {28, 39}, {36, 50}, {41, 42}, {49, 46}};
    Polygon(c, wing, 4, {.Material = Membrane, .Z0 = 0, .Dz = 2});
    const Brush bone{.Material = Purple, .Z0 = 2, .Dz = 2};
    Capsule(c, 48, 23, 17, 9, 2, 1.5, bone);
    for (P tip : {P{7, 36}, P{22, 45}, P{36, 48}}) Capsule(c, 17, 9, tip.X, tip.Y, 1.3, 0.7, bone);
    Ellipse(c, 17, 9, 2.2, 2.2, {.Material = Bone, .Z0 = 3, .Dz = 2});
}

Image MakeBatPicture() {
    Canvas c(106, 71);
    const double a = 53.5;
    BatWing(c);
    Ellipse(c, a, 38, 9, 14, {.Material = Purple, .Z0 = 3, .Dz = 6});
    Polygon(c, Symmetric({{a - 3, 10}, {a - 10, 2}, {a - 8, 18}}, a), 2,
            {.Material = Purple, .Z0 = 4, .Dz = 3});
    Ellipse(c, a, 23, 9, 8, {.Material = Purple, .Z0 = 5, .Dz = 5});
    Polygon(c, {{a - 8, 19}, {a - 11, 3}, {a - 4, 15}}, 2, {.Material = Purple, .Z0 = 5, .Dz = 3});
    Polygon(c, {{a - 8, 17}, {a - 10, 7}, {a - 5, 15}}, 1,
            {.Material = Membrane, .Z0 = 5, .Dz = 3, .How = Mode::Decal, .Bias = 0.1f});
    Glowing(c, EyeRed, a - 3.5, 22, 2.3, 2);
    Polygon(c, {{a - 3, 27}, {a - 1.5, 32}, {a - 0.5, 27}}, 1,
            {.Material = Bone, .Z0 = 9, .Dz = 1});
    Capsule(c, a - 4, 50, a - 6, 56, 1.5, 1, {.Material = Purple, .Z0 = 3, .Dz = 2});
    return Finish(c, 106);
}

// ---- Blue: a walking armoured turret, plates and rivets around one red eye. ----

void BlueArmour(Canvas& c, double a) {
    const Brush plate{.Material = Armour, .Z0 = 0, .Dz = 6};
    Polygon(
        c,
        Symmetric(
            {{a, 6}, {a - 26, 10}, {a - 42, 30}, {a - 46, 58}, {a - 36, 84}, {a - 16, 96}, {a, 97}},
            a),
        8, plate);
    Ellipse(c, a - 38, 34, 13, 16, {.Material = Armour, .Z0 = 4, .Dz = 7});
    Ellipse(c, a - 38, 34, 13, 16, {.Material = Steel, .Z0 = 4, .Dz = 7, .How = Mode::Decal});
    Ellipse(c, a - 38, 32, 9, 11,
            {.Material = Armour, .Z0 = 4, .Dz = 7, .How = Mode::Decal, .Bias = 0.05f});
    // Grooves between the plates.
    const Brush groove{.Material = Armour, .Z0 = 0, .Dz = 0, .How = Mode::Decal, .Bias = -0.35f};
    Polygon(c, {{a - 30, 44}, {a - 30, 46}, {a, 50}, {a, 48}}, 1, groove);
    Polygon(c, {{a - 26, 70}, {a - 26, 72}, {a, 76}, {a, 74}}, 1, groove);
    Capsule(c, a - 16, 14, a - 16, 40, 0.8, 0.8, groove);
    for (P r : {P{a - 20, 20}, P{a - 34, 54}, P{a - 30, 66}, P{a - 12, 88}, P{a - 44, 34}})
        Ellipse(c, r.X, r.Y, 1.7, 1.7, {.Material = Steel, .Z0 = 7, .Dz = 2});
}

Image MakeBluePicture() {
    Canvas c(107, 103);
    const double a = 54.5;
    Capsule(c, a - 20, 84, a - 20, 97, 4, 3, {.Material = Steel, .Z0 = 2, .Dz = 4});
    Ellipse(c, a - 20, 97, 2.5, 1.8, {.Material = Hull, .Z0 = 6, .Dz = 1});
    BlueArmour(c, a);
    Ellipse(c, a, 56, 15, 13, {.Material = Hull, .Z0 = 6, .Dz = -3});
    Glowing(c, EyeRed, a, 56, 10, 9, 0.3f);
    Ellipse(c, a - 3, 53, 3, 2.5,
            {.Material = EyeRed, .Z0 = 0, .Dz = 0, .Emit0 = 1.1f, .Emit1 = 1.1f});
    Capsule(c, a, 5, a, 14, 2.5, 3.5, {.Material = Steel, .Z0 = 7, .Dz = 3});
    return Finish(c, 108);
}

// ---- Small fry: a little red saucer with one eye and swept fins. ----

Image MakeSmallFryPicture() {
    Canvas c(69, 51);
    const double a = 35.5;
    Polygon(c, {{a - 14, 20}, {a - 31, 38}, {a - 29, 44}, {a - 12, 32}}, 3,
            {.Material = Red, .Z0 = 0, .Dz = 3});
    Polygon(c, {{a - 27, 38}, {a - 31, 38}, {a - 29, 44}, {a - 24, 41}}, 1,
            {.Material = Gold, .Z0 = 0, .Dz = 3, .How = Mode::Decal});
    Ellipse(c, a, 26, 22, 13, {.Material = Red, .Z0 = 2, .Dz = 6});
    Ellipse(c, a, 29, 22, 4, {.Material = Steel, .Z0 = 2, .Dz = 6, .How = Mode::Decal});
    Ellipse(c, a, 20, 11, 9, {.Material = Canopy, .Z0 = 6, .Dz = 5});
    Glowing(c, Glow, a, 21, 4.5, 4, 0.4f);
    Ellipse(c, a, 21, 1.6, 3, {.Material = Hull, .Z0 = 0, .Dz = 0, .Emit0 = 0.05f, .Emit1 = 0.05f});
    Glowing(c, Fire, a - 9, 6, 2.5, 3.5);
    Capsule(c, a - 9, 9, a - 9, 14, 2.5, 2.5, {.Material = Steel, .Z0 = 3, .Dz = 2});
    return Finish(c, 70);
}

// ---- Green: a beetle, shell shut (variant 0) or shell open with its wings out and its
// sting glowing (variant 1). ----

void BeetleLegs(Canvas& c, double a) {
    const Brush leg{.Material = Green, .Z0 = 0, .Dz = 2, .Bias = -0.15f};
    Capsule(c, a - 12, 28, a - 30, 20, 1.8, 1.3, leg);
    Capsule(c, a - 30, 20, a - 32, 10, 1.3, 1, leg);
    Capsule(c, a - 13, 40, a - 33, 44, 1.8, 1.3, leg);
    Capsule(c, a - 12, 50, a - 28, 62, 1.8, 1.3, leg);
    Capsule(c, a - 28, 62, a - 26, 66, 1.3, 1, leg);
}

void BeetleFront(Canvas& c, double a) {
    Ellipse(c, a, 56, 11, 9, {.Material = Green, .Z0 = 4, .Dz = 5, .Bias = -0.1f});
    Capsule(c, a - 5, 61, a - 9, 66, 2.2, 1, {.Material = Bone, .Z0 = 6, .Dz = 2});
    Glowing(c, Glow, a - 5, 58, 2, 1.8);
}

Image GreenCell(int variant) {
    Canvas c(80, 71);
    const double a = 40.5;
    BeetleLegs(c, a);
    if (variant == 1) {
        Polygon(c, {{a - 4, 22}, {a - 33, 5}, {a - 35, 28}, {a - 10, 44}}, 3,
                {.Material = Canopy, .Z0 = 0, .Dz = 2, .Bias = -0.1f});
        Ellipse(c, a, 30, 11, 19, {.Material = Green, .Z0 = 2, .Dz = 4});
        Glowing(c, Glow, a, 26, 5, 12, 0.3f);
    }
    const double open = variant == 1 ? 9 : 0;
    const Brush shell{.Material = Green, .Z0 = 3, .Dz = 8};
    // Left wing case: half an egg, hinged on the centre line.
    std::vector<P> half;
    for (int i = 0; i <= 12; ++i) {
        const double t = 3.14159265358979 * (0.5 + i / 12.0);
        half.push_back({a - 1 - open + 24 * std::cos(t), 29 - 21 * std::sin(t)});
    }
    half.push_back({a - 1 - open * 0.3, 50});
    Polygon(c, half, 7, shell);
    const Brush stripe{.Material = Glow, .Z0 = 0, .Dz = 0, .How = Mode::Decal, .Bias = -0.1f};
    Capsule(c, a - 12 - open, 14, a - 13 - open, 42, 1.6, 1.2, stripe);
    if (variant == 0)
        for (double y : {20.0, 32.0}) Ellipse(c, a - 20, y, 2, 2.6, stripe);
    BeetleFront(c, a);
    return Finish(c, 80);
}

}  // namespace

Image MakeButterfly() {
    Image sheet(425, 71);
    for (int f = 0; f < 5; ++f) Paste(sheet, ButterflyCell(f), 85 * f, 0);
    return sheet;
}

Image MakeDog() {
    Image sheet(479, 54);
    Paste(sheet, DogCell(59, 54, 0.0, true), 0, 0);
    for (int f = 21; f <= 24; ++f)
        Paste(sheet, DogCell(84, 53, (f - 20) / 4.0, false), 84 * (f - 20) + 59, 0);
    return sheet;
}

Image MakeBat() {
    return MakeBatPicture();
}
Image MakeBlue() {
    return MakeBluePicture();
}
Image MakeSmallFry() {
    return MakeSmallFryPicture();
}

Image MakeGreen() {
    Image sheet(160, 71);
    for (int v = 0; v < 2; ++v) Paste(sheet, GreenCell(v), 80 * v, 0);
    return sheet;
}
