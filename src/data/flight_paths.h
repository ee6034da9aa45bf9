// The enemy kinds' courses, worked out frame by frame when a stage is loaded: where each enemy
// stands, which picture it shows and when it fires, for every stage frame 0..2300. During play
// the enemy update only looks these columns up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/state.h"

// An enemy table and its per-frame columns, built aside before they replace Enemies and Paths.
struct StageTables {
    std::vector<EnemyRecord> Enemies;
    std::vector<PathColumn> Paths;
};

constexpr int32_t LastPathFrame = PathFrames - 1;  // 2300
constexpr int32_t DogFrames = 36;                  // a dog's bob, from its Time to its EndFrame

// Every position a course may take, on either axis: -PositionLimit..PositionLimit, a million
// pixels, two thousand fields beyond the edge. No course that shows on the field comes near it,
// and every sum the game makes of a position with a picture's offset, size or cell stays far
// inside 32 bits.
constexpr int32_t PositionLimit = 1000000;
bool InPositionRange(int64_t x, int64_t y);
std::string PositionRangeText();  // "-1000000..1000000"

enum class EnemyKind { Butterfly, Blue, Dog, Bat, SmallFry, Green };

// Each builder appends one slot to the tables and fills its columns. The result is empty when the
// course fits the tables, otherwise it says what is wrong; the tables are then half-built and
// are to be thrown away.

// Flies (DX, DY) per frame from (X, Y) until it leaves its Width x Height box, firing on its
// first step and then every Interval frames.
std::string BuildStraightPath(StageTables& tables, int32_t X, int32_t Y, int32_t DX, int32_t DY,
                              int32_t StartFrame, uint8_t Interval, uint8_t FireCode, uint8_t HP,
                              uint8_t Width, uint8_t Height);
// Flies (DX1, DY1) until the next step would carry it past TurnX or TurnY (-1: not a turn
// line), then (DX2, DY2) until it leaves its box. The fire count runs on across the turn; an
// interval of 0 never fires.
std::string BuildTwoLegPath(StageTables& tables, int32_t X, int32_t Y, int32_t DX1, int32_t DY1,
                            int32_t DX2, int32_t DY2, int32_t StartFrame, uint8_t Interval1,
                            uint8_t Interval2, uint8_t FireCode, uint8_t HP, uint8_t Width,
                            uint8_t Height, int32_t TurnX, int32_t TurnY);
// Stands at (X, Y) for 36 frames, bobbing its picture 24 down to 20 and back up to 25, and
// fires once, at the bottom of the bob.
std::string BuildDogSequence(StageTables& tables, int32_t X, int32_t Y, int32_t Time, int32_t HP);

// The pictures of the last slot, from its StartFrame to its EndFrame, once its course is built.
// The dog's pictures come with its sequence; `variant` only matters to the green kind.
void WritePictureCodes(StageTables& tables, EnemyKind kind, int32_t variant);
