// Headless sound and music: nothing is heard; every effect started and every music command sent
// is recorded for the tests and the runner's trace.
#include "audio/headless/headless_audio.h"

#include <filesystem>
#include <fstream>
#include <utility>

#include "audio/music_commands.h"
#include "audio/music_device.h"
#include "audio/sound_backend.h"
#include "audio/volume.h"
#include "audio/volume_backend.h"
#include "platform/headless/headless.h"

namespace headless {
namespace {

struct AudioState {
    bool SoundAvailable = true;
    bool SoundOpen = false;
    int NextHandle = 0;
    std::vector<int> PlayedVoices;
    std::vector<std::string> MusicCommands;
    std::vector<std::string> MusicCommandsWithStatus;
    std::string MusicAlias;  // the alias of the open tune; empty when none opened
    bool MusicPlaying = false;
};
AudioState Audio;

}  // namespace

void ResetAudio() {
    Audio = AudioState{};
    ResetVolumes();
}
void SetSoundAvailable(bool available) {
    Audio.SoundAvailable = available;
}
std::vector<int> TakePlayedVoices() {
    return std::exchange(Audio.PlayedVoices, {});
}
std::vector<std::string> TakeMusicCommands(bool includeStatus) {
    auto withStatus = std::exchange(Audio.MusicCommandsWithStatus, {});
    auto withoutStatus = std::exchange(Audio.MusicCommands, {});
    return includeStatus ? withStatus : withoutStatus;
}
bool MusicPlaying() {
    return Audio.MusicPlaying;
}

}  // namespace headless

using headless::Audio;

bool OpenSoundDevice() {
    if (Audio.SoundAvailable) Audio.SoundOpen = true;
    return Audio.SoundOpen;
}

SoundEffect LoadSoundEffect(const std::string& path, int voices) {
    std::ifstream in(path, std::ios::binary);
    char riff[4] = {};
    if (!in || !in.read(riff, 4) || std::string(riff, 4) != "RIFF")
        FatalError("Cannot load the sound " + path + ".");
    SoundEffect effect;
    effect.Count = static_cast<int16_t>(voices);
    effect.LastIndex = 0;
    effect.Handle = Audio.NextHandle++;
    return effect;
}

void RestartVoice(const SoundEffect&, int voice) {
    Audio.PlayedVoices.push_back(voice);
}

void ReleaseSoundEffect(SoundEffect& effect) {
    effect.Handle = -1;
}

void ReleaseSound() {
    Audio.SoundOpen = false;
}

// Nothing sounds, so there is nothing to bring to a new level.
void ApplyMusicVolume() {}
void ApplyEffectsVolume() {}

// The device as the game's tune sees it: "playing" from a play until a stop, a rewind or a
// close; "stopped" otherwise. The file is looked up in the program directory, which the headless
// platform never makes current; any file of that name opens.
int SendMusicCommand(const std::string& text, std::string* reply) {
    Audio.MusicCommandsWithStatus.push_back(text);
    if (text != "status BGM mode") Audio.MusicCommands.push_back(text);

    const auto command = ParseMusicCommand(text);
    if (!command) return MusicErrorUnrecognisedCommand;
    if (const int error = AliasError(*command, Audio.MusicAlias); error != MusicOk) return error;
    if (command->Verb == MusicVerb::Open) {
        const auto file = std::filesystem::path(ProgramDirectory()) / command->File;
        // A path the system cannot follow (a symlink loop, a name too long) is no file either.
        std::error_code unreadable;
        if (!std::filesystem::is_regular_file(file, unreadable)) return MusicErrorFileNotFound;
        Audio.MusicAlias = command->Alias;
        Audio.MusicPlaying = false;
        return MusicOk;
    }
    switch (command->Verb) {
        case MusicVerb::StatusMode:
            if (reply) *reply = Audio.MusicPlaying ? "playing" : "stopped";
            break;
        case MusicVerb::Play:
            Audio.MusicPlaying = true;
            break;
        case MusicVerb::SeekToStart:
        case MusicVerb::Stop:
            Audio.MusicPlaying = false;
            break;
        case MusicVerb::Close:
            Audio.MusicAlias.clear();
            Audio.MusicPlaying = false;
            break;
        case MusicVerb::Open:
            break;  // dealt with above
    }
    return MusicOk;
}
