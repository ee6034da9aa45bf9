// A gamepad as SDL sees one, made by SDL itself (a virtual joystick) under the dummy video
// driver: the real window code reads it into the same keys as the keyboard, and the boxes and
// the name dialog answer it. While a box waits, SDL asks the virtual pad for its state at every
// look at the events; the test's script changes one thing at each of those asks.
#include <SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "audio/volume.h"
#include "data/settings.h"
#include "game/state.h"
#include "platform/pad_text_entry.h"
#include "platform/platform.h"
#include "platform/profile.h"
#include "platform/sdl/sdl_bindings.h"
#include "platform/sdl/sdl_watch.h"
#include "platform/sdl/sdl_window.h"
#include "platform/watch_control.h"
#include "screens/title.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "support/bot.h"

namespace {

constexpr Sint16 StickFull = 32767;
constexpr Sint16 StickNudge = 6000;  // a worn stick at rest, inside the dead zone

// Plugs in a virtual gamepad whose state SDL asks `update` for; returns its index, or -1.
int AttachVirtualPad(void (*update)(void*), void* userdata) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "virtual pad";
    desc.userdata = userdata;
    desc.Update = update;
    return SDL_JoystickAttachVirtualEx(&desc);
}

class VirtualPad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // A dummy window never has the keyboard focus, and SDL ignores pads pressed without it.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        OpenMainWindow("pad", 500, 600);
    }

    void SetUp() override {
        const int index = AttachVirtualPad(
            [](void* self) { static_cast<VirtualPad*>(self)->PlayScript(); }, this);
        ASSERT_GE(index, 0) << SDL_GetError();
        Index = index;
        ASSERT_TRUE(SDL_IsGameController(index)) << "no mapping for the virtual pad";
        Stick = SDL_JoystickOpen(index);
        ASSERT_NE(Stick, nullptr) << SDL_GetError();
        DoEvents();  // the pad is plugged in
        Drain();
    }

    void TearDown() override {
        if (Stick) SDL_JoystickClose(Stick);
        SDL_JoystickDetachVirtual(Index);
        DoEvents();
        Drain();
    }

    // Forgets what earlier steps left latched.
    static void Drain() {
        for (const int key : {VkLeft, VkRight, VkUp, VkDown, VkZ, VkReturn, VkEscape})
            GetAsyncKeyState(key);
    }

    void Press(SDL_GameControllerButton button, bool down) {
        ASSERT_EQ(SDL_JoystickSetVirtualButton(Stick, button, down ? 1 : 0), 0) << SDL_GetError();
        DoEvents();
    }
    void Push(SDL_GameControllerAxis axis, Sint16 value) {
        SDL_JoystickSetVirtualAxis(Stick, axis, value);
        DoEvents();
    }
    static bool Down(int key) { return (GetAsyncKeyState(key) & KeyDownNow) != 0; }

    // A button pressed and released, as two steps of the script.
    void Tap(SDL_GameControllerButton button) {
        Script.push_back([this, button] { SDL_JoystickSetVirtualButton(Stick, button, 1); });
        Script.push_back([this, button] { SDL_JoystickSetVirtualButton(Stick, button, 0); });
    }
    // The grid's cursor taken from `from` to a character, then the character typed with A.
    void TypeOnGrid(GridCursor& from, const std::string& character) {
        const std::optional<GridCursor> to = FindOnGrid(character);
        ASSERT_TRUE(to.has_value()) << character << " is not on the grid";
        for (; from.Row != to->Row; from = MoveGridCursor(from, 0, 1))
            Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        for (; from.Column < to->Column; from = MoveGridCursor(from, 1, 0))
            Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        for (; from.Column > to->Column; from = MoveGridCursor(from, -1, 0))
            Tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        Tap(SDL_CONTROLLER_BUTTON_A);
    }

    // The first asks of a box come before it drops what was pressed earlier: the script waits.
    static constexpr int QuietAsks = 3;
    void PlayScript() {
        if (Script.empty() || ++Asks <= QuietAsks) return;
        const auto step = Script.front();
        Script.pop_front();
        step();
    }

    // After an answer: the rest of the script (the release of the button that answered) is
    // played, and the next box waits its quiet asks again.
    void Finish() {
        while (!Script.empty()) {
            Script.front()();
            Script.pop_front();
        }
        DoEvents();
        Drain();
        Asks = 0;
    }

    int Index = -1;
    SDL_Joystick* Stick = nullptr;
    std::deque<std::function<void()>> Script;
    int Asks = 0;
};

