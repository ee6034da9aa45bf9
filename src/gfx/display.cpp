#include "gfx/display.h"

#include "common/rounding.h"
#include "platform/frame_changes.h"
#include "platform/platform.h"

Surface BackBuffer;

namespace {
// The frame pacer, set once by SetFrameRate; the slot carries from game to game.
struct FramePacerRecord {
    int32_t TimerPeriod = 0;    // milliseconds per frame
    int32_t LastFrameSlot = 0;  // the slot in which the previous frame ended
};
FramePacerRecord FramePacer;
// The surface the last frame was presented from.
const SurfaceData* LastPresented = nullptr;

// The first tick after `now` that lies outside `slot`.
int32_t NextSlotStart(int32_t now, int32_t slot, int32_t period) {
    int64_t t = std::max<int64_t>(int64_t(now) + 1, int64_t(slot) * period + period / 2 - 1);
    while (FrameSlotOf(static_cast<int32_t>(t), period) == slot) ++t;
    return static_cast<int32_t>(t);
}
}  // namespace

int32_t FrameSlotOf(int32_t tick, int32_t periodMs) {
    return static_cast<int32_t>(RoundHalfEven(double(tick) / double(periodMs)));
}

void InitDisplay(int width, int height) {
    if (BackBuffer) return;  // the display opens once
    BackBuffer = CreateOffscreenSurface(width, height);
    // Noted in the tiles the window compares frames by, so that it compares only those written.
    KeepWriteMarks(*BackBuffer, ChangeTileSize);
    // A screen that draws the same frame again (the title, a menu) then draws nothing.
    HoldRepeatedDrawing(*BackBuffer);
    DoEvents();
}

void PresentFrame(const Surface& surface) {
    if (!surface) return;  // a closed display shows nothing
    SettleDrawing(*surface);
    const WriteMarks& marks = surface->Marks;
    // What was written since the last frame is only known of the surface shown last.
    const bool known = marks.TileSize != 0 && surface.get() == LastPresented;
    const WrittenTiles written{marks.TileSize, marks.Columns, marks.Rows, marks.SinceTaken.data()};
    PresentPixels(surface->Pixels.data(), surface->Width, surface->Height,
                  known ? &written : nullptr);
    ForgetWrittenTiles(*surface);
    LastPresented = surface.get();
}

void RestoreWindow() {
    BackBuffer.reset();
    LastPresented = nullptr;
}

void ResetDisplay() {
    RestoreWindow();
    FramePacer = {};
}

void SetFrameRate(int32_t periodMs) {
    FramePacer.TimerPeriod = periodMs;
    FramePacer.LastFrameSlot = FrameSlotOf(TickCount(), FramePacer.TimerPeriod);
}

void ShowFrame() {
    PresentFrame(BackBuffer);
    DoEvents();
    WaitNextFrame();
}

int32_t LastFrameSlotReached() {
    return FramePacer.LastFrameSlot;
}
void SetLastFrameSlot(int32_t slot) {
    FramePacer.LastFrameSlot = slot;
}

void WaitNextFrame() {
    FrameWaitBegins();
    // Sleep until the slot is about to change rather than spinning on the clock, then take the
    // first tick of the new slot: the same slots as a busy loop, at a fraction of the cost.
    for (;;) {
        const int32_t now = TickCount();
        const int32_t slot = FrameSlotOf(now, FramePacer.TimerPeriod);
        if (slot != FramePacer.LastFrameSlot) {
            FramePacer.LastFrameSlot = slot;
            break;
        }
        SleepUntilTick(NextSlotStart(now, FramePacer.LastFrameSlot, FramePacer.TimerPeriod));
    }
    FrameWaitEnds();
}
