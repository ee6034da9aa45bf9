// The end of a game: the assembling game-over picture, or the zooming ending pictures followed
// by the name entry.
#pragma once

#include <cstdint>
#include <string>

void GameOver();
void Ending();
void AssembleBlocksEffect(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t blockSize,
                          const std::string& file, int32_t xRangeHigh, int32_t xRangeLow,
                          int32_t yRangeHigh, int32_t yRangeLow);
void ZoomInEffect(int32_t centreX, int32_t baseY, int32_t w, int32_t h, double speed,
                  int32_t& pauseMs, const std::string& file);
