// A short fingerprint of a text or a file, for the golden runs: 32-bit FNV-1a, written as eight
// hex digits. Not a checksum against tampering, only a cheap way to notice any change.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

inline std::string Digest(const std::string& bytes) {
    uint32_t hash = 2166136261u;
    for (const unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
    char text[9];
    std::snprintf(text, sizeof text, "%08x", hash);
    return text;
}
