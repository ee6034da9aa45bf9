// Decoding of Windows bitmap files (uncompressed 24- and 32-bit, and 8-, 4- and 1-bit with a
// palette) into 0x00RRGGBB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DecodedBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;  // top row first
};

// Largest picture we accept; anything bigger is a damaged or hostile file. The game's largest
// picture takes under 300 kB decoded, at 4 bytes a pixel.
constexpr int MaxBitmapSide = 16384;
constexpr size_t MaxDecodedBitmapBytes = size_t(64) << 20;
// The largest file such a picture needs: its pixels at 4 bytes at most, headers and palette.
constexpr size_t MaxBitmapFileBytes = size_t(65) << 20;

// Returns false and sets `error` when the bytes are not a bitmap we can read.
bool DecodeBitmap(const uint8_t* data, size_t size, DecodedBitmap& out, std::string& error);

// Encodes 0x00RRGGBB pixels (top row first) as an uncompressed 24-bit Windows bitmap.
std::string EncodeBitmap24(const uint32_t* pixels, int width, int height);
