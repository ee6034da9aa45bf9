// One line of the runner's trace: the shared game state as a frame wait begins.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/text.h"

std::string TraceLine(int64_t frame);
// One line of the runner's text list: "FRAME X Y COLOUR SIZE TEXT", the colour as six hex
// digits (0xBBGGRR), the text to the end of the line.
std::string TextLine(int64_t frame, const DrawnText& text);
std::string JsonString(const std::string& text);
