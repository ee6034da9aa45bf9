// Text on the back buffer and the frame-rate counter.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The window font: "ＭＳ Ｐゴシック", found through fontconfig (its metric twin IPAPGothic).
// Exits with a clear message when no usable font exists.
void CreateTextFont(const std::string& faceName);
// Text colours, 0x00BBGGRR as DrawText takes them.
constexpr int32_t TextRed = 0x0000FF;
constexpr int32_t TextGreen = 0x00FF00;
constexpr int32_t TextBlue = 0xFF0000;
constexpr int32_t TextWhite = 0xFFFFFF;

// Draws UTF-8 text with its top-left corner at (x, y) in a 0x00BBGGRR colour; only the glyphs
// are drawn. A size of 0 keeps the size the previous call left (points at 96 DPI).
void DrawText(const std::string& text, int32_t x, int32_t y, int32_t bgrColour, uint8_t size);
// The current font size in points (for tests).
uint8_t TextFontSize();

// A text as DrawText drew it, with the size in force. The golden runs check texts by these,
// apart from the pixels the font library makes of them.
struct DrawnText {
    std::string Text;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Colour = 0;  // 0x00BBGGRR
    uint8_t Size = 0;
};
// Calls `observer` for every text drawn from now on (an empty function: none). For the runner
// and the tests; ResetText leaves it in place, as the headless platform keeps its frame hooks.
void SetTextObserver(std::function<void(const DrawnText&)> observer);

// The sticky size, the rendered-text cache and the frame-rate counter as the program starts.
// The font and its file stay loaded: they are the same in every program.
void ResetText();

// "FPS:" with the frames counted in the previous second, at (50, 10), blue, 12 points.
void DrawFps();
// The frame-rate display's count, kept from game to game (a replay carries it).
struct FpsCounter {
    int32_t LastTime = 0;    // clock value at the last once-a-second update
    int32_t FrameCount = 0;  // frames counted since that update, including its own
    uint8_t Shown = 0;       // the count on display
};
FpsCounter FpsCounterState();
void SetFpsCounterState(const FpsCounter& counter);
