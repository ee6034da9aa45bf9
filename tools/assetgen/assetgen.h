// The pictures, sounds, tune, stage scripts and read-me of the game, and its desktop icon, each
// made by one function.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

// Transparent colour of the sprite pictures: nothing in the game's palette comes near it.
constexpr Rgb SpriteKey{255, 0, 255};

Image MakeShip();            // l_jiki.bmp
Image MakeShot();            // l_tamaMe.bmp
Image MakeStreak();          // l_backs.bmp
Image MakeExplosion();       // l_baku.bmp
Image MakeSmallBullets();    // l_tama1234.bmp
Image MakeHomingBullet();    // l_tama5.bmp
Image MakeBouncingBullet();  // l_tama6.bmp

Image MakeButterfly();  // l_teki1.bmp
Image MakeDog();        // l_teki2.bmp
Image MakeBat();        // l_teki3.bmp
Image MakeBlue();       // l_teki4.bmp
Image MakeSmallFry();   // l_teki5.bmp
Image MakeGreen();      // l_teki6.bmp
Image MakeBoss();       // l_boss1.bmp

// Title, game-over and ending pictures. The logo and the menu items carry their own
// background; `MenuPanel` is the menu items' background and key colour.
constexpr Rgb MenuPanel{22, 26, 74};
Image MakeLogo();
Image MakeMenuItem(const std::string& word);
Image MakeGameOver();
Image MakeEnding1();
Image MakeEnding2();

std::vector<uint8_t> MakeExplosionWav();
std::vector<uint8_t> MakeBattleMidi();
// difficulty 1 Easy, 2 Normal, 3 Hard; returns the script as CP932 bytes with CR LF line ends.
std::string MakeStageScript(int difficulty);
std::string MakeReadme();

// The desktop icon at each size of the hicolor theme, as PNG bytes.
std::vector<int> IconSizes();
std::vector<uint8_t> MakeIcon(int size);
// 8-bit RGBA pixels, row by row from the top, as a PNG file.
std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& rgba, int width, int height);
