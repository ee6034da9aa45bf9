// The music device on SDL2_mixer: one tune at a time under its alias, rendered by FluidSynth
// with the system's General MIDI soundfont. It answers the game's commands as the multimedia
// command interface did: a tune plays once and then reports "stopped"; the game restarts it.
#include <SDL_mixer.h>

#include <cstdio>
#include <string>

#include "audio/mix_levels.h"
#include "audio/music_commands.h"
#include "audio/music_device.h"
#include "audio/sdl/mixer.h"
#include "common/file_bytes.h"
#include "platform/answers.h"

namespace {

struct OpenTune {
    std::string Alias;  // empty while no tune is open
    std::string File;   // as the game named it, relative to the current directory
    Mix_Music* Music = nullptr;
    bool Started = false;  // played since it was loaded or rewound
};
OpenTune Tune;

// The game goes on without music; the player is told why once, on the terminal.
int RefuseTune(int error, const std::string& file, const std::string& why) {
    if (CurrentPace() != PlaybackPace::Fastest)  // a replay verified has nothing to hear
        std::fprintf(stderr, "vexlan: no music from %s: %s\n", file.c_str(), why.c_str());
    return error;
}

// Checks what would leave the synthesiser stuck before handing it the file: the file itself and a
// note in it. The soundfont is the mixer's business: it finds the system's General MIDI one
// itself, and fails to load the tune without one.
int CheckTune(const std::string& file) {
    std::string bytes;
    if (ReadFileBytes(file, bytes) != FileRead::Ok)
        return RefuseTune(MusicErrorFileNotFound, file, "the file cannot be read");
    switch (ScanMidi(bytes)) {
        case MidiContent::NotMidi:
            return RefuseTune(MusicErrorInvalidFile, file, "not a MIDI file");
        case MidiContent::NoNotes:
            return RefuseTune(MusicErrorInvalidFile, file, "the tune has no notes");
        case MidiContent::HasNotes:
            break;
    }
    return MusicOk;
}

int OpenTuneFile(const std::string& file, const std::string& alias) {
    if (const int error = CheckTune(file); error != MusicOk) return error;
    std::string why;
    if (!AcquireMixer(why)) return RefuseTune(MusicErrorNoDevice, file, why);
    Mix_Music* music = Mix_LoadMUS(file.c_str());
    if (!music) {
        // The tune passed the check, so what most often fails here is the soundfont.
        const std::string error = Mix_GetError();
        ReleaseMixer();
        return RefuseTune(
            MusicErrorNoDevice, file,
            error + " (is a General MIDI soundfont such as timgm6mb-soundfont installed?)");
    }
    Tune = OpenTune{alias, file, music, false};
    return MusicOk;
}

void CloseTune() {
    Mix_HaltMusic();
    Mix_FreeMusic(Tune.Music);
    ReleaseMixer();
    Tune = OpenTune{};
}

bool TunePlaying() {
    return Tune.Started && Mix_PlayingMusic() && !Mix_PausedMusic();
}

// The mixer cannot rewind a MIDI tune it has begun: started again, it carries on from where it
// was. A tune cut off part-way is therefore swapped for a fresh copy, loaded while the old one
// still holds the soundfont so that the synthesiser reuses its samples.
int RewindTune() {
    if (Tune.Started && Mix_PlayingMusic()) {
        Mix_Music* fresh = Mix_LoadMUS(Tune.File.c_str());
        if (!fresh) {
            const std::string file = Tune.File, error = Mix_GetError();
            CloseTune();
            return RefuseTune(MusicErrorInvalidFile, file, error);
        }
        Mix_HaltMusic();
        Mix_FreeMusic(Tune.Music);
        Tune.Music = fresh;
    }
    Tune.Started = false;
    return MusicOk;
}

int PlayTune() {
    if (!Tune.Started) {
        // Once only: looping inside the mixer is left alone, the game restarts the tune itself.
        Tune.Started = true;
        Mix_VolumeMusic(TuneVolume);
        return Mix_PlayMusic(Tune.Music, 1) == 0 ? MusicOk : MusicErrorNoDevice;
    }
    // Stopped part-way, the tune carries on; played to its end, it stays there until rewound,
    // as the game's device did.
    if (Mix_PausedMusic()) Mix_ResumeMusic();
    return MusicOk;
}

int RunCommand(const MusicCommand& command, std::string* reply) {
    switch (command.Verb) {
        case MusicVerb::Open:
            return OpenTuneFile(command.File, command.Alias);
        case MusicVerb::StatusMode:
            if (reply) *reply = TunePlaying() ? "playing" : "stopped";
            return MusicOk;
        case MusicVerb::SeekToStart:
            return RewindTune();
        case MusicVerb::Play:
            return PlayTune();
        case MusicVerb::Stop:
            if (TunePlaying()) Mix_PauseMusic();
            return MusicOk;
        case MusicVerb::Close:
            CloseTune();
            return MusicOk;
    }
    return MusicErrorUnrecognisedCommand;
}

}  // namespace

int SendMusicCommand(const std::string& text, std::string* reply) {
    const auto command = ParseMusicCommand(text);
    if (!command) return MusicErrorUnrecognisedCommand;
    if (const int error = AliasError(*command, Tune.Alias); error != MusicOk) return error;
    return RunCommand(*command, reply);
}
