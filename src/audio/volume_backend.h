// What a sound implementation does when the player's volumes change: it brings the tune and the
// effect voices sounding to their new level at once.
#pragma once

void ApplyMusicVolume();
void ApplyEffectsVolume();
