#include "platform/sharp_fit.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    plan.ColumnsBlend = std::any_of(plan.Columns.begin(), plan.Columns.end(),
                                    [](const SharpSample& column) { return column.Weight != 0; });
    plan.ColumnWeights.clear();
    for (const SharpSample& column : plan.Columns) {
        plan.ColumnWeights.insert(plan.ColumnWeights.end(), 4, uint16_t(256 - column.Weight));
        plan.ColumnWeights.insert(plan.ColumnWeights.end(), 4, uint16_t(column.Weight));
    }
    // The columns on the picture's last pixel come last, and blend nothing.
    plan.PairColumns = size_t(std::partition_point(plan.Columns.begin(), plan.Columns.end(),
                                                   [&](const SharpSample& column) {
                                                       return column.First + 1 < picture.Width;
                                                   }) -
                              plan.Columns.begin());
    for (int parity = 0; parity < 2; ++parity) {
        plan.ScaledRows[parity].assign(size_t(std::max(0, shown.Width)), 0);
        plan.ScaledRowOf[parity] = -1;
    }
}

namespace {

// Screen columns [begin, end) of one row.
#if defined(__SSE2__)
// Two screen pixels at a time: each one's two picture pixels, side by side in the row, widened
// to 16 bits a byte, weighted, summed and rounded as BlendPixels does.
void BlendColumns(const SharpFitPlan& plan, const uint32_t* from, uint32_t* to, size_t begin,
                  size_t end) {
    const auto* weights = reinterpret_cast<const __m128i*>(plan.ColumnWeights.data());
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    const size_t pairs = std::min(end, plan.PairColumns);
    size_t x = begin;
    for (; x + 1 < pairs; x += 2) {
        const __m128i pair0 =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + plan.Columns[x].First));
        const __m128i pair1 =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + plan.Columns[x + 1].First));
        const __m128i weighted0 =
            _mm_mullo_epi16(_mm_unpacklo_epi8(pair0, zero), _mm_loadu_si128(weights + x));
        const __m128i weighted1 =
            _mm_mullo_epi16(_mm_unpacklo_epi8(pair1, zero), _mm_loadu_si128(weights + x + 1));
        const __m128i sum0 = _mm_add_epi16(weighted0, _mm_srli_si128(weighted0, 8));
        const __m128i sum1 = _mm_add_epi16(weighted1, _mm_srli_si128(weighted1, 8));
        const __m128i both = _mm_srli_epi16(_mm_add_epi16(_mm_unpacklo_epi64(sum0, sum1), half), 8);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to + x), _mm_packus_epi16(both, both));
    }
    for (; x < pairs; ++x) {
        const SharpSample& column = plan.Columns[x];
        to[x] = BlendPixels(from[column.First], from[column.First + 1], column.Weight);
    }
    for (; x < end; ++x) to[x] = from[plan.Columns[x].First];
}
#else
// Without a branch per pixel: where a sample lies inside one picture pixel its weight of 0
// blends that pixel with itself, exactly.
void BlendColumns(const SharpFitPlan& plan, const uint32_t* from, uint32_t* to, size_t begin,
                  size_t end) {
    for (size_t x = begin; x < end; ++x) {
        const SharpSample& column = plan.Columns[x];
        to[x] = BlendPixels(from[column.First], from[column.Second], column.Weight);
    }
}
#endif

void ScaleRow(const SharpFitPlan& plan, const uint32_t* from, uint32_t* to, size_t begin,
              size_t end) {
    if (plan.ColumnsBlend) {
        BlendColumns(plan, from, to, begin, end);
    } else {
        for (size_t x = begin; x < end; ++x) to[x] = from[plan.Columns[x].First];
    }
}

