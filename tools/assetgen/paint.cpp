#include "paint.h"

#include <algorithm>
#include <cmath>

const std::vector<Rgb>& Ramp(int mat) {
    static const std::vector<std::vector<Rgb>> ramps = {
        {{28, 30, 48},
         {52, 58, 84},
         {86, 96, 128},
         {128, 142, 172},
         {180, 192, 214},
         {236, 242, 250}},
        {{16, 32, 88},
         {24, 60, 150},
         {40, 100, 210},
         {80, 150, 245},
         {150, 200, 255},
         {220, 240, 255}},
        {{10, 40, 60},
         {20, 80, 110},
         {30, 130, 160},
         {70, 190, 210},
         {160, 240, 245},
         {240, 255, 255}},
        {{90, 20, 10},
         {170, 40, 10},
         {230, 90, 20},
         {250, 160, 40},
         {255, 220, 110},
         {255, 250, 220}},
        {{60, 12, 58},
         {120, 28, 110},
         {185, 52, 160},
         {230, 100, 205},
         {250, 160, 235},
         {255, 220, 250}},
        {{70, 40, 10},
         {130, 80, 20},
         {200, 140, 30},
         {240, 200, 60},
         {255, 235, 130},
         {255, 255, 220}},
        {{56, 30, 18},
         {100, 58, 32},
         {150, 94, 52},
         {198, 138, 80},
         {232, 184, 124},
         {252, 228, 184}},
        {{30, 16, 12}, {56, 32, 22}, {86, 52, 34}, {120, 76, 50}, {156, 104, 72}, {190, 140, 100}},
        {{26, 12, 38},
         {52, 24, 74},
         {84, 42, 116},
         {122, 68, 160},
         {166, 110, 200},
         {210, 170, 235}},
        {{40, 16, 44},
         {74, 30, 74},
         {110, 46, 100},
         {146, 70, 124},
         {180, 104, 150},
         {214, 150, 180}},
        {{10, 22, 60},
         {18, 44, 112},
         {30, 76, 170},
         {60, 120, 220},
         {120, 176, 250},
         {200, 230, 255}},
        {{56, 8, 16}, {110, 16, 28}, {170, 30, 36}, {220, 64, 52}, {250, 120, 90}, {255, 190, 160}},
        {{8, 36, 24}, {16, 72, 36}, {34, 116, 48}, {72, 164, 60}, {140, 210, 90}, {210, 245, 160}},
        {{80, 40, 0},
         {160, 90, 0},
         {230, 170, 20},
         {255, 230, 80},
         {255, 250, 180},
         {255, 255, 255}},
        {{80, 0, 10},
         {150, 10, 20},
         {220, 40, 30},
         {255, 110, 60},
         {255, 200, 140},
         {255, 255, 230}},
        {{30, 28, 34},
         {52, 50, 58},
         {78, 76, 84},
         {108, 106, 112},
         {140, 138, 142},
         {176, 174, 176}},
        {{60, 52, 40},
         {110, 98, 76},
         {160, 148, 120},
         {205, 194, 165},
         {235, 228, 205},
         {255, 252, 240}},
        {{16, 14, 26}, {32, 28, 48}, {52, 46, 74}, {78, 70, 104}, {110, 102, 138}, {150, 144, 176}},
        {{90, 0, 60},
         {170, 20, 120},
         {240, 60, 180},
         {255, 130, 220},
         {255, 200, 240},
         {255, 255, 255}},
        {{20, 70, 10},
         {50, 140, 20},
         {110, 210, 40},
         {180, 250, 90},
         {230, 255, 180},
         {255, 255, 255}},
        {{50, 10, 100},
         {100, 30, 180},
         {150, 70, 240},
         {190, 130, 255},
         {225, 200, 255},
         {255, 255, 255}},
        {{20, 40, 120},
         {40, 90, 220},
         {80, 160, 255},
         {150, 210, 255},
         {210, 240, 255},
         {255, 255, 255}},
        {{40, 10, 8}, {90, 20, 10}, {150, 40, 14}, {200, 80, 20}, {240, 130, 40}, {255, 190, 90}},
    };
    return ramps.at(size_t(mat));
}

void Fill(Canvas& c, const Profile& shape, const Brush& b) {
    for (int y = 0; y < c.H; ++y) {
        for (int x = 0; x < c.W; ++x) {
            const auto t = shape(x + 0.5, y + 0.5);
            if (!t) continue;
            const size_t i = c.I(x, y);
            const float z = b.Z0 + b.Dz * float(*t);
            switch (b.How) {
                case Mode::Erase:
                    c.M[i] = -1;
                    continue;
                case Mode::Decal:
                    if (c.M[i] < 0) continue;
                    break;
                case Mode::Raise:
                    if (c.M[i] >= 0 && c.Z[i] > z) continue;
                    c.Z[i] = z;
                    break;
                case Mode::Replace:
                    c.Z[i] = z;
                    break;
            }
            c.M[i] = int16_t(b.Material);
            c.Bias[i] = b.Bias;
            c.Emit[i] = b.Emit0 < 0 ? -1.f : b.Emit0 + (b.Emit1 - b.Emit0) * float(*t);
        }
    }
}

