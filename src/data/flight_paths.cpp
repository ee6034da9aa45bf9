#include "data/flight_paths.h"

#include "game/state.h"

namespace {

// The slot being written and the frame it has reached.
struct PathCursor {
    EnemyRecord& Enemy;
    PathColumn& Column;
    int32_t Frame = 0;
    int32_t Steps = 0;  // steps taken so far; the fire interval counts them
};

// The slot number is an 8-bit value that the enemy loop steps one past the last slot, so slot
// 254 is the last one there can be.
std::string AppendSlot(StageTables& tables, int32_t startFrame, int32_t hp, int32_t x, int32_t y) {
    if (tables.Enemies.size() >= size_t(MaxEnemySlots)) return "more than 254 enemies";
    if (startFrame < 0 || startFrame > LastPathFrame)
        return "the time " + std::to_string(startFrame) + " is outside 0..2300";
    if (!InPositionRange(x, y))
        return "the position (" + std::to_string(x) + ", " + std::to_string(y) + ") is outside " +
               PositionRangeText();
    EnemyRecord& enemy = tables.Enemies.emplace_back();
    enemy.HP = hp;
    enemy.StartFrame = startFrame;
    PathColumn& column = tables.Paths.emplace_back();
    column.X[startFrame] = x;
    column.Y[startFrame] = y;
    return {};
}

PathCursor LastSlot(StageTables& tables) {
    return {tables.Enemies.back(), tables.Paths.back(), tables.Enemies.back().StartFrame};
}

// Moves the cursor one frame on by (dx, dy). Fails when the position leaves the range of
// positions.
bool Step(PathCursor& cursor, int32_t dx, int32_t dy) {
    const int64_t x = int64_t(cursor.Column.X[cursor.Frame]) + dx;
    const int64_t y = int64_t(cursor.Column.Y[cursor.Frame]) + dy;
    if (!InPositionRange(x, y)) return false;
    ++cursor.Frame;
    cursor.Column.X[cursor.Frame] = int32_t(x);
    cursor.Column.Y[cursor.Frame] = int32_t(y);
    return true;
}

// The shot of the step just taken, on every step that is a multiple of the interval.
void FireOnCount(PathCursor& cursor, uint8_t interval, uint8_t fireCode) {
    if (interval != 0 && cursor.Steps % interval == 0) cursor.Column.Fire[cursor.Frame] = fireCode;
    ++cursor.Steps;
}

// Half the box beyond each edge of the field, so an enemy is gone only once wholly out of sight.
bool InsideBox(const PathCursor& cursor, uint8_t width, uint8_t height) {
    const int32_t x = cursor.Column.X[cursor.Frame];
    const int32_t y = cursor.Column.Y[cursor.Frame];
    const int32_t halfW = width / 2;
    const int32_t halfH = height / 2;
    return -halfW <= x && x <= FieldWidth + halfW && -halfH <= y && y <= FieldHeight + halfH;
}

// Flies on until the enemy stands outside its box; that frame is its last.
std::string FlyOut(PathCursor& cursor, int32_t dx, int32_t dy, uint8_t interval, uint8_t fireCode,
                   uint8_t width, uint8_t height) {
    for (;;) {
        if (cursor.Frame >= LastPathFrame) return "the enemy is still on the field at frame 2300";
        if (!Step(cursor, dx, dy)) return "the enemy flies beyond " + PositionRangeText();
        FireOnCount(cursor, interval, fireCode);
        if (!InsideBox(cursor, width, height)) break;
    }
    cursor.Enemy.EndFrame = cursor.Frame;
    return {};
}

// The turn comes on the first frame from which the next step would carry it past the line.
bool TurnReached(const PathCursor& cursor, int32_t dx, int32_t dy, int32_t turnX, int32_t turnY) {
    const int64_t x = cursor.Column.X[cursor.Frame];
    const int64_t y = cursor.Column.Y[cursor.Frame];
    return (turnX != -1 && turnX - x < dx) || (turnY != -1 && turnY - y < dy);
}

// The butterfly flaps with the stage frame itself, so a wave of butterflies flaps together.
uint8_t PictureOn(EnemyKind kind, int32_t variant, int32_t frame) {
    static constexpr uint8_t ButterflyCycle[9] = {10, 11, 12, 13, 14, 13, 12, 11, 10};
    switch (kind) {
        case EnemyKind::Butterfly:
            return ButterflyCycle[frame % 9];
        case EnemyKind::Blue:
            return 40;
        case EnemyKind::Bat:
            return 30;
        case EnemyKind::SmallFry:
            return 50;
        case EnemyKind::Green:
            return variant == 0 ? 60 : variant == 1 ? 61 : 0;
        case EnemyKind::Dog:
            break;
    }
    return 0;
}

}  // namespace

