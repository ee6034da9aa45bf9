// Where the game's files are on a Linux machine. The choices are pure functions of a few facts
// about the machine, so that every case can be tried without such a machine; the Locate...
// functions gather the facts of the machine the game runs on.
#pragma once

#include <functional>
#include <string>

// Asks whether a directory (or a file) is there, or may be written, on the machine in question.
using PathQuery = std::function<bool(const std::string& path)>;

// The folder of the game's data files, without a trailing separator: beside the binary when they
// are there (a build, or the game unpacked in a folder of its own); else the installed share
// folder found from where the binary is, with no prefix written in: <prefix>/share/vexlan or
// Debian's games layout <prefix>/share/games/vexlan, for a binary in <prefix>/bin or
// <prefix>/games. With the data nowhere, the folder beside the binary, where a missing file is
// then reported.
std::string ChooseProgramDir(const std::string& binaryDir, const PathQuery& holdsGameData);

// data.ini: where it is read at start and where it is written at exit.
struct SettingsFiles {
    std::string Read;
    std::string Write;
};

struct SettingsFacts {
    std::string ProgramDir;
    bool BesideBinary = false;  // ProgramDir is the binary's own folder, not an installed one
    std::string XdgDataHome;    // the environment's values, empty when unset
    std::string Home;           // $HOME, else the password database's home for the user
    PathQuery Writable;         // for a directory
    PathQuery Exists;           // for a file
};

// A game in a folder of its own keeps data.ini there while the player may write in it. An
// installed game never writes its share folder (not even when run as root, which would hand
// root's scores to every later player as the defaults): data.ini lives in the player's own
// $XDG_DATA_HOME/vexlan/ (~/.local/share/vexlan/ when that is unset or not absolute), and until
// the first save makes it there, the shipped data.ini beside the data files is read instead.
// With no home at all, Write is empty: the settings are kept for the session only.
SettingsFiles ChooseSettingsFiles(const SettingsFacts& facts);

// The real machine's answers: the binary's folder from /proc, the environment, access(2).
std::string LocateProgramDir(const std::string& binaryDir);
SettingsFiles LocateSettingsFiles(const std::string& programDir, const std::string& binaryDir);

// Where the game keeps what it can make again (the rendered tune): $XDG_CACHE_HOME/vexlan/, or
// ~/.cache/vexlan/ when that is unset or not absolute; empty with no home at all.
std::string CacheFolder();

// Makes the folder that is to hold file, with its parents, each made 0700. On failure, reason
// says why.
bool MakeFolderFor(const std::string& file, std::string& reason);
