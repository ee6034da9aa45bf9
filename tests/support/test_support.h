// Shared helpers of the tests: a fresh headless program, scratch directories, small surfaces.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "gfx/surface.h"

// A fresh program on the headless platform: every module as a new process holds it, then
// Normal difficulty, a new game's tables and an open 500 x 600 display.
void ResetProgram();

// A new empty directory under the system's temporary directory. Fixtures remove theirs; whatever
// is left, after a failure too, is removed when the test program ends.
std::string MakeScratchDir();
// A scratch directory holding a copy of the game's data files; ProgramDir is pointed at it.
std::string MakeGameDir();
// Writes bytes to a file.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// A surface of the given size filled with one pixel value; ColourKey is set to `key`.
Surface MakeSurface(int width, int height, uint32_t fill, uint32_t key = 0xFF00FF);
uint32_t PixelAt(const Surface& surface, int x, int y);
// The pixels, with whatever the surface held back drawn (the back buffer holds its drawing).
const std::vector<uint32_t>& SettledPixels(const Surface& surface);

// gtest's name generator for a test run at each difficulty: "Easy", "Normal", "Hard" in its
// name, rather than the index and a print of the number ('\x3' (3) for an 8-bit one).
std::string DifficultyName(int difficulty);
struct NameByDifficulty {
    template <class Number>
    std::string operator()(const ::testing::TestParamInfo<Number>& info) const {
        return DifficultyName(int(info.param));
    }
};

class GameTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProgram(); }
};
