// How loud the tune and the effects are, as the player sets them: each 0-100 % in steps of 5,
// 100 (the game's own level) unless set, 0 silent. Applied at once to what is sounding, and apart
// from the options screen's music and effect switches, which still say whether they play at all.
// Kept in data.ini's [audio] section as music= and effects=.
#pragma once

struct ProfileDocument;

constexpr int VolumeStep = 5;
constexpr int LoudestVolume = 100;

void SetMusicVolume(int percent);
int MusicVolume();
void SetEffectsVolume(int percent);
int EffectsVolume();

// A percentage as the volumes keep it: within 0-100, at the nearest step of 5.
int VolumeFrom(int percent);
// `level` (a mixer volume) at `percent`: in proportion, never below 1 while both are above 0, so
// that 5 % stays audible.
int ScaledVolume(int level, int percent);

// Back to a fresh program's volumes: 100 both, nothing to write back.
void ResetVolumes();

// [audio] music= and effects= read from the settings (missing or unreadable: 100), and written
// back once they were read from the file or set.
void TakeAudioSettingsFrom(const ProfileDocument& settings);
void PutAudioSettingsInto(ProfileDocument& settings);
