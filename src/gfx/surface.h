// Surfaces and the copies between them. A surface is a block of 0x00RRGGBB pixels held by
// shared reference; a loaded surface treats the colour of its top-left pixel as transparent
// whenever it is drawn with a key.
//
// Rectangles are (left, top, right, bottom) with right and bottom exclusive. The copies never
// stop the program: a copy that cannot be done draws nothing and returns a non-zero status.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Where a surface was written, in square tiles, for a surface that keeps such marks (the back
// buffer): clearing it then refills only what was drawn since it was last cleared, and whoever
// shows it compares only what was written since it last looked.
struct WriteMarks {
    int TileSize = 0;  // 0: no marks kept
    int Columns = 0;
    int Rows = 0;
    std::vector<uint8_t> SinceCleared;  // per tile, row by row: drawn over since the last clear
    std::vector<uint8_t> SinceTaken;    // per tile: written, cleared too, since last taken
    bool ClearKnown = false;            // every tile not drawn over since holds ClearPixel
    uint32_t ClearPixel = 0;
};

struct SurfaceData {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;  // row-major, 0x00RRGGBB
    uint32_t ColourKey = 0;        // the transparent pixel value, from pixel (0, 0)
    WriteMarks Marks;
};
using Surface = std::shared_ptr<SurfaceData>;

constexpr int BlitOk = 0;
constexpr int BlitInvalidRect = -1;  // a rectangle not wholly inside its surface

Surface CreateOffscreenSurface(int width, int height);
// Loads a Windows bitmap; a missing or unreadable file is fatal (the message names the file).
Surface LoadBitmapSurface(const std::string& path);
void ReleaseSurface(Surface& surface);

// Converts a 0x00BBGGRR colour into the pixel value the surfaces use for it.
int32_t SurfaceColour(int32_t bgr);

// From now on `surface` notes where it is written, in tiles of `tileSize` pixels; it counts as
// written whole.
void KeepWriteMarks(SurfaceData& surface, int tileSize);
// Notes that (x, y, w, h), clipped to the surface, was written by other means than the
// functions here; a surface that keeps no marks ignores it.
void MarkWritten(SurfaceData& surface, int x, int y, int w, int h);
// Forgets which tiles were written (SinceTaken), once whoever shows the surface has looked.
void ForgetWrittenTiles(SurfaceData& surface);

int ClearSurface(const Surface& dest, int32_t pixel);
// Copies w x h from (sx, sy) of src to (dx, dy) of dest. Nothing is clipped: unless both
// rectangles lie wholly inside their surfaces, nothing is drawn.
int DrawSprite(const Surface& dest, int dx, int dy, int w, int h, const Surface& src, int sx,
               int sy, bool key);
// The same copy, first clipped to (0, 0)-(limX, limY) of the destination and
// (0, 0)-(srcLimX, srcLimY) of the source; a limit of 0 turns clipping off on that side.
int DrawSpriteClipped(const Surface& dest, int dx, int dy, int w, int h, int limX, int limY,
                      const Surface& src, int sx, int sy, int srcLimX, int srcLimY, bool key);
// Scales (sx, sy, sw, sh) of src onto (dx, dy, dw, dh) of dest; nearest-neighbour sampling.
// Both rectangles must lie wholly inside their surfaces.
int DrawStretched(const Surface& dest, int dx, int dy, int dw, int dh, const Surface& src, int sx,
                  int sy, int sw, int sh, bool key);
