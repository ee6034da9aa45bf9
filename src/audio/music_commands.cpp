#include "audio/music_commands.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "audio/music_device.h"

namespace {

// Splits at single blanks; an empty word (a doubled, leading or trailing blank) spoils the
// command.
std::optional<std::vector<std::string_view>> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (;;) {
        const size_t blank = text.find(' ');
        const std::string_view word = text.substr(0, blank);
        if (word.empty()) return std::nullopt;
        words.push_back(word);
        if (blank == std::string_view::npos) return words;
        text.remove_prefix(blank + 1);
    }
}

MusicCommand Command(MusicVerb verb, std::string_view alias, std::string_view file = {}) {
    return MusicCommand{verb, std::string(alias), std::string(file)};
}

}  // namespace

int AliasError(const MusicCommand& command, const std::string& openAlias) {
    if (command.Verb == MusicVerb::Open)
        return openAlias.empty() ? MusicOk : MusicErrorDuplicateAlias;
    return !openAlias.empty() && command.Alias == openAlias ? MusicOk : MusicErrorUnknownAlias;
}

std::optional<MusicCommand> ParseMusicCommand(std::string_view text) {
    const auto words = Words(text);
    if (!words) return std::nullopt;
    const std::vector<std::string_view>& w = *words;
    if (w.size() == 4 && w[0] == "Open" && w[2] == "Alias")
        return Command(MusicVerb::Open, w[3], w[1]);
    if (w.size() == 3 && w[0] == "status" && w[2] == "mode")
        return Command(MusicVerb::StatusMode, w[1]);
    if (w.size() == 4 && w[0] == "seek" && w[2] == "to" && w[3] == "start")
        return Command(MusicVerb::SeekToStart, w[1]);
    if (w.size() == 2 && w[0] == "play") return Command(MusicVerb::Play, w[1]);
    if (w.size() == 2 && w[0] == "stop") return Command(MusicVerb::Stop, w[1]);
    if (w.size() == 2 && w[0] == "Close") return Command(MusicVerb::Close, w[1]);
    return std::nullopt;
}

namespace {

// A cursor over one chunk of the file; every read checks the end, and a read past it leaves
// the cursor spent.
struct Reader {
    std::string_view Bytes;
    bool Spent = false;

    bool AtEnd() const { return Spent || Bytes.empty(); }
    uint8_t Byte() {
        if (AtEnd()) {
            Spent = true;
            return 0;
        }
        const auto byte = static_cast<uint8_t>(Bytes.front());
        Bytes.remove_prefix(1);
        return byte;
    }
    uint8_t Peek() const { return AtEnd() ? 0 : static_cast<uint8_t>(Bytes.front()); }
    uint32_t BigEndian(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) value = value << 8 | Byte();
        return value;
    }
    // Delta times and event lengths: seven bits a byte, high bit set on all but the last, at
    // most four bytes.
    uint32_t VariableLength() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const uint8_t byte = Byte();
            value = value << 7 | (byte & 0x7F);
            if ((byte & 0x80) == 0) return value;
        }
        Spent = true;
        return 0;
    }
    // `count` bytes, or none and the cursor spent when fewer are left.
    std::string_view TakeExactly(uint32_t count) {
        if (count > Bytes.size()) Spent = true;
        return Spent ? std::string_view() : Take(count);
    }
    std::string_view Take(uint32_t count) {
        const std::string_view taken = Bytes.substr(0, count);  // a short last chunk is kept
        Bytes.remove_prefix(taken.size());
        return taken;
    }
};

bool SoundsNote(uint8_t status, uint8_t velocity) {
    return (status & 0xF0) == 0x90 && velocity;
}

constexpr uint8_t MetaEndOfTrack = 0x2F;
constexpr uint8_t MetaTempo = 0x51;
constexpr uint32_t DefaultTempo = 500000;  // microseconds a quarter note: 120 beats a minute

struct TempoChange {
    uint64_t Tick;
    uint32_t MicrosecondsPerQuarter;
};

// The events of every track that time the tune, in ticks from its start.
struct TunedEvents {
    std::vector<uint64_t> NoteTicks;
    std::vector<TempoChange> Tempos;
    uint64_t LastTick = 0;
};

// One track's events: a delta time, then a channel message (running status allowed), a meta
// event (0xFF type length data) or a system-exclusive block (0xF0/0xF7 length data).
void ReadTrack(Reader track, TunedEvents& tune) {
    uint64_t tick = 0;
    uint8_t running = 0;
    while (!track.AtEnd()) {
        tick += track.VariableLength();
        if (track.Peek() & 0x80) running = track.Byte();
        const uint8_t status = running;
        if (status == 0xFF) {
            const uint8_t type = track.Byte();
            const std::string_view data = track.TakeExactly(track.VariableLength());
            running = 0;
            if (track.Spent) return;
            if (type == MetaTempo && data.size() == 3)
                tune.Tempos.push_back({tick, Reader{data}.BigEndian(3)});
            tune.LastTick = std::max(tune.LastTick, tick);
            if (type == MetaEndOfTrack) return;
        } else if (status == 0xF0 || status == 0xF7) {
            track.TakeExactly(track.VariableLength());
            running = 0;
            if (track.Spent) return;
            tune.LastTick = std::max(tune.LastTick, tick);
        } else if (status >= 0x80 && status < 0xF0) {
            const bool oneDataByte = (status & 0xE0) == 0xC0;  // program change, pressure
            const uint8_t key = track.Byte();
            const uint8_t velocity = oneDataByte ? 0 : track.Byte();
            if (track.Spent || (key | velocity) & 0x80) return;
            if (SoundsNote(status, velocity)) tune.NoteTicks.push_back(tick);
            tune.LastTick = std::max(tune.LastTick, tick);
        } else {
            return;  // data with no status before it, or a status that has no place here
        }
    }
}

