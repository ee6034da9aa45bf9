#include "shell/replays.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <utility>

#include "audio/music_device.h"
#include "audio/sound.h"
#include "common/file_bytes.h"
#include "common/hash.h"
#include "common/text.h"
#include "common/version.h"
#include "data/init.h"
#include "data/replay_file.h"
#include "data/settings.h"
#include "game/boss.h"
#include "game/bullets.h"
#include "game/difficulty.h"
#include "game/motion.h"
#include "game/player.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/platform.h"
#include "platform/watch_control.h"
#include "screens/events.h"
#include "shell/game_reset.h"
#include "shell/main_loop.h"
#include "shell/main_window.h"
#include "shell/replay_history.h"
#include "shell/table_replays.h"

namespace {

// What is printed or shown of a replay's own texts and of the path it was opened by.
constexpr size_t MaxShownName = 40;

// The game being recorded.
struct Recording {
    bool Active = false;
    Replay Game;
};
// The replay being played, and where its result goes.
struct Playback {
    std::string File;  // as the user gave it, fit to be printed
    Replay Game;
    std::ostream* Report = nullptr;
    bool BossSeen = false;  // the boss's first frame is known
    int EndStatus = 0;      // what a close from outside ends with: the result's once it is told
};

// Everything of the replays that lives for the run; reset as one.
struct ReplaysRecord {
    Recording Recorded;
    Playback Played;
    std::string LastReplayFile;    // where the last game goes instead of replays/last.vxr
    bool SaveFailureTold = false;  // a failing save is told once a run
};
ReplaysRecord Replays;

// The pictures a game draws and the stage script it plays, named as the game names them: a
// replay made with other files is refused rather than played wrong.
std::vector<std::string> DataFilesOfGame(uint8_t difficulty) {
    std::vector<std::string> names;
    if (const DifficultyValues* values = DifficultyValuesFor(difficulty))
        names.push_back("\\teki_" + std::string(values->StageLetter) + ".dat");
    for (const char* picture :
         {"\\l_backs.bmp", "\\l_baku.bmp", "\\l_tama1234.bmp", "\\l_tama5.bmp", "\\l_tama6.bmp",
          "\\l_tamaMe.bmp", "\\l_jiki.bmp", "\\l_boss1.bmp", "\\l_teki1.bmp", "\\l_teki2.bmp",
          "\\l_teki3.bmp", "\\l_teki4.bmp", "\\l_teki5.bmp", "\\l_teki6.bmp", GameOverPictureFile})
        names.emplace_back(picture);
    names.insert(names.end(), std::begin(EndingPictureFiles), std::end(EndingPictureFiles));
    return names;
}

CarriedState CarriedNow() {
    CarriedState c;
    c.ShipHP = Player.HP;
    c.Player = PlayerCarriedOver;
    c.Bullets = BulletsCarriedOver;
    c.Boss = BossCarriedOver;
    c.Streaks = Streaks;
    c.RandomState = RandomState();
    c.FrameSlot = LastFrameSlotReached();
    c.Fps = FpsCounterState();
    return c;
}

void ApplyCarried(const CarriedState& c) {
    Player.HP = c.ShipHP;
    PlayerCarriedOver = c.Player;
    BulletsCarriedOver = c.Bullets;
    BossCarriedOver = c.Boss;
    Streaks = c.Streaks;
    SetRandomState(c.RandomState);
    SetLastFrameSlot(c.FrameSlot);
    SetFpsCounterState(c.Fps);
}

TableEntries TableNow() {
    TableEntries table;
    std::copy_n(HighScoreTable.begin(), TablePlaces, table.begin());
    return table;
}

// Everything that moves or counts on the field, field by field (records have padding).
uint64_t GameStateHash() {
    uint64_t hash = HashStart;
    auto add = [&hash](auto value) { hash = HashBytes(&value, sizeof value, hash); };
    add(GameMode), add(StageTimer), add(Score);
    add(Player.X), add(Player.Y), add(Player.DX), add(Player.DY), add(Player.HP);
    add(Player.State);
    for (const auto* table : {&PlayerShots, &EnemyBullets}) {
        for (const BulletRecord& b : *table) {
            add(b.X), add(b.Y), add(b.DX), add(b.DY), add(b.Frame), add(b.Active);
        }
    }
    for (const EnemyRecord& e : Enemies) {
        add(e.X), add(e.Y), add(e.HP), add(e.Sprite), add(e.FireCode), add(e.Active);
        add(e.Exploding);
    }
    for (const StreakRecord& s : Streaks) add(s.X), add(s.Y), add(s.Life);
    add(BossFight.BossX), add(BossFight.BossY), add(BossCarriedOver.BossDX),
        add(BossCarriedOver.BossDY), add(BossFight.BossHP), add(BossFight.BossPhase);
    add(BossFight.BossAttack), add(BossCarriedOver.BossDeathTimer),
        add(BossCarriedOver.HomingPickCount);
    for (const DebrisRecord& d : BossCarriedOver.BossDebris) {
        add(d.X), add(d.Y), add(d.DX), add(d.DY), add(d.Life), add(d.Frame), add(d.Active);
    }
    add(PlayerCarriedOver.FireCooldown), add(PlayerCarriedOver.BlinkCounter),
        add(BulletsCarriedOver.BounceCounter), add(RandomState());
    return hash;
}

ReplayCheck CheckNow() {
    return {static_cast<uint32_t>(AnswerFrames()),
            Score,
            Player.X,
            Player.Y,
            Player.HP,
            GameStateHash()};
}

bool CheckFrame() {
    return AnswerFrames() % ReplayCheckInterval == 0;
}

void KeepCheck() {
    if (CheckFrame()) Replays.Recorded.Game.Checks.push_back(CheckNow());
}

void TellSaveFailure(const std::string& file, const std::string& reason) {
    if (Replays.SaveFailureTold) return;
    Replays.SaveFailureTold = true;
    MessageBox("The replay of this game could not be saved to " + file + ": " + reason + ".", "",
               BoxButtons::Ok, BoxIcon::Warning);
}

bool SaveReplay(const std::string& file, const std::string& bytes) {
    std::string reason;
    if (!MakeFolderFor(file, reason)) {
        TellSaveFailure(file, reason);
        return false;
    }
    if (ReplaceFileBytes(file, bytes)) return true;
    TellSaveFailure(file, std::strerror(errno));
    return false;
}

// The table's replays as the table now stands, the new entry's game among them.
void ArrangeTableReplaysWith(const std::string& bytes) {
    std::string file = TableReplayFile(ReplayFolder(), 0);
    std::string reason;
    if (!bytes.empty() && !MakeFolderFor(file, reason))
        TellSaveFailure(file, reason);
    else if (!ArrangeTableReplays(ReplayFolder(), TableNow(), bytes, file, reason))
        TellSaveFailure(file, reason);
}

[[noreturn]] void ReportOutOfStep(int64_t frame);

// The frame being played has ended: its check, if it has one, must be the recorded one. The
// watcher learns where the boss arrives once the game has got there.
void CheckPlayedFrame() {
    if (AnswerFrames() > Replays.Played.Game.Frames) ReportOutOfStep(AnswerFrames());
    if (GameMode == ModeBoss && !Replays.Played.BossSeen) {
        Replays.Played.BossSeen = true;
        SetWatchedBossFrame(AnswerFrames() + 1);
    }
    if (!CheckFrame()) return;
    const size_t index = size_t(AnswerFrames() / ReplayCheckInterval) - 1;
    const auto& checks = Replays.Played.Game.Checks;
    if (index >= checks.size() || !(checks[index] == CheckNow())) ReportOutOfStep(AnswerFrames());
}

[[noreturn]] void Finish(int status, const std::string& result) {
    Replays.Played.EndStatus = status;
    if (Replays.Played.Report) {
        *Replays.Played.Report << Replays.Played.File << ": " << result << "\n";
        Replays.Played.Report->flush();
    } else if (status != 0) {
        MessageBox(Replays.Played.File + ": " + result + ".", AppTitle, BoxButtons::Ok,
                   status == 1 ? BoxIcon::Warning : BoxIcon::Error);
    }
    EndProgram(status);
}

void ApplyStart(const Replay& replay) {
    Difficulty = replay.Difficulty;
    MidiOn = ToBool16(replay.MusicOn);
    WavOn = ToBool16(replay.EffectsOn);
    std::copy(replay.Table.begin(), replay.Table.end(), HighScoreTable.begin());
    HighScoreTable[TablePlaces] = {};
    ApplyCarried(replay.Carried);
}

// Each of the game's data files named once, with the digest of ours; "damaged" for a list the
// game cannot have written, or nothing.
std::string ProblemWithFiles(const std::vector<DataFileDigest>& theirs,
                             const std::vector<DataFileDigest>& ours) {
    std::vector<bool> named(ours.size(), false);
    for (const DataFileDigest& file : theirs) {
        if (file.Name.size() < 2 || file.Name.front() != '\\') return "damaged";
        const auto mine = std::find_if(ours.begin(), ours.end(),
                                       [&file](const auto& our) { return our.Name == file.Name; });
        if (mine == ours.end())
            return "made with other data (" + PrintableText(file.Name.substr(1), MaxShownName) +
                   ")";
        if (named[size_t(mine - ours.begin())]) return "damaged";
        named[size_t(mine - ours.begin())] = true;
        if (mine->Digest != file.Digest)
            return "made with other data (" + file.Name.substr(1) + ")";
    }
    if (theirs.size() != ours.size()) return "made with other data";
    return {};
}

// Why the replay cannot be played here, or nothing.
std::string ProblemWith(const std::string& bytes, Replay& replay) {
    std::string problem;
    if (!DecodeReplay(bytes, replay, problem)) return problem;
    return ProblemPlayingHere(replay, DigestsOfGame(replay.Difficulty));
}

void EndWatching() {
    EndProgram(Replays.Played.EndStatus);
}

// A replay plays in a program that writes nothing.
void PrepareToPlay() {
    ProgramDir = ProgramDirectory();
    ChangeDirectory(ProgramDir);
    SetWindowHandlers({EndWatching, mnuReadMe_Click, mnuAbout_Click});
    KeepSettingsUnwritten();
}

[[noreturn]] void PlayFromStart(void (*onGameStart)());
void StartAgain();

void ReportOutOfStep(int64_t frame) {
    Finish(1, "out of step at frame " + std::to_string(frame));
}

}  // namespace

