// The high-score table: who is asked for a name, where a new score lands, what the name dialog
// lets through, and what the table screen shows.
#include "screens/highscores.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/settings.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "platform/sjis.h"
#include "shell/main_window.h"
#include "support/test_support.h"

namespace {

const std::string NamePrompt = "ハイスコアです。名前を入力してください";

class HighScores : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        // Entering a name saves data.ini: into a folder of the test's own, not where it runs.
        ProgramDir = MakeScratchDir();
        HighScoreTable = {{{500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}, {0, ""}}};
    }

    void TearDown() override {
        if (!HasFailure()) std::filesystem::remove_all(ProgramDir);
    }

    std::vector<int32_t> Scores() const {
        std::vector<int32_t> scores;
        for (const HighScoreEntry& entry : HighScoreTable) scores.push_back(entry.Score);
        return scores;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const HighScoreEntry& entry : HighScoreTable) names.push_back(entry.Name);
        return names;
    }

    // Plays out the end of a game that scored `score`, the player typing `answer`.
    void EndGameWith(int32_t score, std::optional<std::string> answer) {
        Score = score;
        headless::QueueInputAnswer(std::move(answer));
        EnterHighScore();
    }

    std::string NameTypedAs(const std::string& typed) {
        HighScoreTable = {};
        EndGameWith(1000, typed);
        return HighScoreTable[0].Name;
    }
};

TEST_F(HighScores, AZeroScoreNeverAsksEvenWithAnEmptyTable) {
    HighScoreTable = {};
    EndGameWith(0, "never used");
    EXPECT_TRUE(headless::TakeBoxTexts().empty());
    EXPECT_EQ(HighScoreTable[0].Name, "");
}

TEST_F(HighScores, AScoreBelowFifthPlaceIsNotAskedAndTheScoreIsCleared) {
    EndGameWith(99, "never used");
    EXPECT_TRUE(headless::TakeBoxTexts().empty());
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "d", "e", ""}));
}

TEST_F(HighScores, AQualifyingScoreIsAskedForANameAndSortedIn) {
    EndGameWith(350, "new");
    EXPECT_EQ(headless::TakeBoxTexts(), std::vector<std::string>{NamePrompt});
    EXPECT_EQ(Scores(), (std::vector<int32_t>{500, 400, 350, 300, 200, 100}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "new", "c", "d", "e"}));
    EXPECT_EQ(Score, 350);
}

TEST_F(HighScores, AnEqualScoreLandsBelowTheOlderEntry) {
    EndGameWith(300, "new");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "new", "d", "e"}));
}

TEST_F(HighScores, AScoreEqualToFifthPlaceIsAskedButNotShown) {
    EndGameWith(100, "new");
    EXPECT_EQ(headless::TakeBoxTexts(), std::vector<std::string>{NamePrompt});
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "d", "e", "new"}));
}

TEST_F(HighScores, ANewBestMovesEveryoneDownAndTheOldFifthDropsOut) {
    EndGameWith(900, "top");
    EXPECT_EQ(Scores(), (std::vector<int32_t>{900, 500, 400, 300, 200, 100}));
    EXPECT_EQ(HighScoreTable[5].Name, "e");
}

TEST_F(HighScores, CancellingTheDialogAddsNothing) {
    EndGameWith(900, std::nullopt);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "d", "e", ""}));
    EXPECT_EQ(Score, 900);
}

TEST_F(HighScores, TheDialogRefusesTheSemicolonThatWouldCutTheName) {
    EXPECT_EQ(NameTypedAs("ab;cd"), "abcd");
}

TEST_F(HighScores, TheDialogRefusesCharactersTheFileCannotStore) {
    EXPECT_EQ(NameTypedAs("😀山田"), "山田");
    // The wave dash would come back as a full-width tilde.
    EXPECT_EQ(NameTypedAs("a〜b～c"), "ab～c");
}

TEST_F(HighScores, TheDialogRefusesLineBreaksThatWouldBreakTheFile) {
    EXPECT_EQ(NameTypedAs("a\r\nscore1=9\tb"), "ascore1=9b");
}

TEST_F(HighScores, TheDialogRefusesTheFiftiethByte) {
    EXPECT_EQ(NameTypedAs(std::string(50, 'x')), std::string(49, 'x'));
    // 24 two-byte characters leave room for one byte: the next kanji is refused, a letter is not.
    const std::string kanji24 = [] {
        std::string text;
        for (int i = 0; i < 24; ++i) text += "漢";
        return text;
    }();
    const std::string name = NameTypedAs(kanji24 + "字a字");
    EXPECT_EQ(name, kanji24 + "a");
    std::string encoded;
    ASSERT_TRUE(Utf8ToCp932(name, encoded));
    EXPECT_EQ(encoded.size(), 49u);
}

TEST_F(HighScores, StorableNamesAreThoseThatReadBackUnchanged) {
    EXPECT_TRUE(IsStorableName(""));
    EXPECT_TRUE(IsStorableName("ﾊﾝｶｸ ①～ Name=[x]"));
    EXPECT_FALSE(IsStorableName("¥"));         // stored as a backslash
    EXPECT_FALSE(IsStorableName("\xE3\x81"));  // a character cut in half
}

TEST_F(HighScores, OkOnANameThatWouldNotReadBackIsRefusedAndTheNextAnswerTaken) {
    HighScoreTable = {};
    for (const char* refused : {" Ann", "Ann ", "\"Ann\"", "'Ann'", "   "})
        headless::QueueInputAnswer(std::string(refused));
    EndGameWith(1000, "Ann Lee");
    EXPECT_EQ(HighScoreTable[0].Name, "Ann Lee");
    EndGameWith(900, " ");  // refused, and nothing left to type: as if cancelled
    EXPECT_EQ(Scores(), (std::vector<int32_t>{1000, 0, 0, 0, 0, 0}));
}

