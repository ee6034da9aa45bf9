#include "screens/events.h"

#include <limits>
#include <vector>

#include "audio/music_device.h"
#include "common/rounding.h"
#include "game/motion.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/platform.h"
#include "screens/highscores.h"

namespace {

constexpr int32_t GameOverPictureWidth = 500;
constexpr int32_t GameOverPictureHeight = 71;
constexpr int32_t ZoomCentreX = 250;
constexpr double ZoomSpeed = 1.8;
constexpr double ZoomBoost = 1.3;  // per frame while Z is held

struct BlockStart {
    int32_t X = 0;
    int32_t Y = 0;
};
using BlockStarts = std::vector<std::vector<BlockStart>>;  // [c][r], both bounds inclusive

// Picked column by column, and within a column row by row: x, then y.
BlockStarts PickBlockStarts(int32_t columns, int32_t rows, int32_t xHigh, int32_t xLow,
                            int32_t yHigh, int32_t yLow) {
    BlockStarts starts(size_t(columns) + 1, std::vector<BlockStart>(size_t(rows) + 1));
    for (auto& column : starts) {
        for (BlockStart& start : column) {
            start.X = RandomRange(xHigh, xLow);
            start.Y = RandomRange(yHigh, yLow);
        }
    }
    return starts;
}

bool FitsInt(int64_t v) {
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

void DrawBlocks(const BlockStarts& starts, const Surface& picture, int32_t x, int32_t y, int32_t w,
                int32_t h, int32_t b, int32_t frame) {
    for (int32_t c = 0; c < int32_t(starts.size()); ++c) {
        for (int32_t r = 0; r < int32_t(starts[c].size()); ++r) {
            const BlockPlace at =
                BlockPosition(x, y, w, h, b, c, r, starts[c][r].X, starts[c][r].Y, frame);
            // Blocks not wholly on the screen are not drawn at all.
            if (FitsInt(at.X) && FitsInt(at.Y))
                DrawSprite(BackBuffer, int(at.X), int(at.Y), b, b, picture, b * c, b * r, true);
        }
    }
}

bool ZDownNow() {
    return (GetAsyncKeyState(VkZ) & KeyDownNow) != 0;
}

}  // namespace

// Home is (x, y + h), on purpose: the game-over picture given y 121 stands whole at 192.
BlockPlace BlockPosition(int32_t x, int32_t y, int32_t w, int32_t h, int32_t blockSize, int32_t c,
                         int32_t r, int32_t startX, int32_t startY, int32_t frame) {
    const int64_t cellX = int64_t(blockSize) * c;
    const int64_t cellY = int64_t(blockSize) * r;
    const int64_t left = int64_t(h) - frame;  // frames to go; negative once past home
    const double travelX = double((startX - w - cellX) * left) / h;
    const double travelY = double((startY - h - cellY) * left) / h;
    return {RoundHalfEven(double(x + cellX) + travelX),
            RoundHalfEven(double(y + h + cellY) + travelY)};
}

ZoomRect ZoomRectangle(int32_t centreX, int32_t baseY, double ratio, double speed, int32_t i) {
    const double width = speed * i;
    const double height = speed * i * ratio;
    return {int32_t(RoundHalfEven(centreX - width / 2)), int32_t(RoundHalfEven(baseY - height)),
            int32_t(RoundHalfEven(width)), int32_t(RoundHalfEven(height))};
}

void AssembleBlocksEffect(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t blockSize,
                          const std::string& file, int32_t xRangeHigh, int32_t xRangeLow,
                          int32_t yRangeHigh, int32_t yRangeLow) {
    const int32_t columns = w / blockSize + 1;
    const int32_t rows = h / blockSize + 1;
    const BlockStarts starts =
        PickBlockStarts(columns, rows, xRangeHigh, xRangeLow, yRangeHigh, yRangeLow);
    Surface picture = LoadBitmapSurface(file);
    // The picture stands whole at frame h, then breaks apart again; only Z ends it.
    for (int32_t frame = 0;;) {
        ClearSurface(BackBuffer, 0);
        DrawBlocks(starts, picture, x, y, w, h, blockSize, frame);
        ++frame;
        ShowFrame();
        if (ZDownNow()) break;
    }
    ReleaseSurface(picture);
}

void ZoomInEffect(int32_t centreX, int32_t baseY, int32_t w, int32_t h, double speed,
                  int32_t& pauseMs, const std::string& file) {
    Surface picture = LoadBitmapSurface(file);
    const double ratio = double(h) / double(w);
    // The back buffer is never cleared: each larger picture covers the one before.
    for (int32_t i = 0;;) {
        if (w >= h) {
            const ZoomRect to = ZoomRectangle(centreX, baseY, ratio, speed, i);
            DrawStretched(BackBuffer, to.Left, to.Top, to.Width, to.Height, picture, 0, 0, w, h,
                          true);
            if (speed * i >= w) break;
        } else if (i == w) {
            break;
        }
        ++i;
        if (ZDownNow()) speed *= ZoomBoost;
        ShowFrame();
        if (speed * i == w) break;
    }
    SleepMs(pauseMs);
    ReleaseSurface(picture);
}

void GameOver() {
    SendMusicCommand("stop BGM");
    AssembleBlocksEffect(0, 121, GameOverPictureWidth, GameOverPictureHeight, 5,
                         GameFile(GameOverPictureFile), 500, 0, 600, 0);
}

void Ending() {
    SendMusicCommand("stop BGM");
    int32_t pauseMs = 0;
    ZoomInEffect(ZoomCentreX, 100, 500, 39, ZoomSpeed, pauseMs, GameFile(EndingPictureFiles[0]));
    ZoomInEffect(ZoomCentreX, 400, 500, 57, ZoomSpeed, pauseMs, GameFile(EndingPictureFiles[1]));
    SleepMs(100);
    EnterHighScore();
}
