#include "platform/frame_changes.h"

#include <algorithm>
#include <cstring>

namespace {

int TileColumns(PictureSize size) {
    return (size.Width + ChangeTileSize - 1) / ChangeTileSize;
}
int TileRows(PictureSize size) {
    return (size.Height + ChangeTileSize - 1) / ChangeTileSize;
}

// The next run of marked tiles side by side in a band of `columns`, from `tile` on: [first,
// tile) once found, false where none is left. Null marks mark every tile.
bool NextRun(const uint8_t* marks, int columns, int& first, int& tile) {
    const auto marked = [&](int t) { return !marks || marks[t] != 0; };
    while (tile < columns && !marked(tile)) ++tile;
    first = tile;
    while (tile < columns && marked(tile)) ++tile;
    return first < columns;
}

// Keeps the tiles marked in `written` (null: all of them), a run side by side at a time, and
// notes those that differ. Most rows of a run are as they were: one comparison settles each.
void KeepTiles(FrameChanges& changes, const uint32_t* pixels, const uint8_t* written) {
    const int width = changes.Size.Width;
    const int columns = TileColumns(changes.Size);
    for (int band = 0; band < TileRows(changes.Size); ++band) {
        const uint8_t* marks = written ? written + size_t(band) * size_t(columns) : nullptr;
        uint8_t* tiles = changes.Changed.data() + size_t(band) * size_t(columns);
        const int top = band * ChangeTileSize;
        const int bottom = std::min(top + ChangeTileSize, changes.Size.Height);
        int first = 0;
        for (int tile = 0; NextRun(marks, columns, first, tile);) {
            const int left = first * ChangeTileSize;
            const size_t runBytes =
                size_t(std::min(tile * ChangeTileSize, width) - left) * sizeof(uint32_t);
            for (int y = top; y < bottom; ++y) {
                uint32_t* kept = changes.Pixels.data() + size_t(y) * size_t(width) + left;
                const uint32_t* fresh = pixels + size_t(y) * size_t(width) + left;
                if (std::memcmp(kept, fresh, runBytes) == 0) continue;
                for (int t = first; t < tile; ++t) {
                    if (tiles[t]) continue;
                    const int x = (t - first) * ChangeTileSize;
                    const int count = std::min(ChangeTileSize, width - left - x);
                    if (std::memcmp(kept + x, fresh + x, size_t(count) * sizeof(uint32_t)) != 0)
                        tiles[t] = 1;
                }
                std::memcpy(kept, fresh, runBytes);
                changes.Any = true;
            }
        }
    }
}

}  // namespace

void ResetFrameChanges(FrameChanges& changes, PictureSize size) {
    changes.Size = size;
    changes.Pixels.assign(size_t(std::max(0, size.Width)) * size_t(std::max(0, size.Height)), 0);
    changes.Changed.assign(size_t(TileColumns(size)) * size_t(TileRows(size)), 0);
    changes.Any = false;
    changes.KeptLast = false;
}

void KeepFrameNotingChanges(FrameChanges& changes, const uint32_t* pixels,
                            const WrittenTiles* written) {
    const bool marked = changes.KeptLast && written && written->TileSize == ChangeTileSize &&
                        written->Columns == TileColumns(changes.Size) &&
                        written->Rows == TileRows(changes.Size);
    changes.KeptLast = true;
    KeepTiles(changes, pixels, marked ? written->Marks : nullptr);
}

std::vector<PixelRect> TakeChanges(FrameChanges& changes) {
    std::vector<PixelRect> rects;
    if (!changes.Any) return rects;
    const int columns = TileColumns(changes.Size);
    const int rows = TileRows(changes.Size);
    size_t openFrom = 0;  // rects that reach down to the band above, from here on
    for (int band = 0; band < rows; ++band) {
        const uint8_t* tiles = changes.Changed.data() + size_t(band) * size_t(columns);
        const int top = band * ChangeTileSize;
        const int height = std::min(ChangeTileSize, changes.Size.Height - top);
        const size_t bandFrom = rects.size();
        int first = 0;
        for (int tile = 0; NextRun(tiles, columns, first, tile);) {
            const int x = first * ChangeTileSize;
            const int width = std::min(tile * ChangeTileSize, changes.Size.Width) - x;
            // The same columns as a rect ending just above: that rect grows down instead.
            const auto above = std::find_if(
                rects.begin() + std::ptrdiff_t(openFrom), rects.begin() + std::ptrdiff_t(bandFrom),
                [&](const PixelRect& r) { return r.X == x && r.W == width && r.Y + r.H == top; });
            if (above != rects.begin() + std::ptrdiff_t(bandFrom)) {
                above->H += height;
                continue;
            }
            rects.push_back({x, top, width, height});
        }
        // Rects of older bands that did not grow this band are closed.
        openFrom = size_t(
            std::stable_partition(rects.begin() + std::ptrdiff_t(openFrom), rects.end(),
                                  [&](const PixelRect& r) { return r.Y + r.H != top + height; }) -
            rects.begin());
    }
    std::fill(changes.Changed.begin(), changes.Changed.end(), 0);
    changes.Any = false;
    return rects;
}

std::vector<PixelRect> DrawChangesSharpFit(FrameChanges& changes, SharpFitPlan& plan, uint32_t* to,
                                           ptrdiff_t toPitch) {
    std::vector<PixelRect> drawn;
    for (const PixelRect& changed : TakeChanges(changes)) {
        const PixelRect part = ShownPart(plan, changed);
        DrawSharpFitPart(plan, changes.Pixels.data(), changes.Size.Width, to, toPitch, part);
        drawn.push_back(part);
    }
    return drawn;
}
