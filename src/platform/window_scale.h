// Where the game's picture goes in a window of any size: scaled by a whole factor, so that every
// pixel of the picture becomes a sharp square of screen pixels, and centred on black.
#pragma once

struct PictureSize {
    int Width = 0;
    int Height = 0;
};

// The picture's place in an area, in the area's pixels.
struct PicturePlacement {
    int Scale = 1;  // screen pixels per picture pixel, each way
    int X = 0;      // the picture's top-left corner
    int Y = 0;
};

// The largest whole scale at which the picture fits in the area; 1 where not even that fits.
int LargestWholeScale(PictureSize area, PictureSize picture);
// The picture at its largest whole scale, centred in the area (cut evenly where it overflows).
PicturePlacement PlacePicture(PictureSize area, PictureSize picture);
// The scale the window opens at: the largest whose window, `margin` pixels larger each way
// (the desktop's frame and some room around it), fits in the display's usable area.
int OpeningScale(PictureSize usable, PictureSize picture, int margin);
// The picture pixel under an area pixel, each way; outside the picture it lies outside
// 0..size-1, so that nothing there is hit.
int PictureCoordinate(int areaPixel, int offset, int scale);
