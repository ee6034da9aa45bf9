#include "game/streaks.h"

#include "game/motion.h"
#include "game/state.h"
#include "gfx/display.h"

namespace {

constexpr int StreakWidth = 6;
constexpr int StreakHeight = 18;
constexpr int32_t FallPerFrame = 5;
constexpr int32_t LifePerFrame = 10;

// The new place is only drawn next frame, after its first fall.
void Respawn(StreakRecord& streak) {
    // A reseed of its own before RandomRange's, on purpose: one more stir of the clock.
    ReseedRandom();
    streak.X = RandomRange(500, 0);
    streak.Y = RandomRange(500, 0);
    streak.Life = RandomRange(500, 300);
}

}  // namespace

void UpdateStreaks() {
    for (StreakRecord& streak : Streaks) {
        streak.Y += FallPerFrame;
        streak.Life -= LifePerFrame;
        // Unclipped: a streak hanging over the edge is simply not shown.
        DrawSprite(BackBuffer, streak.X, streak.Y, StreakWidth, StreakHeight, SurfBack, 0, 0, true);
        if (streak.Life < 0) Respawn(streak);
    }
}
