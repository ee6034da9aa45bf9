// The headless platform: no window, no devices, a clock that only moves when the game sleeps or
// waits for a frame.
#include <cstdio>
#include <deque>
#include <utility>

#include "platform/answers.h"
#include "platform/headless/headless.h"
#include "platform/key_state.h"
#include "platform/picture_turn.h"
#include "platform/text_field.h"
#include "platform/watch_control.h"

namespace headless {
namespace {

struct State {
    int32_t Clock = StartTick;
    uint64_t Seed = 0;
    std::string ProgramDir = ".";
    bool CloseRequested = false;
    WindowHandlers Handlers;
    std::deque<std::optional<std::string>> InputAnswers;
    std::deque<BoxAnswer> BoxAnswers;
    std::vector<std::string> BoxTexts;
    std::vector<std::string> AllBoxTexts;
    std::vector<uint32_t> Frame;
    int FrameWidth = 0;
    int FrameHeight = 0;
    WrittenTiles FrameWritten;  // Marks: FrameWrittenMarks
    std::vector<uint8_t> FrameWrittenMarks;
    int Rotation = 0;  // the picture's turn: kept, never drawn here
    int Presents = 0;
    std::function<void()> WaitBegins;
    std::function<void()> WaitEnds;
};
State Current;

void RecordBox(const std::string& text) {
    Current.BoxTexts.push_back(text);
    Current.AllBoxTexts.push_back(text);
    std::fprintf(stderr, "%s\n", text.c_str());
}

// The first queued answer that the dialog would take. Each is typed into a fresh field like the
// real dialog's, so refused characters never land; an answer that OK refuses is typed over by the
// next one, as a player would.
std::string TypedAnswer(bool (*accept)(const std::string&),
                        bool (*acceptAnswer)(const std::string&)) {
    while (!Current.InputAnswers.empty()) {
        std::optional<std::string> answer = Current.InputAnswers.front();
        Current.InputAnswers.pop_front();
        if (!answer) return {};
        TextField field;
        field.Accept = accept;
        field.AcceptAnswer = acceptAnswer;
        TypeText(field, *answer);
        if (IsAcceptedAnswer(field)) return field.Text;
    }
    return {};
}

}  // namespace

void Reset() {
    ResetWatching();
    Current = State{};
    ForgetKeyState();
}
void SetSeed(uint64_t seed) {
    Current.Seed = seed;
}
void SetClock(int32_t tick) {
    Current.Clock = tick;
}
int32_t Clock() {
    return Current.Clock;
}
void SetProgramDirectory(const std::string& dir) {
    Current.ProgramDir = dir;
}
void SetKey(int virtualKey, bool down) {
    SetKeyDown(virtualKey, down);
}
void TapKey(int virtualKey) {
    RememberKeyPress(virtualKey);
}
void RequestClose() {
    Current.CloseRequested = true;
}
void QueueInputAnswer(std::optional<std::string> answer) {
    Current.InputAnswers.push_back(std::move(answer));
}
void QueueBoxAnswer(BoxAnswer answer) {
    Current.BoxAnswers.push_back(answer);
}
std::vector<std::string> TakeBoxTexts() {
    return std::exchange(Current.BoxTexts, {});
}
const std::vector<std::string>& AllBoxTexts() {
    return Current.AllBoxTexts;
}
const std::vector<uint32_t>& LastPresentedFrame() {
    return Current.Frame;
}
const WrittenTiles* LastPresentedWrittenTiles() {
    return Current.FrameWritten.TileSize != 0 ? &Current.FrameWritten : nullptr;
}
int LastPresentedWidth() {
    return Current.FrameWidth;
}
int LastPresentedHeight() {
    return Current.FrameHeight;
}
int PresentCount() {
    return Current.Presents;
}
void SetFrameHooks(std::function<void()> waitBegins, std::function<void()> waitEnds) {
    Current.WaitBegins = std::move(waitBegins);
    Current.WaitEnds = std::move(waitEnds);
}

}  // namespace headless

using headless::Current;

// A replay answers in place of the scripted keys and the virtual clock (platform/answers.h); the
// clock follows the ticks it gives.
uint16_t GetAsyncKeyState(int virtualKey) {
    if (PlayingAnswers()) {
        const uint16_t state = PlayedKeyState(virtualKey);
        NoteWatchedKey(virtualKey, state);
        return state;
    }
    return RecordKeyState(virtualKey, TakeKeyState(virtualKey));
}

int32_t TickCount() {
    if (PlayingAnswers()) Current.Clock = PlayedTick();
    return RecordTick(Current.Clock);
}

