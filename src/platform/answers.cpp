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
    AnswerWriter Kept;                      // while recording
    std::string Played;                     // while playing: the stream given
    AnswerReader Next{std::string_view()};  // reads Played
    int64_t Frames = 0;
    int32_t LastTick = 0;
};
Stream Current;
PlaybackPace Pace = PlaybackPace::Live;
AnswerHandlers Handlers;
int SetAside = 0;  // AnswersSetAside living, whatever stream starts or stops meanwhile

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

bool GetVarint(std::string_view in, size_t& at, uint64_t& value) {
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
Answer Take(AnswerKind kind, int key = 0) {
    Answer answer;
    if (Current.Next.Next(answer) && answer.Kind == kind && answer.Key == key) return answer;
    if (Handlers.onOutOfStep) Handlers.onOutOfStep(Current.Frames + 1);
    FatalError("The replay went out of step at frame " + std::to_string(Current.Frames + 1) + ".");
}

void Keep(const Answer& answer) {
    if (Current.Mode == StreamMode::Recording && SetAside == 0) Current.Kept.Add(answer);
}

}  // namespace

void AnswerWriter::Add(const Answer& answer) {
    switch (answer.Kind) {
        case AnswerKind::KeyState: {
            const int index = KeyIndex(answer.Key);
            const bool down = (answer.Value & KeyDownNow) != 0;
            const bool pressed = (answer.Value & KeyPressedSinceQuery) != 0;
            Out += static_cast<char>((index << 2) | (down ? KeyDownBit : 0) |
                                     (pressed ? KeyPressedBit : 0));
            break;
        }
        case AnswerKind::Tick:
            Out += static_cast<char>(TickRecord);
            PutVarint(Out, ZigZag(answer.Value - Tick));
            Tick = answer.Value;
            break;
        case AnswerKind::Seed:
            Out += static_cast<char>(SeedRecord);
            PutVarint(Out, ZigZag(int64_t(uint64_t(answer.Value) - Seed)));
            Seed = uint64_t(answer.Value);
            break;
        case AnswerKind::Box:
            Out += static_cast<char>(BoxRecord);
            Out += static_cast<char>(answer.Value);
            break;
        case AnswerKind::Name:
            Out += static_cast<char>(NameRecord);
            PutVarint(Out, answer.Text.size());
            Out += answer.Text;
            break;
    }
}

bool AnswerReader::Next(Answer& answer) {
    if (At >= In.size()) return false;
    size_t at = At;
    const auto tag = static_cast<uint8_t>(In[at++]);
    answer = Answer{};
    uint64_t value = 0;
    if (tag < TickRecord) {
        if ((tag >> 2) >= KeyCount) return false;
        answer.Kind = AnswerKind::KeyState;
        answer.Key = AnswerKeys[tag >> 2];
        answer.Value = ((tag & KeyDownBit) ? KeyDownNow : 0) |
                       ((tag & KeyPressedBit) ? KeyPressedSinceQuery : 0);
    } else if (tag == TickRecord) {
        if (!GetVarint(In, at, value)) return false;
        Tick = static_cast<int32_t>(uint32_t(uint64_t(Tick) + uint64_t(UnZigZag(value))));
        answer.Kind = AnswerKind::Tick;
        answer.Value = Tick;
    } else if (tag == SeedRecord) {
        if (!GetVarint(In, at, value)) return false;
        Seed += uint64_t(UnZigZag(value));
        answer.Kind = AnswerKind::Seed;
        answer.Value = int64_t(Seed);
    } else if (tag == BoxRecord) {
        if (at >= In.size() || static_cast<uint8_t>(In[at]) > 1) return false;
        answer.Kind = AnswerKind::Box;
        answer.Value = In[at++];
    } else if (tag == NameRecord) {
        if (!GetVarint(In, at, value) || value > MaxNameBytes || value > In.size() - at)
            return false;
        answer.Kind = AnswerKind::Name;
        answer.Text = std::string(In.substr(at, size_t(value)));
        at += size_t(value);
    } else {
        return false;
    }
    At = at;
    return true;
}

bool IsAnswerStream(std::string_view bytes) {
    AnswerReader reader(bytes);
    Answer answer;
    while (reader.Next(answer)) {
    }
    return reader.AtEnd();
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

std::string StopRecordingAnswers() {
    std::string kept = Current.Kept.Take();
    Current = Stream{};
    return kept;
}

void StartPlayingAnswers(std::string stream) {
    Current = Stream{};
    Current.Mode = StreamMode::Playing;
    Current.Played = std::move(stream);
    Current.Next = AnswerReader(Current.Played);
}

bool StopPlayingAnswers() {
    const bool whole = Current.Next.AtEnd();
    Current = Stream{};
    return whole;
}

bool PlayingAnswers() {
    return Current.Mode == StreamMode::Playing && SetAside == 0;
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

AnswersSetAside::AnswersSetAside() {
    ++SetAside;
}
AnswersSetAside::~AnswersSetAside() {
    --SetAside;
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
