// The settings and high-score file data.ini, beside the game's data files, or in the player's
// own data folder for an installed game (platform/data_paths.h). A profile file (see
// platform/profile.h): CP932 text with CR LF line ends, one section "[data]", key=value lines.
// Keys, in the order a fresh file gets them:
//   score1, name1, ... score5, name5   the five best scores (plain decimal) and their names
//   Midi        music on: "-1", off: " 0" (read as on whenever its number is not 0)
//   Wav         sound effects, likewise
//   Diffculty   " 1" Easy, " 2" Normal, " 3" Hard (the key's spelling is the file's own)
//   Ver         "1.10", the settings file's own format version (not the program's); never read
// Every value is written padded with blanks to 255 characters. Reading takes the number at the
// start of a value, blanks ignored, rounded half to even; anything after a ";" is a comment.
// Missing keys give score 0, an empty name, music and effects off, difficulty 2.
#pragma once

#include <string>

// Returns the value of key (cut at its first ";", at most 49 bytes). A file or section that is
// not empty replaces the one remembered from the previous read.
std::string ReadIniValue(const std::string& key, const std::string& file,
                         const std::string& section, const std::string& fallback);
// Writes key = value padded with blanks to 255 characters. A file or section that is not empty
// replaces the one remembered from the previous write. A failed write is told to the player in a
// box, naming the file and the reason, once a run.
void WriteIniValue(const std::string& key, const std::string& value, const std::string& file,
                   const std::string& section);

// A name as ReadSettings gives it back once WriteSettings has stored it.
std::string NameAsReadBack(const std::string& name);

// Forgets the file and section remembered by the reader and the writer, and a failure told, as
// the program starts.
void ResetSettingsState();

// From now on WriteSettings writes nothing: a replay being played leaves the player's file alone.
void KeepSettingsUnwritten();

// The high-score table and the settings flags, read at start.
void ReadSettings();
// Whether ReadSettings has run since the program started.
bool SettingsWereRead();
// The high-score table, then Midi, Wav, Diffculty and Ver, written at exit.
void WriteSettings();
