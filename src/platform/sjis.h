// Conversion between UTF-8 and the Japanese Windows code page (CP932, Shift_JIS).
#pragma once

#include <string>

// Return false when the text cannot be converted (invalid input or a character with no
// counterpart in the other encoding).
bool Cp932ToUtf8(const std::string& cp932, std::string& utf8);
bool Utf8ToCp932(const std::string& utf8, std::string& cp932);
