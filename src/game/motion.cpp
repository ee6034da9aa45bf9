#include "game/motion.h"

#include <cmath>

#include "common/rounding.h"
#include "platform/platform.h"

namespace {

constexpr uint64_t StartState = 0x853C49E6748FEA9Bull;
uint64_t GeneratorState = StartState;  // survives every reseed; the clock is only stirred in

// Degrees and radians with pi taken as 3.14, as the aim of every shot was tuned with.
constexpr double RadiansPerDegree = 0.01744444444444;
constexpr double DegreesPerRadian = 57.32484076433;

uint64_t Mix(uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A uniform value in [0, 1) with the 24 bits a single-precision float holds exactly.
float NextUniform() {
    GeneratorState += 0x9E3779B97F4A7C15ull;
    return static_cast<float>(Mix(GeneratorState) >> 40) * 0x1p-24f;
}

}  // namespace

void ReseedRandom() {
    GeneratorState = Mix(GeneratorState ^ TimeOfDaySeed());
}

void ResetRandom() {
    GeneratorState = StartState;
}

uint64_t RandomState() {
    return GeneratorState;
}
void SetRandomState(uint64_t state) {
    GeneratorState = state;
}

int32_t RandomRange(int32_t high, int32_t low) {
    ReseedRandom();
    const double r = NextUniform();
    const double width = static_cast<double>(int64_t(high) - low + 1);
    return static_cast<int32_t>(std::floor(width * r + low));
}

int32_t RandomFromTwoRanges(int32_t high1, int32_t low1, int32_t high2, int32_t low2) {
    ReseedRandom();
    const int32_t first = RandomRange(high1, low1);
    const int32_t second = RandomRange(high2, low2);
    const int32_t coin = RandomRange(1, 0);
    return coin != 0 ? second : first;
}

Velocity VelocityToward(double fromX, double fromY, double toX, double toY, uint8_t speed) {
    const double dx = toX - fromX;
    const double dy = toY - fromY;
    const double d = std::sqrt(dy * dy + dx * dx);
    if (d == 0) return {};  // a shot exactly on its target has no direction to take
    return {speed * dx / d, speed * dy / d};
}

Velocity VelocityFromAngle(double angleDegrees, double speed) {
    const double t = angleDegrees * RadiansPerDegree;
    const auto rounded = static_cast<uint8_t>(RoundHalfEven(speed));
    return VelocityToward(0, 0, std::cos(t), std::sin(t), rounded);
}

int32_t AimAngle(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    if (fromX == toX) return fromY > toY ? 270 : 90;
    const double q =
        static_cast<double>(int64_t(toY) - fromY) / static_cast<double>(int64_t(toX) - fromX);
    auto angle = static_cast<int32_t>(RoundHalfEven(std::atan(q) * DegreesPerRadian));
    if (fromX > toX) angle += 180;
    return angle;
}
