// Players for whole-game tests and the stage report. Both hold fire and each frame steer the ship
// to where the enemy bullets, followed a few frames ahead, pass furthest away, drifting under
// their targets. The test bot sees the field as it is; the reaction bot sees it as a person does,
// some frames late.
#pragma once

#include <deque>
#include <vector>

#include "game/state.h"

// The keys a bot would hold for the next frame.
struct BotKeys {
    bool Left = false;
    bool Right = false;
    bool Up = false;
    bool Down = false;
    bool Fire = false;
};

// The test bot: decides from the current game state.
BotKeys BotChoice();
// Sets the arrow keys and Z to the test bot's choice.
void BotPlay();
// Releases every key a bot holds.
void BotRelease();

// What a bot sees of the field in one frame: the enemy bullets in flight, the living enemies and
// the boss.
struct FieldView {
    bool BossFight = false;
    int BossX = 0;
    std::vector<BulletRecord> Bullets;
    std::vector<EnemyRecord> Enemies;
};

// A bot that reacts as late as a person: each frame it decides from the field as it stood
// ReactionFrames frames earlier, so a bullet fired in the last ReactionFrames frames is not yet
// seen and a bullet that has turned since is still seen going its old way. What it has seen it
// follows along the motion it saw, as the test bot does. Its own ship it knows now: it holds the
// keys that moved it. It knows nothing of what is to come (no script, no dice). One per game.
class ReactionBot {
public:
    static constexpr int ReactionFrames = 5;  // 250 ms: how late a person reacts to a new thing
    // Takes in this frame's field and returns the keys for the next frame.
    BotKeys Choice();
    // Sets the arrow keys and Z to the choice.
    void Play();

private:
    std::deque<FieldView> Seen;  // the last ReactionFrames + 1 frames' fields, oldest first
};
