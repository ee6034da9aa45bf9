#include "audio/music_commands.h"

#include <cstdint>
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
    void Skip(uint32_t count) {
        if (count > Bytes.size()) Spent = true;
        if (!Spent) Bytes.remove_prefix(count);
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

// One track's events: a delta time, then a channel message (running status allowed), a meta
// event (0xFF type length data) or a system-exclusive block (0xF0/0xF7 length data).
bool TrackHasNotes(Reader track) {
    uint8_t running = 0;
    while (!track.AtEnd()) {
        track.VariableLength();
        if (track.Peek() & 0x80) running = track.Byte();
        const uint8_t status = running;
        if (status == 0xFF) {
            track.Byte();
            track.Skip(track.VariableLength());
            running = 0;
        } else if (status == 0xF0 || status == 0xF7) {
            track.Skip(track.VariableLength());
            running = 0;
        } else if (status >= 0x80 && status < 0xF0) {
            const bool oneDataByte = (status & 0xE0) == 0xC0;  // program change, pressure
            const uint8_t key = track.Byte();
            const uint8_t velocity = oneDataByte ? 0 : track.Byte();
            if (track.Spent || (key | velocity) & 0x80) return false;
            if (SoundsNote(status, velocity)) return true;
        } else {
            return false;  // data with no status before it, or a status that has no place here
        }
    }
    return false;
}

}  // namespace

MidiContent ScanMidi(std::string_view bytes) {
    Reader file{bytes};
    if (file.Take(4) != "MThd") return MidiContent::NotMidi;
    const uint32_t headerLength = file.BigEndian(4);
    file.Skip(headerLength);
    if (file.Spent || headerLength < 6) return MidiContent::NotMidi;
    while (!file.AtEnd()) {
        const std::string_view id = file.Take(4);
        const uint32_t length = file.BigEndian(4);
        if (file.Spent) break;
        const Reader chunk{file.Take(length)};
        if (id == "MTrk" && TrackHasNotes(chunk)) return MidiContent::HasNotes;
    }
    return MidiContent::NoNotes;
}
