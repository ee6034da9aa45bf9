#include "gfx/surface.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/file_bytes.h"
#include "gfx/bmp.h"
#include "platform/platform.h"

namespace {

bool RectInside(const SurfaceData& s, int x, int y, int w, int h) {
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && int64_t(x) + w <= s.Width &&
           int64_t(y) + h <= s.Height;
}

// Notes (x, y, w, h), already inside the surface, as drawn over.
void MarkDrawn(SurfaceData& s, int x, int y, int w, int h) {
    WriteMarks& marks = s.Marks;
    if (marks.TileSize == 0 || w <= 0 || h <= 0) return;
    const int first = x / marks.TileSize;
    const int last = (x + w - 1) / marks.TileSize;
    for (int row = y / marks.TileSize; row <= (y + h - 1) / marks.TileSize; ++row) {
        const size_t from = size_t(row) * size_t(marks.Columns);
        std::fill(marks.SinceCleared.begin() + std::ptrdiff_t(from + first),
                  marks.SinceCleared.begin() + std::ptrdiff_t(from + last + 1), 1);
        std::fill(marks.SinceTaken.begin() + std::ptrdiff_t(from + first),
                  marks.SinceTaken.begin() + std::ptrdiff_t(from + last + 1), 1);
    }
}

// Copies the pixels of `from` that are not `transparent`, and says whether there were any.
bool CopyKeyedPiece(uint32_t* to, const uint32_t* from, int count, uint32_t transparent) {
    bool any = false;
    int i = 0;
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi32(int(transparent));
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i clear = _mm_cmpeq_epi32(pixels, key);
        if (_mm_movemask_epi8(clear) == 0xFFFF) continue;  // four transparent: left alone
        any = true;
        auto* out = reinterpret_cast<__m128i*>(to + i);
        const __m128i under = _mm_loadu_si128(out);
        _mm_storeu_si128(
            out, _mm_or_si128(_mm_and_si128(clear, under), _mm_andnot_si128(clear, pixels)));
    }
#endif
    for (; i < count; ++i) {
        if (from[i] == transparent) continue;
        to[i] = from[i];
        any = true;
    }
    return any;
}

// One row of a copy with a colour key, a tile at a time where the surface keeps marks: a piece
// all transparent leaves the surface as it was, so it is not noted, and neither the next clear
// nor whoever shows the surface looks there. A sprite's corners mostly are such pieces.
void CopyKeyedRow(SurfaceData& dest, int dx, int y, int w, const uint32_t* from,
                  uint32_t transparent) {
    uint32_t* to = dest.Pixels.data() + size_t(y) * dest.Width + dx;
    WriteMarks& marks = dest.Marks;
    if (marks.TileSize == 0) {
        CopyKeyedPiece(to, from, w, transparent);
        return;
    }
    const size_t band = size_t(y / marks.TileSize) * size_t(marks.Columns);
    for (int x = 0, column = dx / marks.TileSize; x < w; ++column) {
        const int end = std::min(w, (column + 1) * marks.TileSize - dx);
        if (CopyKeyedPiece(to + x, from + x, end - x, transparent)) {
            marks.SinceCleared[band + size_t(column)] = 1;
            marks.SinceTaken[band + size_t(column)] = 1;
        }
        x = end;
    }
}

void CopyRows(SurfaceData& dest, int dx, int dy, int w, int h, const SurfaceData& src, int sx,
              int sy, bool key) {
    const auto sourceRow = [&](int row) {
        return src.Pixels.data() + size_t(sy + row) * src.Width + sx;
    };
    if (key) {
        for (int row = 0; row < h; ++row)
            CopyKeyedRow(dest, dx, dy + row, w, sourceRow(row), src.ColourKey);
        return;
    }
    MarkDrawn(dest, dx, dy, w, h);
    for (int row = 0; row < h; ++row)
        std::copy(sourceRow(row), sourceRow(row) + w,
                  dest.Pixels.data() + size_t(dy + row) * dest.Width + dx);
}

