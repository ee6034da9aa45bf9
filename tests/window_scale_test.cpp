// The game's picture in a window of any size: sharp fit or whole steps, centred, the whole
// factor before the smooth step, mouse points mapped back to the picture's own pixels, the
// sharp-fit scaler itself against a slow, plain reference, and a recorded game drawn by what
// changed from frame to frame against each frame scaled whole.
#include "platform/window_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "platform/frame_changes.h"
#include "platform/headless/headless.h"
#include "platform/picture_turn.h"
#include "platform/sharp_fit.h"
#include "runner_input.h"
#include "shell/main_loop.h"
#include "shell/program.h"
#include "support/test_support.h"

namespace {

constexpr PictureSize Windowed{500, 620};  // the menu bar over the play area
constexpr PictureSize Field{500, 600};     // the play area alone, in fullscreen

TEST(WindowScale, TheLargestWholeScaleThatFitsBothWays) {
    EXPECT_EQ(LargestWholeScale({500, 620}, Windowed), 1);
    EXPECT_EQ(LargestWholeScale({999, 1239}, Windowed), 1);
    EXPECT_EQ(LargestWholeScale({1000, 1240}, Windowed), 2);
    // The height limits a wide screen, the width a tall one.
    EXPECT_EQ(LargestWholeScale({3840, 2160}, Windowed), 3);
    EXPECT_EQ(LargestWholeScale({1080, 1920}, Windowed), 2);
    // Smaller than the picture (a window the desktop squeezed): still 1, never 0.
    EXPECT_EQ(LargestWholeScale({300, 200}, Windowed), 1);
}

TEST(WindowScale, ASharpFitFillsTheHeightOrTheWidthWhicheverBinds) {
    // Fullscreen: the play area 1080 pixels high on a 1920 x 1080 screen, 800 on a handheld.
    const PicturePlacement full = PlacePicture({1920, 1080}, Field, Scaling::SharpFit);
    EXPECT_EQ(full.Height, 1080);
    EXPECT_EQ(full.Width, 900);
    EXPECT_EQ(full.X, 510);
    EXPECT_EQ(full.Y, 0);
    const PicturePlacement handheld = PlacePicture({1280, 800}, Field, Scaling::SharpFit);
    EXPECT_EQ(handheld.Height, 800);
    EXPECT_EQ(handheld.Width, 667);  // 666.67, to the nearest pixel
    EXPECT_EQ(handheld.X, (1280 - 667) / 2);
    // A tall window: the width binds.
    const PicturePlacement tall = PlacePicture({750, 2000}, Windowed, Scaling::SharpFit);
    EXPECT_EQ(tall.Width, 750);
    EXPECT_EQ(tall.Height, 930);
    EXPECT_EQ(tall.Y, (2000 - 930) / 2);
    // At a whole multiple the two scalings agree.
    const PicturePlacement sharp = PlacePicture({1000, 1240}, Windowed, Scaling::SharpFit);
    const PicturePlacement whole = PlacePicture({1000, 1240}, Windowed, Scaling::WholeSteps);
    EXPECT_EQ(sharp.Width, whole.Width);
    EXPECT_EQ(sharp.Height, whole.Height);
    EXPECT_EQ(sharp.X, 0);
}

TEST(WindowScale, WholeStepsCentreTheLargestWholeScaleOnTheBlack) {
    const PicturePlacement full = PlacePicture({3840, 2160}, Windowed, Scaling::WholeSteps);
    EXPECT_EQ(full.Width, 1500);
    EXPECT_EQ(full.Height, 1860);
    EXPECT_EQ(full.X, (3840 - 1500) / 2);
    EXPECT_EQ(full.Y, (2160 - 1860) / 2);
    EXPECT_EQ(PlacePicture({1920, 1080}, Field, Scaling::WholeSteps).Height, 600);
}

TEST(WindowScale, TheWholeFactorBeforeTheSmoothStepIsTheSmallestThatReaches) {
    EXPECT_EQ(WholeFactorBefore({900, 1080}, Field), 2);
    EXPECT_EQ(WholeFactorBefore({1000, 1200}, Field), 2);  // exactly 2x: no smooth step at all
    EXPECT_EQ(WholeFactorBefore({1001, 1200}, Field), 3);
    EXPECT_EQ(WholeFactorBefore({1690, 2096}, Windowed), 4);
    EXPECT_EQ(WholeFactorBefore({400, 480}, Field), 1);  // smaller than the picture
}

TEST(WindowScale, TheWindowOpensAtTheLargestPictureThatLeavesTheMargin) {
    // A 1920 x 1080 desktop: 1016 pixels of height, about 1.64x, not 1x.
    const PictureSize hd = OpeningSize({1920, 1080}, Windowed, 64, Scaling::SharpFit);
    EXPECT_EQ(hd.Height, 1016);
    EXPECT_EQ(hd.Width, 819);
    EXPECT_EQ(OpeningSize({1920, 1080}, Windowed, 64, Scaling::WholeSteps).Height, 620);
    EXPECT_EQ(OpeningSize({3840, 2112}, Windowed, 64, Scaling::WholeSteps).Height, 1860);
    // 2 x 620 fits in 1304 only once the margin is left: whole steps stay at 1x below it.
    EXPECT_EQ(OpeningSize({1300, 1300}, Windowed, 64, Scaling::WholeSteps).Height, 620);
    EXPECT_EQ(OpeningSize({1304, 1304}, Windowed, 64, Scaling::WholeSteps).Height, 1240);
    // A screen too small for 1x still opens at 1x, the window's least size.
    const PictureSize tiny = OpeningSize({640, 480}, Windowed, 64, Scaling::SharpFit);
    EXPECT_EQ(tiny.Width, 500);
    EXPECT_EQ(tiny.Height, 620);
}

TEST(WindowScale, PointsMapBackToPicturePixels) {
    // At 3x with the picture 170 pixels in: pixels 170..172 are its first column.
    EXPECT_EQ(PictureCoordinate(170, 170, 1500, 500), 0);
    EXPECT_EQ(PictureCoordinate(172, 170, 1500, 500), 0);
    EXPECT_EQ(PictureCoordinate(173, 170, 1500, 500), 1);
    EXPECT_EQ(PictureCoordinate(170 + 1499, 170, 1500, 500), 499);
    // The black to the left is outside, even the pixel just before the picture.
    EXPECT_EQ(PictureCoordinate(169, 170, 1500, 500), -1);
    EXPECT_LT(PictureCoordinate(0, 170, 1500, 500), 0);
    // At 1.8x (fullscreen on 1080 lines): the last screen row is the picture's last row, and
    // every picture row drawn from AreaCoordinate maps back to itself.
    EXPECT_EQ(PictureCoordinate(1079, 0, 1080, 600), 599);
    for (int row = 0; row < 600; ++row)
        ASSERT_EQ(PictureCoordinate(AreaCoordinate(row, 0, 1080, 600), 0, 1080, 600), row);
}

// The slow way, as the scaling is defined: the picture enlarged by the whole factor into a
// picture of its own, then sampled at each screen pixel's centre with linear filtering.
std::vector<uint32_t> ReferenceSharpFit(const std::vector<uint32_t>& picture, PictureSize size,
                                        PictureSize shown) {
    const int factor = WholeFactorBefore(shown, size);
    const int bigWidth = size.Width * factor;
    const int bigHeight = size.Height * factor;
    std::vector<uint32_t> big(size_t(bigWidth) * bigHeight);
    for (int y = 0; y < bigHeight; ++y)
        for (int x = 0; x < bigWidth; ++x)
            big[size_t(y) * bigWidth + x] = picture[size_t(y / factor) * size.Width + x / factor];
    std::vector<uint32_t> result(size_t(shown.Width) * shown.Height);
    for (int y = 0; y < shown.Height; ++y) {
        for (int x = 0; x < shown.Width; ++x) {
            const double u =
                std::clamp((x + 0.5) * bigWidth / shown.Width - 0.5, 0.0, double(bigWidth - 1));
            const double v =
                std::clamp((y + 0.5) * bigHeight / shown.Height - 0.5, 0.0, double(bigHeight - 1));
            const int x0 = int(u);
            const int y0 = int(v);
            const int x1 = std::min(x0 + 1, bigWidth - 1);
            const int y1 = std::min(y0 + 1, bigHeight - 1);
            const double fx = u - x0;
            const double fy = v - y0;
            uint32_t pixel = 0;
            for (int shift : {0, 8, 16}) {
                auto channel = [&](int px, int py) {
                    return double((big[size_t(py) * bigWidth + px] >> shift) & 0xFF);
                };
                const double top = channel(x0, y0) * (1 - fx) + channel(x1, y0) * fx;
                const double bottom = channel(x0, y1) * (1 - fx) + channel(x1, y1) * fx;
                pixel |= uint32_t(std::lround(top * (1 - fy) + bottom * fy)) << shift;
            }
            result[size_t(y) * shown.Width + x] = pixel;
        }
    }
    return result;
}

std::vector<uint32_t> Scaled(const std::vector<uint32_t>& picture, PictureSize size,
                             PictureSize shown) {
    std::vector<uint32_t> result(size_t(shown.Width) * shown.Height, 0xDEADBEEF);
    SharpFitPlan plan;
    PlanSharpFit(plan, size, shown);
    DrawSharpFit(plan, picture.data(), size.Width, result.data(), shown.Width);
    return result;
}

int LargestChannelGap(uint32_t a, uint32_t b) {
    int gap = 0;
    for (int shift : {0, 8, 16})
        gap = std::max(gap, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return gap;
}

// A small picture with sharp edges everywhere: a checkerboard of strong colours.
std::vector<uint32_t> Checkerboard(PictureSize size) {
    std::vector<uint32_t> picture(size_t(size.Width) * size.Height);
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x)
            picture[size_t(y) * size.Width + x] =
                ((x + y) % 2 ? 0xFF2080u : 0x10E040u) + uint32_t(x * 7 + y * 3);
    return picture;
}

TEST(SharpFit, MatchesTheSlowReferenceToOneLevelPerChannel) {
    const PictureSize size{7, 5};
    const std::vector<uint32_t> picture = Checkerboard(size);
    // 1.8x as fullscreen on 1080 lines, 2.5x, an odd 3.3x, and a shrink below 1x.
    for (const PictureSize shown :
         {PictureSize{13, 9}, PictureSize{18, 13}, PictureSize{23, 17}, PictureSize{5, 4}}) {
        const auto fast = Scaled(picture, size, shown);
        const auto slow = ReferenceSharpFit(picture, size, shown);
        for (size_t i = 0; i < fast.size(); ++i)
            ASSERT_LE(LargestChannelGap(fast[i], slow[i]), 1)
                << "pixel " << i << " of " << shown.Width << "x" << shown.Height;
    }
}

TEST(SharpFit, AtAWholeMultipleEveryPixelIsASquareOfItsOwnColour) {
    const PictureSize size{7, 5};
    const std::vector<uint32_t> picture = Checkerboard(size);
    const auto scaled = Scaled(picture, size, {21, 15});
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(scaled[size_t(y) * 21 + x], picture[size_t(y / 3) * 7 + x / 3]);
}

TEST(SharpFit, EdgesBlendAtMostOnePixelAndNoColumnIsAWholePixelWider) {
    // Alternating black and white columns, 500 wide, shown 900 wide (1.8x, fullscreen on 1080
    // lines): enlarged 2x, then brought down.
    const std::vector<SharpSample> columns = SharpAxis(500, 900, 2);
    std::vector<int> blends(500, 0);  // blended screen pixels between column j and j + 1
    for (const SharpSample& sample : columns) {
        if (sample.Weight == 0) continue;
        ASSERT_EQ(sample.Second, sample.First + 1);
        ASSERT_LE(++blends[size_t(sample.First)], 1) << "two blends after column " << sample.First;
    }
    std::vector<uint32_t> picture(500);
    for (int x = 0; x < 500; ++x) picture[size_t(x)] = x % 2 ? 0xFFFFFFu : 0u;
    const auto scaled = Scaled(picture, {500, 1}, {900, 1});
    // How wide each white column is drawn: its own pixels, and its share of the blends beside it.
    std::vector<double> width(500, 0.0);
    for (size_t x = 0; x < 900; ++x) {
        const SharpSample& sample = columns[x];
        const int white = sample.First % 2 ? sample.First : sample.Second;
        width[size_t(white)] += double(scaled[x] & 0xFF) / 255;
    }
    double narrowest = 1e9;
    double widest = 0;
    for (int x = 1; x < 499; x += 2) {
        narrowest = std::min(narrowest, width[size_t(x)]);
        widest = std::max(widest, width[size_t(x)]);
    }
    EXPECT_NEAR((narrowest + widest) / 2, 1.8, 0.3);
    EXPECT_LT(widest - narrowest, 1.0);
}

// One window the recorded game is shown in: the frame turned as the player asked, drawn into
// the window's pixels by what changed, as the presenter draws it.
struct ShownByChanges {
    PictureSize Shown;
    int Turn = 0;
    FrameChanges Changes;
    SharpFitPlan Plan;
    std::vector<uint32_t> Window;
    std::vector<uint32_t> Turned;
    int Compared = 0;
};

TEST(SharpFit, ARecordedGameDrawnByWhatChangedIsEveryFrameScaledWhole) {
    ResetProgram();
    const std::string golden = std::string(VEXLAN_SOURCE_DIR) + "/tests/golden/normal";
    const std::string dir = MakeGameDir();
    WriteFile(dir + "/data.ini", ReadFile(golden + ".ini"));
    RunnerInput input;
    std::string error;
    ASSERT_TRUE(LoadRunnerInput(golden + ".input", input, error)) << error;
    headless::SetSeed(0);
    input.QueueAnswers();
    // 1x; a sharp fit at 1.64x (the window's opening size on 1080 lines); whole steps at 2x;
    // and the picture turned a quarter, half and three quarters, sharp fit at odd sizes.
    std::vector<ShownByChanges> windows;
    for (const auto& [shown, turn] : std::vector<std::pair<PictureSize, int>>{{{500, 600}, 0},
                                                                              {{819, 983}, 0},
                                                                              {{1000, 1200}, 0},
                                                                              {{690, 575}, 90},
                                                                              {{530, 636}, 180},
                                                                              {{757, 631}, 270}}) {
        ShownByChanges& window = windows.emplace_back();
        window.Shown = shown;
        window.Turn = turn;
        ResetFrameChanges(window.Changes, TurnedSize(Field, turn));
        PlanSharpFit(window.Plan, window.Changes.Size, shown);
        window.Window.assign(size_t(shown.Width) * size_t(shown.Height), 0);  // a black frame
        window.Turned.resize(window.Changes.Pixels.size());
    }
    // A whole scaling of every frame would take minutes in the sanitizer build: every frame is
    // drawn by its changes, and every so many, and the last, compared whole.
    constexpr int64_t CompareEvery = 97;
    constexpr int64_t Frames = 1500;
    int64_t frame = 1;
    const auto compare = [&] {
        for (ShownByChanges& window : windows) {
            const std::vector<uint32_t> whole =
                Scaled(window.Changes.Pixels, window.Changes.Size, window.Shown);
            ASSERT_TRUE(whole == window.Window)
                << "frame " << frame << " drawn by its changes differs at " << window.Shown.Width
                << "x" << window.Shown.Height << " turned " << window.Turn;
            ++window.Compared;
        }
    };
    // The frame compared whole beside the frame compared by the tiles the game wrote: both must
    // find the same tiles changed, frame after frame.
    FrameChanges wholeCompared;
    FrameChanges writtenCompared;
    ResetFrameChanges(wholeCompared, Field);
    ResetFrameChanges(writtenCompared, Field);
    int presents = 0;
    int framesWithTiles = 0;
    input.ApplyFrame(frame);
    headless::SetFrameHooks(
        [&] {
            const std::vector<uint32_t>& shown = headless::LastPresentedFrame();
            if (shown.size() != size_t(Field.Width) * size_t(Field.Height)) return;
            if (headless::PresentCount() == presents) return;
            // The tiles written tell about one present: where more went by, compare whole.
            if (headless::PresentCount() != presents + 1) writtenCompared.KeptLast = false;
            presents = headless::PresentCount();
            const WrittenTiles* written = headless::LastPresentedWrittenTiles();
            framesWithTiles += written != nullptr && writtenCompared.KeptLast;
            KeepFrameNotingChanges(wholeCompared, shown.data());
            KeepFrameNotingChanges(writtenCompared, shown.data(), written);
            ASSERT_TRUE(wholeCompared.Changed == writtenCompared.Changed)
                << "frame " << frame << ": a change outside the tiles marked written";
            TakeChanges(wholeCompared);
            TakeChanges(writtenCompared);
            for (ShownByChanges& window : windows) {
                TurnPixels(shown.data(), Field, window.Turn, window.Turned.data());
                KeepFrameNotingChanges(window.Changes, window.Turned.data());
                DrawChangesSharpFit(window.Changes, window.Plan, window.Window.data(),
                                    window.Shown.Width);
            }
            if (frame % CompareEvery == 0 || frame == Frames) compare();
        },
        [&] {
            if (frame == Frames || ::testing::Test::HasFatalFailure()) headless::RequestClose();
            ++frame;
            input.ApplyFrame(frame);
        });
    try {
        Main();
    } catch (const headless::ProgramExit&) {
    }
    headless::SetFrameHooks({}, {});
    std::filesystem::remove_all(dir);
    EXPECT_EQ(frame, Frames + 1) << "the recorded game ended early";
    EXPECT_EQ(windows.front().Compared, int(Frames / CompareEvery) + 1);
    EXPECT_GT(framesWithTiles, Frames * 9 / 10) << "frames compared by their written tiles";
}

TEST(PictureTurn, RectanglesAndPointsTurnAlike) {
    const PictureSize picture{500, 620};
    const PixelRect bar{0, 0, 500, 20};  // the menu bar along the picture's top
    // A quarter turn clockwise puts the picture's top on the right.
    const PixelRect quarter = TurnRect(bar, picture, 90);
    EXPECT_EQ(quarter.X, 600);
    EXPECT_EQ(quarter.Y, 0);
    EXPECT_EQ(quarter.W, 20);
    EXPECT_EQ(quarter.H, 500);
    const PixelRect threeQuarters = TurnRect(bar, picture, 270);
    EXPECT_EQ(threeQuarters.X, 0);
    EXPECT_EQ(threeQuarters.W, 20);
    EXPECT_EQ(TurnRect(bar, picture, 180).Y, 600);
    // Every pixel turned back lands where TurnPixels put it, and inside the rect turned with it.
    const PictureSize small{5, 3};
    std::vector<uint32_t> pixels(15);
    for (uint32_t i = 0; i < 15; ++i) pixels[i] = i;
    for (int turn : {0, 90, 180, 270}) {
        const PictureSize turned = TurnedSize(small, turn);
        std::vector<uint32_t> out(15);
        TurnPixels(pixels.data(), small, turn, out.data());
        for (int y = 0; y < turned.Height; ++y) {
            for (int x = 0; x < turned.Width; ++x) {
                int px = x;
                int py = y;
                TurnPointBack(px, py, small, turn);
                ASSERT_EQ(out[size_t(y * turned.Width + x)], pixels[size_t(py * small.Width + px)])
                    << "turned " << turn;
                const PixelRect one = TurnRect({px, py, 1, 1}, small, turn);
                ASSERT_TRUE(one.X == x && one.Y == y) << "turned " << turn;
            }
        }
    }
    EXPECT_EQ(PictureTurnFrom(45), 0);
    // A 500 x 600 field turned fills a 1920 x 1080 screen's height at 1296 x 1080.
    const PicturePlacement full =
        PlacePicture({1920, 1080}, TurnedSize(Field, 90), Scaling::SharpFit);
    EXPECT_EQ(full.Width, 1296);
    EXPECT_EQ(full.Height, 1080);
}

}  // namespace
