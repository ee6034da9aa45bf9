// The music device's command language, and the check that keeps a tune without notes away from
// the synthesiser.
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
    EXPECT_EQ(ScanMidi(Midi(Track(Tempo + Piano + MiddleC))), MidiContent::HasNotes);
}

TEST(MidiScan, TempoInstrumentsAndSilentNoteOnsAreNoNotes) {
    EXPECT_EQ(ScanMidi(Midi(Track(Tempo + Piano))), MidiContent::NoNotes);
    EXPECT_EQ(ScanMidi(Midi("")), MidiContent::NoNotes);
    // A note-on at velocity 0 is a note-off.
    EXPECT_EQ(ScanMidi(Midi(Track(Bytes({0x00, 0x90, 0x3C, 0x00})))), MidiContent::NoNotes);
}

TEST(MidiScan, RunningStatusCarriesTheNoteOnToLaterEvents) {
    const std::string events = Bytes({0x00, 0x90, 0x3C, 0x00, 0x10, 0x3E, 0x64});
    EXPECT_EQ(ScanMidi(Midi(Track(events))), MidiContent::HasNotes);
}

TEST(MidiScan, NoteBytesInsideTextAndSystemExclusiveDataAreNotNotes) {
    const std::string text = Bytes({0x00, 0xFF, 0x01, 0x03, 0x90, 0x3C, 0x64});
    const std::string sysex = Bytes({0x00, 0xF0, 0x04, 0x90, 0x3C, 0x64, 0xF7});
    EXPECT_EQ(ScanMidi(Midi(Track(text + sysex))), MidiContent::NoNotes);
}

TEST(MidiScan, OneDataByteMessagesAndLongDeltasAreStepped) {
    // Program change and channel pressure carry one data byte; a pitch bend carries two; the
    // note waits 128 ticks (a two-byte delta).
    const std::string events = Bytes(
        {0x00, 0xC5, 0x05, 0x00, 0xD5, 0x40, 0x00, 0xE5, 0x00, 0x40, 0x81, 0x00, 0x95, 0x3C, 0x64});
    EXPECT_EQ(ScanMidi(Midi(Track(events))), MidiContent::HasNotes);
}

TEST(MidiScan, NotesInALaterTrackCountAndUnknownChunksAreSkipped) {
    const std::string tracks = Track(Tempo) + Chunk("XFIH", "\x90\x3C\x64") + Track(MiddleC);
    EXPECT_EQ(ScanMidi(Midi(tracks, 2)), MidiContent::HasNotes);
}

TEST(MidiScan, ATrackThatBreaksOffEndsTheSearchWithoutReadingPastIt) {
    // Truncated: the note-on has lost its velocity.
    EXPECT_EQ(ScanMidi(Midi(Chunk("MTrk", Bytes({0x00, 0x90, 0x3C})))), MidiContent::NoNotes);
    // A meta event claiming more bytes than the track holds.
    EXPECT_EQ(ScanMidi(Midi(Chunk("MTrk", Bytes({0x00, 0xFF, 0x01, 0x7F, 0x90})))),
              MidiContent::NoNotes);
    // Data with no status before it.
    EXPECT_EQ(ScanMidi(Midi(Track(Bytes({0x00, 0x3C, 0x64}) + MiddleC))), MidiContent::NoNotes);
    // A file cut short inside its only track still shows the note it did hold.
    const std::string whole = Midi(Track(Tempo + MiddleC));
    EXPECT_EQ(ScanMidi(whole.substr(0, whole.size() - 6)), MidiContent::HasNotes);
}

TEST(MidiScan, OnlyAStandardMidiFileIsATune) {
    EXPECT_EQ(ScanMidi(""), MidiContent::NotMidi);
    EXPECT_EQ(ScanMidi("RIFF....WAVEfmt "), MidiContent::NotMidi);
    EXPECT_EQ(ScanMidi("MThd"), MidiContent::NotMidi);
    EXPECT_EQ(ScanMidi(Chunk("MThd", "\x00\x01")), MidiContent::NotMidi);
    const std::string whole = Midi(Track(MiddleC));
    EXPECT_EQ(ScanMidi(whole.substr(0, 10)), MidiContent::NotMidi);
}

}  // namespace
