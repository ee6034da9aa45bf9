// The game's entry point.
#include <iostream>

#include "audio/sound.h"
#include "audio/volume.h"
#include "game/state.h"
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/program.h"
#include "shell/replays.h"

int main(int argc, char** argv) {
    // The settings dialog shows and changes the sounds' levels; the explosion lets the effects'
    // level be heard.
    SetSoundLevels({MusicVolume, SetMusicVolume, EffectsVolume, SetEffectsVolume,
                    [] { PlaySound(SoundExplosion); }});
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const std::optional<ReplayRequest> replay = ReplayRequested(args)) {
        const bool verifying = replay->Pace == PlaybackPace::Fastest;
        RunReplay(replay->File, replay->Pace, verifying ? &std::cout : nullptr, nullptr,
                  replay->At);
    }
    const std::optional<int> status = AnswerCommandLine(args, std::cout, std::cerr);
    if (status) return *status;
    Main();
}
