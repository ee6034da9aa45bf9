// The stage scripts: their grammar, the enemy kinds' courses, the difficulty scaling, and what a
// broken script does to a new game.
#include "data/stage.h"

#include <filesystem>
#include <string>
#include <vector>

#include "data/flight_paths.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "platform/sjis.h"
#include "support/test_support.h"

namespace {

std::string Cp932(const std::string& utf8) {
    std::string bytes;
    EXPECT_TRUE(Utf8ToCp932(utf8, bytes)) << utf8;
    return bytes;
}

// Lines joined with CR LF, the way the game's scripts are written, with a final line break.
std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

class StageScript : public GameTest {
protected:
    StageTables Tables;
    std::string Error;

    bool Parse(const std::string& utf8, uint8_t difficulty = 2) {
        Error.clear();
        return ParseStage(Cp932(utf8), difficulty, Tables, Error);
    }
    void ParseOk(const std::string& utf8, uint8_t difficulty = 2) {
        ASSERT_TRUE(Parse(utf8, difficulty)) << Error;
    }
    const EnemyRecord& Slot(size_t s) { return Tables.Enemies.at(s); }
    const PathColumn& Path(size_t s) { return Tables.Paths.at(s); }
};

// ---- Courses ------------------------------------------------------------------------------

TEST_F(StageScript, SmallFryFliesDownFiringEveryIntervalUntilBelowItsBox) {
    ParseOk(Lines({"#雑魚", "2", "100, 250, -26, 0, 4, 30", "#End"}));
    ASSERT_EQ(Tables.Enemies.size(), 2u);
    EXPECT_EQ(Slot(1).HP, 2);
    EXPECT_EQ(Slot(1).StartFrame, 100);
    EXPECT_EQ(Path(1).Y[100], -26);
    EXPECT_EQ(Path(1).Y[101], -22);
    EXPECT_EQ(Path(1).X[101], 250);
    for (int t = 101; t <= 264; ++t) EXPECT_EQ(Path(1).Fire[t], (t - 101) % 30 == 0 ? 30 : 0) << t;
    // Still inside at y 626 (600 + 52 / 2); gone at 630.
    EXPECT_EQ(Path(1).Y[263], 626);
    EXPECT_EQ(Slot(1).EndFrame, 264);
    EXPECT_EQ(Path(1).Y[264], 630);
    EXPECT_EQ(Path(1).Sprite[99], 0);
    EXPECT_EQ(Path(1).Sprite[100], 50);
    EXPECT_EQ(Path(1).Sprite[264], 50);
    EXPECT_EQ(Path(1).Sprite[265], 0);
    EXPECT_EQ(Path(1).Y[265], 0);
    // The loader leaves everything else to the enemy update.
    EXPECT_EQ(Slot(1).X, 0);
    EXPECT_EQ(Slot(1).Sprite, 0);
    EXPECT_EQ(Slot(1).HitRadius, 0);
    EXPECT_EQ(Slot(1).Active, False16);
}

TEST_F(StageScript, StraightPathLeavingOnItsFirstStepEndsNextFrameWithAShot) {
    std::string error = BuildStraightPath(Tables, 250, 626, 0, 1, 10, 30, 30, 0, 70, 52);
    ASSERT_EQ(error, "");
    EXPECT_EQ(Tables.Enemies.back().EndFrame, 11);
    EXPECT_EQ(Tables.Paths.back().Fire[11], 30);
}

TEST_F(StageScript, StraightPathMayStartOutsideItsBox) {
    ASSERT_EQ(BuildStraightPath(Tables, 250, -100, 0, 80, 10, 5, 30, 0, 70, 52), "");
    EXPECT_EQ(Tables.Enemies.back().EndFrame, 20);  // y -20, 60, ..., 620 inside; 700 out
}

TEST_F(StageScript, IntervalOneFiresOnEveryFrameAfterTheFirst) {
    ASSERT_EQ(BuildStraightPath(Tables, 250, 300, 100, 0, 0, 1, 20, 0, 106, 72), "");
    const EnemyRecord& enemy = Tables.Enemies.back();
    EXPECT_EQ(enemy.EndFrame, 4);  // x 350, 450, 550 inside (<= 553), 650 out
    EXPECT_EQ(Tables.Paths.back().Fire[0], 0);
    for (int t = 1; t <= 4; ++t) EXPECT_EQ(Tables.Paths.back().Fire[t], 20) << t;
}

TEST_F(StageScript, BlueTurnsOnTheFrameBeforeItWouldPassTheTurnLine) {
    ParseOk(Lines({"#青", "3", "50, 240, 4, 10, 200, -3", "50, 240, 5, 10, 200, -3", "#End"}));
    // 63 steps of 4 from -52 reach 200 exactly.
    EXPECT_EQ(Path(1).Y[113], 200);
    EXPECT_EQ(Path(1).Y[114], 197);
    EXPECT_EQ(Path(1).X[150], 240);
    // With steps of 5 the next one would pass 200, so it turns at 198.
    EXPECT_EQ(Path(2).Y[100], 198);
    EXPECT_EQ(Path(2).Y[101], 195);
    EXPECT_EQ(Path(1).Sprite[50], 40);
}

TEST_F(StageScript, BlueFiresOnlyAfterItsTurnCountingTheFirstLegSteps) {
    ParseOk(Lines({"#青", "3", "50, 240, 4, 10, 200, -3", "#End"}));
    // Steps 0..62 are the first leg; the 70th step lands on frame 121.
    for (int t = 51; t <= 120; ++t) EXPECT_EQ(Path(1).Fire[t], 0) << t;
    EXPECT_EQ(Path(1).Fire[121], 10);
    EXPECT_EQ(Path(1).Fire[131], 10);
    EXPECT_EQ(Path(1).Fire[132], 0);
    // Back up and out at the top: y 200 - 3 x 85 = -55 is past -52.
    EXPECT_EQ(Slot(1).EndFrame, 198);
    EXPECT_EQ(Path(1).Y[198], -55);
}

TEST_F(StageScript, BlueWithIntervalZeroNeverFires) {
    ParseOk(Lines({"#青", "3", "0, 240, 4, 0, 200, 4", "#End"}));
    for (int t = 0; t <= Slot(1).EndFrame; ++t) EXPECT_EQ(Path(1).Fire[t], 0) << t;
}

TEST_F(StageScript, ButterflyFlapsWithTheStageFrame) {
    ParseOk(Lines({"#ちょう", "1", "9, 100, 5, 10", "13, 100, 5, 10", "#End"}));
    const std::vector<int> fromNine = {10, 11, 12, 13, 14, 13, 12, 11, 10, 10, 11};
    for (size_t i = 0; i < fromNine.size(); ++i)
        EXPECT_EQ(Path(1).Sprite[9 + i], fromNine[i]) << 9 + i;
    EXPECT_EQ(Path(2).Sprite[13], 14);
    EXPECT_EQ(Path(2).Sprite[14], 13);
    EXPECT_EQ(Path(2).Sprite[12], 0);
}

TEST_F(StageScript, DogBobsThirtySixFramesAndFiresOnceAtTheBottom) {
    ParseOk(Lines({"#犬", "5", "200, 250, 150", "400, 30, 40", "#End"}));
    for (size_t s : {1u, 2u}) {
        const int time = Slot(s).StartFrame;
        EXPECT_EQ(Slot(s).EndFrame, time + 36);
        EXPECT_EQ(Slot(s).HP, 5);
        const int pictures[] = {24, 23, 22, 21, 20, 21, 22, 23, 24};
        for (int t = time; t < time + 36; ++t) {
            EXPECT_EQ(Path(s).Sprite[t], pictures[(t - time) / 4]) << t;
            EXPECT_EQ(Path(s).Fire[t], t == time + 16 ? 50 : 0) << t;
            EXPECT_EQ(Path(s).X[t], Path(s).X[time]);
            EXPECT_EQ(Path(s).Y[t], Path(s).Y[time]);
        }
        EXPECT_EQ(Path(s).Sprite[time + 36], 25);
        EXPECT_EQ(Path(s).Fire[time + 36], 0);
    }
    EXPECT_EQ(Path(1).X[230], 250);
    EXPECT_EQ(Path(2).Y[436], 40);
}

TEST_F(StageScript, GreenVariantPicksItsPictureAndAnUnknownOneShowsNothing) {
    ParseOk(Lines({"#緑", "1", "10, 100, 0, 0, 9, 10, 0", "10, 100, 0, 0, 9, 10, 1",
                   "10, 100, 0, 0, 9, 10, 2", "#End"}));
    EXPECT_EQ(Path(1).Sprite[20], 60);
    EXPECT_EQ(Path(2).Sprite[20], 61);
    for (int t = 0; t < PathFrames; ++t) ASSERT_EQ(Path(3).Sprite[t], 0) << t;
    EXPECT_EQ(Path(3).Y[20], 90);
    EXPECT_EQ(Path(3).Fire[11], 40);
    EXPECT_EQ(Slot(3).EndFrame, Slot(1).EndFrame);
}

TEST_F(StageScript, BatFliesLevelWhateverVerticalSpeedCameBefore) {
    ParseOk(Lines({"#雑魚", "1", "0, 250, 300, 0, 7, 10", "#End", "#こうもり", "1",
                   "5, -40, 200, 6, 10", "#End"}));
    EXPECT_EQ(Path(2).Y[6], 200);
    EXPECT_EQ(Path(2).X[6], -34);
    EXPECT_EQ(Path(2).Y[90], 200);
    EXPECT_EQ(Path(2).Sprite[6], 30);
    EXPECT_EQ(Path(2).Fire[6], 20);
}

// ---- Grammar and working values -----------------------------------------------------------

TEST_F(StageScript, ButterflyTakesTheYAndSidewaysSpeedReadLast) {
    ParseOk(Lines({"#こうもり", "1", "100, 50, 80, 3, 10", "#End", "#ちょう", "1", "120, 60, 5, 10",
                   "#End"}));
    EXPECT_EQ(Path(2).Y[120], 80);
    EXPECT_EQ(Path(2).X[120], 60);
    EXPECT_EQ(Path(2).X[121], 63);
    EXPECT_EQ(Path(2).Y[121], 85);

    ParseOk(Lines({"#ちょう", "1", "120, 60, 5, 10", "#End"}));
    EXPECT_EQ(Path(1).Y[120], 0);
    EXPECT_EQ(Path(1).X[121], 60);
    EXPECT_EQ(Path(1).Y[121], 5);
}

TEST_F(StageScript, HitPointsAndIntervalsScaleWithTheDifficultyRoundedToNearest) {
    const std::string script =
        Lines({"#雑魚", "3", "0, 250, 0, 0, 1, 10", "#End", "#犬", "3", "0, 100, 100", "#End"});
    struct Case {
        uint8_t Difficulty;
        int HP;
        int Interval;
    };
    for (Case c : {Case{1, 4, 8}, Case{2, 3, 10}, Case{3, 2, 12}}) {
        ParseOk(script, c.Difficulty);
        EXPECT_EQ(Slot(1).HP, c.HP) << int(c.Difficulty);
        EXPECT_EQ(Slot(2).HP, 3) << int(c.Difficulty);
        EXPECT_EQ(Path(1).Fire[1], 30);
        EXPECT_EQ(Path(1).Fire[1 + c.Interval], 30) << int(c.Difficulty);
        for (int t = 2; t < 1 + c.Interval; ++t) EXPECT_EQ(Path(1).Fire[t], 0) << t;
    }
    ParseOk(Lines({"#雑魚", "4", "0, 250, 0, 0, 1, 10", "#End"}), 1);
    EXPECT_EQ(Slot(1).HP, 5);  // 4.8
}

TEST_F(StageScript, EveryValueIsAnyNumberRoundedHalfToEven) {
    ParseOk(Lines({"#犬", "1", "100.5, 0, 0", "101.5, 0, 0", "1e2, 0, 0", "\"7\", 0, 0", "#End"}));
    EXPECT_EQ(Slot(1).StartFrame, 100);
    EXPECT_EQ(Slot(2).StartFrame, 102);
    EXPECT_EQ(Slot(3).StartFrame, 100);
    EXPECT_EQ(Slot(4).StartFrame, 7);
    ParseOk(Lines({"#ボス", "50.5", "2050, 120.5, 121.5, 6.5"}));
    EXPECT_EQ(Slot(0).HP, 50);
    EXPECT_EQ(Slot(0).X, 120);
    EXPECT_EQ(Slot(0).Y, 122);
    EXPECT_EQ(Slot(0).Sprite, 6);
}

TEST_F(StageScript, BossBlockBeforeAnySpawnLineDressesUpSlotZero) {
    ParseOk(Lines({"#ボス", "50", "2050, 250, -100, 7"}));
    ASSERT_EQ(Tables.Enemies.size(), 1u);
    EXPECT_EQ(Slot(0).X, 250);
    EXPECT_EQ(Slot(0).Y, -100);
    EXPECT_EQ(Slot(0).Sprite, 7);
    EXPECT_EQ(Slot(0).HP, 50);
    EXPECT_EQ(Slot(0).StartFrame, 2050);
    EXPECT_EQ(Slot(0).EndFrame, 0);
}

TEST_F(StageScript, BossBlockAfterSpawnLinesOverwritesOnlyTheLastSlotsRecord) {
    ParseOk(Lines({"#雑魚", "1", "10, 250, 0, 0, 4, 10", "20, 100, 0, 0, 4, 10", "#End", "#ボス",
                   "80", "300, 1, 2, 3", "#ちょう", "1", "30, 50, 4, 10", "#End"}));
    ASSERT_EQ(Tables.Enemies.size(), 4u);
    EXPECT_EQ(Slot(2).StartFrame, 300);
    EXPECT_EQ(Slot(2).HP, 80);
    EXPECT_EQ(Slot(2).X, 1);
    EXPECT_EQ(Slot(2).Sprite, 3);
    EXPECT_EQ(Slot(2).EndFrame, 20 + 157);
    EXPECT_EQ(Path(2).X[20], 100);
    EXPECT_EQ(Slot(1).StartFrame, 10);
    // The boss's X and Y are working values like any other.
    EXPECT_EQ(Path(3).Y[30], 2);
}

TEST_F(StageScript, WordsAndNumbersBetweenBlocksAreSkipped) {
    const std::string plain = Lines({"#雑魚", "2", "40, 120, -20, 0, 4, 30", "#End"});
    ParseOk("wave one\r\n" + plain + "17\r\n#End\r\nこれはメモ, 5\r\n" + plain);
    ASSERT_EQ(Tables.Enemies.size(), 3u);
    EXPECT_EQ(Slot(2).StartFrame, 40);
    EXPECT_EQ(Slot(2).HP, 2);
    // Even a note in bytes that are not Shift_JIS.
    ASSERT_TRUE(
        ParseStage(Cp932(plain) + "\x81 note\xff, \x82\r\n" + Cp932(plain), 2, Tables, Error))
        << Error;
    EXPECT_EQ(Tables.Enemies.size(), 3u);
}

TEST_F(StageScript, EmptyBlockAddsNoSlot) {
    ParseOk(Lines({"#雑魚", "2", "#End", "#犬", "1", "#End"}));
    EXPECT_EQ(Tables.Enemies.size(), 1u);
    EXPECT_EQ(Tables.Paths.size(), 1u);
}

TEST_F(StageScript, TwoBlocksOfOneKindEachUseTheirOwnBlockValue) {
    ParseOk(Lines({"#雑魚", "2", "0, 250, 0, 0, 4, 10", "#End", "#雑魚", "6", "0, 250, 0, 0, 4, 10",
                   "#End"}));
    EXPECT_EQ(Slot(1).HP, 2);
    EXPECT_EQ(Slot(2).HP, 6);
}

TEST_F(StageScript, FileMayEndRightAfterEndWithOrWithoutALineBreak) {
    const std::string block = "#犬\r\n5\r\n200, 250, 150\r\n#End";
    ParseOk(block);
    EXPECT_EQ(Tables.Enemies.size(), 2u);
    ParseOk(block + "\r\n");
    EXPECT_EQ(Tables.Enemies.size(), 2u);
    ParseOk(block + "\r\n\r\n   \r\n");
    EXPECT_EQ(Tables.Enemies.size(), 2u);
}

TEST_F(StageScript, OnlyTheOrderOfFieldsMattersNotTheLines) {
    ParseOk("\"#雑魚\" , 2,\t40\n  120 ,\"-20\"\r0,4\r\n30 , \"#End\"");
    ASSERT_EQ(Tables.Enemies.size(), 2u);
    EXPECT_EQ(Path(1).X[40], 120);
    EXPECT_EQ(Path(1).Y[41], -16);
    EXPECT_EQ(Path(1).Fire[71], 30);
}

TEST_F(StageScript, KeywordsAreCaseSensitiveSoLowerCaseEndIsATime) {
    EXPECT_FALSE(Parse(Lines({"#雑魚", "2", "40, 120, -20, 0, 4, 30", "#end", "#End"})));
    EXPECT_EQ(Error, "line 4: a number was expected, found \"#end\"");
}

TEST_F(StageScript, FullStageOf254EnemiesLoads) {
    std::string script = "#緑\r\n1\r\n";
    for (int i = 0; i < 254; ++i) script += std::to_string(i) + ", 250, 0, 0, 1, 30, 0\r\n";
    ParseOk(script + "#End\r\n");
    EXPECT_EQ(Tables.Enemies.size(), 255u);
    EXPECT_EQ(Tables.Paths.size(), 255u);
    EXPECT_EQ(Slot(254).EndFrame, 253 + 637);
}

// ---- Loading a game's script --------------------------------------------------------------

class StageLoading : public GameTest {
protected:
    std::string Dir;

