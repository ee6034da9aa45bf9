// Every game is a replay (data/replay_file.h). A game is recorded from its new-game reset to its
// end; the last one is kept as replays/last.vxr in the folder of the player's data.ini, and each
// entry of the high-score table keeps its game as replays/score1.vxr .. score5.vxr, moving with
// the entry. A replay plays alone in a fresh program: watched in the window, or verified without
// one.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "data/replay_file.h"
#include "platform/answers.h"

// Where the replays of the player's games are kept: "replays" beside the data.ini written; empty
// when settings are kept for the session only, and so are replays.
std::string ReplayFolder();
// The last game's replay goes to `path` instead of replays/last.vxr (the headless runner's
// --record).
void SetLastReplayFile(const std::string& path);

// The menu's command: the replay of a place of the table (1 to 5) in a window of its own, or a
// box saying there is none.
void WatchTableReplay(int place);

// Called just before the new-game reset: what the game starts from, and every answer from here.
void BeginGameRecording();
// The game's stage could not be loaded: there is no game to keep.
void AbandonGameRecording();
// The game has ended with `score` when play ended: saves it as the last game, and with its
// entry when it entered the table (shell/table_replays.h). A failure to save is told once a run;
// the score is kept.
void EndGameRecording(int32_t score);
// At start, with the table read: the table's replays put back with their entries, where a save
// was cut short between data.ini and the replays.
void ArrangeTableReplaysAtStart();

// How much of a replay's path a result line prints.
constexpr size_t MaxShownReplayPath = 1024;

// Plays the replay in `file` in a fresh program and ends the program: with status 0 when it
// played to its end as recorded, 1 when it went out of step, 2 when it is not a replay this game
// can play. Watching opens the window; verifying shows nothing and writes the result line
// ("FILE: ok, score N, difficulty D, F frames") to `report`. Neither writes any file.
// `onGameStart` runs just before the game's reset, again after every seek back. Watched, the
// replay opens paused at frame `openAt` when it is given (platform/watch_control.h); a seek back
// plays the game again from its start, silently up to the frame asked for.
[[noreturn]] void RunReplay(const std::string& file, PlaybackPace pace, std::ostream* report,
                            void (*onGameStart)() = nullptr, int64_t openAt = 0);

// Why the replay in `file` cannot be read, or nothing. Read with a limit on its size, and only
// if it is a regular file: whatever the path names, nothing can wait or fill the memory here.
std::string ReadReplay(const std::string& file, std::string& bytes);
// The game's data files a game at `difficulty` uses, with the digests of ours.
std::vector<DataFileDigest> DigestsOfGame(uint8_t difficulty);
// Why a replay read whole cannot be played here, or nothing: another version of the game, a
// difficulty it does not have, other data files than `ours` (DigestsOfGame).
std::string ProblemPlayingHere(const Replay& replay, const std::vector<DataFileDigest>& ours);

// Nothing recorded or played, nothing told, as the program starts.
void ResetReplays();
