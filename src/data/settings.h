// The settings and high-score file data.ini, section "data".
#pragma once

#include <string>

// Returns the value of key (cut at its first ";", at most 49 bytes). A file or section that is
// not empty replaces the one remembered from the previous read.
std::string ReadIniValue(const std::string& key, const std::string& file,
                         const std::string& section, const std::string& fallback);
// Writes key = value padded with blanks to 255 characters. A file or section that is not empty
// replaces the one remembered from the previous write.
void WriteIniValue(const std::string& key, const std::string& value, const std::string& file,
                   const std::string& section);

// The high-score table and the settings flags, read at start.
void ReadSettings();
// The high-score table, then Midi, Wav, Diffculty and Ver, written at exit.
void WriteSettings();
