// To be filled in by its own issue.
#include "game/motion.h"

int32_t RandomRange(int32_t, int32_t low) { return low; }
int32_t RandomFromTwoRanges(int32_t, int32_t low1, int32_t, int32_t) { return low1; }
Velocity VelocityToward(double, double, double, double, uint8_t) { return {}; }
Velocity VelocityFromAngle(double, double) { return {}; }
int32_t AimAngle(int32_t, int32_t, int32_t, int32_t) { return 0; }
