// The few arguments the game answers from a terminal, and the replay it may be asked to play.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/answers.h"

// Answers --version and --help on out, anything else with an error on err. Returns the exit
// status, or nothing when there are no arguments and the game is to start.
std::optional<int> AnswerCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err);

// "--replay FILE [--at FRAME]" or a lone "FILE.vxr" (watched in the window, opening paused at
// FRAME when given), or "--verify FILE" (played back without one).
struct ReplayRequest {
    std::string File;
    PlaybackPace Pace = PlaybackPace::Watching;
    int64_t At = 0;  // 0: from the start, playing
};
std::optional<ReplayRequest> ReplayRequested(const std::vector<std::string>& args);
