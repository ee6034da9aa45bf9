// What the real platform's event loop shares with the boxes that stay open a while.
#pragma once

// Whether the desktop's opener of the last document asked for (xdg-open, which may keep running
// while its viewer is open) has ended without opening it; if so the player is told where the
// document is. Asked after every batch of events, and by the replay list while it is open.
void CheckDocumentOpener();
