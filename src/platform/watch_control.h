// Watching a replay: the watcher's controls (pause, frame steps, speeds, seeking) and what is
// shown beside the game's picture (where the replay stands, what the ship was told). Shared by
// both platforms, which turn keys, buttons and clicks into these commands; the shell plays the
// game again from its start when a seek goes back (WatchRestart).
//
// Frames are counted from the game's start as a replay's checks count them: frame F is shown
// once F frame passes have run, in the wait that ends the F-th frame.
#pragma once

#include <cstdint>

// The speeds, slowest first: 1/4, 1/2, 1, 2, 4 and 8 times the recorded pace, and as fast as it
// goes.
constexpr int WatchSpeedCount = 7;
constexpr int WatchNormalSpeed = 2;
constexpr int WatchFastestSpeed = WatchSpeedCount - 1;
// "1/4x", "1/2x", "1x", "2x", "4x", "8x", "max".
const char* WatchSpeedName(int speed);

constexpr int64_t WatchSeekFrames = 200;  // 10 seconds at twenty frames a second

// What the ship was told in a frame, as the game read it.
enum WatchInput : uint8_t {
    InputLeft = 1,
    InputUp = 2,
    InputRight = 4,
    InputDown = 8,
    InputFire = 16,
};

// Thrown at the start of a frame wait when the watcher asks for a frame the game has passed:
// the shell plays the game again from its start, silently up to the frame asked for.
struct WatchRestart {};

// A replay of `frames` frames is about to be watched; `bossFrame` is where the boss is expected.
// With `openAt` (1..frames) it opens paused there, else it plays from its start.
void BeginWatching(int64_t frames, int64_t bossFrame, int64_t openAt);
// Nothing watched: the state of a fresh program.
void ResetWatching();

// The watcher's commands.
void ToggleWatchPause();
// One frame forward or back (-1); a step pauses first.
void StepWatch(int frames);
void ChangeWatchSpeed(int steps);  // +1 faster, -1 slower
void SeekWatchBy(int64_t frames);
void SeekWatchTo(int64_t frame);  // brought into 1..frames
void ToggleInputDisplay();
// Where the boss arrived, once the game got there (before, where it is expected).
void SetWatchedBossFrame(int64_t frame);

// What the watcher sees.
int64_t WatchedFrame();  // the frame shown
int64_t WatchedFrames();
int64_t WatchedBossFrame();
bool WatchPaused();
int WatchSpeed();
bool InputDisplayShown();
uint8_t WatchedInputs();  // of the frame shown
// Frames before the one a seek asked for: not shown, not heard, not waited for.
bool SeekingSilently();
// A seek or a step is waiting: a pause must let the game go on to it.
bool WatchMoveAsked();
// The frame a seek or step goes to, 0 when none is asked for.
int64_t WatchSeekTarget();

// For the platforms: every key state the replay gives the game (GetAsyncKeyState)...
void NoteWatchedKey(int virtualKey, uint16_t state);
// ...the start of each frame wait, where a seek back throws WatchRestart...
void WatchFrameBegins();
// ...and the end of a pause in it, which may have asked for a seek (the same throw)...
void FollowWatchMove();
// ...the shell, when the game has been reset to its start after a WatchRestart...
void WatchRestarted();
// ...and a wait of `milliseconds` of the recorded game at the chosen speed (0 while seeking or
// at the fastest speed).
int32_t WatchDelay(int32_t milliseconds);
