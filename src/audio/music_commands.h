// The music device's command language and the check a tune must pass before it is played.
// Shared by the real device (audio/sdl) and the recorder (audio/headless), and free of any
// audio library so that it can be tested without a sound card.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Error codes answered by the device, numbered as the multimedia command interface the game
// was written against numbers them. The game never looks at them; they only have to be non-zero.
constexpr int MusicErrorUnrecognisedCommand = 261;
constexpr int MusicErrorNoDevice = 262;
constexpr int MusicErrorUnknownAlias = 263;
constexpr int MusicErrorFileNotFound = 275;
constexpr int MusicErrorDuplicateAlias = 289;
constexpr int MusicErrorInvalidFile = 296;

enum class MusicVerb { Open, StatusMode, SeekToStart, Play, Stop, Close };

struct MusicCommand {
    MusicVerb Verb = MusicVerb::Open;
    std::string Alias;
    std::string File;  // only for Open
};

// Reads one command, words separated by single blanks, keywords spelt as the game spells them:
//   Open <file> Alias <alias> | status <alias> mode | seek <alias> to start | play <alias> |
//   stop <alias> | Close <alias>
// Anything else is not a command.
std::optional<MusicCommand> ParseMusicCommand(std::string_view text);
// The device's rule for aliases: one tune open at a time, and every other command names it.
// MusicOk, or the error the device answers, given the alias of the open tune (empty if none).
int AliasError(const MusicCommand& command, const std::string& openAlias);

enum class MidiContent { NotMidi, NoNotes, HasNotes };

// What the device learns of a tune before it hands it to the synthesiser.
struct MidiSummary {
    MidiContent Content = MidiContent::NotMidi;
    double LengthMs = 0;         // from the start to the tune's last event, by its tempo map
    int MostNotesTogether = 0;   // notes started within any NotesTogetherMs
    int MostNotesInASecond = 0;  // notes started within any second
};

// Far beyond any real tune (the game's own starts at most 11 notes within 10 ms and 48 within a
// second), and within what the synthesiser plays in real time: 512 notes at once leave it without
// voices, warning once for every note it drops; 16,384 stall it and every call on the mixer for
// seconds.
constexpr double NotesTogetherMs = 10;
constexpr int MostNotesTogether = 128;
constexpr int MostNotesInASecond = 1000;

// Walks the tracks of a standard MIDI file (timed in ticks a quarter note): the notes that sound
// (note-ons with a non-zero velocity), the tempo changes and the end of each track. A track that
// breaks off or goes wrong ends there; what it held before counts.
MidiSummary ScanMidi(std::string_view bytes);
// Why the tune is not handed to the synthesiser, or empty when it may be: not a MIDI file; no note
// (the synthesiser spins forever on a tune without one); more notes at once than it can play.
std::string MidiRefusal(const MidiSummary& tune);
