// The tune rendered once: the same synthesiser, sound fonts and settings that play it live (as
// SDL_mixer sets FluidSynth up) render it into a file of samples in the cache folder, keyed by a
// digest of all three, so that the game plays the loop from the file instead of synthesising it
// in every frame.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// What the synthesiser is given besides the tune.
struct SynthSetup {
    int FramesPerSecond = 44100;
    float Gain = 0;                       // FluidSynth's gain, as the mixer sets it for the tune
    std::vector<std::string> SoundFonts;  // in the order the mixer loads them
};

// The synthesiser as the mixer sets it up for the tune at full volume.
SynthSetup MixerSynthSetup();

// A rendering's file: a short header, then two 16-bit samples a frame. The loop is its first
// LoopFrames frames (the tune to its last event); what follows is the tail its last notes ring
// on for, heard over the start of the next loop.
struct RenderedTune {
    int FramesPerSecond = 0;
    uint64_t LoopFrames = 0;
    uint64_t TailFrames = 0;
};
constexpr int RenderedHeaderBytes = 32;
constexpr int RenderedFrameBytes = 4;

// Longer than any tune a game loops; a longer one is synthesised live rather than filling the
// cache (10 minutes are 106 MB of samples).
constexpr double LongestRenderedTuneMs = 10 * 60 * 1000;

// The cache file for this tune, sound fonts and settings: "tune-<digest>.pcm" in `folder`.
std::string RenderedTuneFile(const std::string& folder, const std::string& midiBytes,
                             const SynthSetup& setup);
// Renders `midiBytes` (`lengthMs` to its last event) into `file`, written beside it and moved
// in place only when whole. Gives up, false with `why`, when `cancel` is set or anything fails.
bool RenderTune(const std::string& midiBytes, double lengthMs, const SynthSetup& setup,
                const std::string& file, const std::atomic<bool>& cancel, std::string& why);
// Reads a rendering's header; false for a file that is not one, or is cut short.
bool ReadRenderedTune(int fd, RenderedTune& tune);
