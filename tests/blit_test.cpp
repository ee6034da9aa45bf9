// The copies every picture goes through: colour key, the whole-inside rule of the unclipped and
// stretched copies, the clipping steps of the clipped copy, and the clears and copies a surface
// holds back.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/surface.h"
#include "support/test_support.h"

namespace {

constexpr uint32_t Key = 0xFF00FF;
constexpr uint32_t Back = 0x000000;

// A source whose pixel at (x, y) has the value (x << 8) | y, with the key colour at (0, 0), so
// every copied pixel says where it came from.
Surface NumberedSource(int width, int height) {
    Surface src = MakeSurface(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) src->Pixels[size_t(y) * width + x] = 0x010000 | x << 8 | y;
    src->Pixels[0] = Key;
    src->ColourKey = Key;
    return src;
}

// The bounding box of pixels that differ from the background.
struct Box {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
    int Count = 0;
};
Box Drawn(const Surface& dest) {
    Box box;
    for (int y = 0; y < dest->Height; ++y)
        for (int x = 0; x < dest->Width; ++x) {
            if (PixelAt(dest, x, y) == Back) continue;
            box.Left = std::min(box.Left, x);
            box.Top = std::min(box.Top, y);
            box.Right = std::max(box.Right, x + 1);
            box.Bottom = std::max(box.Bottom, y + 1);
            ++box.Count;
        }
    return box;
}

uint32_t Source(int x, int y) {
    return 0x010000 | x << 8 | y;
}

}  // namespace

// On a surface that notes its tiles too, where a row is copied a tile at a time.
TEST(ColourKey, KeyColouredPixelsAreTransparentEvenInsideTheSprite) {
    Surface src = NumberedSource(8, 8);
    src->Pixels[3 * 8 + 4] = Key;  // a hole in the middle
    for (const int tileSize : {0, 8}) {
        Surface dest = MakeSurface(20, 20, Back);
        if (tileSize != 0) KeepWriteMarks(*dest, tileSize);
        ASSERT_EQ(DrawSprite(dest, 5, 5, 8, 8, src, 0, 0, true), BlitOk);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint32_t from = src->Pixels[size_t(y) * 8 + size_t(x)];
                ASSERT_EQ(PixelAt(dest, 5 + x, 5 + y), from == Key ? Back : from)
                    << x << ", " << y << " in tiles of " << tileSize;
            }
    }
}

TEST(ColourKey, WithoutKeyTheCopyIsOpaque) {
    Surface dest = MakeSurface(20, 20, Back);
    Surface src = NumberedSource(8, 8);
    DrawSprite(dest, 0, 0, 8, 8, src, 0, 0, false);
    EXPECT_EQ(PixelAt(dest, 0, 0), Key);
}

TEST(ColourKey, LoadedPictureTakesItsKeyFromTheTopLeftPixel) {
    const std::string dir = MakeScratchDir();
    std::vector<uint32_t> pixels = {0x123456, 0xABCDEF, 0x00FF00, 0x123456};
    WriteFile(dir + "/p.bmp", EncodeBitmap24(pixels.data(), 2, 2));
    Surface loaded = LoadBitmapSurface(dir + "/p.bmp");
    EXPECT_EQ(loaded->ColourKey, 0x123456u);
    EXPECT_EQ(loaded->Width, 2);
    EXPECT_EQ(PixelAt(loaded, 1, 0), 0xABCDEFu);
    EXPECT_EQ(PixelAt(loaded, 0, 1), 0x00FF00u);
}

TEST(UnclippedCopy, DrawsNothingUnlessWhollyInside) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(6, 18);
    EXPECT_NE(DrawSprite(dest, 495, 10, 6, 18, src, 0, 0, true), BlitOk);  // one column out
    EXPECT_NE(DrawSprite(dest, 10, 583, 6, 18, src, 0, 0, true), BlitOk);  // one row out
    EXPECT_NE(DrawSprite(dest, -1, 10, 6, 18, src, 0, 0, true), BlitOk);
    EXPECT_NE(DrawSprite(dest, 10, 10, 6, 18, src, 1, 0, true), BlitOk);  // source overrun
    EXPECT_EQ(Drawn(dest).Count, 0);
    EXPECT_EQ(DrawSprite(dest, 494, 582, 6, 18, src, 0, 0, true), BlitOk);  // touching the edges
    EXPECT_EQ(Drawn(dest).Count, 6 * 18 - 1);
}

