// Message-box text broken into lines: where it breaks, and that nothing is ever lost or split
// inside a character.
#include "platform/text_wrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A stand-in font: 10 per ASCII character, 20 per wider (multi-byte) one.
int FakeWidth(const std::string& text) {
    int width = 0;
    for (const unsigned char c : text) {
        if (c < 0x80)
            width += 10;
        else if (c >= 0xC0)
            width += 20;
    }
    return width;
}

std::vector<std::string> Wrap(const std::string& text, int maxWidth) {
    return WrapText(text, maxWidth, FakeWidth);
}

using Lines = std::vector<std::string>;

TEST(TextWrap, ALineBreakAlwaysBreaksAndAnEmptyLineIsKept) {
    EXPECT_EQ(Wrap("Vexlan\n\nVersion", 1000), (Lines{"Vexlan", "", "Version"}));
    EXPECT_EQ(Wrap("ok", 1000), (Lines{"ok"}));
}

TEST(TextWrap, ATooLongLineBreaksAfterItsLastBlankOrSlashThatFits) {
    EXPECT_EQ(Wrap("one two three", 90), (Lines{"one two", "three"}));
    EXPECT_EQ(Wrap("/usr/share/games/x.bmp", 120), (Lines{"/usr/share/", "games/x.bmp"}));
}

TEST(TextWrap, TextWithoutBlanksBreaksBetweenWholeCharacters) {
    const std::string text = "終了しますか終了しますか";
    const Lines lines = Wrap(text, 100);
    ASSERT_EQ(lines.size(), 3u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(FakeWidth(line), 100);
        joined += line;
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(lines[0], "終了します");
}

TEST(TextWrap, ACharacterWiderThanTheBoxStillGetsALineOfItsOwn) {
    EXPECT_EQ(Wrap("a終b", 15), (Lines{"a", "終", "b"}));
}

}  // namespace