// Ticks to milliseconds by the tempo map: each tempo holds from its tick to the next one's.
class TempoMap {
public:
    TempoMap(std::vector<TempoChange> tempos, uint32_t ticksPerQuarter)
        : Tempos(std::move(tempos)), TicksPerQuarter(ticksPerQuarter) {
        std::stable_sort(
            Tempos.begin(), Tempos.end(),
            [](const TempoChange& a, const TempoChange& b) { return a.Tick < b.Tick; });
    }
    // Ticks must come in rising order.
    double Milliseconds(uint64_t tick) {
        while (Next < Tempos.size() && Tempos[Next].Tick <= tick) {
            SegmentStartMs += MsBetween(SegmentStartTick, Tempos[Next].Tick);
            SegmentStartTick = Tempos[Next].Tick;
            Tempo = Tempos[Next++].MicrosecondsPerQuarter;
        }
        return SegmentStartMs + MsBetween(SegmentStartTick, tick);
    }

private:
    double MsBetween(uint64_t from, uint64_t to) const {
        return double(to - from) * Tempo / TicksPerQuarter / 1000.0;
    }
    std::vector<TempoChange> Tempos;
    uint32_t TicksPerQuarter;
    size_t Next = 0;
    uint64_t SegmentStartTick = 0;
    double SegmentStartMs = 0;
    uint32_t Tempo = DefaultTempo;
};

// The most of the (rising) times that fall within any span shorter than `spanMs`.
int MostWithin(const std::vector<double>& times, double spanMs) {
    int most = 0;
    size_t first = 0;
    for (size_t last = 0; last < times.size(); ++last) {
        while (times[last] - times[first] >= spanMs) ++first;
        most = std::max(most, int(last - first + 1));
    }
    return most;
}

}  // namespace

MidiSummary ScanMidi(std::string_view bytes) {
    Reader file{bytes};
    MidiSummary summary;
    if (file.Take(4) != "MThd") return summary;
    const uint32_t headerLength = file.BigEndian(4);
    Reader header{file.TakeExactly(headerLength)};
    header.BigEndian(4);  // format and track count: every track is played, whatever they say
    const uint32_t ticksPerQuarter = header.BigEndian(2);
    // Zero, or a time in SMPTE frames (high bit set), which the synthesiser does not play.
    if (file.Spent || header.Spent || ticksPerQuarter == 0 || ticksPerQuarter & 0x8000)
        return summary;
    TunedEvents tune;
    while (!file.AtEnd()) {
        const std::string_view id = file.Take(4);
        const uint32_t length = file.BigEndian(4);
        if (file.Spent) break;
        const Reader chunk{file.Take(length)};
        if (id == "MTrk") ReadTrack(chunk, tune);
    }
    std::sort(tune.NoteTicks.begin(), tune.NoteTicks.end());
    TempoMap tempoMap(std::move(tune.Tempos), ticksPerQuarter);
    std::vector<double> noteTimes;
    noteTimes.reserve(tune.NoteTicks.size());
    for (const uint64_t tick : tune.NoteTicks) noteTimes.push_back(tempoMap.Milliseconds(tick));
    summary.Content = noteTimes.empty() ? MidiContent::NoNotes : MidiContent::HasNotes;
    summary.LengthMs = tempoMap.Milliseconds(tune.LastTick);  // at or after every note
    summary.MostNotesTogether = MostWithin(noteTimes, NotesTogetherMs);
    summary.MostNotesInASecond = MostWithin(noteTimes, 1000);
    return summary;
}

std::string MidiRefusal(const MidiSummary& tune) {
    switch (tune.Content) {
        case MidiContent::NotMidi:
            return "not a MIDI file";
        case MidiContent::NoNotes:
            return "the tune has no notes";
        case MidiContent::HasNotes:
            break;
    }
    if (tune.MostNotesTogether > MostNotesTogether)
        return std::to_string(tune.MostNotesTogether) + " notes start within " +
               std::to_string(int(NotesTogetherMs)) + " ms, more than the synthesiser plays (" +
               std::to_string(MostNotesTogether) + ")";
    if (tune.MostNotesInASecond > MostNotesInASecond)
        return std::to_string(tune.MostNotesInASecond) +
               " notes start within a second, more than the synthesiser plays (" +
               std::to_string(MostNotesInASecond) + ")";
    return {};
}