std::vector<DataFileDigest> DigestsOfGame(uint8_t difficulty) {
    std::vector<DataFileDigest> digests;
    for (const std::string& name : DataFilesOfGame(difficulty)) {
        std::string bytes;
        const bool read = ReadFileBytes(GameFile(name), bytes) == FileRead::Ok;
        digests.push_back({name, read ? HashText(bytes) : 0});
    }
    return digests;
}

std::string ProblemPlayingHere(const Replay& replay, const std::vector<DataFileDigest>& ours) {
    if (replay.GameVersion != GameVersion)
        return "a replay of version " + PrintableText(replay.GameVersion, MaxShownName) +
               "; this is version " + GameVersion;
    if (!DifficultyValuesFor(replay.Difficulty)) return "damaged";
    return ProblemWithFiles(replay.Files, ours);
}

std::string ReadReplay(const std::string& file, std::string& bytes) {
    switch (ReadRegularFileBytes(file, bytes, MaxReplayFileBytes)) {
        case FileRead::Ok:
            return {};
        case FileRead::NotAFile:
            return "not a file";
        case FileRead::TooLarge:
            return "too large for a replay";
        case FileRead::Missing:
        case FileRead::Failed:
            break;
    }
    return "cannot be read";
}

std::string ReplayFolder() {
    const std::string settings = SettingsFilesFor(ProgramDir).Write;
    if (settings.empty()) return "";
    const size_t slash = settings.find_last_of('/');
    return (slash == std::string::npos ? std::string(".") : settings.substr(0, slash)) + "/replays";
}

