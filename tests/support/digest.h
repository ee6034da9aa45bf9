// Short fingerprints for the golden runs: of a text or a file, of a presented frame with its
// texts blanked out, and of the texts themselves. Not a checksum against tampering, only a
// cheap way to notice any change.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/text.h"
#include "runner_trace.h"

// 32-bit FNV-1a, written as eight hex digits.
inline std::string Digest(const std::string& bytes) {
    uint32_t hash = 2166136261u;
    for (const unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
    char text[9];
    std::snprintf(text, sizeof text, "%08x", hash);
    return text;
}

// Where any font of ordinary proportions draws a text: from its top-left corner, two ems high,
// and one em per character and one to spare wide (an em being the size in points at 96 DPI).
// The glyphs themselves are the font library's business, and a new version of it or of the
// font must not change a golden picture.
struct TextArea {
    int64_t Left, Top, Right, Bottom;  // right and bottom exclusive
};
inline TextArea AreaOfText(const DrawnText& text) {
    const int64_t em = (int64_t(text.Size) * 96 + 71) / 72;
    int64_t characters = 0;
    for (const unsigned char c : text.Text) characters += (c & 0xC0) != 0x80;  // UTF-8 leads
    return {text.X, text.Y, text.X + (characters + 1) * em, text.Y + 2 * em};
}

// The digest of a presented frame (0x00RRGGBB, top row first) with the area of every text drawn
// in it blanked.
inline std::string PictureDigest(std::vector<uint32_t> pixels, int width, int height,
                                 const std::vector<DrawnText>& texts) {
    for (const DrawnText& text : texts) {
        const TextArea area = AreaOfText(text);
        for (int64_t y = std::max<int64_t>(area.Top, 0); y < std::min<int64_t>(area.Bottom, height);
             ++y)
            for (int64_t x = std::max<int64_t>(area.Left, 0);
                 x < std::min<int64_t>(area.Right, width); ++x)
                pixels[size_t(y) * size_t(width) + size_t(x)] = 0;
    }
    return Digest(EncodeBitmap24(pixels.data(), width, height));
}

// The digest of the texts drawn in a frame: their lines in the runner's text list, in order.
inline std::string TextsDigest(int64_t frame, const std::vector<DrawnText>& texts) {
    std::string lines;
    for (const DrawnText& text : texts) lines += TextLine(frame, text) + "\n";
    return Digest(lines);
}
