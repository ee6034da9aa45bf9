// Floating values stored into integers round to the nearest integer, ties to even.
#pragma once

#include <cmath>
#include <cstdint>

inline int64_t RoundHalfEven(double value) {
    return static_cast<int64_t>(std::nearbyint(value));
}
