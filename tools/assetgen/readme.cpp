// readme.txt: what the player reads from the help menu.
#include "assetgen.h"
#include "common/version.h"
#include "platform/controls.h"

namespace {

constexpr size_t ReadmeWidth = 88;  // as wide as the read-me's other lines

}  // namespace

std::string MakeReadme() {
    const std::string title = "Vexlan " + GameVersion;
    return title + "\n" + std::string(title.size(), '=') + "\n\n" +
           R"(A small vertical-scrolling shoot-'em-up. Steer your fighter up the field, shoot down the
butterflies, bats, dogs, small fry, green beetles and blue armour that the stage sends at
you, dodge their bullets, and after about a minute and a half face the boss. Destroy it to
see the ending and put your name in the table of the five best scores.

Keys
----
A gamepad works alongside the keyboard. These are the keys and buttons until you change
them in the settings.

)" + ControlsText(ReadmeWidth) +
           R"(
Settings
--------
F9 on any screen (the pause too), "設定..." in the 表示 menu, or a pad's guide button opens
the settings. The keyboard, the mouse or a pad alone work them: the shoulders or Page Up
and Page Down turn the pages, up and down choose a row, left and right change it, Return
or A changes a key, Escape or B closes.
  Keys and pad   Choose an action and press the key or button it should have. A key that
                 another action had moves, and the settings say so. F11, Alt+Enter, F9
                 and the guide button stay as they are; keys held with Alt, Ctrl or the
                 logo key are the desktop's. The pad's page also sets the stick's dead zone.
  Volume         Music and sound effects, 0 to 100 % in steps of 5; you hear each as it
                 changes. The options' music and effect switches still turn them off.
  Picture        Turned 0, 90, 180 or 270 degrees, for a monitor on its side.
Each page has "初期設定に戻す" (back to the defaults). Every change applies at once and is
kept in data.ini, [keys] and [pad] one line per action naming all its keys (fire=Space,
up=Up,Keypad 8; pad buttons by SDL's names: fire=a). A pad the game does not know works
through SDL_GAMECONTROLLERCONFIG or a gamecontrollerdb.txt beside data.ini.

Replays
-------
Every game you finish is kept as a replay: the last one, the table's five and the
newest 100. F8 on any screen (the pause too) or "リプレイ一覧..." in the ヘルプ menu
lists them, newest first, with date, difficulty, score, length, the table's name and
whether they play with these data files. Up and down (or the pad) choose one; left and
right or Tab go along the buttons, and Return or A presses one: 見る watches it in a
window of its own, 確認 plays it through and says "ok" or where it goes out of step,
名前を付けて残す keeps it under a name of yours (never removed: only the history's own
dated names are), 削除 deletes it after asking, フォルダを開く opens the folder. Delete
and F2 delete and keep at once, a double click watches, Escape, F8 or B closes.

Screens
-------
  Title      START begins a game, SCORE shows the high scores, OPTION opens the
             options, END closes the program. Up and down arrows pick an item.
  Options    Difficulty (Easy / Normal / Hard), music on or off, sound effects on or
             off. Up and down choose a row, left and right change it, Exit or Esc
             goes back to the title.
  Play       Your hit points (HP) and score are shown on the field. Each enemy you
             destroy scores 10 points; destroying the boss adds 1000 points on Easy,
             2000 on Normal and 3000 on Hard. Only enemy bullets hurt you; when a hit
             finds you with no hit points left, your ship is lost. Easy starts with
             7 HP, Normal with 5, Hard with 3.
  Game over  Press Z to return to the title.
  Ending     After the boss falls, a score high enough for the table asks for your
             name.
  Scores     The five best scores. Z or Return goes back to the title.

Files
-----
The options, the high-score table, the window's size and mode and the settings are kept
in data.ini; it is written when the program closes and right after a name goes into the
table. The game ships with one that holds an empty table, Normal, and music and sound
effects on (without any data.ini, music and sound effects start off).

A game in a folder of its own that you may write in keeps data.ini there, beside the
program. An installed game reads the shipped one until its first save, which goes to
your own $XDG_DATA_HOME/vexlan/data.ini (~/.local/share/vexlan/ by default); delete that
one to start again. The replays of your games are kept beside data.ini, in replays/.

The pictures, the sound, the tune and the stage scripts (teki_e.dat, teki_n.dat,
teki_h.dat) sit beside the program or in its installed share folder; they are made by the
assetgen tool.
)";
}
