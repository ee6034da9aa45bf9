// Numbers as the game writes them after a label and into data.ini.
#pragma once

#include <cstdint>
#include <string>

// A blank before zero or positive numbers, a minus sign otherwise.
inline std::string NumberText(int64_t value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}
