// Random numbers and straight-line motion. Every random choice of the game goes through
// RandomRange. Angles are degrees from +X towards +Y (90 points down the screen), converted with
// pi taken as 3.14.
#pragma once

#include <cstdint>

struct Velocity {
    double DX = 0;
    double DY = 0;
};

// Stirs the time of day into the generator. The generator keeps its own state between calls, so
// many reseeds within one clock tick still give varied numbers.
void ReseedRandom();
// Back to the generator's state at program start (a fresh run replays identically).
void ResetRandom();
// The generator's state, which carries from game to game (a replay starts from it).
uint64_t RandomState();
void SetRandomState(uint64_t state);
// A whole number from low to high inclusive (upper bound first), reseeded from the clock.
int32_t RandomRange(int32_t high, int32_t low);
// A whole number from [low1, high1] or [low2, high2]; always draws three values.
int32_t RandomFromTwoRanges(int32_t high1, int32_t low1, int32_t high2, int32_t low2);
// Velocity of the given speed from one point towards another; zero between coincident points.
Velocity VelocityToward(double fromX, double fromY, double toX, double toY, uint8_t speed);
Velocity VelocityFromAngle(double angleDegrees, double speed);
// Whole-degree direction from the shooter to the target, -90 to 270.
int32_t AimAngle(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
