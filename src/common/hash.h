// 64-bit FNV-1a: a cheap fingerprint that notices any change of the bytes it is given. Not a
// defence against tampering.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

constexpr uint64_t HashStart = 0xCBF29CE484222325ull;

inline uint64_t HashBytes(const void* bytes, size_t size, uint64_t hash = HashStart) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 0x100000001B3ull;
    return hash;
}

inline uint64_t HashText(std::string_view text, uint64_t hash = HashStart) {
    return HashBytes(text.data(), text.size(), hash);
}
