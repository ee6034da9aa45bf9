#include "gfx/surface.h"

#include "common/file_bytes.h"
#include "gfx/bmp.h"
#include "platform/platform.h"

namespace {

bool RectInside(const SurfaceData& s, int x, int y, int w, int h) {
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && int64_t(x) + w <= s.Width &&
           int64_t(y) + h <= s.Height;
}

void CopyRows(SurfaceData& dest, int dx, int dy, int w, int h, const SurfaceData& src, int sx,
              int sy, bool key) {
    for (int row = 0; row < h; ++row) {
        const uint32_t* from = src.Pixels.data() + size_t(sy + row) * src.Width + sx;
        uint32_t* to = dest.Pixels.data() + size_t(dy + row) * dest.Width + dx;
        if (!key) {
            std::copy(from, from + w, to);
            continue;
        }
        // A select rather than a branch, so the compiler can copy several pixels at a time.
        const uint32_t transparent = src.ColourKey;
        for (int x = 0; x < w; ++x) to[x] = from[x] == transparent ? to[x] : from[x];
    }
}

}  // namespace

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
    std::fill(dest->Pixels.begin(), dest->Pixels.end(), static_cast<uint32_t>(pixel));
    return BlitOk;
}

int DrawSprite(const Surface& dest, int dx, int dy, int w, int h, const Surface& src, int sx,
               int sy, bool key) {
    if (!dest || !src || !RectInside(*dest, dx, dy, w, h) || !RectInside(*src, sx, sy, w, h))
        return BlitInvalidRect;
    CopyRows(*dest, dx, dy, w, h, *src, sx, sy, key);
    return BlitOk;
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
    if (dw == sw && dh == sh) {
        CopyRows(*dest, dx, dy, dw, dh, *src, sx, sy, key);
        return BlitOk;
    }
    const uint32_t transparent = src->ColourKey;
    // Sample the source at the centre of each destination pixel: column x reads source column
    // (2x + 1) * sw / (2 dw), stepped by quotient and remainder instead of divided per pixel.
    const int64_t denominator = int64_t(dw) * 2;
    const int64_t step = int64_t(sw) * 2;
    const int64_t wholeStep = step / denominator;
    const int64_t partStep = step % denominator;
    for (int row = 0; row < dh; ++row) {
        const int srcRow = sy + int((int64_t(row) * 2 + 1) * sh / (int64_t(dh) * 2));
        if (dw == sw) {  // rows stretched only: each one a plain copy
            CopyRows(*dest, dx, dy + row, dw, 1, *src, sx, srcRow, key);
            continue;
        }
        const uint32_t* from = src->Pixels.data() + size_t(srcRow) * src->Width + sx;
        uint32_t* to = dest->Pixels.data() + size_t(dy + row) * dest->Width + dx;
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
    return BlitOk;
}
