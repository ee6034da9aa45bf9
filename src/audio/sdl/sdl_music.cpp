// The music device on SDL2_mixer: one tune at a time under its alias, rendered by FluidSynth
// with the system's General MIDI soundfont. It answers the game's commands as the multimedia
// command interface did: a tune plays once and then reports "stopped"; the game restarts it.
// Nothing the game asks every frame waits on the mixer: whether the tune plays is the device's own
// record, kept by the tune's clock.
// The synthesiser renders the tune once into the cache folder, on a thread of its own, and the
// tune then plays from that file, looping sample-exact; until the rendering is there (the very
// first start) or where it cannot be made, the mixer synthesises it live as it plays.
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/mix_levels.h"
#include "audio/music_commands.h"
#include "audio/music_device.h"
#include "audio/sdl/mixer.h"
#include "audio/sdl/tune_render.h"
#include "audio/volume.h"
#include "audio/volume_backend.h"
#include "common/file_bytes.h"
#include "platform/answers.h"
#include "platform/data_paths.h"

namespace {

// The synthesiser runs somewhat ahead of what the device has played, by how much varies: a margin
// past the tune's last event makes sure it has passed it before the tune is played again.
constexpr double EndMarginMs = 50;

struct OpenTune {
    std::string Alias;           // empty while no tune is open
    std::string File;            // as the game named it, relative to the current directory
    Mix_Music* Music = nullptr;  // synthesised live; none while it plays from its rendering
    double EndMs = 0;            // where its last event has certainly been played
    bool Started = false;        // played since it was loaded or rewound
    bool Paused = false;         // stopped since it was started
    bool Joined = false;       // rewound at its end while the rendering already plays the next loop
    std::string RenderedFile;  // its rendering in the cache, empty when it has none
};
OpenTune Tune;

// The rendering of the tune, made while the game goes on.
struct Renderer {
    std::thread Thread;
    std::atomic<bool> Done{false};  // finished, well or not
    std::atomic<bool> Made{false};  // the file is there
    std::atomic<bool> Cancel{false};
    // A program that exits while the tune is rendered (a fatal error, the display not found)
    // gives the rendering up here: a thread still running at exit would abort the program and
    // leave its partial file behind.
    ~Renderer() {
        Cancel = true;
        if (Thread.joinable()) Thread.join();
    }
};
Renderer Rendering;

// A loop that the game has not restarted this long after its end is let go silent: the game
// always restarts it within a frame or two, unless it no longer wants it.
constexpr double LoopGraceMs = 500;
// Frames read from the file at a time by the audio thread.
constexpr int ReadBlockFrames = 2048;

// The tune playing from its rendering, shared with the audio thread.
struct RenderedPlayback {
    std::mutex Lock;
    int Fd = -1;
    RenderedTune Tune;
    uint64_t Position = 0;   // frames since the top of this play; past LoopFrames, the next loop
    uint64_t StopAt = 0;     // the loop's end and its grace
    bool AfterLoop = false;  // this play joined the last: its tail still rings over the start
    bool Playing = false;
    float Gain = 1;  // the player's music volume
    std::vector<int16_t> Body, Tail;
};
RenderedPlayback Rendered;

bool PlaysRendered() {
    return Rendered.Fd >= 0;
}

// Where the tune is, as a sequencer knows it: the frames of music the mixer has sent to the device
// since the tune started from the top, counted on the audio thread while it plays. The
// synthesiser's time is the same samples', whatever the machine's clock says.
// Played from its rendering, the audio thread's own position is the clock.
struct TuneClock {
    std::atomic<bool> Running{false};
    std::atomic<uint64_t> Frames{0};
    int FrameBytes = 4;  // of the device opened
    int FramesPerSecond = MIX_DEFAULT_FREQUENCY;
};
TuneClock Clock;

// The live synthesiser's frames; a tune held by the window's pause is not played meanwhile.
void CountTuneFrames(void*, Uint8*, int bytes) {
    if (Clock.Running.load(std::memory_order_relaxed) && !Mix_PausedMusic())
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
int CheckTune(const std::string& file, MidiSummary& tune, std::string& bytes) {
    if (ReadFileBytes(file, bytes) != FileRead::Ok)
        return RefuseTune(MusicErrorFileNotFound, file, "the file cannot be read");
    tune = ScanMidi(bytes);
    if (const std::string why = MidiRefusal(tune); !why.empty())
        return RefuseTune(MusicErrorInvalidFile, file, why);
    return MusicOk;
}

// The audio thread's music: the loop read from the file, the last loop's tail added over the
// start of the next, at the player's volume.
void PlayRenderedFrames(void*, Uint8* stream, int bytes) {
    std::lock_guard<std::mutex> lock(Rendered.Lock);
    auto* out = reinterpret_cast<int16_t*>(stream);
    int frames = bytes / RenderedFrameBytes;
    std::fill(out, out + frames * 2, int16_t(0));
    const RenderedTune& tune = Rendered.Tune;
    // The window's pause holds the tune with the mixer's music, which is ours to honour here.
    if (Mix_PausedMusic()) return;
    while (Rendered.Playing && frames > 0) {
        if (Rendered.Position >= Rendered.StopAt) {
            Rendered.Playing = false;
            break;
        }
        const uint64_t at = Rendered.Position % tune.LoopFrames;
        const int count = int(std::min<uint64_t>(
            {uint64_t(frames), uint64_t(ReadBlockFrames), tune.LoopFrames - at}));
        const auto offset = [](uint64_t frame) {
            return off_t(RenderedHeaderBytes + frame * RenderedFrameBytes);
        };
        const size_t size = size_t(count) * RenderedFrameBytes;
        if (pread(Rendered.Fd, Rendered.Body.data(), size, offset(at)) != ssize_t(size)) {
            Rendered.Playing = false;  // the file went away: silence rather than noise
            break;
        }
        int tailCount = 0;
        if ((Rendered.Position >= tune.LoopFrames || Rendered.AfterLoop) && at < tune.TailFrames) {
            tailCount = int(std::min<uint64_t>(uint64_t(count), tune.TailFrames - at));
            const size_t tailSize = size_t(tailCount) * RenderedFrameBytes;
            if (pread(Rendered.Fd, Rendered.Tail.data(), tailSize, offset(tune.LoopFrames + at)) !=
                ssize_t(tailSize))
                tailCount = 0;
        }
        for (int i = 0; i < count * 2; ++i) {
            const float tail = i < tailCount * 2 ? Rendered.Tail[i] : 0;
            const float sample = (Rendered.Body[i] + tail) * Rendered.Gain;
            out[i] = int16_t(std::clamp(sample, -32768.0f, 32767.0f));
        }
        out += count * 2;
        frames -= count;
        Rendered.Position += uint64_t(count);
    }
    Clock.Frames.store(Rendered.Position, std::memory_order_relaxed);
}

float RenderedGain() {
    return float(ScaledVolume(TuneVolume, MusicVolume())) / TuneVolume;
}

// Plays the tune from its rendering from now on, when the file is whole and fits the device.
bool OpenRendered(const std::string& file) {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&frequency, &format, &channels) || format != AUDIO_S16SYS || channels != 2)
        return false;
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    RenderedTune tune;
    if (fd < 0) return false;
    if (!ReadRenderedTune(fd, tune) || tune.FramesPerSecond != frequency) {
        close(fd);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(Rendered.Lock);
        Rendered.Fd = fd;
        Rendered.Tune = tune;
        Rendered.Position = 0;
        Rendered.AfterLoop = false;
        Rendered.StopAt = tune.LoopFrames + uint64_t(LoopGraceMs * frequency / 1000);
        Rendered.Playing = false;
        Rendered.Gain = RenderedGain();
        Rendered.Body.resize(ReadBlockFrames * 2);
        Rendered.Tail.resize(ReadBlockFrames * 2);
    }
    Clock.Running = false;  // the rendering keeps its own time
    Clock.Frames = 0;
    // Outside the lock: the mixer takes the audio thread's, under which the hook takes ours.
    Mix_HookMusic(PlayRenderedFrames, nullptr);
    Mix_ResumeMusic();  // a live tune stopped by the game left the mixer's music paused
    return true;
}

