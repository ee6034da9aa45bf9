// Scales a picture of 0x00RRGGBB pixels to any size on the CPU, sharply: as if it were first
// enlarged by a whole factor with whole pixels (WholeFactorBefore) and the result then brought
// down to the size shown with linear filtering. Edges stay crisp, with at most one blended pixel
// between two pixels of the picture, and no pixel of the picture is drawn a whole screen pixel
// wider than its neighbours. At a whole multiple of the picture's size nothing is blended: each
// pixel becomes a square of one colour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/window_scale.h"

// One screen pixel along one axis: the picture pixels it is drawn from, and how much of the
// second it takes (0..256 of 256). Where it lies inside one picture pixel both are that pixel
// and the weight is 0.
struct SharpSample {
    int First = 0;
    int Second = 0;
    uint32_t Weight = 0;
};
// The samples of `shown` screen pixels for `picture` picture pixels on one axis, enlarged first
// by `factor`.
std::vector<SharpSample> SharpAxis(int picture, int shown, int factor);

// What a scaling of one picture size to one shown size needs, worked out once.
struct SharpFitPlan {
    PictureSize Picture;
    PictureSize Shown;
    std::vector<SharpSample> Columns;
    std::vector<SharpSample> Rows;
    bool ColumnsBlend = false;  // some screen column is a blend of two picture columns
    // For vector code: each column's weights of its first and second picture pixel, four of
    // each (one per byte of a pixel). The first `PairColumns` columns can read their two
    // pixels side by side from the picture row; the rest lie on its last pixel alone.
    std::vector<uint16_t> ColumnWeights;
    size_t PairColumns = 0;
    // Two picture rows already scaled to the shown width, by the parity of their row number.
    std::vector<uint32_t> ScaledRows[2];
    int ScaledRowOf[2] = {-1, -1};
};
// Builds the plan, or keeps it where the sizes are the same.
void PlanSharpFit(SharpFitPlan& plan, PictureSize picture, PictureSize shown);

// Draws `from` (picture-sized, `fromPitch` pixels from one row to the next) into `to` (shown-
// sized, `toPitch` likewise).
void DrawSharpFit(SharpFitPlan& plan, const uint32_t* from, ptrdiff_t fromPitch, uint32_t* to,
                  ptrdiff_t toPitch);

// A rectangle of pixels: X and Y its top-left corner.
struct PixelRect {
    int X = 0;
    int Y = 0;
    int W = 0;
    int H = 0;
};
// The shown pixels a rectangle of picture pixels reaches: those drawn from at least one of its
// pixels, the blended pixel at each edge included. Redrawing just these after the rectangle
// changed gives the same picture as a whole new scaling.
PixelRect ShownPart(const SharpFitPlan& plan, const PixelRect& picturePart);
// Draws only `part` (shown pixels) of the whole scaling; `to` is still the shown picture's
// top-left pixel.
void DrawSharpFitPart(SharpFitPlan& plan, const uint32_t* from, ptrdiff_t fromPitch, uint32_t* to,
                      ptrdiff_t toPitch, const PixelRect& part);

// A blend of two 0x00RRGGBB pixels with `weight` of 256 of the second, rounded.
inline uint32_t BlendPixels(uint32_t first, uint32_t second, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    const uint32_t redBlue =
        (((first & 0xFF00FFu) * keep + (second & 0xFF00FFu) * weight + 0x800080u) >> 8) & 0xFF00FFu;
    const uint32_t green =
        (((first & 0x00FF00u) * keep + (second & 0x00FF00u) * weight + 0x008000u) >> 8) & 0x00FF00u;
    return redBlue | green;
}