TEST_F(VirtualPad, AIsZWithThePressLatchedAndReleased) {
    Press(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(GetAsyncKeyState(VkZ), KeyDownNow | KeyPressedSinceQuery);
    Press(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(GetAsyncKeyState(VkZ), 0);
}

TEST_F(VirtualPad, BAndStartAreReturnAndBackIsEscape) {
    Press(SDL_CONTROLLER_BUTTON_B, true);
    Press(SDL_CONTROLLER_BUTTON_START, true);
    Press(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_TRUE(Down(VkReturn)) << "Start still holds Return";
    Press(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_FALSE(Down(VkReturn));
    Press(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_TRUE(Down(VkEscape));
    Press(SDL_CONTROLLER_BUTTON_BACK, false);
}

TEST_F(VirtualPad, TheDpadAndTheStickPastItsDeadZoneAreTheArrows) {
    Press(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_TRUE(Down(VkUp));
    Press(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_FALSE(Down(VkUp));
    Push(SDL_CONTROLLER_AXIS_LEFTX, -StickNudge);
    EXPECT_FALSE(Down(VkLeft));
    Push(SDL_CONTROLLER_AXIS_LEFTX, -StickFull);
    EXPECT_TRUE(Down(VkLeft));
    Push(SDL_CONTROLLER_AXIS_LEFTY, StickFull);
    EXPECT_TRUE(Down(VkDown));
    EXPECT_FALSE(Down(VkRight));
    Push(SDL_CONTROLLER_AXIS_LEFTX, 0);
    Push(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_FALSE(Down(VkLeft));
    EXPECT_FALSE(Down(VkDown));
}

TEST_F(VirtualPad, APadPulledOutWithAButtonHeldLetsTheKeyGo) {
    Press(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(Down(VkZ));
    SDL_JoystickClose(Stick);
    Stick = nullptr;
    SDL_JoystickDetachVirtual(Index);
    DoEvents();
    EXPECT_FALSE(Down(VkZ));
}

TEST_F(VirtualPad, BoxesAnswerTheDpadAAndB) {
    // Right moves to Cancel and A presses it.
    Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(MessageBox("終了しますか", "確認", BoxButtons::OkCancel), BoxAnswer::Cancel);
    Finish();
    // B answers Cancel; where OK is all there is, OK.
    Tap(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(MessageBox("終了しますか", "確認", BoxButtons::OkCancel), BoxAnswer::Cancel);
    Finish();
    Tap(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(MessageBox("notice", "", BoxButtons::Ok), BoxAnswer::Ok);
    Finish();
    // The stick moves once per push past its dead zone: left, centre, left wraps back to OK.
    for (const Sint16 x : {Sint16(-StickFull), Sint16(0), Sint16(-StickFull), Sint16(0)})
        Script.push_back(
            [this, x] { SDL_JoystickSetVirtualAxis(Stick, SDL_CONTROLLER_AXIS_LEFTX, x); });
    Tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(MessageBox("終了しますか", "確認", BoxButtons::OkCancel), BoxAnswer::Ok);
}

TEST_F(VirtualPad, APressStillQueuedWhenABoxOpensDoesNotAnswerIt) {
    // A pressed to fire in the very frame the question comes: its event still waits.
    SDL_JoystickSetVirtualButton(Stick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_PumpEvents();
    Script.push_back([this] { SDL_JoystickSetVirtualButton(Stick, SDL_CONTROLLER_BUTTON_A, 0); });
    Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(MessageBox("終了しますか", "確認", BoxButtons::OkCancel), BoxAnswer::Cancel);
}

TEST_F(VirtualPad, TheNameDialogTypesFromTheGridDeletesWithBAndAnswersWithStart) {
    GridCursor cursor;
    for (const char* character : {"P", "a", "x"}) TypeOnGrid(cursor, character);
    Tap(SDL_CONTROLLER_BUTTON_B);
    for (const char* character : {"d", " ", "ア"}) TypeOnGrid(cursor, character);
    Tap(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(InputBox("ハイスコアです。名前を入力してください", "Vexlan ", nullptr, nullptr),
              "Pad ア");
}

// A pad alone works the settings: the guide button opens them, the shoulders turn the pages, the
// D-pad and A choose, a button pressed is bound, B closes. Every change holds at once.
TEST_F(VirtualPad, ThePadAloneRebindsFireSetsTheMusicAndTurnsThePicture) {
    SetSoundLevels({MusicVolume, SetMusicVolume, EffectsVolume, SetEffectsVolume, nullptr});
    SetMusicVolume(100);
    Script.push_back([this] { SDL_JoystickSetVirtualButton(Stick, SettingsButton, 0); });
    Tap(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);                                // the pad's page
    for (int row = 0; row < 5; ++row) Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // to fire
    Tap(SDL_CONTROLLER_BUTTON_A);
    Tap(SDL_CONTROLLER_BUTTON_X);              // fire is X now
    Tap(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);  // the volume page
    Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    for (int step = 0; step < 10; ++step) Tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);  // 50 %
    Tap(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);  // the picture's turn
    Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);  // 90 degrees
    Tap(SDL_CONTROLLER_BUTTON_B);
    Press(SettingsButton, true);  // the dialog runs in this look at the events
    EXPECT_EQ(Script.size(), 1u) << "all but B's release played before the dialog closed";
    Finish();
    EXPECT_EQ(MusicVolume(), 50);
    EXPECT_EQ(PictureRotation(), 90);
    Press(SDL_CONTROLLER_BUTTON_X, true);
    EXPECT_TRUE(Down(VkZ)) << "X fires";
    Press(SDL_CONTROLLER_BUTTON_X, false);
    Press(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_FALSE(Down(VkZ)) << "A fires no longer";
    Press(SDL_CONTROLLER_BUTTON_A, false);
    SetPadBindings(DefaultPadBindings());
    SetPictureRotation(0);
    SetMusicVolume(100);
    SetSoundLevels({});
}

// What the replay list was asked to do, in order.
std::vector<std::string> ListPresses;
std::string NoteListPress(const std::string& what) {
    ListPresses.push_back(what);
    return {};
}

// A pad alone works the replay list: up and down choose a row (held at the last), left and right
// go along the buttons (round the ends), A presses the one focused, B closes.
TEST_F(VirtualPad, ThePadAloneChoosesAReplayAndPressesTheListsButtons) {
    ListPresses.clear();
    ReplayListActions actions;
    actions.rows = [] { return std::vector<ReplayListRow>(3); };
    actions.watch = [](size_t row) { return NoteListPress("watch " + std::to_string(row)); };
    actions.verify = [](size_t row) { return NoteListPress("verify " + std::to_string(row)); };
    actions.keep = [](size_t row) { return NoteListPress("keep " + std::to_string(row)); };
    actions.remove = [](size_t row) { return NoteListPress("remove " + std::to_string(row)); };
    actions.showFolder = [] { return NoteListPress("folder"); };
    actions.poll = [](std::string&) { return false; };
    for (int row = 0; row < 4; ++row) Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    Tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    Tap(SDL_CONTROLLER_BUTTON_A);
    Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Tap(SDL_CONTROLLER_BUTTON_A);
    for (int button = 0; button < 3; ++button) Tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    Tap(SDL_CONTROLLER_BUTTON_A);
    Tap(SDL_CONTROLLER_BUTTON_B);
    ShowReplayList(actions);
    EXPECT_EQ(ListPresses, (std::vector<std::string>{"watch 1", "verify 1", "folder"}));
    Finish();
}

// SIGTERM (or the close box) while the name dialog is open: a name typed is the answer, and the
// close comes at the next look at the window's events; with nothing typed it is Cancel, and the
// close comes at once.
TEST_F(VirtualPad, ClosingTheNameDialogKeepsTheNameTyped) {
    static int closes = 0;
    closes = 0;
    SetWindowHandlers({[] { ++closes; }, nullptr, nullptr});
    GridCursor cursor;
    for (const char* character : {"P", "a", "d"}) TypeOnGrid(cursor, character);
    Script.push_back([] { std::raise(SIGTERM); });
    EXPECT_EQ(InputBox("ハイスコアです。名前を入力してください", "Vexlan ", nullptr, nullptr),
              "Pad");
    EXPECT_EQ(closes, 0);
    Finish();
    EXPECT_EQ(closes, 1);

    Script.push_back([] { std::raise(SIGTERM); });
    EXPECT_EQ(InputBox("ハイスコアです。名前を入力してください", "Vexlan ", nullptr, nullptr), "");
    EXPECT_EQ(closes, 2);
    SetWindowHandlers({});
}

// A whole game on Easy with the pad alone: Start on the title, the bot's steering on the D-pad
// with A held to fire, Back in play and Cancel chosen on the quit question, A through the
// ending, a name typed on the grid and answered with Start, then the title's end item. The
// driver runs each time SDL asks the virtual pad for its state, on the game's own thread.
namespace whole_game {

enum class Phase { Title, Play, QuitAsked, Ending, Name, Leaving };
struct Driver {
    SDL_Joystick* Stick = nullptr;
    Phase Now = Phase::Title;
    bool QuitAnswered = false;
    std::deque<std::function<void()>> Script;
    Uint32 LastTap = 0;
};
Driver Pad;
constexpr Uint32 TapMs = 150;  // a press held this long, and as long again released

void Set(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(Pad.Stick, button, down ? 1 : 0);
}

// A box is on the screen: much of the window's middle is a box's body grey.
bool BoxShown() {
    SDL_Surface* surface = SDL_GetWindowSurface(GameWindow());
    if (!surface) return false;
    int grey = 0;
    for (int y = surface->h / 3; y < 2 * surface->h / 3; y += 2) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = surface->w / 4; x < 3 * surface->w / 4; x += 2)
            grey += (row[x] & 0xFFFFFF) == 0xF0F0F0;
    }
    return grey > 1500;
}

// Every other TapMs the button goes down, then up.
void Tapping(SDL_GameControllerButton button) {
    const Uint32 now = SDL_GetTicks();
    if (now - Pad.LastTap < TapMs) return;
    Pad.LastTap = now;
    Set(button, SDL_JoystickGetButton(Pad.Stick, button) == 0);
}

void Steer() {
    const BotKeys keys = BotChoice();
    Set(SDL_CONTROLLER_BUTTON_A, keys.Fire);
    Set(SDL_CONTROLLER_BUTTON_DPAD_LEFT, keys.Left);
    Set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, keys.Right);
    Set(SDL_CONTROLLER_BUTTON_DPAD_UP, keys.Up);
    Set(SDL_CONTROLLER_BUTTON_DPAD_DOWN, keys.Down);
}

void ReleaseAll() {
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
        Set(SDL_GameControllerButton(button), false);
}

void Tap(SDL_GameControllerButton button) {
    Pad.Script.push_back([button] { Set(button, true); });
    Pad.Script.push_back([button] { Set(button, false); });
}

void ScriptName(const std::vector<std::string>& characters) {
    GridCursor from;
    for (const std::string& character : characters) {
        const GridCursor to = *FindOnGrid(character);
        for (; from.Row != to.Row; from = MoveGridCursor(from, 0, 1))
            Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        for (; from.Column != to.Column; from = MoveGridCursor(from, 1, 0))
            Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        Tap(SDL_CONTROLLER_BUTTON_A);
    }
    Tap(SDL_CONTROLLER_BUTTON_START);
}

void Drive(void*) {
    if (!Pad.Script.empty()) {
        Pad.Script.front()();
        Pad.Script.pop_front();
        return;
    }
    if (GameMode == ModeGameOver) std::_Exit(3);  // the bot lost: no name to enter
    switch (Pad.Now) {
        case Phase::Title:
            Tapping(SDL_CONTROLLER_BUTTON_B);  // Return; Start would pause the game it starts
            if (GameMode == ModeStage) Pad.Now = Phase::Play;
            break;
        case Phase::Play:
            if (GameMode == ModeEnding) {
                ReleaseAll();
                Pad.Now = Phase::Ending;
            } else if (!Pad.QuitAnswered && StageTimer >= 60) {
                ReleaseAll();
                Set(SDL_CONTROLLER_BUTTON_BACK, true);
                Pad.Now = Phase::QuitAsked;
            } else {
                Steer();
            }
            break;
        case Phase::QuitAsked:
            if (Pad.QuitAnswered) {
                if (!BoxShown()) Pad.Now = Phase::Play;
            } else if (BoxShown()) {
                // Right moves the highlight to Cancel, A presses it.
                Pad.Script.push_back([] { Set(SDL_CONTROLLER_BUTTON_BACK, false); });
                Tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
                Tap(SDL_CONTROLLER_BUTTON_A);
                Pad.QuitAnswered = true;
            }
            break;
        case Phase::Ending:
            if (BoxShown()) {
                ReleaseAll();
                ScriptName({"P", "a", "d"});
                Pad.Now = Phase::Name;
            } else {
                Tapping(SDL_CONTROLLER_BUTTON_A);
            }
            break;
        case Phase::Name:
            if (!BoxShown()) Pad.Now = Phase::Leaving;
            break;
        case Phase::Leaving:
            // Down to the title's last item, then A chooses it: the game saves and ends.
            Tapping(TitleScreen.TitleCursor < 3 ? SDL_CONTROLLER_BUTTON_DPAD_DOWN
                                                : SDL_CONTROLLER_BUTTON_A);
            break;
    }
}

[[noreturn]] void Play(const std::string& dataHome) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    setenv("XDG_CACHE_HOME", dataHome.c_str(), 1);  // the rendered tune too
    ProgramDir = VEXLAN_ASSET_DIR;
    ChangeDirectory(ProgramDir);
    SetWindowHandlers({[] { Form_Unload(); }, nullptr, nullptr});
    Form_Load();
    KeepWindowSettings();
    OpenMainWindow(AppTitle, FieldWidth, FieldHeight);
    Pad.Stick = SDL_JoystickOpen(AttachVirtualPad(Drive, nullptr));
    if (!Pad.Stick) std::_Exit(4);
    MainLoop();
}

}  // namespace whole_game

// The watcher's keys and the pad's buttons give the same commands; the game's own keys and
// buttons are not the game's while a replay is watched.
TEST(Watcher, KeysAndPadButtonsPauseStepChangeTheSpeedAndSeek) {
    auto key = [](SDL_Keycode code, Uint16 mod = KMOD_NONE) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.type = SDL_KEYDOWN;
        event.key.keysym.sym = code;
        event.key.keysym.mod = mod;
        return HandleWatchEvent(event);
    };
    auto button = [](SDL_GameControllerButton pressed) {
        SDL_Event event{};
        event.type = SDL_CONTROLLERBUTTONDOWN;
        event.cbutton.button = static_cast<Uint8>(pressed);
        return HandleWatchEvent(event);
    };
    for (const bool pad : {false, true}) {
        SCOPED_TRACE(pad ? "pad" : "keys");
        BeginWatching(4000, 2051, 0);  // at frame 1, playing at 1x
        ASSERT_EQ(WatchedFrame(), 1);
        EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_A) : key(SDLK_SPACE));
        EXPECT_TRUE(WatchPaused());
        EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_START) : key(SDLK_k));
        EXPECT_FALSE(WatchPaused());
        EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) : key(SDLK_PERIOD));
        EXPECT_TRUE(WatchPaused()) << "a step pauses";
        EXPECT_EQ(WatchSeekTarget(), 2);
        EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) : key(SDLK_RIGHT));
        EXPECT_EQ(WatchSeekTarget(), 2 + WatchSeekFrames) << "seeks add up before they are made";
        EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER) : key(SDLK_COMMA));
        EXPECT_EQ(WatchSeekTarget(), 1 + WatchSeekFrames);
        EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) : key(SDLK_j));
        EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) : key(SDLK_LEFT));
        EXPECT_EQ(WatchSeekTarget(), 1) << "not before the first frame";
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_DPAD_DOWN) : key(SDLK_DOWN));
        EXPECT_STREQ(WatchSpeedName(WatchSpeed()), "1/4x");
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_DPAD_UP) : key(SDLK_UP));
        EXPECT_STREQ(WatchSpeedName(WatchSpeed()), "2x");
        for (int i = 0; i < 9; ++i)
            EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_DPAD_UP) : key(SDLK_PLUS));
        EXPECT_STREQ(WatchSpeedName(WatchSpeed()), "max");
        EXPECT_EQ(WatchDelay(50), 0);
        EXPECT_TRUE(pad ? button(SDL_CONTROLLER_BUTTON_Y) : key(SDLK_i));
        EXPECT_FALSE(InputDisplayShown());
    }
    BeginWatching(4000, 2051, 0);
    EXPECT_TRUE(key(SDLK_b));
    EXPECT_EQ(WatchSeekTarget(), 2051);
    EXPECT_TRUE(key(SDLK_END));
    EXPECT_EQ(WatchSeekTarget(), 4000);
    EXPECT_TRUE(key(SDLK_HOME));
    EXPECT_EQ(WatchSeekTarget(), 1);
    EXPECT_FALSE(key(SDLK_RIGHT, KMOD_CTRL)) << "the desktop's";
    EXPECT_FALSE(key(SDLK_F11)) << "the window's";
    EXPECT_TRUE(button(SDL_CONTROLLER_BUTTON_B)) << "the replay's buttons are its own";
    EXPECT_EQ(WatchDelay(50), 50);
    ChangeWatchSpeed(-2);
    EXPECT_EQ(WatchDelay(50), 200) << "1/4x";
    ResetWatching();
}