void CloseRendered() {
    if (!PlaysRendered()) return;
    Mix_HookMusic(nullptr, nullptr);
    std::lock_guard<std::mutex> lock(Rendered.Lock);
    close(Rendered.Fd);
    Rendered.Fd = -1;
    Rendered.Playing = false;
    Rendered.Body = {};
    Rendered.Tail = {};
}

void StopRendering() {
    if (!Rendering.Thread.joinable()) return;
    Rendering.Cancel = true;
    Rendering.Thread.join();
}

// Renders the tune into the cache on a thread of its own, unless that cannot be done: then the
// player is told once that it is synthesised live.
void StartRendering(const std::string& file, const std::string& bytes, const MidiSummary& tune,
                    const SynthSetup& setup) {
    std::string why;
    if (!MakeFolderFor(file, why)) {
        std::fprintf(stderr, "vexlan: the tune is synthesised live: %s\n", why.c_str());
        return;
    }
    Rendering.Done = Rendering.Made = Rendering.Cancel = false;
    Rendering.Thread = std::thread([file, bytes, length = tune.LengthMs, setup] {
        std::string why;
        const bool made = RenderTune(bytes, length, setup, file, Rendering.Cancel, why);
        if (!made && !Rendering.Cancel)
            std::fprintf(stderr, "vexlan: the tune is synthesised live: %s\n", why.c_str());
        Rendering.Made = made;
        Rendering.Done = true;
    });
}

// A rendering still to be made: where it goes, and with what synthesiser settings.
struct RenderingToMake {
    std::string File;
    SynthSetup Setup;
};