// Refills with the clear colour only the tiles drawn over since the surface was last cleared
// with it, a run of them side by side at a time.
void ClearDrawnTiles(SurfaceData& s) {
    WriteMarks& marks = s.Marks;
    for (int row = 0; row < marks.Rows; ++row) {
        uint8_t* drawn = marks.SinceCleared.data() + size_t(row) * size_t(marks.Columns);
        uint8_t* taken = marks.SinceTaken.data() + size_t(row) * size_t(marks.Columns);
        const int top = row * marks.TileSize;
        const int bottom = std::min(top + marks.TileSize, s.Height);
        for (int tile = 0; tile < marks.Columns;) {
            if (!drawn[tile]) {
                ++tile;
                continue;
            }
            const int first = tile;
            for (; tile < marks.Columns && drawn[tile]; ++tile) {
                drawn[tile] = 0;
                taken[tile] = 1;
            }
            const int left = first * marks.TileSize;
            const int right = std::min(tile * marks.TileSize, s.Width);
            for (int y = top; y < bottom; ++y) {
                uint32_t* line = s.Pixels.data() + size_t(y) * size_t(s.Width);
                std::fill(line + left, line + right, marks.ClearPixel);
            }
        }
    }
}

// Blends `colour` over `under` by `alpha` (0-255), channel by channel, rounded.
uint32_t Blend(uint32_t under, uint32_t colour, uint32_t alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t a = (under >> shift) & 0xFF;
        const uint32_t b = (colour >> shift) & 0xFF;
        out |= ((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
    }
    return out;
}

void BlendMask(SurfaceData& dest, int x, int y, const CoverageMask& mask, uint32_t colour) {
    MarkWritten(dest, x, y, mask.Width, mask.Height);
    for (int row = 0; row < mask.Height; ++row) {
        const int64_t destY = int64_t(y) + row;
        if (destY < 0 || destY >= dest.Height) continue;
        for (int col = 0; col < mask.Width; ++col) {
            const int64_t destX = int64_t(x) + col;
            const uint32_t alpha = mask.Alpha[size_t(row) * size_t(mask.Width) + size_t(col)];
            if (alpha == 0 || destX < 0 || destX >= dest.Width) continue;
            uint32_t& pixel = dest.Pixels[size_t(destY) * size_t(dest.Width) + size_t(destX)];
            pixel = Blend(pixel, colour, alpha);
        }
    }
}

// Scales (sx, sy, sw, sh) of src onto (dx, dy, dw, dh) of dest, a plain copy at the same size.
void Stretch(SurfaceData& dest, int dx, int dy, int dw, int dh, const SurfaceData& src, int sx,
             int sy, int sw, int sh, bool key) {
    if (dw == sw && dh == sh) {
        CopyRows(dest, dx, dy, dw, dh, src, sx, sy, key);
        return;
    }
    if (dw != sw) MarkDrawn(dest, dx, dy, dw, dh);  // rows copied whole note themselves
    const uint32_t transparent = src.ColourKey;
    // Sample the source at the centre of each destination pixel: column x reads source column
    // (2x + 1) * sw / (2 dw), stepped by quotient and remainder instead of divided per pixel.
    const int64_t denominator = int64_t(dw) * 2;
    const int64_t step = int64_t(sw) * 2;
    const int64_t wholeStep = step / denominator;
    const int64_t partStep = step % denominator;
    for (int row = 0; row < dh; ++row) {
        const int srcRow = sy + int((int64_t(row) * 2 + 1) * sh / (int64_t(dh) * 2));
        if (dw == sw) {  // rows stretched only: each one a plain copy
            CopyRows(dest, dx, dy + row, dw, 1, src, sx, srcRow, key);
            continue;
        }
        const uint32_t* from = src.Pixels.data() + size_t(srcRow) * src.Width + sx;
        uint32_t* to = dest.Pixels.data() + size_t(dy + row) * dest.Width + dx;
        int64_t column = sw / denominator;
        int64_t remainder = sw % denominator;
        for (int x = 0; x < dw; ++x) {
            const uint32_t pixel = from[column];
            if (!key || pixel != transparent) to[x] = pixel;
            column += wholeStep;
            remainder += partStep;
            if (remainder >= denominator) {
                remainder -= denominator;
                ++column;
            }
        }
    }
}

void Draw(SurfaceData& dest, const HeldDraw& draw) {
    switch (draw.What) {
        case HeldDraw::Kind::Copy:
            Stretch(dest, draw.Dx, draw.Dy, draw.Dw, draw.Dh, *draw.Source, draw.Sx, draw.Sy,
                    draw.Sw, draw.Sh, draw.Key);
            break;
        case HeldDraw::Kind::Coverage:
            BlendMask(dest, draw.Dx, draw.Dy, *draw.Mask, draw.Colour);
            break;
    }
    ++dest.Version;
}

// The one surface holding back a clear, if any. Whatever else is written, or read as a source,
// settles it first: the held copies must read their sources as they are now.
SurfaceData* HoldingSurface = nullptr;

void SettleHeld() {
    if (HoldingSurface) SettleDrawing(*HoldingSurface);
}

// Draws now, or holds the copy back where `dest` holds a clear.
int DrawOrHold(SurfaceData& dest, HeldDraw draw) {
    const SurfaceData* source = draw.Source.get();
    if (&dest != HoldingSurface || source == &dest) SettleHeld();
    if (dest.Drawing.Holding) {
        if (source) draw.SourceVersion = source->Version;
        dest.Drawing.Held.push_back(std::move(draw));
        return BlitOk;
    }
    Draw(dest, draw);
    return BlitOk;
}

}  // namespace

