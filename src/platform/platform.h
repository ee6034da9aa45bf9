// The operating-system services the game uses: the window, the keyboard, the clocks, the message
// pump, message boxes and the name dialog, opening a document, and ending the program.
// Two implementations exist, chosen at link time: platform/sdl (the real window) and
// platform/headless (scripted keys and a virtual clock, for tests and the headless runner).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/data_paths.h"

struct ProfileDocument;

// Virtual-key codes the game reads.
enum VirtualKey : int {
    VkReturn = 13,
    VkEscape = 27,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40,
    VkZ = 90,
    VkNumpad2 = 98,
    VkNumpad4 = 100,
    VkNumpad5 = 101,
    VkNumpad6 = 102,
    VkNumpad8 = 104,
};

// Most significant bit: the key is down now. Least significant bit: it was pressed since the
// previous query of that key; the query clears it. Queries read the key state as the last look
// at the window's events left it (DoEvents, the end of a frame wait, a box): one snapshot per
// frame, the same whatever order the keys are asked in.
constexpr uint16_t KeyDownNow = 0x8000;
constexpr uint16_t KeyPressedSinceQuery = 0x0001;
uint16_t GetAsyncKeyState(int virtualKey);

// Monotonic millisecond tick, read as a signed 32-bit value.
int32_t TickCount();
// A seed for the random generator taken from the time of day.
uint64_t TimeOfDaySeed();
void SleepMs(int32_t milliseconds);
// Waits until TickCount() >= tick without burning a core (the frame pacer polls after it).
void SleepUntilTick(int32_t tick);

// The window's size and mode kept between runs, in a section of their own of the settings file:
// taken from its document before the window opens, put into it before each save (and only
// then: a program that never took them never saves them).
void TakeWindowSettingsFrom(const ProfileDocument& settings);
void PutWindowSettingsInto(ProfileDocument& settings);
// The keys and pad buttons behind the player's actions, the same way ("[keys]", "[pad]").
void TakeInputSettingsFrom(const ProfileDocument& settings);
void PutInputSettingsInto(ProfileDocument& settings);
// The whole picture turned clockwise by 0, 90, 180 or 270 degrees, for a monitor on its side:
// the play field, the menu bar, the boxes and the pause, in the window and in fullscreen; the
// mouse follows the turn, the keys do not. Applied at once, kept in data.ini's [window]
// rotation=. Anything but the four turns is 0.
void SetPictureRotation(int degrees);
int PictureRotation();
// Opens the game window (caption, 500 x 600 client area, centred). Shown once.
void OpenMainWindow(const std::string& caption, int width, int height);
// Which square tiles of a frame were written since the frame presented before it: every other
// tile holds what it held then.
struct WrittenTiles {
    int TileSize = 0;
    int Columns = 0;
    int Rows = 0;
    const uint8_t* Marks = nullptr;  // Columns x Rows, row by row; non-zero: written
};
// Shows a finished frame of 0x00RRGGBB pixels in the window. `written`, where given, says
// where it can differ from the frame presented before it; without it, anywhere.
void PresentPixels(const uint32_t* pixels, int width, int height,
                   const WrittenTiles* written = nullptr);
// Lets pending window messages be processed: key state, menu commands, the close box.
void DoEvents();

// Handlers the shell installs; the platform calls them from DoEvents or from a modal loop.
struct WindowHandlers {
    void (*onClose)() = nullptr;                 // the window's close box
    void (*onReadMe)() = nullptr;                // menu command "ReadMeを表示"
    void (*onAbout)() = nullptr;                 // menu command "アバウト"
    void (*onWatchReplay)(int place) = nullptr;  // menu commands "1位のリプレイを見る" ..
    void (*onFatalError)() = nullptr;  // saves what can be kept before a fatal error ends it all
    void (*onReplayList)() = nullptr;  // menu command "リプレイ一覧..." and its key
};
void SetWindowHandlers(const WindowHandlers& handlers);