void WatchTableReplay(int place) {
    const std::string file = TableReplayFile(ReplayFolder(), size_t(place - 1));
    std::error_code unknown;
    if (std::filesystem::is_regular_file(file, unknown)) {
        WatchReplayFile(file);
        return;
    }
    MessageBox("There is no replay of place " + std::to_string(place) +
                   " of the table: only games played since replays are kept have one.",
               AppTitle, BoxButtons::Ok, BoxIcon::Information);
}

void ArrangeTableReplaysAtStart() {
    const std::string folder = ReplayFolder();
    if (folder.empty()) return;
    // The last game may be the new entry's whose save was cut short before its file was made.
    std::string last;
    ReadRegularFileBytes(folder + "/last.vxr", last, MaxReplayFileBytes);
    ArrangeTableReplaysWith(last);
}

void SetLastReplayFile(const std::string& path) {
    Replays.LastReplayFile = path;
}

void BeginGameRecording() {
    Replays.Recorded = Recording{};
    Replays.Recorded.Active = true;
    Replay& game = Replays.Recorded.Game;
    game.GameVersion = GameVersion;
    game.Difficulty = Difficulty;
    game.MusicOn = MidiOn != False16;
    game.EffectsOn = WavOn != False16;
    game.Table = TableNow();
    game.Carried = CarriedNow();
    game.Files = DigestsOfGame(Difficulty);
    SetAnswerHandlers({KeepCheck, nullptr});
    StartRecordingAnswers();
}

