// The few arguments the game answers from a terminal. The game itself takes no options.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Answers --version and --help on out, anything else with an error on err. Returns the exit
// status, or nothing when there are no arguments and the game is to start.
std::optional<int> AnswerCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err);
