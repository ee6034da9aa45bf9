#include "shell/replay_list.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "common/file_bytes.h"
#include "common/text.h"
#include "data/replay_file.h"
#include "shell/replay_history.h"
#include "shell/replays.h"
#include "shell/table_replays.h"

namespace {

constexpr const char* ReplayExtension = ".vxr";
constexpr size_t MaxShownName = 16;  // of a name entered in a game, in the list's column

bool IsTableFile(const std::string& name, int& place) {
    for (size_t i = 0; i < TablePlaces; ++i) {
        if (name == TableReplayFile("", i).substr(1)) {
            place = int(i) + 1;
            return true;
        }
    }
    return false;
}

ReplayOrigin OriginOf(const std::string& name, int& place) {
    if (name == "last.vxr") return ReplayOrigin::Last;
    if (IsTableFile(name, place)) return ReplayOrigin::Table;
    if (IsHistoryName(name)) return ReplayOrigin::History;
    return ReplayOrigin::Kept;
}

// The local time a history name begins with ("2026-12-08_14-03-22_..."), or 0.
std::time_t TimeOfHistoryName(const std::string& name) {
    std::tm local{};
    if (std::sscanf(name.c_str(), "%4d-%2d-%2d_%2d-%2d-%2d", &local.tm_year, &local.tm_mon,
                    &local.tm_mday, &local.tm_hour, &local.tm_min, &local.tm_sec) != 6)
        return 0;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    return when == std::time_t(-1) ? 0 : when;
}

std::time_t FileTime(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mtime : 0;
}

// Our data files' digests are read once for each difficulty a listing meets.
using DigestsByDifficulty = std::map<uint8_t, std::vector<DataFileDigest>>;

ListedReplay ListedOf(const std::string& folder, const std::string& name,
                      DigestsByDifficulty& digests) {
    ListedReplay listed;
    listed.File = name;
    listed.Origin = OriginOf(name, listed.TablePlace);
    const std::string path = folder + "/" + name;
    listed.When = listed.Origin == ReplayOrigin::History ? TimeOfHistoryName(name) : 0;
    if (listed.When == 0) listed.When = FileTime(path);
    std::string bytes;
    listed.Problem = ReadReplay(path, bytes);
    Replay replay;
    if (!listed.Problem.empty() || !DecodeReplay(bytes, replay, listed.Problem)) return listed;
    listed.Read = true;
    listed.Difficulty = replay.Difficulty;
    listed.Score = replay.Score;
    listed.Frames = replay.Frames;
    listed.Name = PrintableText(NameEnteredIn(replay), MaxShownName);
    auto ours = digests.find(replay.Difficulty);
    if (ours == digests.end())
        ours = digests.emplace(replay.Difficulty, DigestsOfGame(replay.Difficulty)).first;
    listed.Problem = ProblemPlayingHere(replay, ours->second);
    return listed;
}

bool IsListedName(const std::string& name) {
    return name.size() > std::strlen(ReplayExtension) && name.ends_with(ReplayExtension) &&
           name.front() != '.';
}

// A name the game gives or removes files by.
bool IsGamesOwnName(const std::string& file) {
    int place = 0;
    return OriginOf(file, place) != ReplayOrigin::Kept;
}

// No control character, no mark that turns the text, whole UTF-8, not too long, in one folder.
bool IsPrintableName(const std::string& name) {
    return PrintableText(name, MaxKeptNameCharacters) == name &&
           name.find_first_of("/\\") == std::string::npos;
}

std::string WithoutExtension(const std::string& name) {
    return name.ends_with(ReplayExtension) ? name.substr(0, name.size() - 4) : name;
}

bool IsOneFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

}  // namespace

ReplayFolderList ReadReplayFolder(const std::string& folder) {
    ReplayFolderList list;
    DigestsByDifficulty digests;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code unknown;
        if (!IsListedName(name) || !entry->is_regular_file(unknown)) continue;
        if (list.Replays.size() == MaxListedReplays) {
            list.Cut = true;
            break;
        }
        list.Replays.push_back(ListedOf(folder, name, digests));
    }
    std::sort(list.Replays.begin(), list.Replays.end(),
              [](const ListedReplay& a, const ListedReplay& b) {
                  return a.When != b.When ? a.When > b.When : a.File < b.File;
              });
    return list;
}

