// m_battle.mid: the battle tune. E minor, 152 beats a minute, 48 bars (about 76 seconds):
// intro, theme, theme varied, a lyrical middle, theme again, an arpeggio bridge and a
// turnaround that falls back on the intro's E minor when the game restarts the tune.
// Standard MIDI File format 1, General MIDI: lead, guitar, bass, strings, drums on channel 10.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "assetgen.h"

namespace {

constexpr int Ppq = 480, Eighth = Ppq / 2, Bar = Ppq * 4;

struct Event {
    int Tick;
    int Order;  // note-offs before note-ons on the same tick
    std::vector<uint8_t> Bytes;
};

struct Track {
    std::vector<Event> Events;
    void Note(int ch, int tick, int len, int key, int vel) {
        Events.push_back({tick, 1, {uint8_t(0x90 | ch), uint8_t(key), uint8_t(vel)}});
        Events.push_back({tick + len, 0, {uint8_t(0x80 | ch), uint8_t(key), 0}});
    }
    void Program(int ch, int program) {
        Events.push_back({0, 0, {uint8_t(0xC0 | ch), uint8_t(program)}});
    }
    void Meta(int tick, int type, std::vector<uint8_t> data) {
        std::vector<uint8_t> b = {0xFF, uint8_t(type), uint8_t(data.size())};
        b.insert(b.end(), data.begin(), data.end());
        Events.push_back({tick, 0, b});
    }
};

// Chords by their root and quality; the tune's chord for every bar.
struct Chord {
    int Root;  // MIDI key in the bass octave
    bool Major;
};
const Chord Em{40, false}, C{36, true}, D{38, true}, B{35, true}, Am{45, false}, G{43, true};

std::vector<Chord> Progression() {
    std::vector<Chord> p = {Em, Em, Em, Em};                                     // intro
    for (int i = 0; i < 2; ++i) p.insert(p.end(), {Em, C, D, Em, Em, C, D, B});  // theme x2
    p.insert(p.end(), {Am, D, G, Em, C, D, B, B});                               // middle
    p.insert(p.end(), {Em, C, D, Em, Em, C, D, B});                              // theme
    p.insert(p.end(), {C, D, Em, Em, C, D, B, B});                               // bridge
    p.insert(p.end(), {Em, C, D, B});                                            // turnaround
    return p;
}

std::vector<int> Triad(Chord c) {
    return {c.Root, c.Root + (c.Major ? 4 : 3), c.Root + 7};
}

// Melody lines as (key, length in eighths); 0 is a rest. Each line fills whole bars.
using Line = std::vector<std::pair<int, int>>;

Line Theme(bool varied) {
    Line l = {{71, 1}, {76, 1}, {79, 2}, {78, 1}, {76, 1}, {74, 1}, {76, 1}, {79, 2}, {76, 1},
              {72, 1}, {76, 2}, {79, 2}, {81, 2}, {78, 1}, {74, 1}, {78, 1}, {81, 1}, {86, 2}};
    if (varied)
        l.insert(l.end(), {{83, 2}, {86, 1}, {83, 1}, {88, 4}});
    else
        l.insert(l.end(), {{83, 3}, {79, 1}, {76, 4}});
    l.insert(l.end(), {{76, 1},
                       {79, 1},
                       {83, 2},
                       {81, 1},
                       {79, 1},
                       {78, 1},
                       {79, 1},
                       {76, 2},
                       {79, 1},
                       {84, 1},
                       {83, 2},
                       {79, 2},
                       {78, 2},
                       {81, 1},
                       {86, 1},
                       {84, 1},
                       {81, 1},
                       {78, 2}});
    if (varied)
        l.insert(l.end(), {{75, 1}, {78, 1}, {83, 1}, {87, 1}, {83, 4}});
    else
        l.insert(l.end(), {{75, 2}, {78, 2}, {83, 2}, {81, 1}, {78, 1}});
    return l;
}

Line Middle() {
    return {{81, 4}, {84, 2}, {83, 2}, {81, 3}, {78, 1}, {74, 4}, {79, 4}, {83, 2},
            {86, 2}, {88, 6}, {86, 1}, {83, 1}, {84, 4}, {88, 2}, {86, 2}, {81, 4},
            {86, 2}, {78, 2}, {78, 4}, {83, 2}, {87, 2}, {83, 8}};
}

Line Turnaround() {
    return {{76, 1}, {79, 1}, {83, 2}, {79, 1}, {76, 1}, {71, 2}, {72, 2},
            {76, 2}, {79, 4}, {74, 2}, {78, 2}, {81, 4}, {0, 8}};
}

int PlayLine(Track& t, int tick, const Line& l, int vel) {
    for (auto [key, len] : l) {
        if (key) t.Note(0, tick, len * Eighth - 20, key, vel);
        tick += len * Eighth;
    }
    return tick;
}

void Lead(Track& t, const std::vector<Chord>& prog) {
    t.Program(0, 81);  // lead 2 (sawtooth)
    int tick = 4 * Bar;
    tick = PlayLine(t, tick, Theme(false), 100);
    tick = PlayLine(t, tick, Theme(true), 104);
    tick = PlayLine(t, tick, Middle(), 96);
    tick = PlayLine(t, tick, Theme(true), 106);
    // Bridge: running sixteenths over each chord, up and back down two octaves.
    for (int bar = 36; bar < 44; ++bar) {
        const auto tri = Triad(prog[size_t(bar)]);
        const int steps[16] = {0, 1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 2, 3, 4, 5};
        for (int i = 0; i < 16; ++i) {
            const int s = steps[i];
            t.Note(0, bar * Bar + i * Eighth / 2, Eighth / 2 - 10,
                   tri[size_t(s % 3)] + 24 + 12 * (s / 3), i % 4 == 0 ? 100 : 80);
        }
    }
    PlayLine(t, 44 * Bar, Turnaround(), 100);
}

void Bass(Track& t, const std::vector<Chord>& prog) {
    t.Program(2, 38);  // synth bass 1
    for (size_t bar = 0; bar < prog.size(); ++bar) {
        const int root = prog[bar].Root;
        const int pattern[8] = {0, 0, 12, 0, 0, 12, 0, 7};
        for (int i = 0; i < 8; ++i)
            t.Note(2, int(bar) * Bar + i * Eighth, Eighth - 30, root + pattern[i],
                   i % 2 ? 84 : 100);
    }
}

void Guitar(Track& t, const std::vector<Chord>& prog) {
    t.Program(1, 29);  // overdriven guitar: chugging power chords
    for (size_t bar = 2; bar < prog.size(); ++bar) {
        const int root = prog[bar].Root + 12;
        const bool bridge = bar >= 36 && bar < 44;
        for (int i = 0; i < 8; ++i) {
            if (bridge && i % 4) continue;  // let the arpeggios breathe
            const bool accent = i == 0 || i == 3 || i == 6;
            const int len = bridge ? 4 * Eighth - 40 : (accent ? Eighth - 20 : Eighth / 2);
            for (int k : {0, 7, 12})
                t.Note(1, int(bar) * Bar + i * Eighth, len, root + k, accent ? 92 : 70);
        }
    }
}

void Strings(Track& t, const std::vector<Chord>& prog) {
    t.Program(3, 48);  // string ensemble
    for (size_t bar = 4; bar < prog.size(); ++bar)
        for (int key : Triad(prog[bar])) t.Note(3, int(bar) * Bar, Bar - 40, key + 24, 56);
}

void Drums(Track& t, int bars) {
    const int kick = 36, snare = 38, hat = 42, openHat = 46, crash = 49, ride = 51;
    const int tomHigh = 50, tomMid = 47, tomLow = 45;
    for (int bar = 0; bar < bars; ++bar) {
        const int at = bar * Bar;
        const bool fill = bar % 8 == 3 && bar > 4, bridge = bar >= 36 && bar < 44;
        if (bar % 8 == 4 || bar == 0) t.Note(9, at, Eighth, crash, 110);
        for (int i = 0; i < 8; ++i) {
            if (fill && i >= 6) continue;
            t.Note(9, at + i * Eighth, Eighth / 2, bridge ? ride : (i == 7 ? openHat : hat),
                   i % 2 ? 64 : 86);
        }
        for (int i : {0, 3, 4}) t.Note(9, at + i * Eighth, Eighth / 2, kick, 112);
        if (bar >= 2) t.Note(9, at + 2 * Eighth, Eighth / 2, snare, 104);
        if (!fill && bar >= 2) t.Note(9, at + 6 * Eighth, Eighth / 2, snare, 108);
        if (fill) {
            const int toms[8] = {snare, snare, tomHigh, tomHigh, tomMid, tomMid, tomLow, tomLow};
            for (int i = 0; i < 8; ++i)
                t.Note(9, at + 6 * Eighth + i * Eighth / 4, Eighth / 4, toms[i], 90 + i * 3);
        }
    }
}

void PutVlq(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t bytes[5];
    int n = 0;
    do bytes[n++] = uint8_t(v & 0x7F), v >>= 7;
    while (v);
    while (n--) out.push_back(uint8_t(bytes[n] | (n ? 0x80 : 0)));
}

std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out(id, id + 4);
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(body.size() >> s));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<uint8_t> Encode(Track t, int end) {
    std::stable_sort(t.Events.begin(), t.Events.end(), [](const Event& a, const Event& b) {
        return std::tie(a.Tick, a.Order) < std::tie(b.Tick, b.Order);
    });
    std::vector<uint8_t> body;
    int last = 0;
    for (const auto& e : t.Events) {
        PutVlq(body, uint32_t(e.Tick - last));
        body.insert(body.end(), e.Bytes.begin(), e.Bytes.end());
        last = e.Tick;
    }
    // Every track ends on the last bar line, so the restart keeps the beat.
    PutVlq(body, uint32_t(end - last));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    return Chunk("MTrk", body);
}

}  // namespace

std::vector<uint8_t> MakeBattleMidi() {
    const auto prog = Progression();
    const int end = int(prog.size()) * Bar;
    Track tempo, lead, guitar, bass, strings, drums;
    const std::string name = "Vexlan battle";
    tempo.Meta(0, 0x03, {name.begin(), name.end()});
    tempo.Meta(0, 0x58, {4, 2, 24, 8});  // 4/4
    const uint32_t usPerQuarter = 60000000 / 152;
    tempo.Meta(0, 0x51,
               {uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8), uint8_t(usPerQuarter)});
    Lead(lead, prog);
    Guitar(guitar, prog);
    Bass(bass, prog);
    Strings(strings, prog);
    Drums(drums, int(prog.size()));
    std::vector<uint8_t> header = {0, 1, 0, 6, uint8_t(Ppq >> 8), uint8_t(Ppq & 0xFF)};
    std::vector<uint8_t> file = Chunk("MThd", header);
    for (const Track* t : {&tempo, &lead, &guitar, &bass, &strings, &drums}) {
        const auto chunk = Encode(*t, end);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}
