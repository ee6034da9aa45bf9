#include "platform/window_scale.h"

#include <algorithm>

namespace {

// Rounds towards minus infinity, so that the pixels left of and above the picture map to
// negative coordinates rather than to its first row and column.
int FloorDivide(int value, int divisor) {
    const int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

}  // namespace

int LargestWholeScale(PictureSize area, PictureSize picture) {
    if (picture.Width <= 0 || picture.Height <= 0) return 1;
    return std::max(1, std::min(area.Width / picture.Width, area.Height / picture.Height));
}

PicturePlacement PlacePicture(PictureSize area, PictureSize picture) {
    const int scale = LargestWholeScale(area, picture);
    return {scale, (area.Width - picture.Width * scale) / 2,
            (area.Height - picture.Height * scale) / 2};
}

int OpeningScale(PictureSize usable, PictureSize picture, int margin) {
    return LargestWholeScale({usable.Width - margin, usable.Height - margin}, picture);
}

int PictureCoordinate(int areaPixel, int offset, int scale) {
    return FloorDivide(areaPixel - offset, std::max(1, scale));
}
