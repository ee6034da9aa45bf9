// What the game learns from outside during one game, as a stream of answers in the order it
// asked: key states, clock ticks, time-of-day seeds, the answers of OK/Cancel boxes and of the
// name dialog. Both platforms pass every such answer through here: while recording it is kept,
// while playing the recorded answer is given instead of asking the machine, so a game played
// back takes every branch it took when it was played.
//
// The stream, one record after another (varint: unsigned LEB128; signed values zigzag-coded):
//   0x00..0x3F  a key state: bits 2..5 the key's index in AnswerKeys, bit 1 down now,
//               bit 0 pressed since the previous query
//   0x40 varint the tick count, as its difference from the previous tick answer (from 0)
//   0x41 varint the time-of-day seed, as its difference from the previous seed answer (from 0)
//   0x42 byte   an OK/Cancel box: 0 OK, 1 Cancel (a box with OK alone has nothing to tell)
//   0x43 varint, bytes   the name dialog's answer, UTF-8 (empty: cancelled)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/platform.h"

// The keys the game asks for, in the order of their index in a key-state record.
inline constexpr int AnswerKeys[] = {VkReturn,  VkEscape,  VkLeft,    VkUp,
                                     VkRight,   VkDown,    VkZ,       VkNumpad2,
                                     VkNumpad4, VkNumpad5, VkNumpad6, VkNumpad8};

enum class AnswerKind : uint8_t { KeyState, Tick, Seed, Box, Name };
struct Answer {
    AnswerKind Kind = AnswerKind::KeyState;
    int Key = 0;        // a key state's virtual-key code
    int64_t Value = 0;  // the key's state, the tick, the seed, or the box's answer (0 OK, 1 Cancel)
    std::string Text;   // the name dialog's answer
    bool operator==(const Answer&) const = default;
};

// The stream is kept and played as its bytes, a few per answer, and read one answer at a time:
// an hour of play is some 2 MB, not a list of records ten times that.
class AnswerWriter {
public:
    void Add(const Answer& answer);
    // The stream written, leaving the writer empty.
    std::string Take() { return std::move(Out); }

private:
    std::string Out;
    int64_t Tick = 0;  // the last tick and seed written: each is kept as a difference
    uint64_t Seed = 0;
};

class AnswerReader {
public:
    explicit AnswerReader(std::string_view stream) : In(stream) {}
    // The next answer; false at the end and at a record that is not whole or well-formed.
    bool Next(Answer& answer);
    bool AtEnd() const { return At == In.size(); }

private:
    std::string_view In;
    size_t At = 0;
    int64_t Tick = 0;
    uint64_t Seed = 0;
};

// Whether the bytes are a whole, well-formed stream, read without keeping its answers.
bool IsAnswerStream(std::string_view bytes);

// How a game is being run: played by the player, watched from a replay in the window at the
// pace it was played, or played back without a window as fast as it goes.
enum class PlaybackPace { Live, Watching, Fastest };
PlaybackPace CurrentPace();
void SetPace(PlaybackPace pace);

// What the shell is told while a game is recorded or played back: the end of each frame, and
// (while playing) an answer asked for that the stream does not hold next. That handler ends the
// program; the frame is the one being played.
struct AnswerHandlers {
    void (*onFrameEnd)() = nullptr;
    void (*onOutOfStep)(int64_t frame) = nullptr;
};
void SetAnswerHandlers(const AnswerHandlers& handlers);

// Starts keeping every answer, from an empty stream; frames are counted from 0.
void StartRecordingAnswers();
// Stops recording and gives the stream of the answers kept.
std::string StopRecordingAnswers();
// Starts giving the answers of this stream (IsAnswerStream) in place of the machine's.
void StartPlayingAnswers(std::string stream);
// Stops playing back; true when every answer was asked for.
bool StopPlayingAnswers();
bool PlayingAnswers();
// Frames ended since recording or playing started.
int64_t AnswerFrames();
// The last tick given by the stream while playing.
int32_t LastPlayedTick();
// Back to a program that neither records nor plays.
void ResetAnswers();
// While one lives, the boxes answer for the window's own purposes, not the game's (the replay
// list, opened over a game that stands still): what they are told is neither kept nor played.
class AnswersSetAside {
public:
    AnswersSetAside();
    ~AnswersSetAside();
    AnswersSetAside(const AnswersSetAside&) = delete;
    AnswersSetAside& operator=(const AnswersSetAside&) = delete;
};

// For the platforms. Each boundary function asks PlayingAnswers(); if so it returns the Played
// answer and asks the machine nothing, else it passes the machine's answer through Record.
uint16_t PlayedKeyState(int virtualKey);
int32_t PlayedTick();
uint64_t PlayedSeed();
BoxAnswer PlayedBoxAnswer();
std::string PlayedName();
uint16_t RecordKeyState(int virtualKey, uint16_t state);
int32_t RecordTick(int32_t tick);
uint64_t RecordSeed(uint64_t seed);
BoxAnswer RecordBoxAnswer(BoxAnswer answer);
std::string RecordName(const std::string& name);
// Called by FrameWaitEnds on both platforms.
void NoteFrameEnd();
