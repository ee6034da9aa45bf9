// Floating values stored into integers round to the nearest integer, ties to even, and must fit.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

inline int64_t RoundHalfEven(double value) {
    return static_cast<int64_t>(std::nearbyint(value));
}

inline bool FitsInt32(int64_t value) {
    return value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<int32_t>::max();
}