// The check must agree with the real file: every name it lets through comes back as typed,
// every one it refuses would not.
TEST_F(HighScores, TheAnswerCheckAgreesWithTheSettingsFile) {
    ProgramDir = MakeScratchDir();
    for (const std::string name : {"Ann", "A \"B\" C", "\"A", "'A\"", "\"\"", "\"Ann\"", " Ann",
                                   "Ann  ", "  ", "ﾊﾝｶｸ ①", "'x'"}) {
        HighScoreTable = {{{1, name}}};
        WriteSettings();
        ReadSettings();
        EXPECT_EQ(IsNameThatReadsBack(name), HighScoreTable[0].Name == name) << '[' << name << ']';
    }
}

TEST_F(HighScores, AnEnteredNameIsSavedAtOnce) {
    EndGameWith(900, "山田");
    std::string saved;
    ASSERT_TRUE(Cp932ToUtf8(ReadFile(GameFile("\\data.ini")), saved));
    EXPECT_NE(saved.find("name1=山田"), std::string::npos) << saved;
    EXPECT_NE(saved.find("score1=900"), std::string::npos) << saved;
}

// The table screen.

struct InkBox {
    int Left = 1 << 20, Top = 1 << 20, Right = -1, Bottom = -1;  // inclusive
    bool Empty() const { return Right < 0; }
    int Height() const { return Bottom - Top + 1; }
};

// Text drawn on black in a pure colour keeps its hue however it is anti-aliased.
bool IsRedInk(uint32_t p) {
    return (p & 0xFF0000) != 0 && (p & 0x00FFFF) == 0;
}
bool IsBlueInk(uint32_t p) {
    return (p & 0x0000FF) != 0 && (p & 0xFFFF00) == 0;
}

InkBox FindInk(bool (*isInk)(uint32_t), int left, int top, int right, int bottom) {
    InkBox box;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (!isInk(PixelAt(BackBuffer, x, y))) continue;
            box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x),
                   std::max(box.Bottom, y)};
        }
    }
    return box;
}

class HighScoreScreen : public HighScores {
protected:
    void SetUp() override {
        HighScores::SetUp();
        ClearSurface(BackBuffer, 0);
        HighScoreTable[2].Name = "";
        HighScoreTable[3].Name = "山田";
    }
};

TEST_F(HighScoreScreen, TheHeadingIsLargeRedTextAtTheTopLeft) {
    DrawHighScores();
    const InkBox heading = FindInk(IsRedInk, 0, 0, 500, 100);
    ASSERT_FALSE(heading.Empty());
    EXPECT_GE(heading.Left, 20);
    EXPECT_LT(heading.Left, 26);
    EXPECT_GE(heading.Top, 20);
    EXPECT_LT(heading.Top, 34);
    EXPECT_GT(heading.Right, 200);  // sixteen characters at 32 points
    EXPECT_GT(heading.Height(), 27);
}

TEST_F(HighScoreScreen, EachPlaceHasItsRedNumberAndBlueScoreAndName) {
    DrawHighScores();
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE("place " + std::to_string(i + 1));
        const int top = 120 + 100 * i;
        const InkBox place = FindInk(IsRedInk, 0, top, 150, top + 60);
        ASSERT_FALSE(place.Empty());
        EXPECT_GE(place.Left, 20);
        EXPECT_GT(place.Height(), 20);  // a digit at 32 points
        const InkBox score = FindInk(IsBlueInk, 150, top, 310, top + 60);
        ASSERT_FALSE(score.Empty());
        EXPECT_GE(score.Left, 160);
        EXPECT_LT(score.Height(), 20);  // digits at 18 points
        const InkBox name = FindInk(IsBlueInk, 310, top, 500, top + 60);
        EXPECT_EQ(name.Empty(), i == 2) << "only the third place has no name";
        if (!name.Empty()) {
            EXPECT_GE(name.Left, 320);
        }
    }
}

TEST_F(HighScoreScreen, TheWayOutIsToldAtTheBottom) {
    DrawHighScores();
    const InkBox hint = FindInk(IsRedInk, 0, 560, 500, 600);
    ASSERT_FALSE(hint.Empty());
    EXPECT_GE(hint.Left, 120);
    EXPECT_GE(hint.Top, 570);
    EXPECT_GT(hint.Right, 300);
    EXPECT_TRUE(FindInk(IsBlueInk, 0, 560, 500, 600).Empty());
}

TEST_F(HighScoreScreen, StaysUntilZOrReturnAndPausesAroundIt) {
    int frames = 0;
    headless::SetFrameHooks([] {},
                            [&frames] {
                                if (++frames == 3) headless::TapKey(VkReturn);
                            });
    const int32_t start = TickCount();
    RunHighScoreScreen();
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(headless::PresentCount(), 3);
    EXPECT_GE(TickCount() - start, 1000 + 49);
    // The table was on screen.
    EXPECT_FALSE(FindInk(IsBlueInk, 310, 420, 500, 480).Empty());
}

TEST_F(HighScoreScreen, LeavingTakesBothKeysPresses) {
    headless::TapKey(VkZ);
    headless::TapKey(VkReturn);
    RunHighScoreScreen();
    EXPECT_EQ(GetAsyncKeyState(VkReturn), 0);
}

TEST_F(HighScoreScreen, TheCloseBoxEndsTheProgramFromTheTable) {
    SetWindowHandlers({[] { Form_Unload(); }, nullptr, nullptr});
    headless::RequestClose();
    try {
        RunHighScoreScreen();
        FAIL() << "the screen outlived the close box";
    } catch (const headless::ProgramExit& exit) {
        EXPECT_EQ(exit.Status, 0);
    }
}

}  // namespace
