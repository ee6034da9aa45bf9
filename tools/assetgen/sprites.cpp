// The player's ship, its shot, the background streak, the explosion and the enemy bullets.
#include <algorithm>
#include <cmath>

#include "assetgen.h"
#include "paint.h"

namespace {

constexpr double Pi = 3.14159265358979323846;

// A self-lit shape whose brightness is given per pixel (0..1, nothing where negative).
void Light(Canvas& c, int mat, const std::function<double(double, double)>& f) {
    Fill(
        c,
        [&](double x, double y) -> std::optional<double> {
            const double v = f(x, y);
            if (v < 0) return std::nullopt;
            return std::min(v, 1.0);
        },
        Brush{.Material = mat, .Z0 = 0, .Dz = 0, .How = Mode::Replace, .Emit0 = 0, .Emit1 = 1});
}

double Dist(double x, double y, double cx, double cy) {
    return std::hypot(x - cx, y - cy);
}

void ShipHull(Canvas& c) {
    const Brush wing{.Material = ShipBlue, .Z0 = 0, .Dz = 3};
    Polygon(c, {{21, 15}, {4, 29}, {2, 34}, {6, 35}, {21, 30}}, 3, wing);
    Polygon(c, {{8, 30}, {2, 34}, {6, 35}, {12, 32}}, 2,
            {.Material = Red, .Z0 = 1, .Dz = 2, .How = Mode::Decal});
    Capsule(c, 4.5, 21, 4.5, 33, 1.6, 1.6, {.Material = Steel, .Z0 = 3, .Dz = 2});
    Ellipse(c, 15.5, 28, 3.4, 7.5, {.Material = Steel, .Z0 = 3, .Dz = 4});
    Polygon(c, Symmetric({{24, 1}, {21.5, 8}, {19, 17}, {18, 26}, {19.5, 35}, {24, 36}}, 24), 4,
            {.Material = Steel, .Z0 = 3, .Dz = 6});
    Polygon(c, Symmetric({{24, 22}, {21, 25}, {21, 33}, {24, 34}}, 24), 2,
            {.Material = ShipBlue, .Z0 = 6, .Dz = 1, .How = Mode::Decal, .Bias = 0.05f});
    Ellipse(c, 24, 16, 2.6, 5, {.Material = Canopy, .Z0 = 8, .Dz = 3});
}

void ShipFlames(Canvas& c) {
    for (double cx : {15.5, 24.0}) {
        const double top = cx == 24 ? 35 : 34.5;
        Light(c, Fire, [=](double x, double y) {
            const double dx = std::abs(x - cx) / 2.2, dy = (y - top) / 3.5;
            if (dy < 0 || dx * dx + dy * dy >= 1) return -1.0;
            return 1.0 - 0.7 * dy - 0.4 * dx;
        });
    }
}

}  // namespace

Image MakeShip() {
    Canvas c(48, 40);
    ShipHull(c);
    ShipFlames(c);
    MirrorLeft(c, 47);
    Image img = Shade(c);
    Outline(img, 0.3, false);
    return img;
}

Image MakeShot() {
    Canvas c(31, 31);
    // Shots fly up 30 pixels a frame: a bright head with a tail fading downwards.
    Light(c, ShotBlue, [](double x, double y) {
        const double along = (y - 4) / 24;
        if (along < 0 || along > 1) return -1.0;
        const double half = 4.8 - 2.4 * along;
        const double across = std::abs(x - 15.5) / half;
        if (across >= 1) return -1.0;
        return (1 - across * across) * (1.05 - 0.75 * along);
    });
    Light(c, ShotBlue, [](double x, double y) {
        const double d = Dist(x, y, 15.5, 7.5) / 5.2;
        return d < 1 ? 1.1 - 0.5 * d : -1.0;
    });
    Image img = Shade(c, 0.8);
    Outline(img, 0.45, false);
    return img;
}

Image MakeStreak() {
    Canvas c(6, 18);
    // A thin falling glint, faint at the top and brightest at its leading (lower) end.
    Light(c, Steel, [](double x, double y) {
        const double across = std::abs(x - 3) / 2.6;
        if (across >= 1 || y < 1) return -1.0;
        return (0.15 + 0.7 * (y / 18)) * (1 - across * across * 0.8);
    });
    return Shade(c, 1.0);
}

