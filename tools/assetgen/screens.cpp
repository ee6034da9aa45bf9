// Title logo, menu items, game-over and ending pictures: words in the game's own pixel font.
#include <cmath>

#include "assetgen.h"
#include "font.h"
#include "paint.h"

namespace {

const std::vector<Rgb> Chrome = {{40, 70, 190}, {110, 170, 255}, {225, 240, 255}, {255, 255, 255},
                                 {70, 40, 90},  {190, 100, 70},  {255, 190, 100}, {255, 240, 190}};
const std::vector<Rgb> GoldText = {{255, 250, 210}, {255, 220, 100}, {240, 150, 40}, {190, 80, 20}};
const std::vector<Rgb> RedText = {{255, 225, 200}, {255, 110, 70}, {200, 30, 40}, {110, 0, 30}};
const std::vector<Rgb> IceText = {{240, 250, 255}, {150, 210, 255}, {70, 130, 230}};

// A sparse field of stars, brighter ones with a small cross, fading out towards the bottom so
// the logo melts into the black title screen below it.
void Stars(Image& img, int fadeFrom) {
    for (int y = 1; y < img.H; ++y)
        for (int x = 0; x < img.W; ++x) {
            const double h = Hash(x, y, 1234);
            const double fade = y < fadeFrom ? 1.0 : std::max(0.0, 1.0 - (y - fadeFrom) / 20.0);
            if (h > 1 - 0.004 * fade) {
                const double b = Hash(x, y, 99);
                const Rgb star = Mix({60, 70, 130}, {230, 235, 255}, b);
                img.Set(x, y, star);
                if (b > 0.8 && x > 0 && x + 1 < img.W && y + 1 < img.H) {
                    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                        img.Set(x + dx, y + dy, Mix({0, 0, 0}, star, 0.45));
                }
            }
        }
}

}  // namespace

Image MakeLogo() {
    // Drawn without colour key over the black title: its own background is black space.
    Image img(500, 128);
    for (int y = 0; y < img.H; ++y)
        for (int x = 0; x < img.W; ++x) img.Set(x, y, {0, 0, 0});
    Stars(img, 96);
    // A faint horizon glow behind the letters.
    for (int y = 40; y < 104; ++y)
        for (int x = 0; x < img.W; ++x) {
            const double t = 1 - std::abs(y - 78) / 26.0 - std::abs(x - 250) / 420.0;
            if (t > Bayer(x, y) * 0.9 + 0.1)
                img.Set(x, y, Mix({0, 0, 0}, {40, 20, 80}, std::min(1.0, t)));
        }
    TextStyle logo{.Scale = 12,
                   .Spacing = 1,
                   .Gradient = Chrome,
                   .Outline = {12, 10, 40},
                   .OutlineWidth = 2,
                   .Shadow = {70, 24, 110},
                   .ShadowDx = 5,
                   .ShadowDy = 5,
                   .Bevel = 0.3};
    DrawTextCentred(img, 250, 10, "VEXLAN", logo);
    TextStyle tag{.Scale = 1,
                  .Spacing = 1,
                  .Gradient = IceText,
                  .Outline = {12, 10, 40},
                  .OutlineWidth = 1,
                  .Bevel = 0};
    DrawTextCentred(img, 250, 112, "- SHOOT THEM ALL DOWN -", tag);
    return img;
}

Image MakeMenuItem(const std::string& word) {
    // The item is a button: over the black screen only its frame and word show; enlarged
    // without key, the key colour fills in as the button's face.
    Image img(162, 66);
    const Rgb frame{90, 110, 200}, corner{255, 220, 120};
    for (int x = 3; x < 159; ++x) img.Set(x, 3, frame), img.Set(x, 62, Scale(frame, 0.6));
    for (int y = 3; y < 63; ++y) img.Set(3, y, frame), img.Set(158, y, Scale(frame, 0.6));
    for (int i = 0; i < 6; ++i) {
        for (auto [x, y] : {std::pair{3 + i, 3},
                            {3, 3 + i},
                            {158 - i, 62},
                            {158, 62 - i},
                            {158 - i, 3},
                            {158, 3 + i},
                            {3 + i, 62},
                            {3, 62 - i}})
            img.Set(x, y, corner);
    }
    TextStyle s{.Scale = 4,
                .Spacing = 1,
                .Gradient = GoldText,
                .Outline = {40, 12, 8},
                .OutlineWidth = 1,
                .Shadow = {6, 6, 20},
                .ShadowDx = 3,
                .ShadowDy = 3,
                .Bevel = 0.3};
    DrawTextCentred(img, 81, 19, word, s);
    return img;
}

Image MakeGameOver() {
    // The bottom row stays empty: the block effect never draws the 5 x 5 blocks that would
    // reach past the 71st row.
    Image img(500, 71);
    TextStyle s{.Scale = 7,
                .Spacing = 1,
                .Gradient = RedText,
                .Outline = {30, 0, 16},
                .OutlineWidth = 2,
                .Shadow = {70, 0, 30},
                .ShadowDx = 4,
                .ShadowDy = 4,
                .Bevel = 0.3};
    DrawTextCentred(img, 248, 8, "GAME OVER", s);
    return img;
}

Image MakeEnding1() {
    Image img(500, 39);
    TextStyle s{.Scale = 4,
                .Spacing = 1,
                .Gradient = GoldText,
                .Outline = {40, 12, 8},
                .OutlineWidth = 2,
                .Shadow = {60, 20, 10},
                .ShadowDx = 3,
                .ShadowDy = 3,
                .Bevel = 0.3};
    DrawTextCentred(img, 248, 4, "CONGRATULATIONS!", s);
    return img;
}

Image MakeEnding2() {
    Image img(500, 57);
    TextStyle big{.Scale = 3,
                  .Spacing = 1,
                  .Gradient = IceText,
                  .Outline = {12, 10, 40},
                  .OutlineWidth = 1,
                  .Shadow = {30, 30, 90},
                  .ShadowDx = 2,
                  .ShadowDy = 2,
                  .Bevel = 0.3};
    DrawTextCentred(img, 249, 4, "THE BOSS IS DESTROYED", big);
    TextStyle small = big;
    small.Scale = 2;
    small.Gradient = GoldText;
    small.Shadow = {60, 20, 10};
    DrawTextCentred(img, 249, 36, "PEACE RETURNS TO THE STARS", small);
    return img;
}
