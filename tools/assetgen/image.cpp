#include "image.h"

#include <cmath>
#include <fstream>
#include <stdexcept>

Rgb Mix(Rgb a, Rgb b, double t) {
    auto lerp = [t](uint8_t p, uint8_t q) { return uint8_t(std::lround(p + (q - p) * t)); };
    return {lerp(a.R, b.R), lerp(a.G, b.G), lerp(a.B, b.B)};
}

Rgb Scale(Rgb c, double f) {
    auto s = [f](uint8_t v) {
        const long x = std::lround(v * f);
        return uint8_t(x < 0 ? 0 : x > 255 ? 255 : x);
    };
    return {s(c.R), s(c.G), s(c.B)};
}

void Paste(Image& dst, const Image& src, int x, int y) {
    for (int j = 0; j < src.H; ++j)
        for (int i = 0; i < src.W; ++i)
            if (src.IsSolid(i, j)) dst.Set(x + i, y + j, src.At(i, j));
}

Image MirrorX(const Image& src) {
    Image out(src.W, src.H);
    for (int j = 0; j < src.H; ++j)
        for (int i = 0; i < src.W; ++i)
            if (src.IsSolid(i, j)) out.Set(src.W - 1 - i, j, src.At(i, j));
    return out;
}

void Outline(Image& img, double darkness, bool diagonal) {
    const Image before = img;
    const Rgb ink{18, 10, 30};
    for (int y = 0; y < img.H; ++y) {
        for (int x = 0; x < img.W; ++x) {
            if (before.IsSolid(x, y)) continue;
            for (int k = 0; k < (diagonal ? 8 : 4); ++k) {
                static const int dx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
                static const int dy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
                if (!before.IsSolid(x + dx[k], y + dy[k])) continue;
                img.Set(x, y, Mix(ink, before.At(x + dx[k], y + dy[k]), darkness));
                break;
            }
        }
    }
}

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

std::vector<uint8_t> Encode(const Image& img, Rgb key, bool checkKey) {
    const uint32_t stride = (uint32_t(img.W) * 3 + 3) & ~3u;
    const uint32_t dataSize = stride * uint32_t(img.H);
    std::vector<uint8_t> b;
    b.reserve(54 + dataSize);
    b.push_back('B');
    b.push_back('M');
    Put32(b, 54 + dataSize);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);  // BITMAPINFOHEADER
    Put32(b, uint32_t(img.W));
    Put32(b, uint32_t(img.H));  // positive: rows stored bottom-up
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0);  // no compression
    Put32(b, dataSize);
    Put32(b, 2835);  // 72 dpi, as paint programs write it
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    for (int y = img.H - 1; y >= 0; --y) {
        for (int x = 0; x < img.W; ++x) {
            Rgb c = img.IsSolid(x, y) ? img.At(x, y) : key;
            if (checkKey && img.IsSolid(x, y) && c == key)
                throw std::runtime_error("painted pixel uses the key colour");
            b.push_back(c.B);
            b.push_back(c.G);
            b.push_back(c.R);
        }
        for (uint32_t pad = uint32_t(img.W) * 3; pad < stride; ++pad) b.push_back(0);
    }
    return b;
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Image& img, Rgb key) {
    if (img.IsSolid(0, 0)) throw std::runtime_error("top-left pixel must be the key");
    return Encode(img, key, true);
}

std::vector<uint8_t> EncodeBmpOpaque(const Image& img) {
    return Encode(img, img.At(0, 0), false);
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}
