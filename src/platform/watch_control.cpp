#include "platform/watch_control.h"

#include <algorithm>

#include "platform/answers.h"
#include "platform/platform.h"

namespace {

struct SpeedStep {
    int32_t Times;  // the recorded pace times Times / Per
    int32_t Per;    // Times 0: no wait at all
    const char* Name;
};
constexpr SpeedStep Speeds[WatchSpeedCount] = {{1, 4, "1/4x"}, {1, 2, "1/2x"}, {1, 1, "1x"},
                                               {2, 1, "2x"},   {4, 1, "4x"},   {8, 1, "8x"},
                                               {0, 1, "max"}};

// Everything of the watcher; it outlives a restart of the game (a seek back), not the program.
struct WatchRecord {
    int64_t Frames = 0;
    int64_t BossFrame = 0;
    int64_t Target = 0;  // the frame a seek or step goes to; 0 none
    bool Paused = false;
    int Speed = WatchNormalSpeed;
    bool InputsShown = true;
    uint8_t Reading = 0;     // what the frame being run has read so far
    uint8_t Shown = 0;       // what the frame shown read
    int32_t DelayCarry = 0;  // the part of a millisecond left over at slow speeds
};
WatchRecord Watch;

// The frame whose pass runs now, or whose wait begins.
int64_t FrameRunning() {
    return AnswerFrames() + 1;
}

uint8_t InputOf(int virtualKey) {
    switch (virtualKey) {
        case VkLeft:
        case VkNumpad4:
            return InputLeft;
        case VkUp:
        case VkNumpad8:
            return InputUp;
        case VkRight:
        case VkNumpad6:
            return InputRight;
        case VkDown:
        case VkNumpad2:
        case VkNumpad5:
            return InputDown;
        case VkZ:
            return InputFire;
        default:
            return 0;
    }
}

}  // namespace

const char* WatchSpeedName(int speed) {
    return Speeds[std::clamp(speed, 0, WatchSpeedCount - 1)].Name;
}

void BeginWatching(int64_t frames, int64_t bossFrame, int64_t openAt) {
    Watch = {};
    Watch.Frames = std::max<int64_t>(frames, 1);
    Watch.BossFrame = bossFrame;
    if (openAt > 0) {
        Watch.Paused = true;
        SeekWatchTo(openAt);
    }
}

void ResetWatching() {
    Watch = {};
}

void ToggleWatchPause() {
    Watch.Paused = !Watch.Paused;
}

void StepWatch(int frames) {
    Watch.Paused = true;
    SeekWatchTo((Watch.Target != 0 ? Watch.Target : WatchedFrame()) + frames);
}

void ChangeWatchSpeed(int steps) {
    Watch.Speed = std::clamp(Watch.Speed + steps, 0, WatchSpeedCount - 1);
}

void SeekWatchBy(int64_t frames) {
    SeekWatchTo((Watch.Target != 0 ? Watch.Target : WatchedFrame()) + frames);
}

void SeekWatchTo(int64_t frame) {
    Watch.Target = std::clamp<int64_t>(frame, 1, Watch.Frames);
}

void ToggleInputDisplay() {
    Watch.InputsShown = !Watch.InputsShown;
}

void SetWatchedBossFrame(int64_t frame) {
    Watch.BossFrame = frame;
}

int64_t WatchedFrame() {
    return FrameRunning();
}
int64_t WatchedFrames() {
    return Watch.Frames;
}
int64_t WatchedBossFrame() {
    return Watch.BossFrame;
}
bool WatchPaused() {
    return Watch.Paused;
}
int WatchSpeed() {
    return Watch.Speed;
}
bool InputDisplayShown() {
    return Watch.InputsShown;
}
uint8_t WatchedInputs() {
    return Watch.Shown;
}

bool SeekingSilently() {
    return CurrentPace() == PlaybackPace::Watching && Watch.Target != 0 &&
           FrameRunning() < Watch.Target;
}

bool WatchMoveAsked() {
    return Watch.Target != 0;
}

int64_t WatchSeekTarget() {
    return Watch.Target;
}

void NoteWatchedKey(int virtualKey, uint16_t state) {
    if ((state & KeyDownNow) != 0) Watch.Reading |= InputOf(virtualKey);
}

void WatchFrameBegins() {
    Watch.Shown = Watch.Reading;
    Watch.Reading = 0;
    // The last frame stays on the screen, paused, until the watcher goes elsewhere or leaves.
    if (FrameRunning() >= Watch.Frames) Watch.Paused = true;
    FollowWatchMove();
}

void FollowWatchMove() {
    if (Watch.Target == 0) return;
    const int64_t frame = FrameRunning();
    if (frame > Watch.Target) throw WatchRestart{};
    if (frame == Watch.Target) Watch.Target = 0;
}

void WatchRestarted() {
    Watch.Reading = 0;
    Watch.Shown = 0;
    Watch.DelayCarry = 0;
}

int32_t WatchDelay(int32_t milliseconds) {
    if (milliseconds <= 0 || SeekingSilently()) return 0;
    const SpeedStep& speed = Speeds[Watch.Speed];
    if (speed.Times == 0) return 0;
    const int32_t scaled = milliseconds * speed.Per + Watch.DelayCarry;
    Watch.DelayCarry = scaled % speed.Times;
    return scaled / speed.Times;
}
