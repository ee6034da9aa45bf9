#include "audio/sdl/tune_render.h"

#include <SDL_mixer.h>
#include <fcntl.h>
#include <fluidsynth.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "audio/mix_levels.h"

namespace {

constexpr char Magic[8] = {'V', 'X', 'T', 'U', 'N', 'E', '1', '\0'};
// Frames handed to the synthesiser at a time; its timing (events every 64 frames) does not
// depend on it.
constexpr int RenderBlockFrames = 1024;
// The tail rings until it has been silent this long, or for at most TailLongestMs.
constexpr double TailSilenceMs = 100;
constexpr double TailLongestMs = 10000;
// The synthesiser's dither leaves +-1 in silence; this is far below hearing (-72 dB).
constexpr int QuietestSample = 8;

// FNV-1a, 64 bits: a change of tune, sound font or setting changes the file's name.
struct Digest {
    uint64_t Value = 0xcbf29ce484222325ull;
    void Add(const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) Value = (Value ^ bytes[i]) * 0x100000001b3ull;
    }
    void Add(const std::string& text) {
        Add(text.data(), text.size());
        Add("\0", 1);
    }
    bool AddFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        std::vector<char> buffer(1 << 16);
        while (in.read(buffer.data(), std::streamsize(buffer.size())) || in.gcount() > 0)
            Add(buffer.data(), size_t(in.gcount()));
        return true;
    }
};

int CollectSoundFont(const char* path, void* fonts) {
    static_cast<std::vector<std::string>*>(fonts)->push_back(path);
    return 1;
}

void PutLittleEndian(char* at, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = char(value >> (8 * i));
}
uint64_t GetLittleEndian(const char* at, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | uint8_t(at[i]);
    return value;
}

bool WriteAll(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= size_t(written);
    }
    return true;
}

struct FluidDeleter {
    void operator()(fluid_settings_t* p) const { delete_fluid_settings(p); }
    void operator()(fluid_synth_t* p) const { delete_fluid_synth(p); }
    void operator()(fluid_player_t* p) const { delete_fluid_player(p); }
};

bool Silent(const std::vector<int16_t>& block, int frames) {
    for (int i = 0; i < frames * 2; ++i)
        if (std::abs(int(block[i])) >= QuietestSample) return false;
    return true;
}

// A partial rendering is named by the process writing it ("<file>.<pid>.part"); one whose
// process is gone (killed, or the machine switched off while it rendered) is nobody's.
void RemoveAbandonedRenderings(const std::filesystem::path& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() != ".part") continue;
        const std::string writer = path.stem().extension().string();  // ".<pid>"
        if (writer.size() < 2 || writer.find_first_not_of("0123456789", 1) != std::string::npos)
            continue;
        const long pid = std::strtol(writer.c_str() + 1, nullptr, 10);
        if (pid <= 0 || pid == getpid() || kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        std::filesystem::remove(path, error);
    }
}

}  // namespace

SynthSetup MixerSynthSetup() {
    SynthSetup setup;
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels)) setup.FramesPerSecond = frequency;
    // The mixer's MIDI player turns its volume into FluidSynth's gain so: 1.2 at full volume.
    setup.Gain = float(TuneVolume * 1.2 / FullVolume);
    Mix_EachSoundFont(CollectSoundFont, &setup.SoundFonts);
    return setup;
}

std::string RenderedTuneFile(const std::string& folder, const std::string& midiBytes,
                             const SynthSetup& setup) {
    Digest digest;
    digest.Add(Magic, sizeof Magic);
    // Raised where renderings made before may be wrong. 2: one made on a first start could
    // lack FluidSynth's default modulators (made at the same time as the live synthesiser).
    constexpr int RenderingRevision = 2;
    digest.Add(std::to_string(RenderingRevision));
    digest.Add(fluid_version_str());
    digest.Add(std::to_string(setup.FramesPerSecond));
    digest.Add(std::to_string(setup.Gain));
    digest.Add(midiBytes);
    for (const std::string& font : setup.SoundFonts) {
        digest.Add(font);
        if (!digest.AddFile(font)) return "";  // the synthesiser could not load it either
    }
    char name[40];
    std::snprintf(name, sizeof name, "tune-%016" PRIx64 ".pcm", digest.Value);
    return folder + "/" + name;
}

