#include "platform/window_scale.h"

#include <algorithm>
#include <cstdint>

namespace {

// Rounds towards minus infinity, so that the pixels left of and above the picture map to
// negative coordinates rather than to its first row and column.
int64_t FloorDivide(int64_t value, int64_t divisor) {
    const int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int64_t RoundedDivide(int64_t value, int64_t divisor) {
    return (2 * value + divisor) / (2 * divisor);
}

int CeilingDivide(int value, int divisor) {
    return (value + divisor - 1) / divisor;
}

PictureSize FitSize(PictureSize area, PictureSize picture) {
    if (picture.Width <= 0 || picture.Height <= 0 || area.Width <= 0 || area.Height <= 0)
        return picture;
    // The width binds where the area is narrower than the picture's aspect.
    if (int64_t(area.Width) * picture.Height <= int64_t(area.Height) * picture.Width)
        return {
            area.Width,
            std::max(1, int(RoundedDivide(int64_t(area.Width) * picture.Height, picture.Width)))};
    return {std::max(1, int(RoundedDivide(int64_t(area.Height) * picture.Width, picture.Height))),
            area.Height};
}

}  // namespace

int LargestWholeScale(PictureSize area, PictureSize picture) {
    if (picture.Width <= 0 || picture.Height <= 0) return 1;
    return std::max(1, std::min(area.Width / picture.Width, area.Height / picture.Height));
}

PicturePlacement PlacePicture(PictureSize area, PictureSize picture, Scaling scaling) {
    PictureSize shown = FitSize(area, picture);
    if (scaling == Scaling::WholeSteps) {
        const int scale = LargestWholeScale(area, picture);
        shown = {picture.Width * scale, picture.Height * scale};
    }
    return {(area.Width - shown.Width) / 2, (area.Height - shown.Height) / 2, shown.Width,
            shown.Height};
}

int WholeFactorBefore(PictureSize shown, PictureSize picture) {
    if (picture.Width <= 0 || picture.Height <= 0) return 1;
    return std::max({1, CeilingDivide(shown.Width, picture.Width),
                     CeilingDivide(shown.Height, picture.Height)});
}

PictureSize OpeningSize(PictureSize usable, PictureSize picture, int margin, Scaling scaling) {
    const PictureSize room{usable.Width - margin, usable.Height - margin};
    const PicturePlacement place = PlacePicture(room, picture, scaling);
    // Never smaller than the picture itself: a tiny screen gets 1x, as the window's minimum.
    return {std::max(place.Width, picture.Width), std::max(place.Height, picture.Height)};
}

int PictureCoordinate(int areaPixel, int offset, int shownSize, int pictureSize) {
    if (shownSize <= 0) return -1;
    return int(FloorDivide(int64_t(areaPixel - offset) * pictureSize, shownSize));
}

int AreaCoordinate(int pictureCoordinate, int offset, int shownSize, int pictureSize) {
    if (pictureSize <= 0) return offset;
    // The first area pixel that maps back to the coordinate (rounded up).
    return offset + int(-FloorDivide(-int64_t(pictureCoordinate) * shownSize, pictureSize));
}
