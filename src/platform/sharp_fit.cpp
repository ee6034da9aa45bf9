#include "platform/sharp_fit.h"

#include <algorithm>
#include <cstring>

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
    plan.PaddedRow.assign(size_t(std::max(0, picture.Width)) + 1, 0);
    for (int parity = 0; parity < 2; ++parity) {
        plan.ScaledRows[parity].assign(size_t(std::max(0, shown.Width)), 0);
        plan.ScaledRowOf[parity] = -1;
    }
}

namespace {

#if defined(__SSE2__)
// Two screen pixels at a time: each one's two picture pixels, side by side in the padded row,
// widened to 16 bits a byte, weighted, summed and rounded as BlendPixels does.
void BlendColumns(SharpFitPlan& plan, const uint32_t* from, uint32_t* to) {
    std::memcpy(plan.PaddedRow.data(), from, size_t(plan.Picture.Width) * sizeof(uint32_t));
    plan.PaddedRow.back() = from[plan.Picture.Width - 1];
    const uint32_t* row = plan.PaddedRow.data();
    const auto* weights = reinterpret_cast<const __m128i*>(plan.ColumnWeights.data());
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    const size_t width = plan.Columns.size();
    size_t x = 0;
    for (; x + 1 < width; x += 2) {
        const __m128i pair0 =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + plan.Columns[x].First));
        const __m128i pair1 =
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + plan.Columns[x + 1].First));
        const __m128i weighted0 =
            _mm_mullo_epi16(_mm_unpacklo_epi8(pair0, zero), _mm_loadu_si128(weights + x));
        const __m128i weighted1 =
            _mm_mullo_epi16(_mm_unpacklo_epi8(pair1, zero), _mm_loadu_si128(weights + x + 1));
        const __m128i sum0 = _mm_add_epi16(weighted0, _mm_srli_si128(weighted0, 8));
        const __m128i sum1 = _mm_add_epi16(weighted1, _mm_srli_si128(weighted1, 8));
        const __m128i both = _mm_srli_epi16(_mm_add_epi16(_mm_unpacklo_epi64(sum0, sum1), half), 8);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to + x), _mm_packus_epi16(both, both));
    }
    for (; x < width; ++x) {
        const SharpSample& column = plan.Columns[x];
        to[x] = BlendPixels(row[column.First], row[column.First + 1], column.Weight);
    }
}
#else
// Without a branch per pixel: where a sample lies inside one picture pixel its weight of 0
// blends that pixel with itself, exactly.
void BlendColumns(SharpFitPlan& plan, const uint32_t* from, uint32_t* to) {
    for (const SharpSample& column : plan.Columns)
        *to++ = BlendPixels(from[column.First], from[column.Second], column.Weight);
}
#endif

void ScaleRow(SharpFitPlan& plan, const uint32_t* from, uint32_t* to) {
    if (!plan.ColumnsBlend) {
        for (const SharpSample& column : plan.Columns) *to++ = from[column.First];
        return;
    }
    BlendColumns(plan, from, to);
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
            BlendRows(first, ScaledRow(plan, from, fromPitch, row.Second), row.Weight, to,
                      plan.Shown.Width);
        }
        to += toPitch;
    }
}
