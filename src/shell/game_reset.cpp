#include "shell/game_reset.h"

#include "audio/music.h"
#include "data/settings.h"
#include "game/boss.h"
#include "game/bullets.h"
#include "game/motion.h"
#include "game/player.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "screens/options.h"
#include "screens/title.h"

void ResetGameModules() {
    ResetSharedState();
    ResetRandom();
    ResetPlayerCounters();
    ResetBounceCounter();
    ResetBossState();
    ResetTitle();
    ResetOptions();
    ResetText();
    ResetDisplay();
    ResetMusicReply();
    ResetSettingsState();
}
