// Small synthetic pictures for the front-end screen tests, written as 24-bit Windows bitmaps into
// a scratch program directory, so the screens can be tested before the game's own pictures exist.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "game/state.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

using PixelOf = std::function<uint32_t(int x, int y)>;  // 0x00RRGGBB

inline void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(char(value >> (8 * i) & 0xFF));
}

// Bottom-up rows of blue, green, red bytes, each row padded to four bytes.
inline void WriteBitmap(const std::string& path, int width, int height, const PixelOf& pixel) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const uint32_t imageBytes = uint32_t(rowBytes) * height;
    std::string out = "BM";
    PutLittleEndian(out, 54 + imageBytes, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 54, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, uint32_t(width), 4);
    PutLittleEndian(out, uint32_t(height), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    for (int field = 0; field < 6; ++field) PutLittleEndian(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) PutLittleEndian(out, pixel(x, y), 3);
        out.append(size_t(rowBytes - width * 3), '\0');
    }
    WriteFile(path, out);
}

// A fresh program whose directory is an empty scratch directory for the test's pictures.
class ScreenTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        Dir = MakeScratchDir();
        ProgramDir = Dir;
        headless::SetProgramDirectory(Dir);
    }
    void TearDown() override {
        if (!HasFailure()) std::filesystem::remove_all(Dir);
    }
    // Writes a picture under the name the game uses ("\w_start.bmp").
    void WritePicture(const std::string& name, int width, int height, const PixelOf& pixel) {
        WriteBitmap(GameFile(name), width, height, pixel);
    }
    // Acts at the frame waits: `atWait(n)` runs as the n-th wait (from 1) begins.
    void OnFrameWait(std::function<void(int)> atWait) {
        headless::SetFrameHooks([this, atWait] { atWait(++Waits); }, nullptr);
    }

    std::string Dir;
    int Waits = 0;
};
