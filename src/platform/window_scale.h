// Where the game's picture goes in a window or on a screen of any size. Sharp fit, the default,
// keeps the picture's aspect and makes it as large as the area allows; whole steps, the
// player's other choice, makes it only 1x, 2x, 3x... so that every pixel of the picture becomes
// a square of screen pixels. Either way it is centred on black.
#pragma once

struct PictureSize {
    int Width = 0;
    int Height = 0;
};

enum class Scaling { SharpFit, WholeSteps };

// The picture's place in an area, in the area's pixels.
struct PicturePlacement {
    int X = 0;  // the picture's top-left corner
    int Y = 0;
    int Width = 0;  // its size on the screen
    int Height = 0;
};

// The largest whole scale at which the picture fits in the area; 1 where not even that fits.
int LargestWholeScale(PictureSize area, PictureSize picture);
// The picture scaled as chosen, centred in the area (cut evenly where it overflows).
PicturePlacement PlacePicture(PictureSize area, PictureSize picture, Scaling scaling);
// The smallest whole factor that enlarges the picture to at least `shown` both ways: a sharp fit
// first enlarges by it with whole pixels, then brings the result down to `shown` smoothly.
int WholeFactorBefore(PictureSize shown, PictureSize picture);
// The size the window opens at: the largest picture that, `margin` pixels larger each way (the
// desktop's frame and some room around it), fits in the display's usable area.
PictureSize OpeningSize(PictureSize usable, PictureSize picture, int margin, Scaling scaling);
// The picture pixel under an area pixel, on one axis, for a picture of `pictureSize` pixels
// shown `shownSize` pixels large from `offset` on; outside the picture it lies outside
// 0..pictureSize-1, so that nothing there is hit.
int PictureCoordinate(int areaPixel, int offset, int shownSize, int pictureSize);
// The other way: the first area pixel of a picture coordinate, the one PictureCoordinate maps
// back to it, so that what is drawn at a place is what a click there hits, and neighbouring
// rectangles of the picture stay neighbours on the screen.
int AreaCoordinate(int pictureCoordinate, int offset, int shownSize, int pictureSize);