uint64_t TimeOfDaySeed() {
    if (PlayingAnswers()) return PlayedSeed();
    // The virtual clock mixed with the run's seed: a run is a function of its input and seed.
    return RecordSeed((uint64_t(uint32_t(Current.Clock)) << 32) ^
                      (Current.Seed * 0x9E3779B97F4A7C15ull));
}

void SleepMs(int32_t milliseconds) {
    if (milliseconds > 0) Current.Clock += milliseconds;
}

void SleepUntilTick(int32_t tick) {
    if (tick > Current.Clock) Current.Clock = tick;
}

// No window, nothing to keep.
void TakeWindowSettingsFrom(const ProfileDocument&) {}
void PutWindowSettingsInto(ProfileDocument&) {}
void TakeInputSettingsFrom(const ProfileDocument&) {}
void PutInputSettingsInto(ProfileDocument&) {}
void SetSoundLevels(const SoundLevels&) {}

// The picture's turn changes no frame the game draws: here it is only kept.
void SetPictureRotation(int degrees) {
    Current.Rotation = PictureTurnFrom(degrees);
}
int PictureRotation() {
    return Current.Rotation;
}

void OpenMainWindow(const std::string&, int, int) {}

void PresentPixels(const uint32_t* pixels, int width, int height, const WrittenTiles* written) {
    if (SeekingSilently()) return;
    Current.Frame.assign(pixels, pixels + size_t(width) * height);
    Current.FrameWritten = written ? *written : WrittenTiles{};
    if (written)
        Current.FrameWrittenMarks.assign(
            written->Marks, written->Marks + size_t(written->Columns) * size_t(written->Rows));
    Current.FrameWritten.Marks = Current.FrameWrittenMarks.data();
    Current.FrameWidth = width;
    Current.FrameHeight = height;
    ++Current.Presents;
}

void DoEvents() {
    if (Current.CloseRequested && Current.Handlers.onClose) {
        Current.CloseRequested = false;
        Current.Handlers.onClose();
    }
}

void SetWindowHandlers(const WindowHandlers& handlers) {
    Current.Handlers = handlers;
}

void UnloadMainWindow() {
    if (Current.Handlers.onClose) Current.Handlers.onClose();
    EndProgram(0);
}

BoxAnswer MessageBox(const std::string& text, const std::string&, BoxButtons buttons, BoxIcon) {
    headless::RecordBox(text);
    // A box with OK alone tells the game nothing; the answer of an OK/Cancel box is a replay's.
    if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    if (PlayingAnswers()) return PlayedBoxAnswer();
    if (Current.BoxAnswers.empty()) return RecordBoxAnswer(BoxAnswer::Cancel);
    const BoxAnswer answer = Current.BoxAnswers.front();
    Current.BoxAnswers.pop_front();
    return RecordBoxAnswer(answer);
}

std::string InputBox(const std::string& prompt, const std::string&,
                     bool (*accept)(const std::string&), bool (*acceptAnswer)(const std::string&)) {
    headless::RecordBox(prompt);
    if (PlayingAnswers()) return PlayedName();
    return RecordName(headless::TypedAnswer(accept, acceptAnswer));
}

void OpenDocument(const std::string&) {}

void WatchReplayFile(const std::string&) {}

// The headless runner has no list to show: its scripts drive the game alone.
void ShowReplayList(const ReplayListActions&) {}

std::string ProgramDirectory() {
    return Current.ProgramDir;
}

// The runner's directory holds data.ini, whatever may be written there.
SettingsFiles SettingsFilesFor(const std::string& programDir) {
    const std::string file = programDir + "/data.ini";
    return {file, file};
}

void ChangeDirectory(const std::string&) {
    // The headless music device resolves names against the program directory itself, so the
    // process's directory (shared by a whole test binary) is left alone.
}

void EndProgram(int status) {
    throw headless::ProgramExit{status};
}

void FatalError(const std::string& message) {
    if (Current.Handlers.onFatalError) Current.Handlers.onFatalError();
    headless::RecordBox(message);
    throw headless::ProgramExit{1};
}

// The headless platform never pauses.
void AllowPauseKeys(bool) {}

void FrameWaitBegins() {
    if (Current.WaitBegins) Current.WaitBegins();
    if (CurrentPace() == PlaybackPace::Watching) WatchFrameBegins();
}
void FrameWaitEnds() {
    NoteFrameEnd();
    if (Current.WaitEnds) Current.WaitEnds();
}
