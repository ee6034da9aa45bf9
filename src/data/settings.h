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
// Missing keys give score 0, an empty name, music and effects off, difficulty 2. A section
// "[window]" holds the window's size and mode (platform.h), "[audio]" the music and effects
// volumes, music= and effects=, 0-100 (audio/volume.h). The file is read once, at its first
// use in a run; a save replaces it once, whole. One over 1 MB is neither read nor replaced.
#pragma once

#include <string>

// Returns the value of key (cut at its first ";", at most 49 bytes). A file or section that is
// not empty replaces the one remembered from the previous read. A file is read at its first use
// in a run; later reads and writes act on what was read.
std::string ReadIniValue(const std::string& key, const std::string& file,
                         const std::string& section, const std::string& fallback);
// Sets key = value padded with blanks to 255 characters; the file changes at the next
// SaveIniFiles. A file or section that is not empty replaces the one remembered from the previous
// write. A failure is told to the player in a box, naming the file and the reason, once a run.
void WriteIniValue(const std::string& key, const std::string& value, const std::string& file,
                   const std::string& section);
// Replaces each file that WriteIniValue changed since its last save, once.
void SaveIniFiles();

// A name as ReadSettings gives it back once WriteSettings has stored it.
std::string NameAsReadBack(const std::string& name);

// Forgets the files read, the file and section remembered by the reader and the writer, and a
// failure told, as the program starts.
void ResetSettingsState();

// From now on WriteSettings writes nothing: a replay being played leaves the player's file alone.
void KeepSettingsUnwritten();

// The window's size and mode, and the keys and pad buttons behind the player's actions, are kept
// in data.ini too: read now, before the window opens, and saved with every WriteSettings.
void KeepWindowSettings();

// The high-score table and the settings flags, read at start. Without a folder of the player's
// own to save in, says once that this session's settings will not be kept.
void ReadSettings();
// Whether ReadSettings has run since the program started.
bool SettingsWereRead();
// The high-score table, then Midi, Wav, Diffculty and Ver, and the window's keys: one save.
void WriteSettings();
