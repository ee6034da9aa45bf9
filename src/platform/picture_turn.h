// The picture turned for a monitor on its side: by 0, 90, 180 or 270 degrees clockwise, as the
// player sees the screen. Sizes, rectangles and pixels of the picture are turned here; points of
// the screen are turned back, so that what is drawn at a place is what a click there hits.
#pragma once

#include <cstdint>

#include "platform/sharp_fit.h"
#include "platform/window_scale.h"

// The turns there are; anything else reads as none.
int PictureTurnFrom(int degrees);
bool TurnIsSideways(int degrees);  // 90 or 270: width and height trade places

PictureSize TurnedSize(PictureSize picture, int degrees);
// A rectangle of a picture of `picture` pixels, where it lies once the picture is turned.
PixelRect TurnRect(const PixelRect& rect, PictureSize picture, int degrees);
// The pixel of the picture under pixel (x, y) of the turned picture.
void TurnPointBack(int& x, int& y, PictureSize picture, int degrees);
// The picture's pixels (`picture` large, rows one after another) turned into `to`
// (TurnedSize large).
void TurnPixels(const uint32_t* from, PictureSize picture, int degrees, uint32_t* to);