TEST(ClippedCopy, NegativeDestinationCutsTheLeftColumns) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(31, 31);
    DrawSpriteClipped(dest, -10, 5, 31, 31, 500, 600, src, 0, 0, 31, 31, true);
    const Box box = Drawn(dest);
    EXPECT_EQ(box.Left, 0);
    EXPECT_EQ(box.Right, 21);
    EXPECT_EQ(PixelAt(dest, 0, 5), Source(10, 0));
    EXPECT_EQ(PixelAt(dest, 20, 35), Source(30, 30));
}

TEST(ClippedCopy, DestinationLimitIsExclusive) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(31, 31);
    DrawSpriteClipped(dest, 490, 100, 31, 31, 500, 600, src, 0, 0, 31, 31, false);
    const Box box = Drawn(dest);
    EXPECT_EQ(box.Left, 490);
    EXPECT_EQ(box.Right, 500);
    EXPECT_EQ(PixelAt(dest, 499, 100), Source(9, 0));
}

TEST(ClippedCopy, FullyOutsideDrawsNothingAndReportsSuccess) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(31, 31);
    EXPECT_EQ(DrawSpriteClipped(dest, 500, 100, 31, 31, 500, 600, src, 0, 0, 31, 31, true), 0);
    EXPECT_EQ(DrawSpriteClipped(dest, -31, 100, 31, 31, 500, 600, src, 0, 0, 31, 31, true), 0);
    EXPECT_EQ(DrawSpriteClipped(dest, 100, -31, 31, 31, 500, 600, src, 0, 0, 31, 31, true), 0);
    EXPECT_EQ(DrawSpriteClipped(dest, 100, 600, 31, 31, 500, 600, src, 0, 0, 31, 31, true), 0);
    EXPECT_EQ(Drawn(dest).Count, 0);
}

TEST(ClippedCopy, NegativeSourceShiftsTheDestination) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(40, 40);
    DrawSpriteClipped(dest, 100, 50, 20, 10, 500, 600, src, -5, 0, 0, 0, false);
    const Box box = Drawn(dest);
    EXPECT_EQ(box.Left, 105);
    EXPECT_EQ(box.Right, 120);
    EXPECT_EQ(PixelAt(dest, 105, 50), Key);  // source (0, 0), copied without key
    EXPECT_EQ(PixelAt(dest, 106, 50), Source(1, 0));
}

TEST(ClippedCopy, SourceLimitCutsTheCell) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(106, 71);
    // The bat: 106 wide asked, 105 columns shown.
    DrawSpriteClipped(dest, 100, 100, 106, 71, 500, 600, src, 0, 0, 105, 71, false);
    EXPECT_EQ(Drawn(dest).Right, 205);
}

TEST(ClippedCopy, SourceBeyondItsLimitDrawsNothing) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(891, 80);
    EXPECT_EQ(DrawSpriteClipped(dest, 100, 100, 81, 80, 500, 600, src, 810, 0, 808, 80, true), 0);
    EXPECT_EQ(Drawn(dest).Count, 0);
}

TEST(ClippedCopy, ZeroLimitsTurnClippingOffButNegativePositionsAreStillCut) {
    Surface dest = MakeSurface(50, 50, Back);
    Surface src = NumberedSource(31, 31);
    // No limit: the copy runs past the surface edge, so the whole-inside rule refuses it.
    EXPECT_NE(DrawSpriteClipped(dest, 30, 0, 31, 31, 0, 0, src, 0, 0, 0, 0, false), BlitOk);
    EXPECT_EQ(Drawn(dest).Count, 0);
    EXPECT_EQ(DrawSpriteClipped(dest, -5, -5, 31, 31, 0, 0, src, 0, 0, 0, 0, false), BlitOk);
    EXPECT_EQ(PixelAt(dest, 0, 0), Source(5, 5));
}

TEST(ClippedCopy, OffsetsOfTheBottomRightCornerAreKept) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(60, 59);
    DrawSpriteClipped(dest, 470, 570, 60, 59, 500, 600, src, 0, 0, 60, 59, false);
    const Box box = Drawn(dest);
    EXPECT_EQ(box.Right, 500);
    EXPECT_EQ(box.Bottom, 600);
    EXPECT_EQ(PixelAt(dest, 499, 599), Source(29, 29));
}

