#include "platform/sharp_fit.h"

#include <algorithm>
#include <cstring>

std::vector<SharpSample> SharpAxis(int picture, int shown, int factor) {
    std::vector<SharpSample> samples(size_t(std::max(0, shown)));
    if (picture <= 0 || shown <= 0) return samples;
    // The centre of screen pixel d, in the enlarged picture's pixels (whose centres lie at
    // k + 0.5): u = (d + 0.5) * enlarged / shown - 0.5, kept as a fraction over 2 * shown.
    const int64_t enlarged = int64_t(picture) * factor;
    const int64_t denominator = 2 * int64_t(shown);
    for (int d = 0; d < shown; ++d) {
        const int64_t numerator = std::max<int64_t>(0, (2 * int64_t(d) + 1) * enlarged - shown);
        const int64_t left = std::min(numerator / denominator, enlarged - 1);
        const int64_t fraction = numerator - left * denominator;
        SharpSample& sample = samples[size_t(d)];
        sample.First = int(left / factor);
        sample.Second = int(std::min(left + 1, enlarged - 1) / factor);
        if (sample.Second == sample.First) continue;
        sample.Weight = uint32_t((fraction * 256 + shown) / denominator);
        if (sample.Weight == 0) sample.Second = sample.First;
        if (sample.Weight == 256) {
            sample.First = sample.Second;
            sample.Weight = 0;
        }
    }
    return samples;
}

void PlanSharpFit(SharpFitPlan& plan, PictureSize picture, PictureSize shown) {
    if (plan.Picture.Width == picture.Width && plan.Picture.Height == picture.Height &&
        plan.Shown.Width == shown.Width && plan.Shown.Height == shown.Height)
        return;
    const int factor = WholeFactorBefore(shown, picture);
    plan.Picture = picture;
    plan.Shown = shown;
    plan.Columns = SharpAxis(picture.Width, shown.Width, factor);
    plan.Rows = SharpAxis(picture.Height, shown.Height, factor);
    for (int parity = 0; parity < 2; ++parity) {
        plan.ScaledRows[parity].assign(size_t(std::max(0, shown.Width)), 0);
        plan.ScaledRowOf[parity] = -1;
    }
}

namespace {

void ScaleRow(const SharpFitPlan& plan, const uint32_t* from, uint32_t* to) {
    for (const SharpSample& column : plan.Columns) {
        *to++ = column.Weight == 0
                    ? from[column.First]
                    : BlendPixels(from[column.First], from[column.Second], column.Weight);
    }
}

// Picture row `row` at the shown width; each is scaled once per frame, however many screen
// rows it feeds.
const uint32_t* ScaledRow(SharpFitPlan& plan, const uint32_t* from, ptrdiff_t fromPitch, int row) {
    const int parity = row & 1;
    std::vector<uint32_t>& scaled = plan.ScaledRows[parity];
    if (plan.ScaledRowOf[parity] != row) {
        ScaleRow(plan, from + row * fromPitch, scaled.data());
        plan.ScaledRowOf[parity] = row;
    }
    return scaled.data();
}

}  // namespace

void DrawSharpFit(SharpFitPlan& plan, const uint32_t* from, ptrdiff_t fromPitch, uint32_t* to,
                  ptrdiff_t toPitch) {
    plan.ScaledRowOf[0] = plan.ScaledRowOf[1] = -1;  // a new frame
    const size_t rowBytes = size_t(plan.Shown.Width) * sizeof(uint32_t);
    for (const SharpSample& row : plan.Rows) {
        const uint32_t* first = ScaledRow(plan, from, fromPitch, row.First);
        if (row.Weight == 0) {
            std::memcpy(to, first, rowBytes);
        } else {
            const uint32_t* second = ScaledRow(plan, from, fromPitch, row.Second);
            for (int x = 0; x < plan.Shown.Width; ++x)
                to[x] = BlendPixels(first[x], second[x], row.Weight);
        }
        to += toPitch;
    }
}
