// The music device on SDL2_mixer: one tune at a time under its alias, rendered by FluidSynth
// with the system's General MIDI soundfont. It answers the game's commands as the multimedia
// command interface did: a tune plays once and then reports "stopped"; the game restarts it.
// Nothing the game asks every frame waits on the mixer: whether the tune plays is the device's own
// record, kept by the tune's clock.
#include <SDL_mixer.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "audio/mix_levels.h"
#include "audio/music_commands.h"
#include "audio/music_device.h"
#include "audio/sdl/mixer.h"
#include "common/file_bytes.h"
#include "platform/answers.h"

namespace {

// The synthesiser runs somewhat ahead of what the device has played, by how much varies: a margin
// past the tune's last event makes sure it has passed it before the tune is played again.
constexpr double EndMarginMs = 50;

struct OpenTune {
    std::string Alias;  // empty while no tune is open
    std::string File;   // as the game named it, relative to the current directory
    Mix_Music* Music = nullptr;
    double EndMs = 0;      // where its last event has certainly been played
    bool Started = false;  // played since it was loaded or rewound
    bool Paused = false;   // stopped since it was started
};
OpenTune Tune;

// Where the tune is, as a sequencer knows it: the frames of music the mixer has sent to the device
// since the tune started from the top, counted on the audio thread while it plays. The
// synthesiser's time is the same samples', whatever the machine's clock says.
struct TuneClock {
    std::atomic<bool> Running{false};
    std::atomic<uint64_t> Frames{0};
    int FrameBytes = 4;  // of the device opened
    int FramesPerSecond = MIX_DEFAULT_FREQUENCY;
};
TuneClock Clock;

void CountTuneFrames(void*, Uint8*, int bytes) {
    if (Clock.Running.load(std::memory_order_relaxed))
        Clock.Frames.fetch_add(uint64_t(bytes / Clock.FrameBytes), std::memory_order_relaxed);
}

void StartClock() {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels)) {
        Clock.FrameBytes = channels * SDL_AUDIO_BITSIZE(format) / 8;
        Clock.FramesPerSecond = frequency;
    }
    Mix_SetPostMix(CountTuneFrames, nullptr);
}

double PlayedMs() {
    return double(Clock.Frames.load(std::memory_order_relaxed)) * 1000 / Clock.FramesPerSecond;
}

// The game goes on without music; the player is told why once, on the terminal.
int RefuseTune(int error, const std::string& file, const std::string& why) {
    if (CurrentPace() != PlaybackPace::Fastest)  // a replay verified has nothing to hear
        std::fprintf(stderr, "vexlan: no music from %s: %s\n", file.c_str(), why.c_str());
    return error;
}

// Checks what would leave the synthesiser stuck before handing it the file: the file itself, a
// note in it, and no more notes at once than it can play. The soundfont is the mixer's business:
// it finds the system's General MIDI one itself, and fails to load the tune without one.
int CheckTune(const std::string& file, MidiSummary& tune) {
    std::string bytes;
    if (ReadFileBytes(file, bytes) != FileRead::Ok)
        return RefuseTune(MusicErrorFileNotFound, file, "the file cannot be read");
    tune = ScanMidi(bytes);
    if (const std::string why = MidiRefusal(tune); !why.empty())
        return RefuseTune(MusicErrorInvalidFile, file, why);
    return MusicOk;
}

int OpenTuneFile(const std::string& file, const std::string& alias) {
    MidiSummary tune;
    if (const int error = CheckTune(file, tune); error != MusicOk) return error;
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
    Tune = OpenTune{alias, file, music, tune.LengthMs + EndMarginMs};
    StartClock();
    return MusicOk;
}

void CloseTune() {
    Mix_SetPostMix(nullptr, nullptr);
    Clock.Running = false;
    Mix_HaltMusic();
    Mix_FreeMusic(Tune.Music);
    ReleaseMixer();
    Tune = OpenTune{};
}

// Played to its last event, as a sequencer reports it: its last notes may still ring on.
bool PlayedToEnd() {
    return Tune.Started && PlayedMs() >= Tune.EndMs;
}

bool TunePlaying() {
    return Tune.Started && !Tune.Paused && !PlayedToEnd();
}

// Played to its end, the synthesiser starts the tune again from the top. Stopped part-way, the
// mixer cannot rewind it: started again, it carries on from where it was. Such a tune is swapped
// for a fresh copy, loaded while the old one still holds the soundfont so that the synthesiser
// reuses its samples.
int RewindTune() {
    Clock.Running = false;
    if (Tune.Started && !PlayedToEnd()) {
        Mix_Music* fresh = Mix_LoadMUS(Tune.File.c_str());
        if (!fresh) {
            const std::string file = Tune.File, error = Mix_GetError();
            CloseTune();
            return RefuseTune(MusicErrorInvalidFile, file, error);
        }
        Mix_HaltMusic();
        Mix_FreeMusic(Tune.Music);
        Tune.Music = fresh;
    } else if (Tune.Started) {
        Mix_HaltMusic();  // its last notes ringing
    }
    Tune.Started = Tune.Paused = false;
    return MusicOk;
}

int PlayTune() {
    if (!Tune.Started) {
        // Once only: looping inside the mixer is left alone, the game restarts the tune itself.
        // A tune that did not start reads "stopped", and the game tries again.
        Mix_VolumeMusic(TuneVolume);
        Clock.Frames = 0;
        if (Mix_PlayMusic(Tune.Music, 1) != 0) return MusicErrorNoDevice;
        Tune.Started = true;
        Clock.Running = true;
        return MusicOk;
    }
    // Stopped part-way, the tune carries on; played to its end, it stays there until rewound,
    // as the game's device did.
    if (Tune.Paused) {
        Mix_ResumeMusic();
        Tune.Paused = false;
        Clock.Running = true;
    }
    return MusicOk;
}

// Silences the notes still ringing after the tune's end too.
void StopTune() {
    if (!Tune.Started || Tune.Paused) return;
    Clock.Running = false;
    Mix_PauseMusic();
    Tune.Paused = true;
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
            StopTune();
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
