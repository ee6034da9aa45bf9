// Every module of the game below the shell back to the state a fresh process starts in: the
// shared state, the game's counters, the screens, text, display, the tune's last reply and the
// settings. The one list of their resets; shell/program_state.h adds the shell's own.
#pragma once

void ResetGameModules();
