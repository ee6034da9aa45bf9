#include "audio/volume.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "audio/volume_backend.h"
#include "platform/profile.h"

namespace {

constexpr const char* AudioSection = "audio";
constexpr size_t VolumeTextBytes = 16;

struct Volumes {
    int Music = LoudestVolume;
    int Effects = LoudestVolume;
    bool Kept = false;  // read from data.ini or set: written back at the next save
};
Volumes Current;

// A whole number within 0-100 at its nearest step, or nothing for anything else.
bool ParseVolume(const std::string& text, int& percent) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE) return false;
    percent = VolumeFrom(int(std::clamp<long>(value, 0, LoudestVolume)));
    return true;
}

}  // namespace

int VolumeFrom(int percent) {
    const int clamped = std::clamp(percent, 0, LoudestVolume);
    return (clamped + VolumeStep / 2) / VolumeStep * VolumeStep;
}

int ScaledVolume(int level, int percent) {
    if (level <= 0 || percent <= 0) return 0;
    return std::max(1, (level * percent + LoudestVolume / 2) / LoudestVolume);
}

void ResetVolumes() {
    Current = Volumes{};
}

void SetMusicVolume(int percent) {
    Current.Music = VolumeFrom(percent);
    Current.Kept = true;
    ApplyMusicVolume();
}

int MusicVolume() {
    return Current.Music;
}

void SetEffectsVolume(int percent) {
    Current.Effects = VolumeFrom(percent);
    Current.Kept = true;
    ApplyEffectsVolume();
}

int EffectsVolume() {
    return Current.Effects;
}

void TakeAudioSettingsFrom(const ProfileDocument& settings) {
    Volumes taken;
    for (auto [key, percent] : {std::pair{"music", &taken.Music}, {"effects", &taken.Effects}}) {
        const std::string text = ProfileString(settings, AudioSection, key, "", VolumeTextBytes);
        if (ParseVolume(text, *percent)) taken.Kept = true;
    }
    Current = taken;
    ApplyMusicVolume();
    ApplyEffectsVolume();
}

void PutAudioSettingsInto(ProfileDocument& settings) {
    if (!Current.Kept) return;  // never chosen: data.ini stays as it was
    PutProfileString(settings, AudioSection, "music", std::to_string(Current.Music));
    PutProfileString(settings, AudioSection, "effects", std::to_string(Current.Effects));
}