void AbandonGameRecording() {
    StopRecordingAnswers();
    Replays.Recorded = Recording{};
}

void EndGameRecording(int32_t score) {
    if (!Replays.Recorded.Active) return;
    Replay& game = Replays.Recorded.Game;
    game.Frames = static_cast<uint32_t>(AnswerFrames());
    game.Score = score;
    game.AnswerStream = StopRecordingAnswers();
    const std::string bytes = EncodeReplay(game);
    const std::string folder = ReplayFolder();
    if (!Replays.LastReplayFile.empty() || !folder.empty())
        SaveReplay(Replays.LastReplayFile.empty() ? folder + "/last.vxr" : Replays.LastReplayFile,
                   bytes);
    if (!folder.empty()) {
        ArrangeTableReplaysWith(bytes);
        if (SaveReplay(FreeHistoryFile(folder, std::time(nullptr), game.Difficulty, score), bytes))
            TrimHistory(folder);
    }
    Replays.Recorded = Recording{};
}

void RunReplay(const std::string& file, PlaybackPace pace, std::ostream* report,
               void (*onGameStart)(), int64_t openAt) {
    SetPace(pace);
    Replays.Played = {PrintableText(file, MaxShownReplayPath), {}, report};
    // Read where the user named it, before the program moves into its own folder.
    std::string bytes;
    std::string problem = ReadReplay(file, bytes);
    PrepareToPlay();
    if (pace == PlaybackPace::Watching) {
        KeepWindowSettings();
        OpenMainWindow(AppTitle, FieldWidth, FieldHeight);
    }
    if (problem.empty()) problem = ProblemWith(bytes, Replays.Played.Game);
    if (!problem.empty()) Finish(2, problem);

    Form_Load();
    if (pace == PlaybackPace::Watching)
        BeginWatching(Replays.Played.Game.Frames, StageLength + 1, openAt);
    for (;;) {
        try {
            PlayFromStart(onGameStart);
        } catch (const WatchRestart&) {
            StartAgain();
        }
    }
}

namespace {

void PlayFromStart(void (*onGameStart)()) {
    const int32_t clearColour = InitialiseOnce();
    ApplyStart(Replays.Played.Game);
    if (onGameStart) onGameStart();
    SetAnswerHandlers({CheckPlayedFrame, ReportOutOfStep});
    // A copy: the watcher may play the game again from its start.
    StartPlayingAnswers(Replays.Played.Game.AnswerStream);
    if (!NewGame()) Finish(2, "damaged");
    const int32_t score = PlayGame(clearColour);
    const int64_t frames = AnswerFrames();
    const bool whole = StopPlayingAnswers();
    if (!whole || frames != Replays.Played.Game.Frames || score != Replays.Played.Game.Score)
        ReportOutOfStep(frames);
    Finish(0, "ok, score " + std::to_string(score) + ", difficulty " +
                  std::to_string(Replays.Played.Game.Difficulty) + ", " + std::to_string(frames) +
                  " frames");
}

// The watcher went back: the program as it stood before the game's first play, with its window
// and the tune's device open, and the replay it plays.
void StartAgain() {
    Playback played = std::move(Replays.Played);
    const PlaybackPace pace = CurrentPace();
    ReleaseSoundEffect(SoundExplosion);
    // The tune starts again with the game, as it did the first time.
    SendMusicCommand("stop BGM");
    ResetGameModules();
    ResetAnswers();
    SetPace(pace);
    Replays.Played = std::move(played);
    PrepareToPlay();
    WatchRestarted();
}

}  // namespace

void ResetReplays() {
    Replays = {};
    ResetAnswers();
}