TEST(VirtualPadGame, AWholeGameFromTheTitleToANameInTheTableWithThePadAlone) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // A folder of this run's own under the temporary folder; the game's process, which runs this
    // test again from its start, finds its name in the environment it inherits.
    constexpr const char* HomeVariable = "VEXLAN_PAD_GAME_HOME";
    if (!std::getenv(HomeVariable)) {
        std::string made = std::filesystem::temp_directory_path() / "vexlan-pad-game-XXXXXX";
        ASSERT_NE(mkdtemp(made.data()), nullptr);
        setenv(HomeVariable, made.c_str(), 1);
    }
    const std::string home = std::getenv(HomeVariable);
    const std::string dataIni = home + "/vexlan/data.ini";
    std::filesystem::create_directories(home + "/vexlan");
    // Easy, and silent: the synthesiser is not what is tried here. The GPU asked for cannot be
    // had on the dummy video driver: the game draws in software and does not keep the wish.
    std::ofstream(dataIni) << "[data]\r\nDiffculty= 1\r\nMidi=0\r\nWav=0\r\n"
                           << "[window]\r\nrenderer=gpu\r\n";
    EXPECT_EXIT(whole_game::Play(home), ::testing::ExitedWithCode(0), "");
    const std::string entered = GetProfileString(dataIni, "data", "name1", "", 64);
    const std::string renderer = GetProfileString(dataIni, "window", "renderer", "", 16);
    std::filesystem::remove_all(home);
    EXPECT_EQ(entered, "Pad");
    EXPECT_EQ(renderer, "auto");
}

}  // namespace
