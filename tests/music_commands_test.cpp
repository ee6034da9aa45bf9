// The music device's command language, and the check that keeps a tune without notes, or with
// more than the synthesiser can play, away from it.
#include "audio/music_commands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(MusicCommands, TheGamesSixCommandsAreUnderstood) {
    const auto open = ParseMusicCommand("Open m_battle.mid Alias BGM");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->Verb, MusicVerb::Open);
    EXPECT_EQ(open->File, "m_battle.mid");
    EXPECT_EQ(open->Alias, "BGM");
    const std::pair<const char*, MusicVerb> others[] = {
        {"status BGM mode", MusicVerb::StatusMode},
        {"seek BGM to start", MusicVerb::SeekToStart},
        {"play BGM", MusicVerb::Play},
        {"stop BGM", MusicVerb::Stop},
        {"Close BGM", MusicVerb::Close},
    };
    for (const auto& [text, verb] : others) {
        const auto command = ParseMusicCommand(text);
        ASSERT_TRUE(command) << text;
        EXPECT_EQ(command->Verb, verb) << text;
        EXPECT_EQ(command->Alias, "BGM") << text;
    }
}

TEST(MusicCommands, AnythingElseIsNoCommand) {
    for (const char* text :
         {"", " ", "play", "play BGM now", "play  BGM", " play BGM", "play BGM ", "status BGM",
          "status BGM position", "seek BGM to end", "seek BGM", "Open m_battle.mid BGM",
          "Open m_battle.mid alias BGM", "open m_battle.mid Alias BGM", "close BGM", "PLAY BGM",
          "pause BGM", "Open Alias BGM"}) {
        EXPECT_FALSE(ParseMusicCommand(text)) << '"' << text << '"';
    }
}

// A standard MIDI file built from raw event bytes, one string per track.
std::string BigEndian(uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}
std::string Chunk(const std::string& id, const std::string& body) {
    return id + BigEndian(static_cast<uint32_t>(body.size()), 4) + body;
}
const std::string EndOfTrack("\x00\xFF\x2F\x00", 4);
std::string Track(const std::string& events) {
    return Chunk("MTrk", events + EndOfTrack);
}
std::string Midi(const std::string& tracks, int trackCount = 1) {
    return Chunk("MThd", BigEndian(1, 2) + BigEndian(trackCount, 2) + BigEndian(96, 2)) + tracks;
}
std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) out += static_cast<char>(b);
    return out;
}

const std::string Tempo = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
const std::string Piano = Bytes({0x00, 0xC0, 0x00});
const std::string MiddleC = Bytes({0x00, 0x90, 0x3C, 0x64, 0x30, 0x80, 0x3C, 0x00});

TEST(MidiScan, ATuneWithANoteHasNotes) {
    EXPECT_EQ(ScanMidi(Midi(Track(Tempo + Piano + MiddleC))).Content, MidiContent::HasNotes);
}

TEST(MidiScan, TempoInstrumentsAndSilentNoteOnsAreNoNotes) {
    EXPECT_EQ(ScanMidi(Midi(Track(Tempo + Piano))).Content, MidiContent::NoNotes);
    EXPECT_EQ(ScanMidi(Midi("")).Content, MidiContent::NoNotes);
    // A note-on at velocity 0 is a note-off.
    EXPECT_EQ(ScanMidi(Midi(Track(Bytes({0x00, 0x90, 0x3C, 0x00})))).Content, MidiContent::NoNotes);
}

TEST(MidiScan, RunningStatusCarriesTheNoteOnToLaterEvents) {
    const std::string events = Bytes({0x00, 0x90, 0x3C, 0x00, 0x10, 0x3E, 0x64});
    EXPECT_EQ(ScanMidi(Midi(Track(events))).Content, MidiContent::HasNotes);
}

TEST(MidiScan, NoteBytesInsideTextAndSystemExclusiveDataAreNotNotes) {
    const std::string text = Bytes({0x00, 0xFF, 0x01, 0x03, 0x90, 0x3C, 0x64});
    const std::string sysex = Bytes({0x00, 0xF0, 0x04, 0x90, 0x3C, 0x64, 0xF7});
    EXPECT_EQ(ScanMidi(Midi(Track(text + sysex))).Content, MidiContent::NoNotes);
}

TEST(MidiScan, OneDataByteMessagesAndLongDeltasAreStepped) {
    // Program change and channel pressure carry one data byte; a pitch bend carries two; the
    // note waits 128 ticks (a two-byte delta).
    const std::string events = Bytes(
        {0x00, 0xC5, 0x05, 0x00, 0xD5, 0x40, 0x00, 0xE5, 0x00, 0x40, 0x81, 0x00, 0x95, 0x3C, 0x64});
    EXPECT_EQ(ScanMidi(Midi(Track(events))).Content, MidiContent::HasNotes);
}

