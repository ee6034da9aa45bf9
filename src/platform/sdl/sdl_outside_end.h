// Ends the program is told of from outside besides the close box and SIGTERM or SIGINT (which
// SDL turns into the close box's event): SIGHUP, and the display going away.
#pragma once

// SIGHUP (the terminal closed) is taken as SIGTERM, and a lost X display saves the settings
// before the program ends. Called once the window's event system is up.
void WatchOutsideEnds();

// The connection to the display broke: nothing may be drawn or asked any more.
bool DisplayLost();
