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

// Where a checked bitmap's rows and palette lie in its file, and how to read them.
struct BitmapLayout {
    int Width = 0;
    int Height = 0;
    bool TopDown = false;
    uint16_t Bits = 0;
    const uint8_t* Palette = nullptr;  // for 1, 4 and 8 bits
    uint32_t PaletteCount = 0;
    const uint8_t* Rows = nullptr;  // the first row stored
    size_t Stride = 0;
};

// Checks the headers against the file's size before anything is allocated, so that a damaged
// header cannot make us reserve gigabytes; names what is wrong when the file cannot be read.
bool ReadLayout(const uint8_t* data, size_t size, BitmapLayout& layout, std::string& error) {
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
    if (width <= 0 || width > MaxBitmapSide || rawHeight == 0 || rawHeight < -MaxBitmapSide ||
        rawHeight > MaxBitmapSide) {
        error = "absurd bitmap dimensions";
        return false;
    }
    layout.Width = width;
    layout.TopDown = rawHeight < 0;
    layout.Height = layout.TopDown ? -rawHeight : rawHeight;
    // Checked before any pixel is read: a small file can claim a picture of gigabytes.
    if (size_t(width) * size_t(layout.Height) * sizeof(uint32_t) > MaxDecodedBitmapBytes) {
        error = "the picture is " + std::to_string(width) + " x " + std::to_string(layout.Height) +
                " pixels, more than 64 MB decoded";
        return false;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
        error = "unsupported bit depth " + std::to_string(bits);
        return false;
    }
    const bool bitfields32 = bits == 32 && compression == CompressionBitfields;
    if (compression != CompressionNone && !bitfields32) {
        error = "compressed bitmaps are not supported";
        return false;
    }
    layout.Bits = bits;
    if (bits <= 8) {
        const uint32_t maxColours = 1u << bits;
        if (paletteCount == 0 || paletteCount > maxColours) paletteCount = maxColours;
        const size_t paletteStart = FileHeaderSize + infoSize;
        if (paletteStart + 4 * size_t(paletteCount) > size) {
            error = "truncated palette";
            return false;
        }
        layout.Palette = data + paletteStart;
        layout.PaletteCount = paletteCount;
    }
    layout.Stride = ((size_t(width) * bits + 31) / 32) * 4;
    if (pixelOffset > size || layout.Stride * size_t(layout.Height) > size - pixelOffset) {
        error = "truncated pixel data";
        return false;
    }
    layout.Rows = data + pixelOffset;
    return true;
}

// Pixel x of a stored row as 0x00RRGGBB; a palette index past the palette reads as black.
uint32_t PixelOf(const BitmapLayout& layout, const uint8_t* row, int x) {
    if (layout.Bits == 24 || layout.Bits == 32) {
        const uint8_t* p = row + size_t(x) * (layout.Bits / 8);
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    const size_t bitPos = size_t(x) * layout.Bits;
    const uint32_t byte = row[bitPos / 8];
    const uint32_t shift = 8 - layout.Bits - bitPos % 8;
    const uint32_t index = (byte >> shift) & ((1u << layout.Bits) - 1);
    return index < layout.PaletteCount ? PaletteColour(layout.Palette, index) : 0;
}

}  // namespace

bool DecodeBitmap(const uint8_t* data, size_t size, DecodedBitmap& out, std::string& error) {
    BitmapLayout layout;
    if (!ReadLayout(data, size, layout, error)) return false;
    out.Width = layout.Width;
    out.Height = layout.Height;
    out.Pixels.assign(size_t(layout.Width) * layout.Height, 0);
    for (int row = 0; row < layout.Height; ++row) {
        const int stored = layout.TopDown ? row : layout.Height - 1 - row;
        const uint8_t* src = layout.Rows + layout.Stride * size_t(stored);
        uint32_t* dst = out.Pixels.data() + size_t(row) * layout.Width;
        for (int x = 0; x < layout.Width; ++x) dst[x] = PixelOf(layout, src, x);
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
