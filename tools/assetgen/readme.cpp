// readme.txt: what the player reads from the help menu.
#include "assetgen.h"
#include "common/version.h"

std::string MakeReadme() {
    const std::string title = "Vexlan " + GameVersion;
    return title + "\n" + std::string(title.size(), '=') + "\n\n" +
           R"(A small vertical-scrolling shoot-'em-up. Steer your fighter up the field, shoot down the
butterflies, bats, dogs, small fry, green beetles and blue armour that the stage sends at
you, dodge their bullets, and after about a minute and a half face the boss. Destroy it to
see the ending and put your name in the table of the five best scores.

Keys
----
  Arrow keys, or numeric keypad 8 / 2 (or 5) / 4 / 6   move the ship (or the menu cursor)
  Z                                                  fire (hold it for continuous fire)
  Return or Z                                        choose a menu item
  Esc                                                during play, asks whether to quit;
                                                     on the options screen, goes back

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
The options and the high-score table are kept in data.ini beside the program. The file
is written when the program closes; delete it to start again with an empty table and
the default options (Normal, music and sound effects off).

The pictures, the sound, the tune and the stage scripts (teki_e.dat, teki_n.dat,
teki_h.dat) sit beside the program as well; they are made by the assetgen tool.
)";
}
