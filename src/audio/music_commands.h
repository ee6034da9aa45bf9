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

// Walks the tracks of a standard MIDI file looking for a note that sounds (a note-on with a
// non-zero velocity). The synthesiser spins forever on a tune without one, so such a tune is
// never handed to it. A track that breaks off or goes wrong ends the search in that track.
MidiContent ScanMidi(std::string_view bytes);