// Two whole rows blended with one weight, byte by byte: the same rounding as BlendPixels.
void BlendRows(const uint32_t* first, const uint32_t* second, uint32_t weight, uint32_t* to,
               int width) {
    const auto* a = reinterpret_cast<const uint8_t*>(first);
    const auto* b = reinterpret_cast<const uint8_t*>(second);
    auto* out = reinterpret_cast<uint8_t*>(to);
    const size_t bytes = size_t(width) * sizeof(uint32_t);
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    const __m128i keep = _mm_set1_epi16(int16_t(256 - weight));
    const __m128i take = _mm_set1_epi16(int16_t(weight));
    for (; i + 16 <= bytes; i += 16) {
        const __m128i top = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i bottom = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const auto blend = [&](__m128i upper, __m128i lower) {
            const __m128i sum =
                _mm_add_epi16(_mm_mullo_epi16(upper, keep), _mm_mullo_epi16(lower, take));
            return _mm_srli_epi16(_mm_add_epi16(sum, half), 8);
        };
        const __m128i low = blend(_mm_unpacklo_epi8(top, zero), _mm_unpacklo_epi8(bottom, zero));
        const __m128i high = blend(_mm_unpackhi_epi8(top, zero), _mm_unpackhi_epi8(bottom, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
#endif
    for (; i < bytes; ++i) out[i] = uint8_t((a[i] * (256 - weight) + b[i] * weight + 128) >> 8);
}

// Picture row `row` at the shown width, in the part's columns; each is scaled once per part,
// however many screen rows it feeds.
const uint32_t* ScaledRow(SharpFitPlan& plan, const uint32_t* from, ptrdiff_t fromPitch, int row,
                          size_t begin, size_t end) {
    // At the picture's own width its rows are already the shown ones.
    if (!plan.ColumnsBlend && plan.Shown.Width == plan.Picture.Width) return from + row * fromPitch;
    const int parity = row & 1;
    std::vector<uint32_t>& scaled = plan.ScaledRows[parity];
    if (plan.ScaledRowOf[parity] != row) {
        ScaleRow(plan, from + row * fromPitch, scaled.data(), begin, end);
        plan.ScaledRowOf[parity] = row;
    }
    return scaled.data();
}

// The screen pixels [first, end) of one axis drawn from picture pixels [from, to).
std::pair<int, int> ShownSpan(const std::vector<SharpSample>& samples, int from, int to) {
    const auto first = std::partition_point(
        samples.begin(), samples.end(), [from](const SharpSample& s) { return s.Second < from; });
    const auto end = std::partition_point(first, samples.end(),
                                          [to](const SharpSample& s) { return s.First < to; });
    return {int(first - samples.begin()), int(end - samples.begin())};
}

}  // namespace

void DrawSharpFit(SharpFitPlan& plan, const uint32_t* from, ptrdiff_t fromPitch, uint32_t* to,
                  ptrdiff_t toPitch) {
    DrawSharpFitPart(plan, from, fromPitch, to, toPitch,
                     {0, 0, plan.Shown.Width, plan.Shown.Height});
}

PixelRect ShownPart(const SharpFitPlan& plan, const PixelRect& picturePart) {
    const auto [left, right] =
        ShownSpan(plan.Columns, picturePart.X, picturePart.X + picturePart.W);
    const auto [top, bottom] = ShownSpan(plan.Rows, picturePart.Y, picturePart.Y + picturePart.H);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

void DrawSharpFitPart(SharpFitPlan& plan, const uint32_t* from, ptrdiff_t fromPitch, uint32_t* to,
                      ptrdiff_t toPitch, const PixelRect& part) {
    const int left = std::max(0, part.X);
    const int right = std::min(plan.Shown.Width, part.X + part.W);
    const int top = std::max(0, part.Y);
    const int bottom = std::min(plan.Shown.Height, part.Y + part.H);
    if (left >= right || top >= bottom) return;
    plan.ScaledRowOf[0] = plan.ScaledRowOf[1] = -1;  // other columns, or a new frame
    const auto begin = size_t(left);
    const auto end = size_t(right);
    const size_t rowBytes = (end - begin) * sizeof(uint32_t);
    for (int y = top; y < bottom; ++y) {
        const SharpSample& row = plan.Rows[size_t(y)];
        uint32_t* line = to + y * toPitch + left;
        const uint32_t* first = ScaledRow(plan, from, fromPitch, row.First, begin, end) + left;
        if (row.Weight == 0) {
            std::memcpy(line, first, rowBytes);
        } else {
            const uint32_t* second =
                ScaledRow(plan, from, fromPitch, row.Second, begin, end) + left;
            BlendRows(first, second, row.Weight, line, right - left);
        }
    }
}