namespace {

constexpr double BlastX = 39.5, BlastY = 39.5;

// Smoke puffs, lit like solid things, pushed out and up as the fire dies (cells 5 to 10).
void SmokePuffs(Canvas& c, int k) {
    for (int i = 0; i < 9; ++i) {
        const double a = i * 2 * Pi / 9 + Hash(i, 3, 5) * 0.6;
        const double spread = 7 + (k - 5) * 2.4 + Hash(i, 1, 9) * 3;
        const double pr = 6.5 + (k - 5) * 0.9 + Hash(i, 2, 4) * 2;
        Ellipse(c, BlastX + std::cos(a) * spread, BlastY + std::sin(a) * spread - (k - 5) * 0.6, pr,
                pr, {.Material = Smoke, .Z0 = 2, .Dz = float(pr * 0.7), .How = Mode::Raise});
    }
    // Mottle the puffs so they read as smoke, not as grey balls.
    for (int y = 0; y < c.H; ++y)
        for (int x = 0; x < c.W; ++x)
            if (c.Used(x, y))
                c.Bias[c.I(x, y)] = float((Fbm(x * 0.2, y * 0.2, 31 + k, 2) - 0.5) * 0.6);
}

// A ragged ball of fire, hottest in the middle; cell 0 adds the cross of the first flash.
void Fireball(Canvas& c, int k) {
    const double radius[11] = {11, 18, 25, 30, 33, 31, 26, 20, 14, 9, 5};
    const double heat[11] = {1.4, 1.35, 1.25, 1.1, 0.95, 0.75, 0.6, 0.45, 0.35, 0.25, 0.2};
    Light(c, Fire, [&](double x, double y) {
        const double n = Fbm(x * 0.11 + k * 0.7, y * 0.11 - k * 0.4, 77, 3);
        const double edge = radius[k] * (0.7 + 0.6 * n);
        const double r = Dist(x, y, BlastX, BlastY);
        if (r >= edge) return -1.0;
        return (1 - r / edge) * heat[k] + (n - 0.5) * 0.5;
    });
    if (k > 0) return;
    Light(c, Fire, [&](double x, double y) {
        const double dx = std::abs(x - BlastX), dy = std::abs(y - BlastY);
        const double ray = std::min(dx, dy), len = std::max(dx, dy);
        return ray < 1.5 && len < 22 ? 1.0 - len / 30 : -1.0;
    });
}

// One explosion cell: k = 0 is the first flash, the fireball grows to k = 4, cools and breaks
// into smoke that drifts outward and thins to nothing by k = 10.
Image ExplosionCell(int k) {
    Canvas c(80, 80);
    if (k >= 5) SmokePuffs(c, k);
    Fireball(c, k);
    if (k >= 8) {
        // The cloud thins out in an even ordered pattern rather than vanishing at once.
        const double fade = (k - 7) / 4.0;
        Fill(c,
             [&](double x, double y) -> std::optional<double> {
                 if (Bayer(int(x), int(y)) < fade) return 0.0;
                 return std::nullopt;
             },
             {.How = Mode::Erase});
    }
    return Shade(c, 0.8);
}

}  // namespace

Image MakeExplosion() {
    Image sheet(891, 80);
    for (int k = 0; k < 11; ++k) Paste(sheet, ExplosionCell(k), 81 * k, 0);
    return sheet;
}

namespace {

// A small round bullet: hot centre, coloured body, and a four-point sparkle that turns a
// quarter turn over the seven steps, so the loop has no visible jump.
Image SmallBullet(int mat, int step) {
    Canvas c(15, 15);
    const double phase = (step - 1) / 7.0;
    const double halo = 4.8 + 0.6 * std::sin(phase * 2 * Pi);
    const double turn = phase * Pi / 2;
    Light(c, mat, [&](double x, double y) {
        const double dx = x - 7.5, dy = y - 7.5;
        const double r = std::hypot(dx, dy);
        const double u = std::abs(dx * std::cos(turn) + dy * std::sin(turn));
        const double v = std::abs(-dx * std::sin(turn) + dy * std::cos(turn));
        const double spark = (std::min(u, v) < 0.6 && r < halo + 0.5) ? 0.9 - r * 0.05 : -1;
        const double body = r < halo ? 1.1 - 0.85 * (r / halo) : -1;
        return std::max(spark, body);
    });
    Image img = Shade(c, 0.7);
    Outline(img, 0.25, false);
    return img;
}

}  // namespace

Image MakeSmallBullets() {
    Image sheet(128, 64);
    const int mats[4] = {Fire, BulletPink, BulletLime, BulletViolet};
    for (int family = 0; family < 4; ++family)
        for (int step = 1; step <= 7; ++step)
            Paste(sheet, SmallBullet(mats[family], step), 16 * step, 15 * family);
    return sheet;
}

namespace {

// The homing bullet: a red orb with six flame tongues, turned 30 degrees between its frames.
Image HomingCell(int frame) {
    Canvas c(60, 59);
    const double turn = frame * Pi / 6;
    Light(c, EyeRed, [&](double x, double y) {
        const double dx = x - 30, dy = y - 29.5;
        const double r = std::hypot(dx, dy), a = std::atan2(dy, dx) - turn;
        const double lobe = std::pow(std::abs(std::cos(3 * a)), 3);
        const double edge = 13 + 9 * lobe;
        if (r >= edge) return -1.0;
        return 1.1 - 0.8 * r / edge - (r > 13 ? 0.15 : 0.0);
    });
    Light(c, Glow, [&](double x, double y) {
        const double r = Dist(x, y, 30, 29.5) / 7.5;
        return r < 1 ? 1.0 - 0.5 * r : -1.0;
    });
    Image img = Shade(c, 0.7);
    Outline(img, 0.25, true);
    return img;
}

// The bouncing bullet: a violet core in a ring whose bright beads move round between frames.
Image BouncingCell(int frame) {
    Canvas c(60, 59);
    Light(c, BulletViolet, [&](double x, double y) {
        const double dx = x - 30, dy = y - 29.5;
        const double r = std::hypot(dx, dy), a = std::atan2(dy, dx);
        const double ring = std::abs(r - 17) / 4;
        if (ring >= 1) return -1.0;
        const double beads = std::pow(std::abs(std::cos(4 * a + frame * Pi / 4)), 4);
        return (1 - ring) * (0.55 + 0.5 * beads);
    });
    Light(c, BulletPink, [&](double x, double y) {
        const double r = Dist(x, y, 30, 29.5) / (8.5 + frame);
        return r < 1 ? 1.05 - 0.6 * r : -1.0;
    });
    Image img = Shade(c, 0.7);
    Outline(img, 0.25, true);
    return img;
}

}  // namespace

Image MakeHomingBullet() {
    Image sheet(181, 59);
    for (int step = 1; step <= 2; ++step) Paste(sheet, HomingCell(step - 1), 60 * step, 0);
    return sheet;
}

Image MakeBouncingBullet() {
    Image sheet(181, 59);
    for (int step = 1; step <= 2; ++step) Paste(sheet, BouncingCell(step - 1), 60 * step, 0);
    return sheet;
}