    void SetUp() override {
        GameTest::SetUp();
        Dir = MakeScratchDir();
        ProgramDir = Dir;
        // A previous game's tables, which a broken script must leave alone.
        Enemies.assign(3, EnemyRecord{});
        Enemies[2].HP = 77;
        Enemies[2].EndFrame = 500;
        Paths.assign(3, PathColumn{});
        Paths[2].X[400] = 123;
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    void WriteScript(const std::string& letter, const std::string& bytes) {
        WriteFile(Dir + "/teki_" + letter + ".dat", bytes);
    }
    void ExpectPreviousTablesKept() {
        ASSERT_EQ(Enemies.size(), 3u);
        EXPECT_EQ(Enemies[2].HP, 77);
        EXPECT_EQ(Enemies[2].EndFrame, 500);
        ASSERT_EQ(Paths.size(), 3u);
        EXPECT_EQ(Paths[2].X[400], 123);
    }
};

TEST_F(StageLoading, EachDifficultyReadsItsOwnScriptAndSetsItsFactor) {
    WriteScript("e", Cp932(Lines({"#雑魚", "3", "10, 250, 0, 0, 4, 10", "#End"})));
    WriteScript("n", Cp932(Lines({"#雑魚", "3", "20, 250, 0, 0, 4, 10", "#End"})));
    WriteScript("h", Cp932(Lines({"#雑魚", "3", "30, 250, 0, 0, 4, 10", "#End"})));
    struct Case {
        uint8_t Difficulty;
        int Start;
        int HP;
    };
    for (Case c : {Case{1, 10, 4}, Case{2, 20, 3}, Case{3, 30, 2}}) {
        Difficulty = c.Difficulty;
        ASSERT_TRUE(LoadStage()) << headless::TakeBoxTexts().front();
        ASSERT_EQ(Enemies.size(), 2u);
        EXPECT_EQ(Enemies[1].StartFrame, c.Start);
        EXPECT_EQ(Enemies[1].HP, c.HP);
        EXPECT_EQ(Paths.size(), 2u);
    }
    EXPECT_TRUE(headless::TakeBoxTexts().empty());
}

TEST_F(StageLoading, MissingScriptIsReportedAndKeepsThePreviousTables) {
    EXPECT_FALSE(LoadStage());
    EXPECT_EQ(headless::TakeBoxTexts(),
              std::vector<std::string>{"teki_n.dat: the file is missing or cannot be read"});
    ExpectPreviousTablesKept();
}

TEST_F(StageLoading, UnreadableScriptIsReported) {
    std::filesystem::create_directory(Dir + "/teki_h.dat");
    Difficulty = 3;
    EXPECT_FALSE(LoadStage());
    EXPECT_EQ(headless::TakeBoxTexts(),
              std::vector<std::string>{"teki_h.dat: the file is missing or cannot be read"});
    ExpectPreviousTablesKept();
}

TEST_F(StageLoading, DifficultyWithoutAScriptIsReported) {
    Difficulty = 4;
    EXPECT_FALSE(LoadStage());
    EXPECT_EQ(headless::TakeBoxTexts(),
              std::vector<std::string>{"There is no stage for difficulty 4."});
    ExpectPreviousTablesKept();
}

struct BrokenScript {
    const char* Name;
    std::string Bytes;
    std::string Message;
};

void PrintTo(const BrokenScript& script, std::ostream* out) {
    *out << script.Name;
}

class BrokenStage : public StageLoading, public ::testing::WithParamInterface<BrokenScript> {};

TEST_P(BrokenStage, IsReportedByLineAndKeepsThePreviousTables) {
    WriteScript("n", GetParam().Bytes);
    EXPECT_FALSE(LoadStage());
    EXPECT_EQ(headless::TakeBoxTexts(), std::vector<std::string>{GetParam().Message});
    ExpectPreviousTablesKept();
}

std::string FryLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += "0, 250, 0, 0, 30, 10\r\n";
    return lines;
}

std::vector<BrokenScript> BrokenScripts() {
    const std::string fry = Cp932("#雑魚\r\n2\r\n");
    return {
        {"NotShiftJis", fry + "10, 250, 0, 0, 4, 10\r\n\x81\x20\r\n#End\r\n",
         "teki_n.dat line 4: the text is not valid Shift_JIS"},
        {"EndsInsideBlock", Cp932("note\r\n#雑魚\r\n2\r\n10, 250, 0, 0, 4, 10\r\n"),
         "teki_n.dat line 2: the file ends inside the block \"#雑魚\""},
        {"EndsInsideRecord", fry + "10, 250, 0",
         "teki_n.dat line 1: the file ends inside the block \"#雑魚\""},
        {"EndsInsideBossBlock", Cp932("#ボス\r\n50\r\n2050, 250\r\n"),
         "teki_n.dat line 1: the file ends inside the block \"#ボス\""},
        {"WordForNumber", fry + "10, 250, abc, 0, 4, 10\r\n#End",
         "teki_n.dat line 3: a number was expected, found \"abc\""},
        {"WordForBlockValue", Cp932("#雑魚\r\nふたつ\r\n#End"),
         "teki_n.dat line 2: a number was expected, found \"ふたつ\""},
        {"EmptyField", fry + "10, 250,, 0, 4, 10\r\n#End",
         "teki_n.dat line 3: a number was expected, found \"\""},
        {"NotShiftJisForANumber", fry + "10, 250, 0, 0, 4, 1\x81\r\n#End",
         "teki_n.dat line 3: the text is not valid Shift_JIS"},
        {"DogHitPointsThatAHitWouldOverflow", Cp932("#犬\r\n-2147483648\r\n10, 250, 0\r\n#End"),
         "teki_n.dat line 3: the hit points -2147483648 are outside 0..2147483647"},
        {"BossHitPointsNegative", Cp932("#ボス\r\n-1\r\n2050, 250, -100, 7"),
         "teki_n.dat line 3: the hit points -1 are outside 0..2147483647"},
        {"NumberTooLarge", fry + "10, 250, 0, 0, 4, 99999999999\r\n#End",
         "teki_n.dat line 3: the number \"99999999999\" is too large"},
        {"LowerCaseEnd", fry + "10, 250, 0, 0, 4, 10\r\n#end\r\n",
         "teki_n.dat line 4: a number was expected, found \"#end\""},
        {"LargerThanAMegabyte", fry + FryLines(1) + "#End\r\n" + std::string(1 << 20, ' '),
         "teki_n.dat: the file is larger than 1 MB"},
        {"TooManyEnemies", fry + FryLines(255) + "#End",
         "teki_n.dat line 257: more than 254 enemies"},
        {"NeverLeavesTheField", fry + "10, 250, 300, 0, 0, 10\r\n#End",
         "teki_n.dat line 3: the enemy is still on the field at frame 2300"},
        {"LeavesTooLate", fry + "2000, 250, 0, 0, 1, 10\r\n#End",
         "teki_n.dat line 3: the enemy is still on the field at frame 2300"},
        {"CourseFaultBeforeWritingFault", fry + "10, 250, 300, 0, 0, 10\r\n20, 250, x\r\n#End",
         "teki_n.dat line 3: the enemy is still on the field at frame 2300"},
        {"WritingFaultBeforeCourseFault", fry + "20, 250, x\r\n10, 250, 300, 0, 0, 10\r\n#End",
         "teki_n.dat line 3: a number was expected, found \"x\""},
        {"BlueNeverTurns", Cp932("#青\r\n1\r\n10, 250, 0, 10, 200, 4\r\n#End"),
         "teki_n.dat line 3: the enemy has not reached its turn by frame 2300"},
        {"DogTooLate", Cp932("#犬\r\n1\r\n2264, 1, 1\r\n2265, 1, 1\r\n#End"),
         "teki_n.dat line 4: the dog at frame 2265 cannot finish its 36 frames by frame 2300"},
        {"TimeBeforeTheStage", fry + "-1, 250, 0, 0, 4, 10\r\n#End",
         "teki_n.dat line 3: the time -1 is outside 0..2300"},
        {"HitPointsTooHigh", Cp932("#雑魚\r\n256\r\n10, 250, 0, 0, 4, 10\r\n#End"),
         "teki_n.dat line 3: the scaled hit points come to 256, outside 0..255"},
        {"HitPointsNegative", Cp932("#雑魚\r\n-1\r\n10, 250, 0, 0, 4, 10\r\n#End"),
         "teki_n.dat line 3: the scaled hit points come to -1, outside 0..255"},
        {"IntervalTooLong", fry + "10, 250, 0, 0, 4, 300\r\n#End",
         "teki_n.dat line 3: the scaled fire interval comes to 300, outside 0..255"},
        {"IntervalZero", fry + "10, 250, 0, 0, 4, 0\r\n#End",
         "teki_n.dat line 3: the scaled fire interval is 0; a straight flier needs 1 or more"},
        {"BossPictureTooHigh", Cp932("#ボス\r\n50\r\n2050, 250, -100, 256"),
         "teki_n.dat line 3: the picture code 256 is outside 0..255"},
        {"PositionOverflows", fry + "10, 2147483647, 0, 1, 4, 10\r\n#End",
         "teki_n.dat line 3: the position (2147483647, 0) is outside -1000000..1000000"},
        {"DogFarOffTheField", Cp932("#犬\r\n1\r\n15, -2147483648, -2147483648\r\n#End"),
         "teki_n.dat line 3: the position (-2147483648, -2147483648) is outside "
         "-1000000..1000000"},
        {"BlueFarOffTheField", Cp932("#青\r\n1\r\n10, -2147483648, 4, 10, 200, 4\r\n#End"),
         "teki_n.dat line 3: the position (-2147483648, -52) is outside -1000000..1000000"},
        {"GreenFlyingOutOfRange", Cp932("#緑\r\n1\r\n10, -999990, 300, -11, 0, 10, 0\r\n#End"),
         "teki_n.dat line 3: the enemy flies beyond -1000000..1000000"},
        {"BossFarOffTheField", Cp932("#ボス\r\n50\r\n2050, 250, -1000001, 7"),
         "teki_n.dat line 3: the boss's position (250, -1000001) is outside "
         "-1000000..1000000"},
    };
}

INSTANTIATE_TEST_SUITE_P(StageLoading, BrokenStage, ::testing::ValuesIn(BrokenScripts()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(StageScript, ScalingToAValueOutsideTheTableOnlyFailsAtTheDifficultyThatDoesIt) {
    const std::string script = Lines({"#雑魚", "213", "10, 250, 0, 0, 4, 10", "#End"});
    ParseOk(script, 2);
    EXPECT_FALSE(Parse(script, 1));  // 255.6
    EXPECT_EQ(Error, "line 3: the scaled hit points come to 256, outside 0..255");
    ParseOk(Lines({"#雑魚", "212", "10, 250, 0, 0, 4, 10", "#End"}), 1);
    EXPECT_EQ(Slot(1).HP, 254);
}

TEST_F(StageScript, PathMayEndOnTheTablesLastFrameButNoLater) {
    // 627 steps of 1 take a small fry from y 0 to 627, past 600 + 26.
    ParseOk(Lines({"#雑魚", "1", "1673, 250, 0, 0, 1, 10", "#End"}));
    EXPECT_EQ(Slot(1).EndFrame, 2300);
    EXPECT_EQ(Path(1).Y[2300], 627);
    EXPECT_FALSE(Parse(Lines({"#雑魚", "1", "1674, 250, 0, 0, 1, 10", "#End"})));
    EXPECT_EQ(Error, "line 3: the enemy is still on the field at frame 2300");
}

TEST_F(StageScript, PositionsMayReachTheLimitOnEitherSide) {
    ParseOk(Lines(
        {"#犬", "1", "10, -1000000, 1000000", "#End", "#ボス", "1", "2050, 1000000, -1000000, 7"}));
    EXPECT_EQ(Path(1).X[11], -1000000);
    EXPECT_EQ(Path(1).Y[11], 1000000);
    EXPECT_EQ(Slot(1).X, 1000000);
}

TEST_F(StageScript, LongFieldsAreCutShortInTheMessage) {
    EXPECT_FALSE(Parse(Lines({"#雑魚", "2", std::string(5000, 'x'), "#End"})));
    EXPECT_EQ(Error, "line 3: a number was expected, found \"" + std::string(40, 'x') + "...\"");
}

}  // namespace
