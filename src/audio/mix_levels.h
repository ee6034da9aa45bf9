// How loud the tune and the effects are mixed. The mixer adds its channels and cuts whatever
// passes full scale, which turns overlapping explosions into a crackle; so the tune and the
// effects share full scale between them, and the effects' share is divided among the voices
// sounding, so that every voice at once over the tune's loudest moment still fits.
#pragma once

constexpr int FullVolume = 128;  // the mixer's volume scale

// The tune as the MIDI synth renders it peaks at 1.89 times full scale (measured through SDL's
// disk audio driver with the game's sound font, bench/mix_headroom.sh); 2.0 leaves a margin for
// another synth or sound font version.
constexpr double TunePeak = 2.0;
constexpr int TuneVolume = 38;  // of FullVolume: the tune peaks at 0.59 of full scale

// The volume of each effect voice while `voicesSounding` voices (the new one included) play a
// sample whose loudest sample is `samplePeak` of full scale: as loud as fits in what the tune
// leaves.
constexpr int EffectVoiceVolume(int voicesSounding, double samplePeak) {
    const double room = 1.0 - TunePeak * TuneVolume / FullVolume;
    const int volume = int(room * FullVolume / (voicesSounding * samplePeak));
    return volume < FullVolume ? volume : FullVolume;
}