SurfaceData::~SurfaceData() {
    if (HoldingSurface == this) HoldingSurface = nullptr;
}

void HoldRepeatedDrawing(SurfaceData& surface) {
    surface.Drawing = {};
    surface.Drawing.Enabled = surface.Marks.TileSize != 0;
}

void SettleDrawing(SurfaceData& surface) {
    HeldDrawing& drawing = surface.Drawing;
    if (!drawing.Holding) return;
    drawing.Holding = false;
    if (HoldingSurface == &surface) HoldingSurface = nullptr;
    if (surface.Version == drawing.VersionDone && drawing.Held == drawing.Done) {
        drawing.Held.clear();  // the same frame, on the same pixels: it is there already
        return;
    }
    ClearDrawnTiles(surface);
    ++surface.Version;
    for (const HeldDraw& draw : drawing.Held) Draw(surface, draw);
    std::swap(drawing.Done, drawing.Held);  // the next frame's copies reuse the room
    drawing.Held.clear();
    drawing.VersionDone = surface.Version;
}

void KeepWriteMarks(SurfaceData& surface, int tileSize) {
    WriteMarks& marks = surface.Marks;
    marks.TileSize = tileSize;
    marks.Columns = (surface.Width + tileSize - 1) / tileSize;
    marks.Rows = (surface.Height + tileSize - 1) / tileSize;
    marks.SinceCleared.assign(size_t(marks.Columns) * size_t(marks.Rows), 1);
    marks.SinceTaken.assign(marks.SinceCleared.size(), 1);
    marks.ClearKnown = false;
}

void MarkWritten(SurfaceData& surface, int x, int y, int w, int h) {
    ++surface.Version;
    const int left = std::clamp(x, 0, surface.Width);
    const int top = std::clamp(y, 0, surface.Height);
    const int right = int(std::clamp(int64_t(x) + w, int64_t(left), int64_t(surface.Width)));
    const int bottom = int(std::clamp(int64_t(y) + h, int64_t(top), int64_t(surface.Height)));
    MarkDrawn(surface, left, top, right - left, bottom - top);
}

void ForgetWrittenTiles(SurfaceData& surface) {
    std::fill(surface.Marks.SinceTaken.begin(), surface.Marks.SinceTaken.end(), 0);
}

Surface CreateOffscreenSurface(int width, int height) {
    auto surface = std::make_shared<SurfaceData>();
    surface->Width = width;
    surface->Height = height;
    surface->Pixels.assign(size_t(width) * height, 0);
    return surface;
}

