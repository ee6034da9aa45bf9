// What the replay list shows and does, without a window: every replay in the replays folder
// read into an entry (what it was, when, and whether it plays here), newest first; keeping one
// under a name of the player's, which the history never removes; deleting one; and the check
// of one, run in a program of its own as `vexlan --verify` runs it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/child_run.h"

// A folder holds the history's 100, the table's 5 and last.vxr; room is left for the player's
// own. Files beyond are not read, so a folder of anything at all is listed in bounded time.
constexpr size_t MaxListedReplays = 400;
// A kept name's length in characters, ".vxr" not counted.
constexpr size_t MaxKeptNameCharacters = 40;

enum class ReplayOrigin { Last, Table, History, Kept };

struct ListedReplay {
    std::string File;  // its name in the folder
    ReplayOrigin Origin = ReplayOrigin::Kept;
    int TablePlace = 0;    // 1 to 5 for the table's
    std::time_t When = 0;  // when the game ended: the history's name says, else the file's time
    bool Read = false;     // it reads as a replay, and the fields below are its own
    uint8_t Difficulty = 0;
    int32_t Score = 0;
    uint32_t Frames = 0;
    std::string Name;     // entered in the game's name dialog, fit to be shown
    std::string Problem;  // why it cannot be played here (as the replay reader says); empty: it can
};

struct ReplayFolderList {
    std::vector<ListedReplay> Replays;  // newest first
    bool Cut = false;                   // more than MaxListedReplays were there
};

// Every regular file of `folder` whose name ends in ".vxr", read with the replay reader's limits;
// folders, FIFOs and devices are passed over, a damaged or foreign file is listed with its problem.
ReplayFolderList ReadReplayFolder(const std::string& folder);

// The file name ("NAME.vxr") a name the player typed keeps a replay under, or empty with
// `problem` saying why not: it must be printable, at most MaxKeptNameCharacters, without "/" or
// "\", not start with ".", and not be one of the game's own names (last.vxr, the table's, the
// history's shape), which the game would overwrite or remove.
std::string KeptReplayFileName(const std::string& typed, std::string& problem);
// Whether a name being typed may stand so far (the name dialog refuses other edits).
bool MayTypeKeptName(const std::string& candidate);
// Keeps `replay` of `folder` under the name typed and returns the file name it is kept under:
// the history's and the player's own are renamed; last.vxr and the table's, which the game
// rewrites, are copied with their time. An existing file is never replaced. Empty with
// `problem` saying why.
std::string KeepReplay(const std::string& folder, const ListedReplay& replay,
                       const std::string& typed, std::string& problem);
// Removes that one file. False with `problem` saying why.
bool DeleteReplay(const std::string& folder, const ListedReplay& replay, std::string& problem);

// What the check of a replay found, from the status of a verifying program and what it wrote
// (its result line, "FILE: ok, score N, ..."; "FILE: out of step at frame F"; "FILE: damaged").
enum class ReplayVerdict { Ok, OutOfStep, CannotPlay };
struct VerifiedReplay {
    ReplayVerdict Verdict = ReplayVerdict::CannotPlay;
    int64_t Frame = 0;  // where it went out of step
    std::string Told;   // the result as the program said it, after "FILE: "
};
VerifiedReplay VerifiedReplayOf(int status, const std::string& output, const std::string& file);

// One check at a time, run by `command` (the verifying program and its arguments, the replay's
// path among them) so that the game here is left as it stands.
class ReplayVerification {
public:
    bool Start(const std::vector<std::string>& command, const std::string& file);
    bool Running() const { return Run.Running(); }
    const std::string& File() const { return Checked; }
    // True once it has ended, with what it found.
    bool Ended(VerifiedReplay& result);
    void Stop() { Run.Stop(); }

private:
    ChildRun Run;
    std::string Checked;
};