TEST(MidiScan, NotesInALaterTrackCountAndUnknownChunksAreSkipped) {
    const std::string tracks = Track(Tempo) + Chunk("XFIH", "\x90\x3C\x64") + Track(MiddleC);
    EXPECT_EQ(ScanMidi(Midi(tracks, 2)).Content, MidiContent::HasNotes);
}

TEST(MidiScan, ATrackThatBreaksOffEndsTheSearchWithoutReadingPastIt) {
    // Truncated: the note-on has lost its velocity.
    EXPECT_EQ(ScanMidi(Midi(Chunk("MTrk", Bytes({0x00, 0x90, 0x3C})))).Content,
              MidiContent::NoNotes);
    // A meta event claiming more bytes than the track holds.
    EXPECT_EQ(ScanMidi(Midi(Chunk("MTrk", Bytes({0x00, 0xFF, 0x01, 0x7F, 0x90})))).Content,
              MidiContent::NoNotes);
    // Data with no status before it.
    EXPECT_EQ(ScanMidi(Midi(Track(Bytes({0x00, 0x3C, 0x64}) + MiddleC))).Content,
              MidiContent::NoNotes);
    // A file cut short inside its only track still shows the note it did hold.
    const std::string whole = Midi(Track(Tempo + MiddleC));
    EXPECT_EQ(ScanMidi(whole.substr(0, whole.size() - 6)).Content, MidiContent::HasNotes);
}

TEST(MidiScan, OnlyAStandardMidiFileIsATune) {
    EXPECT_EQ(ScanMidi("").Content, MidiContent::NotMidi);
    EXPECT_EQ(ScanMidi("RIFF....WAVEfmt ").Content, MidiContent::NotMidi);
    EXPECT_EQ(ScanMidi("MThd").Content, MidiContent::NotMidi);
    EXPECT_EQ(ScanMidi(Chunk("MThd", "\x00\x01")).Content, MidiContent::NotMidi);
    const std::string whole = Midi(Track(MiddleC));
    EXPECT_EQ(ScanMidi(whole.substr(0, 10)).Content, MidiContent::NotMidi);
}

// The device reports the tune stopped when it has played to its last event, wherever that is.
TEST(MidiScan, TheLengthRunsToTheLastEventOfAnyTrackByTheTempoMap) {
    // 96 ticks a quarter: half a second at the default tempo, then a quarter of a second (0x03D090
    // microseconds a quarter) from tick 192 on, set in the first track.
    const std::string tempoTrack = Track(Bytes({0x81, 0x40, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}));
    // The other track's note ends at tick 384 and the track at tick 480: 1 s + 0.75 s.
    const std::string noteTrack =
        Chunk("MTrk", Bytes({0x82, 0x20, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00}) +
                          Bytes({0x60, 0xFF, 0x2F, 0x00}));
    const MidiSummary tune = ScanMidi(Midi(tempoTrack + noteTrack, 2));
    EXPECT_DOUBLE_EQ(tune.LengthMs, 1750);
    // Nothing after a track's end counts.
    EXPECT_DOUBLE_EQ(ScanMidi(Midi(Track(MiddleC) + Chunk("MTrk", EndOfTrack + MiddleC))).LengthMs,
                     250);
}

// 16,384 notes at one tick stalled the synthesiser, and with it the game, for seconds.
// `notes` short notes, `perTick` of them at each tick (5.2 ms at the default tempo).
std::string Crowd(int notes, int perTick) {
    std::string events;
    for (int i = 0; i < notes; ++i) {
        const int key = 0x30 + i % 48;
        const int delta = i > 0 && i % perTick == 0 ? 1 : 0;
        events += Bytes({delta, 0x90, key, 0x64, 0x00, 0x80, key, 0x00});
    }
    return Midi(Track(events));
}

TEST(MidiScan, ATuneWithMoreNotesAtOnceThanTheSynthesiserPlaysIsRefused) {
    const MidiSummary stall = ScanMidi(Crowd(16384, 16384));
    EXPECT_EQ(stall.MostNotesTogether, 16384);
    EXPECT_EQ(MidiRefusal(stall),
              "16384 notes start within 10 ms, more than the synthesiser plays (128)");
    EXPECT_EQ(MidiRefusal(ScanMidi(Crowd(MostNotesTogether, MostNotesTogether))), "");
    EXPECT_NE(MidiRefusal(ScanMidi(Crowd(MostNotesTogether + 1, MostNotesTogether + 1))), "");
    // Six notes a tick: twelve within 10 ms, and all of them within a second.
    const MidiSummary flood = ScanMidi(Crowd(MostNotesInASecond + 1, 6));
    EXPECT_EQ(flood.MostNotesTogether, 12);
    EXPECT_EQ(flood.MostNotesInASecond, MostNotesInASecond + 1);
    EXPECT_EQ(MidiRefusal(flood),
              "1001 notes start within a second, more than the synthesiser plays (1000)");
    EXPECT_EQ(MidiRefusal(ScanMidi(Crowd(MostNotesInASecond, 6))), "");
}

}  // namespace
