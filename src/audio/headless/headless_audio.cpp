// Headless sound and music: nothing is heard; every effect started and every music command sent
// is recorded for the tests and the runner's trace.
#include <filesystem>
#include <fstream>
#include <utility>

#include "audio/sound_backend.h"
#include "platform/headless/headless.h"
#include "platform/music_device.h"

namespace headless {
namespace {

struct AudioState {
    bool SoundAvailable = true;
    bool SoundOpen = false;
    int NextHandle = 0;
    std::vector<int> PlayedVoices;
    std::vector<std::string> MusicCommands;
    std::vector<std::string> MusicCommandsWithStatus;
    bool MusicOpened = false;  // the device opened its file
    bool MusicPlaying = false;
};
AudioState Audio;

}  // namespace

void ResetAudio() { Audio = AudioState{}; }
void SetSoundAvailable(bool available) { Audio.SoundAvailable = available; }
std::vector<int> TakePlayedVoices() { return std::exchange(Audio.PlayedVoices, {}); }
std::vector<std::string> TakeMusicCommands(bool includeStatus) {
    auto withStatus = std::exchange(Audio.MusicCommandsWithStatus, {});
    auto withoutStatus = std::exchange(Audio.MusicCommands, {});
    return includeStatus ? withStatus : withoutStatus;
}
bool MusicPlaying() { return Audio.MusicPlaying; }

}  // namespace headless

using headless::Audio;

bool InitSound() {
    if (!Audio.SoundAvailable) {
        MessageBox("DirectSoundは利用できません。", "", BoxButtons::Ok, BoxIcon::Warning);
        ReleaseSound();
        return false;
    }
    Audio.SoundOpen = true;
    return true;
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

void RestartVoice(const SoundEffect&, int voice) { Audio.PlayedVoices.push_back(voice); }

void ReleaseSoundEffect(SoundEffect& effect) { effect.Handle = -1; }

void ReleaseSound() { Audio.SoundOpen = false; }

int SendMusicCommand(const std::string& command, std::string* reply) {
    constexpr int MusicError = 263;  // the device or alias is not open
    Audio.MusicCommandsWithStatus.push_back(command);
    if (command != "status BGM mode") Audio.MusicCommands.push_back(command);

    if (command == "Open m_battle.mid Alias BGM") {
        const auto file = std::filesystem::path(ProgramDirectory()) / "m_battle.mid";
        Audio.MusicOpened = std::filesystem::is_regular_file(file);
        Audio.MusicPlaying = false;
        return Audio.MusicOpened ? MusicOk : MusicError;
    }
    if (!Audio.MusicOpened) return MusicError;
    if (command == "status BGM mode") {
        if (reply) *reply = Audio.MusicPlaying ? "playing" : "stopped";
        return MusicOk;
    }
    if (command == "play BGM") {
        Audio.MusicPlaying = true;
        return MusicOk;
    }
    if (command == "seek BGM to start" || command == "stop BGM") {
        Audio.MusicPlaying = false;
        return MusicOk;
    }
    if (command == "Close BGM") {
        Audio.MusicOpened = false;
        Audio.MusicPlaying = false;
        return MusicOk;
    }
    return MusicError;
}
