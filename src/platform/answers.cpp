#include "platform/answers.h"

#include <iterator>
#include <utility>

namespace {

constexpr uint8_t TickRecord = 0x40;
constexpr uint8_t SeedRecord = 0x41;
constexpr uint8_t BoxRecord = 0x42;
constexpr uint8_t NameRecord = 0x43;
constexpr uint8_t KeyDownBit = 2;
constexpr uint8_t KeyPressedBit = 1;
constexpr int KeyCount = static_cast<int>(std::size(AnswerKeys));
constexpr size_t MaxNameBytes = 4096;  // far beyond any name the dialog lets through

enum class StreamMode { Off, Recording, Playing };

// Everything of one recording or playback; reset as one.
struct Stream {
    StreamMode Mode = StreamMode::Off;
    std::vector<Answer> Answers;  // kept, or to be given
    size_t Next = 0;              // the next answer to give
    int64_t Frames = 0;
    int32_t LastTick = 0;
};
Stream Current;
PlaybackPace Pace = PlaybackPace::Live;
AnswerHandlers Handlers;

int KeyIndex(int virtualKey) {
    for (int i = 0; i < KeyCount; ++i)
        if (AnswerKeys[i] == virtualKey) return i;
    return -1;
}

void PutVarint(std::string& out, uint64_t value) {
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

bool GetVarint(const std::string& in, size_t& at, uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (at >= in.size()) return false;
        const auto byte = static_cast<uint8_t>(in[at++]);
        value |= uint64_t(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

uint64_t ZigZag(int64_t value) {
    return (uint64_t(value) << 1) ^ uint64_t(value >> 63);
}
int64_t UnZigZag(uint64_t value) {
    return int64_t(value >> 1) ^ -int64_t(value & 1);
}

// The answer the game asks for now; anything else means the game went another way than the
// recorded one.
const Answer& Take(AnswerKind kind, int key = 0) {
    if (Current.Next < Current.Answers.size()) {
        const Answer& answer = Current.Answers[Current.Next];
        if (answer.Kind == kind && answer.Key == key) {
            ++Current.Next;
            return answer;
        }
    }
    if (Handlers.onOutOfStep) Handlers.onOutOfStep(Current.Frames + 1);
    FatalError("The replay went out of step at frame " + std::to_string(Current.Frames + 1) + ".");
}

void Keep(Answer answer) {
    if (Current.Mode == StreamMode::Recording) Current.Answers.push_back(std::move(answer));
}

}  // namespace

std::string EncodeAnswers(const std::vector<Answer>& answers) {
    std::string out;
    int64_t tick = 0;
    uint64_t seed = 0;
    for (const Answer& answer : answers) {
        switch (answer.Kind) {
            case AnswerKind::KeyState: {
                const int index = KeyIndex(answer.Key);
                const bool down = (answer.Value & KeyDownNow) != 0;
                const bool pressed = (answer.Value & KeyPressedSinceQuery) != 0;
                out += static_cast<char>((index << 2) | (down ? KeyDownBit : 0) |
                                         (pressed ? KeyPressedBit : 0));
                break;
            }
            case AnswerKind::Tick:
                out += static_cast<char>(TickRecord);
                PutVarint(out, ZigZag(answer.Value - tick));
                tick = answer.Value;
                break;
            case AnswerKind::Seed:
                out += static_cast<char>(SeedRecord);
                PutVarint(out, ZigZag(int64_t(uint64_t(answer.Value) - seed)));
                seed = uint64_t(answer.Value);
                break;
            case AnswerKind::Box:
                out += static_cast<char>(BoxRecord);
                out += static_cast<char>(answer.Value);
                break;
            case AnswerKind::Name:
                out += static_cast<char>(NameRecord);
                PutVarint(out, answer.Text.size());
                out += answer.Text;
                break;
        }
    }
    return out;
}

bool DecodeAnswers(const std::string& bytes, std::vector<Answer>& answers) {
    answers.clear();
    int64_t tick = 0;
    uint64_t seed = 0;
    size_t at = 0;
    while (at < bytes.size()) {
        const auto tag = static_cast<uint8_t>(bytes[at++]);
        Answer answer;
        uint64_t value = 0;
        if (tag < TickRecord) {
            if ((tag >> 2) >= KeyCount) return false;
            answer.Kind = AnswerKind::KeyState;
            answer.Key = AnswerKeys[tag >> 2];
            answer.Value = ((tag & KeyDownBit) ? KeyDownNow : 0) |
                           ((tag & KeyPressedBit) ? KeyPressedSinceQuery : 0);
        } else if (tag == TickRecord) {
            if (!GetVarint(bytes, at, value)) return false;
            tick = static_cast<int32_t>(uint32_t(uint64_t(tick) + uint64_t(UnZigZag(value))));
            answer.Kind = AnswerKind::Tick;
            answer.Value = tick;
        } else if (tag == SeedRecord) {
            if (!GetVarint(bytes, at, value)) return false;
            seed += uint64_t(UnZigZag(value));
            answer.Kind = AnswerKind::Seed;
            answer.Value = int64_t(seed);
        } else if (tag == BoxRecord) {
            if (at >= bytes.size() || static_cast<uint8_t>(bytes[at]) > 1) return false;
            answer.Kind = AnswerKind::Box;
            answer.Value = bytes[at++];
        } else if (tag == NameRecord) {
            if (!GetVarint(bytes, at, value) || value > MaxNameBytes || value > bytes.size() - at)
                return false;
            answer.Kind = AnswerKind::Name;
            answer.Text = bytes.substr(at, size_t(value));
            at += size_t(value);
        } else {
            return false;
        }
        answers.push_back(std::move(answer));
    }
    return true;
}

PlaybackPace CurrentPace() {
    return Pace;
}
void SetPace(PlaybackPace pace) {
    Pace = pace;
}

void SetAnswerHandlers(const AnswerHandlers& handlers) {
    Handlers = handlers;
}

void StartRecordingAnswers() {
    Current = Stream{};
    Current.Mode = StreamMode::Recording;
}

std::vector<Answer> StopRecordingAnswers() {
    std::vector<Answer> kept = std::move(Current.Answers);
    Current = Stream{};
    return kept;
}

void StartPlayingAnswers(std::vector<Answer> answers) {
    Current = Stream{};
    Current.Mode = StreamMode::Playing;
    Current.Answers = std::move(answers);
}

bool StopPlayingAnswers() {
    const bool whole = Current.Next == Current.Answers.size();
    Current = Stream{};
    return whole;
}

bool PlayingAnswers() {
    return Current.Mode == StreamMode::Playing;
}

int64_t AnswerFrames() {
    return Current.Frames;
}

int32_t LastPlayedTick() {
    return Current.LastTick;
}

void ResetAnswers() {
    Current = Stream{};
    Pace = PlaybackPace::Live;
    Handlers = {};
}

uint16_t PlayedKeyState(int virtualKey) {
    if (KeyIndex(virtualKey) < 0) return 0;  // a key the game never asks for has nothing recorded
    return static_cast<uint16_t>(Take(AnswerKind::KeyState, virtualKey).Value);
}
int32_t PlayedTick() {
    Current.LastTick = static_cast<int32_t>(Take(AnswerKind::Tick).Value);
    return Current.LastTick;
}
uint64_t PlayedSeed() {
    return uint64_t(Take(AnswerKind::Seed).Value);
}
BoxAnswer PlayedBoxAnswer() {
    return Take(AnswerKind::Box).Value == 0 ? BoxAnswer::Ok : BoxAnswer::Cancel;
}
std::string PlayedName() {
    return Take(AnswerKind::Name).Text;
}

uint16_t RecordKeyState(int virtualKey, uint16_t state) {
    if (KeyIndex(virtualKey) >= 0) Keep({AnswerKind::KeyState, virtualKey, state, {}});
    return state;
}
int32_t RecordTick(int32_t tick) {
    Keep({AnswerKind::Tick, 0, tick, {}});
    return tick;
}
uint64_t RecordSeed(uint64_t seed) {
    Keep({AnswerKind::Seed, 0, int64_t(seed), {}});
    return seed;
}
BoxAnswer RecordBoxAnswer(BoxAnswer answer) {
    Keep({AnswerKind::Box, 0, answer == BoxAnswer::Ok ? 0 : 1, {}});
    return answer;
}
std::string RecordName(const std::string& name) {
    Keep({AnswerKind::Name, 0, 0, name});
    return name;
}

void NoteFrameEnd() {
    if (Current.Mode == StreamMode::Off) return;
    ++Current.Frames;
    if (Handlers.onFrameEnd) Handlers.onFrameEnd();
}
