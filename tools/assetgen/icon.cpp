// The desktop icon: the player's ship from l_jiki.bmp, enlarged with its pixels kept square,
// on a rounded night-blue tile, written as PNG files for the hicolor icon theme.
#include <algorithm>
#include <array>
#include <cmath>

#include "assetgen.h"

namespace {

constexpr int MasterSize = 256;  // the largest icon; the smaller ones are averaged down from it
constexpr int ShipScale = 4;     // 48 x 40 ship pixels -> 192 x 160
constexpr Rgb TileTop{26, 34, 92};
constexpr Rgb TileBottom{6, 8, 28};
constexpr Rgb Star{190, 200, 255};

struct Rgba {
    double R = 0, G = 0, B = 0, A = 0;  // premultiplied, 0..255
};

using Picture = std::vector<Rgba>;

Rgba Opaque(Rgb c) {
    return {double(c.R), double(c.G), double(c.B), 255};
}

// How much of the pixel at (x, y) lies inside the tile: a square with rounded corners,
// sampled 4 x 4 for a smooth rim.
double TileCoverage(int x, int y) {
    constexpr double margin = 8, radius = 40;
    constexpr double lo = margin + radius, hi = MasterSize - margin - radius;
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
            const double dx = std::max({lo - px, 0.0, px - hi});
            const double dy = std::max({lo - py, 0.0, py - hi});
            const bool inSquare = px >= margin && px <= MasterSize - margin && py >= margin &&
                                  py <= MasterSize - margin;
            inside += inSquare && dx * dx + dy * dy <= radius * radius;
        }
    return inside / 16.0;
}

Picture Master() {
    Picture pic(size_t(MasterSize) * MasterSize);
    for (int y = 0; y < MasterSize; ++y)
        for (int x = 0; x < MasterSize; ++x) {
            const double cover = TileCoverage(x, y);
            const Rgb c = Mix(TileTop, TileBottom, double(y) / MasterSize);
            pic[size_t(y) * MasterSize + x] = {c.R * cover, c.G * cover, c.B * cover, 255 * cover};
        }
    // A few fixed stars, as the field's streaks would show them.
    constexpr std::array<std::array<int, 2>, 6> stars{
        {{40, 52}, {200, 36}, {216, 132}, {52, 176}, {120, 28}, {188, 212}}};
    for (const auto& [sx, sy] : stars)
        for (int y = sy; y < sy + 4; ++y)
            for (int x = sx; x < sx + 4; ++x) pic[size_t(y) * MasterSize + x] = Opaque(Star);
    const Image ship = MakeShip();
    const int left = (MasterSize - ship.W * ShipScale) / 2;
    const int top = (MasterSize - ship.H * ShipScale) / 2 + 8;
    for (int y = 0; y < ship.H * ShipScale; ++y)
        for (int x = 0; x < ship.W * ShipScale; ++x)
            if (ship.IsSolid(x / ShipScale, y / ShipScale))
                pic[size_t(top + y) * MasterSize + left + x] =
                    Opaque(ship.At(x / ShipScale, y / ShipScale));
    return pic;
}

// Each target pixel is the area-weighted mean of the master pixels it covers.
Picture Shrink(const Picture& master, int size) {
    Picture out(size_t(size) * size);
    const double step = double(MasterSize) / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba sum;
            for (int my = int(y * step); my < int(std::ceil((y + 1) * step)); ++my)
                for (int mx = int(x * step); mx < int(std::ceil((x + 1) * step)); ++mx) {
                    const double wx =
                        std::min<double>(mx + 1, (x + 1) * step) - std::max<double>(mx, x * step);
                    const double wy =
                        std::min<double>(my + 1, (y + 1) * step) - std::max<double>(my, y * step);
                    const Rgba& m = master[size_t(my) * MasterSize + mx];
                    const double w = wx * wy / (step * step);
                    sum = {sum.R + m.R * w, sum.G + m.G * w, sum.B + m.B * w, sum.A + m.A * w};
                }
            out[size_t(y) * size + x] = sum;
        }
    return out;
}

uint8_t Byte(double v) {
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

std::vector<uint8_t> Straight(const Picture& pic) {
    std::vector<uint8_t> rgba;
    rgba.reserve(pic.size() * 4);
    for (const Rgba& p : pic) {
        const double a = p.A > 0 ? 255 / p.A : 0;
        for (const double v : {p.R * a, p.G * a, p.B * a, p.A}) rgba.push_back(Byte(v));
    }
    return rgba;
}

}  // namespace

std::vector<int> IconSizes() {
    return {16, 32, 48, 64, 128, 256};
}

std::vector<uint8_t> MakeIcon(int size) {
    return EncodePng(Straight(Shrink(Master(), size)), size, size);
}