// The sounds' levels, which the settings dialog shows and changes: owned by the sound layer
// above the platform, which the program hands in here. Percent, 0 to 100.
struct SoundLevels {
    int (*musicVolume)() = nullptr;
    void (*setMusicVolume)(int percent) = nullptr;
    int (*effectsVolume)() = nullptr;
    void (*setEffectsVolume)(int percent) = nullptr;
    void (*playEffect)() = nullptr;  // once, so that the effects' new level is heard
};
void SetSoundLevels(const SoundLevels& levels);
// Closes the window from the program's side: the close handler runs as for the close box, and
// the program ends even if there is none.
[[noreturn]] void UnloadMainWindow();

enum class BoxButtons { Ok, OkCancel };
enum class BoxIcon { None, Warning, Error, Information };
enum class BoxAnswer { Ok, Cancel };
// A modal message box over the game window (texts in UTF-8).
BoxAnswer MessageBox(const std::string& text, const std::string& title, BoxButtons buttons,
                     BoxIcon icon = BoxIcon::None);

// The modal name dialog. Returns the typed text (UTF-8), or an empty text when cancelled.
// accept() tells whether a candidate text may stand; the dialog refuses edits that fail it.
// acceptAnswer() tells whether the text may be the answer; OK on one that fails it is refused.
std::string InputBox(const std::string& prompt, const std::string& title,
                     bool (*accept)(const std::string& candidate),
                     bool (*acceptAnswer)(const std::string& answer));

// Opens a file with the desktop's associated program, without waiting. Where no program can
// open it, a box says where the file is.
void OpenDocument(const std::string& path);

// Opens a replay in a window of its own (the program run with --replay), without waiting.
void WatchReplayFile(const std::string& path);

// The replay list "リプレイ一覧": the shell reads the replays folder and does what the player
// asks of a row; the window shows the rows and asks. Each action returns what the line under the
// list says next (empty: the chosen row's own line).
struct ReplayListRow {
    std::string When;
    std::string Difficulty;
    std::string Score;
    std::string Length;
    std::string Name;
    std::string State;   // whether it plays here, or what its check found
    std::string Detail;  // the line under the list while the row is chosen
};
struct ReplayListActions {
    std::vector<ReplayListRow> (*rows)() = nullptr;  // as they stand after the last action
    std::string (*watch)(size_t row) = nullptr;
    std::string (*verify)(size_t row) = nullptr;
    std::string (*keep)(size_t row) = nullptr;    // asks the name first
    std::string (*remove)(size_t row) = nullptr;  // asks first
    std::string (*showFolder)() = nullptr;
    // Looked at while the list is open: true when a check has ended, with what the line says.
    bool (*poll)(std::string& told) = nullptr;
};
// Runs the list until it is closed. Modal: the game stands still meanwhile.
void ShowReplayList(const ReplayListActions& actions);

// The directory of the game's data files, without a trailing separator: the one that holds the
// program file, or the installed share folder found from it (platform/data_paths.h).
std::string ProgramDirectory();
// Where data.ini is read at start and written at exit, for that directory.
SettingsFiles SettingsFilesFor(const std::string& programDir);
// Makes a directory the current directory (the tune is opened by a relative name).
void ChangeDirectory(const std::string& path);

// Ends the program at once with the given status: nothing of the game runs afterwards.
[[noreturn]] void EndProgram(int status);
// A failure the game cannot go on from: what can be kept is saved (the fatal-error handler), the
// player sees the message, the program ends non-zero.
[[noreturn]] void FatalError(const std::string& message);

// Whether P, Pause and a gamepad's Start pause the game: during play only. Losing the focus
// pauses it anywhere.
void AllowPauseKeys(bool allowed);

// Called by the frame pacer around each frame wait (the headless runner hooks its trace,
// scripted input and snapshots here; the real platform does nothing).
void FrameWaitBegins();
void FrameWaitEnds();
