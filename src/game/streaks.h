// The falling streaks that give the black field its sense of speed.
#pragma once

void UpdateStreaks();
