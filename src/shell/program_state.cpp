#include "shell/program_state.h"

#include "shell/game_reset.h"
#include "shell/replays.h"

void ResetProgramState() {
    ResetGameModules();
    ResetReplays();
}
