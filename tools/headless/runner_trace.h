// One line of the runner's trace: the shared game state as a frame wait begins.
#pragma once

#include <cstdint>
#include <string>

std::string TraceLine(int64_t frame);
std::string JsonString(const std::string& text);
