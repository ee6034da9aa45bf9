#include "shell/command_line.h"

#include "common/version.h"
#include "game/state.h"
#include "platform/controls.h"

namespace {

constexpr int BadUsage = 2;  // the status of a command line the game does not understand

constexpr const char* Usage =
    "usage: vexlan [--version | --help | [--replay] FILE.vxr [--at FRAME] | --verify FILE]\n";

constexpr size_t MaxFrameDigits = 9;  // beyond any game's length

constexpr size_t HelpWidth = 88;  // as wide as the lines of the options below

constexpr const char* HelpStart =
    "A vertical shoot-'em-up. Started without arguments, it opens its window.\n"
    "\n"
    "Keys by default (a gamepad works alongside the keyboard):\n";

constexpr const char* Help =
    "\n"
    "The settings (F9, the View menu or a pad's guide button) rebind the keys and pad\n"
    "buttons, set the stick's dead zone, the music's and the effects' volume and turn the\n"
    "picture. They are kept in data.ini: [keys] and [pad] hold one line per action (up,\n"
    "down, left, right, fire, choose, back, pause) naming all of its keys, by SDL's key or\n"
    "game-controller button names: fire=Space, up=Up,Keypad 8, fire=a. A pad SDL does not\n"
    "know works through SDL_GAMECONTROLLERCONFIG or a gamecontrollerdb.txt beside data.ini.\n"
    "\n"
    "Settings and high scores are kept in data.ini: beside the game's data files when that\n"
    "folder is writable, otherwise in $XDG_DATA_HOME/vexlan/ (~/.local/share/vexlan/).\n"
    "Every game is kept there as a replay: replays/last.vxr for the last game,\n"
    "replays/score1.vxr to score5.vxr for the games of the high-score table, and the\n"
    "newest 100 games by date, difficulty and score (2026-12-08_14-03-22_normal_3380.vxr).\n"
    "The replay list (F8, or the Help menu) shows them all: watch, check, keep one under a\n"
    "name of your own (never removed) or delete it.\n"
    "\n"
    "  --version        print the version and exit\n"
    "  --help           print this help and exit\n"
    "  [--replay] FILE  watch a replay in the window: Space pauses, . and , step one frame,\n"
    "                   Right and Left jump 10 seconds, Up and Down change the speed (1/4x\n"
    "                   to 8x, then as fast as it goes), Home, B and End go to the start, the\n"
    "                   boss and the end, a click on the bar to that point, I shows or hides\n"
    "                   the keys the ship was given, Escape ends\n"
    "  --at FRAME       after --replay FILE: open paused at that frame (from the game's start)\n"
    "  --verify FILE    play a replay back without a window and print whether it plays as\n"
    "                   recorded: status 0 if it does, 1 if it goes out of step, 2 if it is\n"
    "                   not a replay this game can play\n";

}  // namespace

std::optional<int> AnswerCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err) {
    if (args.empty()) return std::nullopt;
    if (args.size() == 1 && args[0] == "--version") {
        out << "Vexlan " << GameVersion << "\n";
        return 0;
    }
    if (args.size() == 1 && args[0] == "--help") {
        out << Usage << HelpStart << ControlsText(HelpWidth) << Help;
        return 0;
    }
    const std::string& unknown = args[0] == "--version" || args[0] == "--help" ? args[1] : args[0];
    err << "vexlan: unexpected argument '" << unknown << "'\n" << Usage;
    return BadUsage;
}

std::optional<ReplayRequest> ReplayRequested(const std::vector<std::string>& args) {
    // The desktop opens a replay by its name alone.
    if (args.size() == 1 && args[0].size() > 4 && args[0].ends_with(".vxr"))
        return ReplayRequest{args[0], PlaybackPace::Watching};
    if (args.size() == 4 && args[0] == "--replay" && !args[1].empty() && args[2] == "--at") {
        const std::string& at = args[3];
        const bool number = !at.empty() && at.size() <= MaxFrameDigits &&
                            at.find_first_not_of("0123456789") == std::string::npos;
        if (!number || std::stoll(at) == 0) return std::nullopt;
        return ReplayRequest{args[1], PlaybackPace::Watching, std::stoll(at)};
    }
    if (args.size() != 2 || args[1].empty()) return std::nullopt;
    if (args[0] == "--replay") return ReplayRequest{args[1], PlaybackPace::Watching};
    if (args[0] == "--verify") return ReplayRequest{args[1], PlaybackPace::Fastest};
    return std::nullopt;
}
