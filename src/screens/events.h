// The end of a game: the assembling game-over picture, or the zooming ending pictures followed
// by the name entry.
#pragma once

#include <cstdint>
#include <string>

// The pictures these sequences load when they start.
inline constexpr const char* GameOverPictureFile = "\\w_gameover.bmp";
inline constexpr const char* EndingPictureFiles[] = {"\\l_ending1.bmp", "\\l_ending2.bmp"};

void GameOver();
void Ending();
void AssembleBlocksEffect(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t blockSize,
                          const std::string& file, int32_t xRangeHigh, int32_t xRangeLow,
                          int32_t yRangeHigh, int32_t yRangeLow);
// `pauseMs` is passed by reference and only read, never written: kept as the game has it.
void ZoomInEffect(int32_t centreX, int32_t baseY, int32_t w, int32_t h, double speed,
                  int32_t& pauseMs, const std::string& file);

// Where the block of column c and row r stands at frame F of the assembly: it leaves its start
// (startX - w + x, startY + y) at frame 0, reaches its home at frame h and flies on past it.
struct BlockPlace {
    int64_t X = 0;
    int64_t Y = 0;
};
BlockPlace BlockPosition(int32_t x, int32_t y, int32_t w, int32_t h, int32_t blockSize, int32_t c,
                         int32_t r, int32_t startX, int32_t startY, int32_t frame);

// Where the zooming picture is drawn at step i: its width is speed * i, its height keeps the
// picture's proportions, centred on centreX and standing on baseY.
struct ZoomRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};
ZoomRect ZoomRectangle(int32_t centreX, int32_t baseY, double ratio, double speed, int32_t i);
