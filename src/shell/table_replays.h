// The replays of the high-score table: replays/score1.vxr .. score5.vxr, each the game of its
// place's entry. data.ini and the five files cannot be replaced at once, so each file is taken
// for what it holds, not for its name: the game's final score and the name entered in it say
// whose it is. A save that was killed half-way leaves every game in one of the files, and the
// next arrangement puts each back at its entry's place.
#pragma once

#include <array>
#include <string>

#include "game/state.h"

constexpr size_t TablePlaces = 5;
using TableEntries = std::array<HighScoreEntry, TablePlaces>;

struct Replay;

// The name entered in the game's name dialog (empty: none).
std::string NameEnteredIn(const Replay& replay);

// The file of a place of the table (0 to 4) in `folder`.
std::string TableReplayFile(const std::string& folder, size_t place);

// Makes each place's file the replay of its entry: one already in the folder's table files, or
// `newGame` (a replay's bytes; empty for none), or, where there is none, no file. A file that
// cannot be read as a replay (of another format, damaged) stays where it is unless its place's
// own replay is found; a replay that belongs to no entry is removed. Files are moved by renames
// only, each game in exactly one file at every moment. Returns false when a file could not be
// moved, written or removed, with the first such file and why.
bool ArrangeTableReplays(const std::string& folder, const TableEntries& table,
                         const std::string& newGame, std::string& failedFile, std::string& reason);
