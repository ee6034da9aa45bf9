// To be filled in by its own issue.
#include "screens/events.h"

void GameOver() {}
void Ending() {}
void AssembleBlocksEffect(int32_t, int32_t, int32_t, int32_t, uint8_t, const std::string&, int32_t, int32_t, int32_t, int32_t) {}
void ZoomInEffect(int32_t, int32_t, int32_t, int32_t, double, int32_t&, const std::string&) {}
