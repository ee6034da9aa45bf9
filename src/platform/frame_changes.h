// What changed from one frame to the next, so that only that is scaled and sent to the screen.
// The frame is cut into square tiles; a tile with any pixel changed counts whole, and changed
// tiles side by side (then rows of them with the same columns) join into one rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "platform/sharp_fit.h"
#include "platform/window_scale.h"

struct FrameChanges {
    PictureSize Size;
    std::vector<uint32_t> Pixels;  // the last frame kept
    std::vector<uint8_t> Changed;  // per tile, row by row: changed since the last TakeChanges
    bool Any = false;
    // Pixels hold the frame presented last, so that a new frame's written tiles are all it can
    // have changed; false after a frame went by unkept.
    bool KeptLast = false;
};

// 8: in play the moving streaks, shots and bullets are small, and 16-pixel tiles sent 28 % of
// the picture a frame where these send 17 %; 4-pixel ones send a little less in twice as many
// pieces, which costs the desktop more than it saves.
constexpr int ChangeTileSize = 8;

// Starts anew with a black frame of `size`, nothing changed.
void ResetFrameChanges(FrameChanges& changes, PictureSize size);
// Keeps a new frame of `changes.Size` and notes the tiles where it differs from the last one.
// Where `written` says which tiles were written since the frame presented before (and that is
// the frame kept), only those are compared.
void KeepFrameNotingChanges(FrameChanges& changes, const uint32_t* pixels,
                            const WrittenTiles* written = nullptr);
// The changed rectangles of picture pixels noted since the last call; the notes are cleared.
std::vector<PixelRect> TakeChanges(FrameChanges& changes);
// Scales what changed since the last call into `to` (the shown picture's top-left pixel,
// `toPitch` pixels from one row to the next), as `plan` scales the whole frame, and gives the
// rectangles of shown pixels it drew.
std::vector<PixelRect> DrawChangesSharpFit(FrameChanges& changes, SharpFitPlan& plan, uint32_t* to,
                                           ptrdiff_t toPitch);