TEST(StretchedCopy, DoublesEveryPixel) {
    Surface dest = MakeSurface(20, 20, Back);
    Surface src = NumberedSource(4, 3);
    ASSERT_EQ(DrawStretched(dest, 2, 2, 8, 6, src, 0, 0, 4, 3, false), BlitOk);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(PixelAt(dest, 2 + x, 2 + y),
                      x / 2 == 0 && y / 2 == 0 ? Key : Source(x / 2, y / 2));
}

TEST(StretchedCopy, SamplesEachPixelsCentreAtAnyRatio) {
    Surface src = NumberedSource(13, 11);
    const int sizes[][4] = {{13, 11, 5, 3}, {3, 4, 13, 11}, {7, 5, 13, 11}, {13, 11, 13, 4}};
    for (const auto& size : sizes) {
        const int sw = size[0], sh = size[1], dw = size[2], dh = size[3];
        Surface dest = MakeSurface(20, 20, Back);
        ASSERT_EQ(DrawStretched(dest, 1, 2, dw, dh, src, 0, 0, sw, sh, false), BlitOk);
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x) {
                const int column = (2 * x + 1) * sw / (2 * dw);
                const int row = (2 * y + 1) * sh / (2 * dh);
                const uint32_t expected = column == 0 && row == 0 ? Key : Source(column, row);
                EXPECT_EQ(PixelAt(dest, 1 + x, 2 + y), expected)
                    << sw << "x" << sh << " to " << dw << "x" << dh << " at " << x << "," << y;
            }
    }
}

TEST(StretchedCopy, SmearsOneRowOverARectangle) {
    Surface dest = MakeSurface(500, 600, Back);
    Surface src = NumberedSource(500, 130);
    DrawStretched(dest, 0, 0, 500, 126, src, 0, 1, 500, 1, false);
    EXPECT_EQ(PixelAt(dest, 7, 0), Source(7, 1));
    EXPECT_EQ(PixelAt(dest, 7, 125), Source(7, 1));
    EXPECT_EQ(PixelAt(dest, 7, 126), Back);
}

TEST(StretchedCopy, RespectsTheKeyAndTheWholeInsideRule) {
    Surface dest = MakeSurface(100, 100, Back);
    Surface src = NumberedSource(10, 10);
    EXPECT_NE(DrawStretched(dest, 90, 0, 20, 20, src, 0, 0, 10, 10, true), BlitOk);
    EXPECT_EQ(Drawn(dest).Count, 0);
    DrawStretched(dest, 0, 0, 20, 20, src, 0, 0, 10, 10, true);
    EXPECT_EQ(PixelAt(dest, 0, 0), Back);  // key pixel stretched to 2 x 2, still transparent
    EXPECT_EQ(PixelAt(dest, 1, 1), Back);
    EXPECT_EQ(PixelAt(dest, 2, 2), Source(1, 1));
}

TEST(Clear, FillsEveryPixelWhateverTheSize) {
    Surface odd = MakeSurface(7, 3, 0x123456);
    ClearSurface(odd, 0x00FF00);
    for (uint32_t pixel : odd->Pixels) EXPECT_EQ(pixel, 0x00FF00u);
}

// A surface that notes where it is drawn refills only that when cleared: however it was
// drawn (a sprite across tiles, a stretch, pixels written by hand and marked), and whatever the
// colour, every pixel is the clear colour afterwards, and the tiles it wrote are noted; a tile
// where a keyed sprite has only key pixels is left alone.
TEST(Clear, AMarkedSurfaceClearsAllThatWasDrawnOnIt) {
    Surface dest = MakeSurface(33, 17, 0x123456);  // 5 x 3 tiles, the last ones cut
    KeepWriteMarks(*dest, 8);
    const Surface src = NumberedSource(6, 6);
    Surface halfKeyed = MakeSurface(12, 1, Key);
    for (int x = 0; x < 7; ++x) halfKeyed->Pixels[size_t(x)] = Source(x, 0);
    halfKeyed->ColourKey = Key;
    for (const uint32_t colour : {0x00FF00u, 0x00FF00u, 0x000000u, 0x000000u}) {
        ClearSurface(dest, int32_t(colour));
        for (uint32_t pixel : dest->Pixels) ASSERT_EQ(pixel, colour);
        ForgetWrittenTiles(*dest);
        DrawSprite(dest, 5, 5, 6, 6, src, 0, 0, false);             // across four tiles
        DrawStretched(dest, 20, 0, 6, 12, src, 0, 0, 3, 6, false);  // four more
        DrawSprite(dest, 1, 16, 12, 1, halfKeyed, 0, 0, true);      // its second tile all key
        dest->Pixels[size_t(16) * 33 + 32] = 0xABCDEF;
        MarkWritten(*dest, 32, 16, 5, 5);  // reaching out of the surface: cut to it
        const std::vector<uint8_t> written = dest->Marks.SinceTaken;
        EXPECT_EQ(written, (std::vector<uint8_t>{1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 0, 0, 0, 1}));
        ForgetWrittenTiles(*dest);
        ClearSurface(dest, int32_t(colour));
        EXPECT_EQ(dest->Marks.SinceTaken, written) << "the clear wrote where the drawing did";
    }
}

