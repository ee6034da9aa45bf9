// A small relief painter: shapes are laid into a height field with a material each, and the
// field is then lit from the top left and quantised to each material's colour ramp with an
// ordered dither. Every sprite of the game is built this way, which keeps one light direction,
// one palette and one pixel grain across all of them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "image.h"

enum Mat : int16_t {
    Steel,
    ShipBlue,
    Canopy,
    Fire,
    Pink,
    Gold,
    Tan,
    Brown,
    Purple,
    Membrane,
    Armour,
    Red,
    Green,
    Glow,
    EyeRed,
    Smoke,
    Bone,
    Hull,
    BulletPink,
    BulletLime,
    BulletViolet,
    ShotBlue,
    Ember,
    MatCount
};

// Six colours from darkest to brightest.
const std::vector<Rgb>& Ramp(int mat);

struct Canvas {
    int W, H;
    std::vector<float> Z, Bias, Emit;  // Emit < 0: lit surface; otherwise self-lit 0..1
    std::vector<int16_t> M;            // material, -1 where nothing is painted
    Canvas(int w, int h)
        : W(w),
          H(h),
          Z(size_t(w) * h, 0),
          Bias(size_t(w) * h, 0),
          Emit(size_t(w) * h, -1),
          M(size_t(w) * h, -1) {}
    size_t I(int x, int y) const { return size_t(y) * W + x; }
    bool Used(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H && M[I(x, y)] >= 0; }
};

enum class Mode { Replace, Raise, Decal, Erase };

// How a shape is laid down. The shape yields a profile t in 0..1 (1 on its ridge or centre):
// the height becomes Z0 + Dz * t; self-lit shapes get Emit0 + (Emit1 - Emit0) * t.
struct Brush {
    int Material = Steel;
    float Z0 = 0, Dz = 4;
    Mode How = Mode::Replace;
    float Bias = 0;                // added to the lighting (grooves < 0, trims > 0)
    float Emit0 = -1, Emit1 = -1;  // self-lit when Emit0 >= 0
};

struct P {
    double X, Y;
};

using Profile = std::function<std::optional<double>(double x, double y)>;

void Fill(Canvas& c, const Profile& shape, const Brush& b);
void Ellipse(Canvas& c, double cx, double cy, double rx, double ry, const Brush& b);
// Bevel is the width over which the height rises from the rim to the full plate.
void Polygon(Canvas& c, const std::vector<P>& pts, double bevel, const Brush& b);
// A polygon symmetric about the vertical line x = axis, given by its left outline from top to
// bottom (points on the axis included once).
std::vector<P> Symmetric(const std::vector<P>& left, double axis);
// A tube from (x0, y0) to (x1, y1) whose radius goes from r0 to r1.
void Capsule(Canvas& c, double x0, double y0, double x1, double y1, double r0, double r1,
             const Brush& b);

// Copies the left half onto the right: pixel x goes to axis2 - x (axis2 = twice the axis).
void MirrorLeft(Canvas& c, int axis2);

// Lights the field and quantises it. `dither` is the strength of the ordered dither.
Image Shade(const Canvas& c, double dither = 0.6);

double Bayer(int x, int y);                       // 4 x 4 ordered-dither threshold, 0..1
double Hash(int x, int y, uint32_t seed);         // deterministic white noise, 0..1
double Noise(double x, double y, uint32_t seed);  // smooth value noise, 0..1
double Fbm(double x, double y, uint32_t seed, int octaves);

// Picks the ramp colour for an intensity 0..1 with the ordered dither at (x, y).
Rgb RampColour(int mat, double intensity, int x, int y, double dither);