bool RenderTune(const std::string& midiBytes, double lengthMs, const SynthSetup& setup,
                const std::string& file, const std::atomic<bool>& cancel, std::string& why) {
    std::unique_ptr<fluid_settings_t, FluidDeleter> settings(new_fluid_settings());
    if (!settings) return why = "no synthesiser settings", false;
    fluid_settings_setnum(settings.get(), "synth.sample-rate", setup.FramesPerSecond);
    std::unique_ptr<fluid_synth_t, FluidDeleter> synth(new_fluid_synth(settings.get()));
    if (!synth) return why = "no synthesiser", false;
    for (const std::string& font : setup.SoundFonts)
        fluid_synth_sfload(synth.get(), font.c_str(), 1);
    fluid_synth_set_gain(synth.get(), setup.Gain);
    std::unique_ptr<fluid_player_t, FluidDeleter> player(new_fluid_player(synth.get()));
    if (!player ||
        fluid_player_add_mem(player.get(), midiBytes.data(), midiBytes.size()) != FLUID_OK)
        return why = "the synthesiser does not take the tune", false;
    fluid_player_play(player.get());

    // Named by the process: two games started at once each write their own.
    RemoveAbandonedRenderings(std::filesystem::path(file).parent_path());
    const std::string partial = file + "." + std::to_string(getpid()) + ".part";
    const int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return why = partial + ": " + std::strerror(errno), false;
    const auto fail = [&](const std::string& reason) {
        close(fd);
        unlink(partial.c_str());
        why = reason;
        return false;
    };
    char header[RenderedHeaderBytes] = {};
    if (!WriteAll(fd, header, sizeof header)) return fail(partial + ": " + std::strerror(errno));

    const double rate = setup.FramesPerSecond;
    const auto loopFrames = uint64_t(std::llround(lengthMs * rate / 1000));
    const auto tailLongest = std::min<uint64_t>(uint64_t(TailLongestMs * rate / 1000), loopFrames);
    const auto silenceNeeded = uint64_t(TailSilenceMs * rate / 1000);
    std::vector<int16_t> block(RenderBlockFrames * 2);
    uint64_t done = 0, tailFrames = 0, silentFrames = 0;
    while (done < loopFrames + tailLongest) {
        if (cancel.load(std::memory_order_relaxed)) return fail("cancelled");
        const bool inTail = done >= loopFrames;
        const uint64_t end = inTail ? loopFrames + tailLongest : loopFrames;
        const int frames = int(std::min<uint64_t>(RenderBlockFrames, end - done));
        if (fluid_synth_write_s16(synth.get(), frames, block.data(), 0, 2, block.data(), 1, 2) !=
            FLUID_OK)
            return fail("the synthesiser failed");
        if (!WriteAll(fd, block.data(), size_t(frames) * RenderedFrameBytes))
            return fail(partial + ": " + std::strerror(errno));
        done += uint64_t(frames);
        if (!inTail) continue;
        tailFrames += uint64_t(frames);
        silentFrames = Silent(block, frames) ? silentFrames + uint64_t(frames) : 0;
        if (silentFrames >= silenceNeeded) break;
    }
    std::memcpy(header, Magic, sizeof Magic);
    PutLittleEndian(header + 8, uint64_t(setup.FramesPerSecond), 8);
    PutLittleEndian(header + 16, loopFrames, 8);
    PutLittleEndian(header + 24, tailFrames, 8);
    if (pwrite(fd, header, sizeof header, 0) != ssize_t(sizeof header) || fsync(fd) != 0)
        return fail(partial + ": " + std::strerror(errno));
    close(fd);
    if (rename(partial.c_str(), file.c_str()) != 0) {
        why = file + ": " + std::strerror(errno);
        unlink(partial.c_str());
        return false;
    }
    return true;
}

bool ReadRenderedTune(int fd, RenderedTune& tune) {
    char header[RenderedHeaderBytes];
    struct stat status {};
    if (pread(fd, header, sizeof header, 0) != ssize_t(sizeof header) || fstat(fd, &status) != 0 ||
        std::memcmp(header, Magic, sizeof Magic) != 0)
        return false;
    tune.FramesPerSecond = int(GetLittleEndian(header + 8, 8));
    tune.LoopFrames = GetLittleEndian(header + 16, 8);
    tune.TailFrames = GetLittleEndian(header + 24, 8);
    const uint64_t frames = tune.LoopFrames + tune.TailFrames;
    return tune.LoopFrames > 0 && tune.TailFrames <= tune.LoopFrames &&
           uint64_t(status.st_size) == RenderedHeaderBytes + frames * RenderedFrameBytes;
}