// A surface that holds its drawing back shows what the same drawing done at once would, frame
// after frame: a frame drawn again is left as it is (nothing written), and a moved copy, a
// changed source, or pixels written by hand since are drawn anew. Held copies read their
// sources as they were when asked for.
TEST(HeldDrawing, ShowsWhatDrawingAtOnceWouldAndLeavesARepeatedFrameAlone) {
    const Surface src = NumberedSource(6, 6);
    auto mask = std::make_shared<CoverageMask>();
    mask->Width = 7;
    mask->Height = 3;
    mask->Alpha.assign(21, 128);  // blended: drawn twice over, it would show
    const auto frame = [&](const Surface& dest, int spriteX) {
        ClearSurface(dest, 0x102030);
        DrawSprite(dest, spriteX, 5, 6, 6, src, 0, 0, true);
        DrawCoverage(dest, 20, 12, mask, 0xFFFFFF);
        SettleDrawing(*dest);
    };
    const auto drawnAtOnce = [&](int spriteX) {
        Surface plain = MakeSurface(33, 17, 0);
        frame(plain, spriteX);
        return plain->Pixels;
    };
    const auto nothingWritten = [](const Surface& s) {
        return std::ranges::count(s->Marks.SinceTaken, 1) == 0;
    };
    Surface held = MakeSurface(33, 17, 0);
    KeepWriteMarks(*held, 8);
    HoldRepeatedDrawing(*held);
    // The first clear fills the whole surface, and the frame after it is the first one held.
    for (int again = 0; again < 4; ++again) {
        frame(held, 5);
        EXPECT_EQ(held->Pixels, drawnAtOnce(5)) << "frame " << again;
        EXPECT_TRUE(again < 2 || nothingWritten(held)) << "frame " << again;
        ForgetWrittenTiles(*held);
    }
    frame(held, 9);
    EXPECT_EQ(held->Pixels, drawnAtOnce(9));
    EXPECT_FALSE(nothingWritten(held));

    held->Pixels[0] = 0xABCDEF;  // by hand, then marked
    MarkWritten(*held, 0, 0, 1, 1);
    frame(held, 9);
    EXPECT_EQ(held->Pixels, drawnAtOnce(9));

    const Surface other = MakeSurface(6, 6, 0x445566);
    DrawSprite(src, 1, 1, 2, 2, other, 0, 0, false);  // the source changes between frames
    frame(held, 9);
    EXPECT_EQ(held->Pixels, drawnAtOnce(9));

    const std::vector<uint32_t> before = drawnAtOnce(9);
    ClearSurface(held, 0x102030);
    DrawSprite(held, 9, 5, 6, 6, src, 0, 0, true);
    DrawSprite(src, 3, 3, 2, 2, other, 0, 0, false);  // after the copy was asked for
    DrawCoverage(held, 20, 12, mask, 0xFFFFFF);
    SettleDrawing(*held);
    EXPECT_EQ(held->Pixels, before);
}

TEST(Colours, SurfaceColourSwapsRedAndBlue) {
    EXPECT_EQ(SurfaceColour(0), 0);
    EXPECT_EQ(SurfaceColour(0xFFFFFF), 0xFFFFFF);
    EXPECT_EQ(SurfaceColour(0x0000FF), 0xFF0000);  // red
    EXPECT_EQ(SurfaceColour(0xFF0000), 0x0000FF);  // blue
}
