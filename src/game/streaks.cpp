// To be filled in by its own issue.
#include "game/streaks.h"

void UpdateStreaks() {}