std::string KeptReplayFileName(const std::string& typed, std::string& problem) {
    const std::string name = WithoutExtension(std::string(TrimBlanks(typed)));
    if (name.empty())
        problem = "名前がありません。";
    else if (name.find_first_of("/\\") != std::string::npos)
        problem = "名前に / と \\ は使えません。";
    else if (name.front() == '.')
        problem = "名前を . で始めることはできません。";
    else if (std::count_if(name.begin(), name.end(), [](char c) {
                 return !IsUtf8Continuation(c);
             }) > long(MaxKeptNameCharacters))
        problem = "名前は " + std::to_string(MaxKeptNameCharacters) + " 文字までです。";
    else if (!IsPrintableName(name))
        problem = "名前に使えない文字があります。";
    else if (IsGamesOwnName(name + ReplayExtension))
        problem = "ゲームが使う名前です。ほかの名前にしてください。";
    else
        return name + ReplayExtension;
    return {};
}

bool MayTypeKeptName(const std::string& candidate) {
    return candidate.empty() || IsPrintableName(candidate);
}

std::string KeepReplay(const std::string& folder, const ListedReplay& replay,
                       const std::string& typed, std::string& problem) {
    const std::string name = KeptReplayFileName(typed, problem);
    if (name.empty()) return {};
    if (!IsOneFileName(replay.File)) {
        problem = "そのリプレイはありません。";
        return {};
    }
    const std::string from = folder + "/" + replay.File;
    const std::string to = folder + "/" + name;
    // A link there, even one to nothing, is a file there: nothing is written through it.
    struct stat there {};
    if (name == replay.File || lstat(to.c_str(), &there) == 0 || errno != ENOENT) {
        problem = "同じ名前のリプレイがあります。";
        return {};
    }
    if (replay.Origin == ReplayOrigin::History || replay.Origin == ReplayOrigin::Kept) {
        if (std::rename(from.c_str(), to.c_str()) == 0) return name;
        problem = std::strerror(errno);
        return {};
    }
    // The game's own files stay as they are for the game; the copy keeps their time.
    std::string bytes;
    problem = ReadReplay(from, bytes);
    if (!problem.empty()) return {};
    if (!ReplaceFileBytes(to, bytes)) {
        problem = std::strerror(errno);
        return {};
    }
    const timeval times[2] = {{replay.When, 0}, {replay.When, 0}};
    utimes(to.c_str(), times);
    return name;
}

bool DeleteReplay(const std::string& folder, const ListedReplay& replay, std::string& problem) {
    if (!IsOneFileName(replay.File)) {
        problem = "そのリプレイはありません。";
        return false;
    }
    if (std::remove((folder + "/" + replay.File).c_str()) == 0) return true;
    problem = std::strerror(errno);
    return false;
}

VerifiedReplay VerifiedReplayOf(int status, const std::string& output, const std::string& file) {
    VerifiedReplay verified;
    const std::string start = PrintableText(file, MaxShownReplayPath) + ": ";
    const size_t line = output.rfind(start);
    if (line != std::string::npos) {
        const size_t from = line + start.size();
        verified.Told = output.substr(from, output.find('\n', from) - from);
    }
    const std::string outOfStep = "out of step at frame ";
    if (status == 0 && verified.Told.starts_with("ok")) {
        verified.Verdict = ReplayVerdict::Ok;
    } else if (status == 1 && verified.Told.starts_with(outOfStep)) {
        verified.Verdict = ReplayVerdict::OutOfStep;
        verified.Frame = std::atoll(verified.Told.c_str() + outOfStep.size());
    } else if (verified.Told.empty() || status != 2) {
        verified.Told = "the check did not end as a check does";
    }
    return verified;
}

bool ReplayVerification::Start(const std::vector<std::string>& command, const std::string& file) {
    Checked = file;
    return Run.Start(command);
}

bool ReplayVerification::Ended(VerifiedReplay& result) {
    int status = 0;
    if (!Run.Ended(status)) return false;
    result = VerifiedReplayOf(status, Run.Output(), Checked);
    return true;
}
