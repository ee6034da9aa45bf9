// The game's picture in a window of any size: a whole scale, centred, and mouse points mapped
// back to the picture's own pixels.
#include "platform/window_scale.h"

#include <gtest/gtest.h>

namespace {

constexpr PictureSize Picture{500, 620};  // the menu bar over the play area

TEST(WindowScale, TheLargestWholeScaleThatFitsBothWays) {
    EXPECT_EQ(LargestWholeScale({500, 620}, Picture), 1);
    EXPECT_EQ(LargestWholeScale({999, 1239}, Picture), 1);
    EXPECT_EQ(LargestWholeScale({1000, 1240}, Picture), 2);
    // The height limits a wide screen, the width a tall one.
    EXPECT_EQ(LargestWholeScale({3840, 2160}, Picture), 3);
    EXPECT_EQ(LargestWholeScale({1080, 1920}, Picture), 2);
    // Smaller than the picture (a window the desktop squeezed): still 1, never 0.
    EXPECT_EQ(LargestWholeScale({300, 200}, Picture), 1);
}

TEST(WindowScale, ThePictureIsCentredOnTheBlackAround) {
    const PicturePlacement full = PlacePicture({3840, 2160}, Picture);
    EXPECT_EQ(full.Scale, 3);
    EXPECT_EQ(full.X, (3840 - 1500) / 2);
    EXPECT_EQ(full.Y, (2160 - 1860) / 2);
    const PicturePlacement exact = PlacePicture({1000, 1240}, Picture);
    EXPECT_EQ(exact.X, 0);
    EXPECT_EQ(exact.Y, 0);
}

TEST(WindowScale, TheWindowOpensAtTheLargestScaleThatLeavesTheMargin) {
    EXPECT_EQ(OpeningScale({3840, 2112}, Picture, 64), 3);
    EXPECT_EQ(OpeningScale({1920, 1040}, Picture, 64), 1);
    // 2 x 620 fits in 1300 but not once the margin is taken.
    EXPECT_EQ(OpeningScale({1300, 1300}, Picture, 64), 1);
    EXPECT_EQ(OpeningScale({1304, 1304}, Picture, 64), 2);
}

TEST(WindowScale, PointsMapBackToPicturePixels) {
    // At 3x with the picture 170 pixels in: pixels 170..172 are its first column.
    EXPECT_EQ(PictureCoordinate(170, 170, 3), 0);
    EXPECT_EQ(PictureCoordinate(172, 170, 3), 0);
    EXPECT_EQ(PictureCoordinate(173, 170, 3), 1);
    EXPECT_EQ(PictureCoordinate(170 + 1499, 170, 3), 499);
    // The black to the left is outside, even the pixel just before the picture.
    EXPECT_EQ(PictureCoordinate(169, 170, 3), -1);
    EXPECT_LT(PictureCoordinate(0, 170, 3), 0);
}

}  // namespace
