// The replay list opened in the game window (F8, the Help menu): the rows of
// shell/replay_list.h as the platform shows them, and the player's actions on them.
#pragma once

// Shows the list of the replays folder until the player closes it. The game stands still
// meanwhile; the boxes the list asks with are not the game's, so its replay records none of them.
void OpenReplayList();
