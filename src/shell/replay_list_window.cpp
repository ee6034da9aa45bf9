#include "shell/replay_list_window.h"

#include <cstdio>
#include <map>

#include "common/text.h"
#include "game/difficulty.h"
#include "platform/answers.h"
#include "platform/data_paths.h"
#include "platform/platform.h"
#include "shell/replay_list.h"
#include "shell/replays.h"

namespace {

constexpr int FramesPerSecond = 20;
constexpr size_t MaxShownFile = 60;  // of a file's name in the line under the list
constexpr const char* ListTitle = "リプレイ一覧";
// The program checking a replay: this one, run again with --verify.
constexpr const char* ThisProgram = "/proc/self/exe";

// What the list holds while it is open; gone when it closes.
struct OpenList {
    std::string Folder;
    ReplayFolderList Read;
    std::map<std::string, VerifiedReplay> Verified;  // by file, for this opening of the list
    ReplayVerification Verifying;
};
OpenList* List = nullptr;

void ReadAgain() {
    List->Read = ReadReplayFolder(List->Folder);
}

const ListedReplay* RowOf(size_t row) {
    return row < List->Read.Replays.size() ? &List->Read.Replays[row] : nullptr;
}

std::string PathOf(const ListedReplay& replay) {
    return List->Folder + "/" + replay.File;
}

std::string ShownFile(const ListedReplay& replay) {
    return PrintableText(replay.File, MaxShownFile);
}

std::string WhenText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// "m:ss", or "h:mm:ss" from an hour.
std::string LengthText(uint32_t frames) {
    const uint32_t seconds = frames / FramesPerSecond;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
    return text;
}

std::string DifficultyText(uint8_t difficulty) {
    const DifficultyValues* values = DifficultyValuesFor(difficulty);
    return values ? values->Name : "?";
}

std::string NameText(const ListedReplay& replay) {
    switch (replay.Origin) {
        case ReplayOrigin::Last:
            return "前回のゲーム";
        case ReplayOrigin::Table:
            return std::to_string(replay.TablePlace) + "位 " + replay.Name;
        case ReplayOrigin::Kept:
            return PrintableText(replay.File.substr(0, replay.File.size() - 4), 16);
        case ReplayOrigin::History:
            break;
    }
    return "";
}

ReplayListRow RowText(const ListedReplay& replay) {
    ReplayListRow row;
    row.When = WhenText(replay.When);
    row.Name = NameText(replay);
    if (replay.Read) {
        row.Difficulty = DifficultyText(replay.Difficulty);
        row.Score = std::to_string(replay.Score);
        row.Length = LengthText(replay.Frames);
    }
    row.State = replay.Problem.empty() ? "再生できる" : "再生できない";
    row.Detail = ShownFile(replay) + (replay.Problem.empty() ? "" : ": " + replay.Problem);
    const auto verified = List->Verified.find(replay.File);
    if (List->Verifying.Running() && List->Verifying.File() == PathOf(replay)) {
        row.State = "確認中...";
    } else if (verified != List->Verified.end()) {
        switch (verified->second.Verdict) {
            case ReplayVerdict::Ok:
                row.State = "ok";
                break;
            case ReplayVerdict::OutOfStep:
                row.State = std::to_string(verified->second.Frame) + " でずれる";
                break;
            case ReplayVerdict::CannotPlay:
                row.State = "再生できない";
                break;
        }
        row.Detail = ShownFile(replay) + ": " + verified->second.Told;
    }
    return row;
}

std::vector<ReplayListRow> Rows() {
    std::vector<ReplayListRow> rows;
    for (const ListedReplay& replay : List->Read.Replays) rows.push_back(RowText(replay));
    return rows;
}

std::string Watch(size_t row) {
    const ListedReplay* replay = RowOf(row);
    if (!replay) return {};
    if (!replay->Problem.empty()) return ShownFile(*replay) + ": " + replay->Problem;
    WatchReplayFile(PathOf(*replay));
    return ShownFile(*replay) + " を別のウィンドウで再生します。";
}

std::string Verify(size_t row) {
    const ListedReplay* replay = RowOf(row);
    if (!replay) return {};
    if (List->Verifying.Running()) return "ほかのリプレイを確認しています。";
    const std::string path = PathOf(*replay);
    List->Verified.erase(replay->File);
    if (!List->Verifying.Start({ThisProgram, "--verify", path}, path))
        return "確認を始められませんでした。";
    return ShownFile(*replay) + " を最初から最後まで確認しています...";
}

bool Polled(std::string& told) {
    VerifiedReplay verified;
    if (!List->Verifying.Ended(verified)) return false;
    const std::string path = List->Verifying.File();
    for (const ListedReplay& replay : List->Read.Replays) {
        if (PathOf(replay) != path) continue;
        List->Verified[replay.File] = verified;
        told = ShownFile(replay) + ": " + verified.Told;
    }
    return true;
}

std::string Keep(size_t row) {
    const ListedReplay* replay = RowOf(row);
    if (!replay) return {};
    // A name the game cannot take is told under the list, with why.
    const std::string typed = InputBox(
        "残す名前 (" + std::to_string(MaxKeptNameCharacters) + " 文字まで):", "名前を付けて残す",
        MayTypeKeptName, nullptr);
    if (typed.empty()) return "取り消しました。";
    std::string problem;
    const ListedReplay kept = *replay;
    const std::string name = KeepReplay(List->Folder, kept, typed, problem);
    if (name.empty()) return problem;
    const auto verified = List->Verified.find(kept.File);
    if (verified != List->Verified.end()) List->Verified[name] = verified->second;
    ReadAgain();
    return PrintableText(name, MaxShownFile) +
           " として残しました。名前を付けたものは消されません。";
}

std::string Remove(size_t row) {
    const ListedReplay* replay = RowOf(row);
    if (!replay) return {};
    if (MessageBox(ShownFile(*replay) + " を削除しますか?", ListTitle, BoxButtons::OkCancel,
                   BoxIcon::Warning) != BoxAnswer::Ok)
        return "取り消しました。";
    std::string problem;
    const ListedReplay removed = *replay;
    if (!DeleteReplay(List->Folder, removed, problem)) return problem;
    List->Verified.erase(removed.File);
    ReadAgain();
    return ShownFile(removed) + " を削除しました。";
}

std::string ShowFolder() {
    std::string reason;
    if (!MakeFolderFor(List->Folder + "/last.vxr", reason)) return reason;
    OpenDocument(List->Folder);
    return {};
}

}  // namespace

void OpenReplayList() {
    const std::string folder = ReplayFolder();
    if (folder.empty()) {
        MessageBox("設定をこの回かぎりにしているので、リプレイは保存されていません。", ListTitle,
                   BoxButtons::Ok, BoxIcon::Information);
        return;
    }
    const AnswersSetAside notTheGames;
    OpenList list{folder, {}, {}, {}};
    List = &list;
    ReadAgain();
    ShowReplayList({Rows, Watch, Verify, Keep, Remove, ShowFolder, Polled});
    List = nullptr;
}