Surface LoadBitmapSurface(const std::string& path) {
    std::string bytes;
    const FileRead read = ReadFileBytes(path, bytes, MaxBitmapFileBytes);
    if (read == FileRead::TooLarge)
        FatalError("Cannot read the picture " + path + ": the file is larger than 65 MB.");
    if (read != FileRead::Ok) FatalError("Cannot open the picture " + path + ".");
    DecodedBitmap bitmap;
    std::string error;
    if (!DecodeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), bitmap, error))
        FatalError("Cannot read the picture " + path + ": " + error + ".");
    auto surface = std::make_shared<SurfaceData>();
    surface->Width = bitmap.Width;
    surface->Height = bitmap.Height;
    surface->Pixels = std::move(bitmap.Pixels);
    surface->ColourKey = surface->Pixels[0];
    return surface;
}

void ReleaseSurface(Surface& surface) {
    surface.reset();
}

int32_t SurfaceColour(int32_t bgr) {
    const uint32_t c = static_cast<uint32_t>(bgr);
    return static_cast<int32_t>((c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF));
}

int ClearSurface(const Surface& dest, int32_t pixel) {
    if (!dest) return BlitInvalidRect;
    SettleHeld();
    WriteMarks& marks = dest->Marks;
    if (marks.TileSize != 0 && marks.ClearKnown && marks.ClearPixel == uint32_t(pixel)) {
        if (dest->Drawing.Enabled) {
            dest->Drawing.Holding = true;
            HoldingSurface = dest.get();
            return BlitOk;
        }
        ClearDrawnTiles(*dest);
        ++dest->Version;
        return BlitOk;
    }
    ++dest->Version;
    std::fill(dest->Pixels.begin(), dest->Pixels.end(), static_cast<uint32_t>(pixel));
    if (marks.TileSize != 0) {
        std::fill(marks.SinceCleared.begin(), marks.SinceCleared.end(), 0);
        std::fill(marks.SinceTaken.begin(), marks.SinceTaken.end(), 1);
        marks.ClearKnown = true;
        marks.ClearPixel = uint32_t(pixel);
    }
    return BlitOk;
}

int DrawSprite(const Surface& dest, int dx, int dy, int w, int h, const Surface& src, int sx,
               int sy, bool key) {
    return DrawStretched(dest, dx, dy, w, h, src, sx, sy, w, h, key);  // at its own size
}

int DrawSpriteClipped(const Surface& dest, int dx, int dy, int w, int h, int limX, int limY,
                      const Surface& src, int sx, int sy, int srcLimX, int srcLimY, bool key) {
    // The steps and their order matter: each later test sees what the earlier ones did.
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    if (w <= 0 || h <= 0) return BlitOk;
    if (limX != 0 && dx + w > limX) w = limX - dx;
    if (limY != 0 && dy + h > limY) h = limY - dy;
    if (w <= 0 || h <= 0) return BlitOk;
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (w <= 0 || h <= 0) return BlitOk;
    if (srcLimX != 0 && sx + w > srcLimX) w = srcLimX - sx;
    if (srcLimY != 0 && sy + h > srcLimY) h = srcLimY - sy;
    if (w <= 0 || h <= 0) return BlitOk;
    return DrawSprite(dest, dx, dy, w, h, src, sx, sy, key);
}

int DrawStretched(const Surface& dest, int dx, int dy, int dw, int dh, const Surface& src, int sx,
                  int sy, int sw, int sh, bool key) {
    if (!dest || !src || !RectInside(*dest, dx, dy, dw, dh) || !RectInside(*src, sx, sy, sw, sh))
        return BlitInvalidRect;
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return BlitOk;
    HeldDraw draw;
    draw.What = HeldDraw::Kind::Copy;
    draw.Dx = dx, draw.Dy = dy, draw.Dw = dw, draw.Dh = dh;
    draw.Sx = sx, draw.Sy = sy, draw.Sw = sw, draw.Sh = sh;
    draw.Key = key;
    draw.Source = src;
    return DrawOrHold(*dest, std::move(draw));
}

int DrawCoverage(const Surface& dest, int x, int y, const std::shared_ptr<const CoverageMask>& mask,
                 uint32_t colour) {
    if (!dest || !mask) return BlitInvalidRect;
    HeldDraw draw;
    draw.What = HeldDraw::Kind::Coverage;
    draw.Dx = x, draw.Dy = y;
    draw.Mask = mask;
    draw.Colour = colour;
    return DrawOrHold(*dest, std::move(draw));
}
