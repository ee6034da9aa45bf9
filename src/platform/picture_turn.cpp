#include "platform/picture_turn.h"

#include <algorithm>
#include <cstring>

int PictureTurnFrom(int degrees) {
    return (degrees == 90 || degrees == 180 || degrees == 270) ? degrees : 0;
}

bool TurnIsSideways(int degrees) {
    return degrees == 90 || degrees == 270;
}

PictureSize TurnedSize(PictureSize picture, int degrees) {
    if (TurnIsSideways(degrees)) return {picture.Height, picture.Width};
    return picture;
}

PixelRect TurnRect(const PixelRect& rect, PictureSize picture, int degrees) {
    switch (degrees) {
        case 90:  // the picture's top on the right
            return {picture.Height - rect.Y - rect.H, rect.X, rect.H, rect.W};
        case 180:
            return {picture.Width - rect.X - rect.W, picture.Height - rect.Y - rect.H, rect.W,
                    rect.H};
        case 270:  // the picture's top on the left
            return {rect.Y, picture.Width - rect.X - rect.W, rect.H, rect.W};
        default:
            return rect;
    }
}

void TurnPointBack(int& x, int& y, PictureSize picture, int degrees) {
    const int turnedX = x;
    const int turnedY = y;
    switch (degrees) {
        case 90:
            x = turnedY;
            y = picture.Height - 1 - turnedX;
            break;
        case 180:
            x = picture.Width - 1 - turnedX;
            y = picture.Height - 1 - turnedY;
            break;
        case 270:
            x = picture.Width - 1 - turnedY;
            y = turnedX;
            break;
        default:
            break;
    }
}

void TurnPixels(const uint32_t* from, PictureSize picture, int degrees, uint32_t* to) {
    const int width = picture.Width;
    const int height = picture.Height;
    if (degrees == 0) {
        std::memcpy(to, from, size_t(width) * size_t(height) * sizeof(uint32_t));
        return;
    }
    if (degrees == 180) {
        std::reverse_copy(from, from + size_t(width) * size_t(height), to);
        return;
    }
    // Sideways, in small blocks so that both sides stay in the cache.
    constexpr int Block = 32;
    for (int by = 0; by < height; by += Block) {
        for (int bx = 0; bx < width; bx += Block) {
            const int yEnd = std::min(height, by + Block);
            const int xEnd = std::min(width, bx + Block);
            for (int y = by; y < yEnd; ++y) {
                const uint32_t* row = from + size_t(y) * size_t(width);
                for (int x = bx; x < xEnd; ++x) {
                    // Turned 90: (x, y) goes to (height - 1 - y, x); turned 270: to
                    // (y, width - 1 - x). The turned picture is `height` pixels wide.
                    const size_t at = degrees == 90
                                          ? size_t(x) * size_t(height) + size_t(height - 1 - y)
                                          : size_t(width - 1 - x) * size_t(height) + size_t(y);
                    to[at] = row[x];
                }
            }
        }
    }
}
