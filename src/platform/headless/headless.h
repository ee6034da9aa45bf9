// Control of the headless platform, for tests and the headless runner: a virtual millisecond
// clock, scripted keys, queued answers to dialogs and boxes, and records of what the game
// showed, played and sent.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace headless {

// Thrown by EndProgram so that a test or the runner regains control when the game ends.
struct ProgramExit {
    int Status = 0;
};

constexpr int32_t StartTick = 100000;  // the virtual clock's reading at start

// Back to a fresh program: clock, keys, queues, records, hooks and the window (the sound and
// music devices have their own reset, headless::ResetAudio).
void Reset();

void SetSeed(uint64_t seed);
void SetClock(int32_t tick);
// The virtual clock as it stands, read without asking TickCount (which a replay answers).
int32_t Clock();
void SetProgramDirectory(const std::string& dir);

void SetKey(int virtualKey, bool down);  // down also sets the pressed-since-query latch
void TapKey(int virtualKey);             // sets only the latch
void RequestClose();                     // the close box, acted on by the next DoEvents

// Answers for the name dialog (nullopt = Cancel) and the OK/Cancel boxes. An empty box queue
// answers Cancel; an empty dialog queue answers Cancel too.
void QueueInputAnswer(std::optional<std::string> answer);
void QueueBoxAnswer(BoxAnswer answer);

// Texts of every message box and dialog shown since the last call.
std::vector<std::string> TakeBoxTexts();
// Every box text of the run, for tests that look at the whole story.
const std::vector<std::string>& AllBoxTexts();

// The last frame shown in the window (0x00RRGGBB), empty before the first present.
const std::vector<uint32_t>& LastPresentedFrame();
int LastPresentedWidth();
int LastPresentedHeight();
int PresentCount();
// The tiles the last frame was presented with as written since the one before it, or null
// where it came without them.
const WrittenTiles* LastPresentedWrittenTiles();

// Hooks around each frame wait; the runner writes its trace and applies input here.
void SetFrameHooks(std::function<void()> waitBegins, std::function<void()> waitEnds);

}  // namespace headless
