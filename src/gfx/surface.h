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

struct SurfaceData;
using Surface = std::shared_ptr<SurfaceData>;

// An 8-bit coverage mask, drawn in one colour (a line of text). Never changed once made.
struct CoverageMask {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Alpha;  // row-major, 0 (nothing) to 255 (the colour whole)
};

// One copy onto a surface, as held back (below).
struct HeldDraw {
    enum class Kind : uint8_t { Copy, Coverage };  // a copy, stretched where its sizes differ
    Kind What = Kind::Copy;
    int Dx = 0, Dy = 0, Dw = 0, Dh = 0;
    int Sx = 0, Sy = 0, Sw = 0, Sh = 0;
    bool Key = false;
    Surface Source;                            // Copy
    uint64_t SourceVersion = 0;                // the source's Version when held
    std::shared_ptr<const CoverageMask> Mask;  // Coverage
    uint32_t Colour = 0;                       // Coverage
    bool operator==(const HeldDraw&) const = default;
};

// A surface that holds back its drawing (the back buffer): a clear in the colour it was last
// cleared with, and the copies after it, are held until the surface is settled. Where they are
// the very copies done after the last such clear, from sources as they were then, onto pixels
// untouched since, the surface holds their result already and nothing is done: a title or a
// menu that draws the same frame again costs neither the clear nor the copies, nor the
// comparison of what it wrote.
struct HeldDrawing {
    bool Enabled = false;
    bool Holding = false;  // a clear is held, with the copies in Held
    std::vector<HeldDraw> Held;
    std::vector<HeldDraw> Done;  // the copies after the last clear, whose result is on the surface
    uint64_t VersionDone = 0;    // the surface's Version once they were done
};

struct SurfaceData {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;  // row-major, 0x00RRGGBB; settle a holding surface first
    uint32_t ColourKey = 0;        // the transparent pixel value, from pixel (0, 0)
    WriteMarks Marks;
    uint64_t Version = 0;  // raised by every write
    HeldDrawing Drawing;
    ~SurfaceData();
};

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
// From now on `surface` (which keeps marks) holds back a clear and the copies after it until it
// is settled, and skips them where they repeat what was done last.
void HoldRepeatedDrawing(SurfaceData& surface);
// Does what `surface` holds back, or finds it done already: before its pixels are read or
// written other than by the functions here, and before it is shown.
void SettleDrawing(SurfaceData& surface);

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
// Blends `colour` onto dest by `mask`, its top-left corner at (x, y); what lies outside dest is
// cut off.
int DrawCoverage(const Surface& dest, int x, int y, const std::shared_ptr<const CoverageMask>& mask,
                 uint32_t colour);
