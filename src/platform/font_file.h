// Finding a font's file through fontconfig, for the game's text and the window's own. Desktop
// face names that fontconfig does not know are looked up as their metric twins
// ("ＭＳ Ｐゴシック" is IPAPGothic, "ＭＳ ゴシック" IPAGothic).
#pragma once

#include <string>

// The file of the face; exits with a message naming the face and the package to install when
// no usable font exists.
std::string FontFileOrExit(const std::string& faceName);
// The file of the window's own font ("ＭＳ Ｐゴシック"), found once.
const std::string& WindowFontFile();
