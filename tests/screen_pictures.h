// Small synthetic pictures for the front-end screen tests, written as Windows bitmaps into a
// scratch program directory, so the screens can be tested before the game's own pictures exist.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/state.h"
#include "gfx/bmp.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

using PixelOf = std::function<uint32_t(int x, int y)>;  // 0x00RRGGBB

// Writes a picture of the given size, pixel by pixel, as a Windows bitmap.
inline void WriteBitmap(const std::string& path, int width, int height, const PixelOf& pixel) {
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(pixel(x, y));
    }
    WriteFile(path, EncodeBitmap24(pixels.data(), width, height));
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