bool InPositionRange(int64_t x, int64_t y) {
    return -PositionLimit <= x && x <= PositionLimit && -PositionLimit <= y && y <= PositionLimit;
}

std::string PositionRangeText() {
    return std::to_string(-PositionLimit) + ".." + std::to_string(PositionLimit);
}

std::string BuildStraightPath(StageTables& tables, int32_t X, int32_t Y, int32_t DX, int32_t DY,
                              int32_t StartFrame, uint8_t Interval, uint8_t FireCode, uint8_t HP,
                              uint8_t Width, uint8_t Height) {
    if (Interval == 0) return "the scaled fire interval is 0; a straight flier needs 1 or more";
    std::string error = AppendSlot(tables, StartFrame, HP, X, Y);
    if (!error.empty()) return error;
    PathCursor cursor = LastSlot(tables);
    return FlyOut(cursor, DX, DY, Interval, FireCode, Width, Height);
}

std::string BuildTwoLegPath(StageTables& tables, int32_t X, int32_t Y, int32_t DX1, int32_t DY1,
                            int32_t DX2, int32_t DY2, int32_t StartFrame, uint8_t Interval1,
                            uint8_t Interval2, uint8_t FireCode, uint8_t HP, uint8_t Width,
                            uint8_t Height, int32_t TurnX, int32_t TurnY) {
    std::string error = AppendSlot(tables, StartFrame, HP, X, Y);
    if (!error.empty()) return error;
    PathCursor cursor = LastSlot(tables);
    // The first leg may start and turn off the field: only the second leg ends the course.
    do {
        if (cursor.Frame >= LastPathFrame)
            return "the enemy has not reached its turn by frame 2300";
        if (!Step(cursor, DX1, DY1)) return "the enemy flies beyond " + PositionRangeText();
        FireOnCount(cursor, Interval1, FireCode);
    } while (!TurnReached(cursor, DX1, DY1, TurnX, TurnY));
    return FlyOut(cursor, DX2, DY2, Interval2, FireCode, Width, Height);
}

std::string BuildDogSequence(StageTables& tables, int32_t X, int32_t Y, int32_t Time, int32_t HP) {
    if (Time > LastPathFrame - DogFrames)
        return "the dog at frame " + std::to_string(Time) +
               " cannot finish its 36 frames by frame 2300";
    std::string error = AppendSlot(tables, Time, HP, X, Y);
    if (!error.empty()) return error;
    PathColumn& column = tables.Paths.back();
    column.Sprite[Time] = 24;
    bool rising = false;
    int32_t t = Time;
    // Every fourth frame the picture moves one step; the dog fires once, at the bottom of its bob.
    do {
        ++t;
        column.X[t] = X;
        column.Y[t] = Y;
        const bool turnOfPicture = (t - Time) % 4 == 0;
        column.Sprite[t] = column.Sprite[t - 1];
        if (turnOfPicture) column.Sprite[t] = column.Sprite[t - 4] + (rising ? 1 : -1);
        if (turnOfPicture && !rising && column.Sprite[t] == 20) {
            rising = true;
            column.Fire[t] = 50;
        }
    } while (column.Sprite[t] != 25);
    tables.Enemies.back().EndFrame = t;
    return {};
}

void WritePictureCodes(StageTables& tables, EnemyKind kind, int32_t variant) {
    if (kind == EnemyKind::Dog) return;
    const EnemyRecord& enemy = tables.Enemies.back();
    PathColumn& column = tables.Paths.back();
    for (int32_t t = enemy.StartFrame; t <= enemy.EndFrame; ++t)
        column.Sprite[t] = PictureOn(kind, variant, t);
}
