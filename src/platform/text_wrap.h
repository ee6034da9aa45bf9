// Breaking a message into lines that fit a width, apart from any window: the message boxes lay
// out their text with it, measuring with the window's font.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The lines of `text` (UTF-8), each at most `maxWidth` wide by `widthOf`. A line break in the
// text always breaks; a line too wide breaks after its last blank or '/' that fits, or else
// between two characters (Japanese has no blanks). A character wider than `maxWidth` still gets
// a line of its own, so nothing is ever lost.
std::vector<std::string> WrapText(const std::string& text, int maxWidth,
                                  const std::function<int(const std::string&)>& widthOf);
