// The history of finished games: every game played to its end is kept in the replays folder
// under a name that sorts by the time it ended and says what it was,
// "2026-12-08_14-03-22_normal_3380.vxr"; the newest HistoryLength are kept. Only names of that
// shape are the history's: last.vxr, the table's score1.vxr .. score5.vxr and a replay the
// player kept under a name of their own are never removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

constexpr size_t HistoryLength = 100;

// The file name of a game that ended at `when` (local time), at `difficulty` with `score`.
std::string HistoryName(std::time_t when, uint8_t difficulty, int32_t score);
// Whether `name` (a file name, no folder) is one the history gave.
bool IsHistoryName(const std::string& name);
// The history's files in `folder`, oldest first (their names sort by time).
std::vector<std::string> HistoryFiles(const std::string& folder);
// A name in `folder` for a game ending now that no file holds yet: a second game within the
// same second gets "-2", "-3", ... before ".vxr".
std::string FreeHistoryFile(const std::string& folder, std::time_t when, uint8_t difficulty,
                            int32_t score);
// Removes the oldest history files of `folder` beyond the newest HistoryLength.
void TrimHistory(const std::string& folder);
