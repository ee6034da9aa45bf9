#include "gfx/bmp.h"

#include <cstring>

namespace {

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t ReadU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
int32_t ReadI32(const uint8_t* p) {
    return static_cast<int32_t>(ReadU32(p));
}

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t CompressionNone = 0;
constexpr uint32_t CompressionBitfields = 3;

uint32_t PaletteColour(const uint8_t* palette, uint32_t index) {
    const uint8_t* entry = palette + 4 * index;  // blue, green, red, reserved
    return uint32_t(entry[2]) << 16 | uint32_t(entry[1]) << 8 | entry[0];
}

}  // namespace

bool DecodeBitmap(const uint8_t* data, size_t size, DecodedBitmap& out, std::string& error) {
    if (size < FileHeaderSize + 40 || data[0] != 'B' || data[1] != 'M') {
        error = "not a Windows bitmap";
        return false;
    }
    const uint32_t pixelOffset = ReadU32(data + 10);
    const uint8_t* info = data + FileHeaderSize;
    const uint32_t infoSize = ReadU32(info);
    if (infoSize < 40 || infoSize > size - FileHeaderSize) {
        error = "unsupported bitmap header";
        return false;
    }
    const int32_t width = ReadI32(info + 4);
    const int32_t rawHeight = ReadI32(info + 8);
    const uint16_t bits = ReadU16(info + 14);
    const uint32_t compression = ReadU32(info + 16);
    uint32_t paletteCount = ReadU32(info + 32);

    // Check the dimensions before any allocation: a damaged header must not make us reserve
    // gigabytes.
    if (width <= 0 || width > MaxBitmapSide || rawHeight == 0 || rawHeight < -MaxBitmapSide ||
        rawHeight > MaxBitmapSide) {
        error = "absurd bitmap dimensions";
        return false;
    }
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        error = "unsupported bit depth " + std::to_string(bits);
        return false;
    }
    const bool bitfields32 = bits == 32 && compression == CompressionBitfields;
    if (compression != CompressionNone && !bitfields32) {
        error = "compressed bitmaps are not supported";
        return false;
    }

    const uint8_t* palette = nullptr;
    if (bits <= 8) {
        const uint32_t maxColours = 1u << bits;
        if (paletteCount == 0 || paletteCount > maxColours) paletteCount = maxColours;
        const size_t paletteStart = FileHeaderSize + infoSize;
        if (paletteStart + 4 * size_t(paletteCount) > size) {
            error = "truncated palette";
            return false;
        }
        palette = data + paletteStart;
    }

    const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
    if (pixelOffset > size || stride * size_t(height) > size - pixelOffset) {
        error = "truncated pixel data";
        return false;
    }

    out.Width = width;
    out.Height = height;
    out.Pixels.assign(size_t(width) * height, 0);
    for (int row = 0; row < height; ++row) {
        const uint8_t* src = data + pixelOffset + stride * size_t(topDown ? row : height - 1 - row);
        uint32_t* dst = out.Pixels.data() + size_t(row) * width;
        for (int x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            if (bits == 24 || bits == 32) {
                const uint8_t* p = src + size_t(x) * (bits / 8);
                pixel = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            } else {
                const size_t bitPos = size_t(x) * bits;
                const uint32_t byte = src[bitPos / 8];
                const uint32_t shift = 8 - bits - bitPos % 8;
                const uint32_t index = (byte >> shift) & ((1u << bits) - 1);
                pixel = index < paletteCount ? PaletteColour(palette, index) : 0;
            }
            dst[x] = pixel;
        }
    }
    return true;
}

namespace {
void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
void PutU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
}
}  // namespace

std::string EncodeBitmap24(const uint32_t* pixels, int width, int height) {
    const uint32_t stride = ((uint32_t(width) * 3 + 3) / 4) * 4;
    const uint32_t imageSize = stride * uint32_t(height);
    std::string out;
    out.reserve(54 + imageSize);
    out += "BM";
    PutU32(out, 54 + imageSize);
    PutU32(out, 0);
    PutU32(out, 54);
    PutU32(out, 40);
    PutU32(out, uint32_t(width));
    PutU32(out, uint32_t(height));
    PutU16(out, 1);
    PutU16(out, 24);
    PutU32(out, 0);
    PutU32(out, imageSize);
    PutU32(out, 2835);  // 72 DPI
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int row = height - 1; row >= 0; --row) {  // bottom-up
        const uint32_t* line = pixels + size_t(row) * width;
        for (int x = 0; x < width; ++x) {
            out.push_back(static_cast<char>(line[x] & 0xFF));
            out.push_back(static_cast<char>(line[x] >> 8 & 0xFF));
            out.push_back(static_cast<char>(line[x] >> 16 & 0xFF));
        }
        out.append(stride - uint32_t(width) * 3, '\0');
    }
    return out;
}