// Where the tune's rendering is kept, or why it has none; an existing one plays from the start.
// Gives the rendering still to be made, if any.
std::optional<RenderingToMake> ChooseRendering(const std::string& bytes, const MidiSummary& tune) {
    const auto live = [](const std::string& why) {
        std::fprintf(stderr, "vexlan: the tune is synthesised live: %s\n", why.c_str());
    };
    if (tune.LengthMs > LongestRenderedTuneMs) {
        live("it is longer than " + std::to_string(int(LongestRenderedTuneMs / 60000)) +
             " minutes");
        return std::nullopt;
    }
    const std::string folder = CacheFolder();
    if (folder.empty()) {
        live("there is no home folder for its cache");
        return std::nullopt;
    }
    const SynthSetup setup = MixerSynthSetup();
    const std::string file = RenderedTuneFile(folder, bytes, setup);
    if (file.empty()) return std::nullopt;  // an unreadable sound font: the live one says so
    Tune.RenderedFile = file;
    if (OpenRendered(file)) return std::nullopt;
    return RenderingToMake{file, setup};
}

int OpenTuneFile(const std::string& file, const std::string& alias) {
    MidiSummary tune;
    std::string bytes;
    if (const int error = CheckTune(file, tune, bytes); error != MusicOk) return error;
    std::string why;
    if (!AcquireMixer(why)) return RefuseTune(MusicErrorNoDevice, file, why);
    Tune = OpenTune{};
    Tune.Alias = alias;
    Tune.File = file;
    Tune.EndMs = tune.LengthMs + EndMarginMs;
    const std::optional<RenderingToMake> rendering = ChooseRendering(bytes, tune);
    if (!PlaysRendered()) {
        Tune.Music = Mix_LoadMUS(file.c_str());
        if (!Tune.Music) {
            // The tune passed the check, so what most often fails here is the soundfont.
            const std::string error = Mix_GetError();
            ReleaseMixer();
            Tune = OpenTune{};
            return RefuseTune(
                MusicErrorNoDevice, file,
                error + " (is a General MIDI soundfont such as timgm6mb-soundfont installed?)");
        }
    }
    // Only once the live synthesiser is made: FluidSynth sets up its default modulators when
    // its first synthesiser is made, and one made meanwhile on another thread can find them
    // half set up (it warns, and renders the tune without them).
    if (rendering) StartRendering(rendering->File, bytes, tune, rendering->Setup);
    StartClock();
    return MusicOk;
}

void CloseTune() {
    Mix_SetPostMix(nullptr, nullptr);
    Clock.Running = false;
    StopRendering();
    CloseRendered();
    if (Tune.Music) {
        Mix_HaltMusic();
        Mix_FreeMusic(Tune.Music);
    }
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
    if (PlaysRendered()) {
        std::lock_guard<std::mutex> lock(Rendered.Lock);
        // At its end the rendering has gone on into the next loop already, sample-exact: the
        // tune carries on from there as if just restarted.
        Tune.Joined = Tune.Started && !Tune.Paused && PlayedToEnd() && Rendered.Playing &&
                      Rendered.Position >= Rendered.Tune.LoopFrames;
        if (Tune.Joined) {
            Rendered.Position -= Rendered.Tune.LoopFrames;
            Rendered.AfterLoop = true;
        } else {
            Rendered.Playing = false;
            Rendered.Position = 0;
            Rendered.AfterLoop = false;
        }
        Clock.Frames = Rendered.Position;
        Tune.Started = Tune.Paused = false;
        return MusicOk;
    }
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

// Once its rendering is made, the tune plays from it at its next start from the top; the live
// synthesiser goes.
void TakeRendering() {
    if (PlaysRendered() || !Rendering.Done) return;
    Rendering.Thread.join();
    if (!Rendering.Made || !OpenRendered(Tune.RenderedFile)) return;
    Mix_HaltMusic();
    Mix_FreeMusic(Tune.Music);
    Tune.Music = nullptr;
}

int PlayRenderedTune() {
    std::lock_guard<std::mutex> lock(Rendered.Lock);
    if (!Tune.Started) {
        if (!Tune.Joined) {
            Rendered.Position = 0;
            Rendered.AfterLoop = false;
        }
        Tune.Joined = false;
        Clock.Frames = Rendered.Position;
        Tune.Started = true;
    }
    Tune.Paused = false;
    Rendered.Gain = RenderedGain();
    Rendered.Playing = true;
    return MusicOk;
}

int PlayTune() {
    if (!Tune.Started) TakeRendering();
    if (PlaysRendered()) return PlayRenderedTune();
    if (!Tune.Started) {
        // Once only: looping inside the mixer is left alone, the game restarts the tune itself.
        // A tune that did not start reads "stopped", and the game tries again.
        Mix_VolumeMusic(ScaledVolume(TuneVolume, MusicVolume()));
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
    if (PlaysRendered()) {
        std::lock_guard<std::mutex> lock(Rendered.Lock);
        Rendered.Playing = false;
    } else {
        Mix_PauseMusic();
    }
    Tune.Paused = true;
}

}  // namespace

void ApplyMusicVolume() {
    if (Tune.Music) Mix_VolumeMusic(ScaledVolume(TuneVolume, MusicVolume()));
    if (PlaysRendered()) {
        std::lock_guard<std::mutex> lock(Rendered.Lock);
        Rendered.Gain = RenderedGain();
    }
}

namespace {

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