void Ellipse(Canvas& c, double cx, double cy, double rx, double ry, const Brush& b) {
    Fill(
        c,
        [=](double x, double y) -> std::optional<double> {
            const double nx = (x - cx) / rx, ny = (y - cy) / ry;
            const double d2 = nx * nx + ny * ny;
            if (d2 >= 1) return std::nullopt;
            return std::sqrt(1 - d2);
        },
        b);
}

namespace {

double SegmentDistance(double px, double py, P a, P b) {
    const double vx = b.X - a.X, vy = b.Y - a.Y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((px - a.X) * vx + (py - a.Y) * vy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = px - (a.X + t * vx), dy = py - (a.Y + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

bool InsidePolygon(double x, double y, const std::vector<P>& pts) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
        if ((pts[i].Y > y) != (pts[j].Y > y) &&
            x < (pts[j].X - pts[i].X) * (y - pts[i].Y) / (pts[j].Y - pts[i].Y) + pts[i].X)
            in = !in;
    }
    return in;
}

}  // namespace

void Polygon(Canvas& c, const std::vector<P>& pts, double bevel, const Brush& b) {
    Fill(
        c,
        [&](double x, double y) -> std::optional<double> {
            if (!InsidePolygon(x, y, pts)) return std::nullopt;
            double d = 1e9;
            for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++)
                d = std::min(d, SegmentDistance(x, y, pts[j], pts[i]));
            return std::min(1.0, d / bevel);
        },
        b);
}

std::vector<P> Symmetric(const std::vector<P>& left, double axis) {
    std::vector<P> all = left;
    for (size_t i = left.size(); i-- > 0;)
        if (left[i].X < axis) all.push_back({2 * axis - left[i].X, left[i].Y});
    return all;
}

void Capsule(Canvas& c, double x0, double y0, double x1, double y1, double r0, double r1,
             const Brush& b) {
    Fill(
        c,
        [=](double x, double y) -> std::optional<double> {
            const double vx = x1 - x0, vy = y1 - y0;
            const double len2 = vx * vx + vy * vy;
            double t = len2 > 0 ? ((x - x0) * vx + (y - y0) * vy) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            const double r = r0 + (r1 - r0) * t;
            const double dx = x - (x0 + t * vx), dy = y - (y0 + t * vy);
            const double d2 = (dx * dx + dy * dy) / (r * r);
            if (d2 >= 1) return std::nullopt;
            return std::sqrt(1 - d2);
        },
        b);
}

void MirrorLeft(Canvas& c, int axis2) {
    for (int y = 0; y < c.H; ++y) {
        for (int x = 0; 2 * x < axis2; ++x) {
            const int m = axis2 - x;
            if (m < 0 || m >= c.W) continue;
            const size_t s = c.I(x, y), d = c.I(m, y);
            c.Z[d] = c.Z[s];
            c.Bias[d] = c.Bias[s];
            c.Emit[d] = c.Emit[s];
            c.M[d] = c.M[s];
        }
    }
}

double Bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5) / 16.0;
}

double Hash(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x8da6b343u ^ uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / double(0x1000000);
}

double Noise(double x, double y, uint32_t seed) {
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
    const double c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

double Fbm(double x, double y, uint32_t seed, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Noise(x, y, seed + uint32_t(o) * 101);
        norm += amp;
        x *= 2;
        y *= 2;
        amp *= 0.5;
    }
    return sum / norm;
}

Rgb RampColour(int mat, double intensity, int x, int y, double dither) {
    const auto& ramp = Ramp(mat);
    const int n = int(ramp.size());
    const double v = intensity * n + (Bayer(x, y) - 0.5) * dither;
    return ramp[size_t(std::clamp(int(std::floor(v)), 0, n - 1))];
}

namespace {

// Height seen from (x, y) towards a neighbour: outside the painting the surface drops away,
// which rounds off every silhouette.
float Neighbour(const Canvas& c, int x, int y, float own) {
    return c.Used(x, y) ? c.Z[c.I(x, y)] : own - 2.5f;
}

double Lighting(const Canvas& c, int x, int y) {
    const float z = c.Z[c.I(x, y)];
    const double gx = (Neighbour(c, x + 1, y, z) - Neighbour(c, x - 1, y, z)) / 2.0;
    const double gy = (Neighbour(c, x, y + 1, z) - Neighbour(c, x, y - 1, z)) / 2.0;
    double nx = -gx, ny = -gy, nz = 1;
    const double nl = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= nl, ny /= nl, nz /= nl;
    const double lx = -0.48, ly = -0.62, lz = 0.62;  // from the top left, towards the viewer
    const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
    const double hx = lx, hy = ly, hz = lz + 1;  // half vector for a viewer straight above
    const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double shine = std::max(0.0, (nx * hx + ny * hy + nz * hz) / hl);
    return 0.08 + 0.78 * diffuse + 0.35 * std::pow(shine, 24);
}

}  // namespace

Image Shade(const Canvas& c, double dither) {
    Image img(c.W, c.H);
    for (int y = 0; y < c.H; ++y) {
        for (int x = 0; x < c.W; ++x) {
            if (!c.Used(x, y)) continue;
            const size_t i = c.I(x, y);
            const double light = c.Emit[i] >= 0 ? c.Emit[i] : Lighting(c, x, y) + c.Bias[i];
            img.Set(x, y, RampColour(c.M[i], light, x, y, dither));
        }
    }
    return img;
}
