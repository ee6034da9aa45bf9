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
A gamepad works alongside the keyboard.

)" + ControlsText(ReadmeWidth) +
           R"(
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
The options, the high-score table and the window's size and mode are kept in data.ini;
it is written when the program closes and right after a name goes into the table. The
game ships with one that holds an empty table, Normal, and music and sound effects on
(without any data.ini, music and sound effects start off).

A game in a folder of its own that you may write in keeps data.ini there, beside the
program. An installed game reads the shipped one until its first save, which goes to
your own $XDG_DATA_HOME/vexlan/data.ini (~/.local/share/vexlan/ by default); delete that
one to start again. The replays of your games are kept beside data.ini, in replays/.

The pictures, the sound, the tune and the stage scripts (teki_e.dat, teki_n.dat,
teki_h.dat) sit beside the program or in its installed share folder; they are made by the
assetgen tool.
)";
}
