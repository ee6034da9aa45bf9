// The runner's input script: each command, comments and blank lines, and refusals that name
// the line.
#include "runner_input.h"

#include <gtest/gtest.h>

#include "game/boss.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "runner_trace.h"
#include "support/test_support.h"

namespace {

RunnerInput Parse(const std::string& text) {
    RunnerInput input;
    std::string error;
    EXPECT_TRUE(ParseRunnerInput(text, input, error)) << error;
    return input;
}

std::string ParseError(const std::string& text) {
    RunnerInput input;
    std::string error;
    EXPECT_FALSE(ParseRunnerInput(text, input, error));
    return error;
}

}  // namespace

class RunnerInputTest : public GameTest {};

TEST_F(RunnerInputTest, KeyCommandsApplyAtTheirFrame) {
    const RunnerInput input =
        Parse("# a comment\n\n3 down z\r\n3 down kp8\n5 up z\n7 tap return\n");
    input.ApplyFrame(2);
    EXPECT_EQ(GetAsyncKeyState(VkZ), 0);
    input.ApplyFrame(3);
    EXPECT_EQ(GetAsyncKeyState(VkZ), KeyDownNow | KeyPressedSinceQuery);
    EXPECT_EQ(GetAsyncKeyState(VkNumpad8), KeyDownNow | KeyPressedSinceQuery);
    input.ApplyFrame(5);
    EXPECT_EQ(GetAsyncKeyState(VkZ), 0);
    input.ApplyFrame(7);
    EXPECT_EQ(GetAsyncKeyState(VkReturn), KeyPressedSinceQuery);
}

TEST_F(RunnerInputTest, EveryKeyNameIsKnown) {
    const std::vector<std::pair<std::string, int>> names = {
        {"left", VkLeft},   {"up", VkUp},       {"right", VkRight},   {"down", VkDown},
        {"kp2", VkNumpad2}, {"kp4", VkNumpad4}, {"kp5", VkNumpad5},   {"kp6", VkNumpad6},
        {"kp8", VkNumpad8}, {"z", VkZ},         {"return", VkReturn}, {"escape", VkEscape}};
    for (const auto& [name, key] : names) EXPECT_EQ(KeyByName(name), key) << name;
    EXPECT_EQ(KeyByName("x"), 0);
}

TEST_F(RunnerInputTest, AnswersAreQueuedInOrder) {
    const RunnerInput input = Parse("answer 山田 太郎\ncancel\nmsgbox ok\nmsgbox cancel\n");
    input.QueueAnswers();
    auto accept = [](const std::string&) { return true; };
    EXPECT_EQ(InputBox("prompt", "title", accept, accept), "山田 太郎");
    EXPECT_EQ(InputBox("prompt", "title", accept, accept), "");
    EXPECT_EQ(MessageBox("q", "t", BoxButtons::OkCancel), BoxAnswer::Ok);
    EXPECT_EQ(MessageBox("q", "t", BoxButtons::OkCancel), BoxAnswer::Cancel);
    EXPECT_EQ(MessageBox("q", "t", BoxButtons::OkCancel), BoxAnswer::Cancel);  // queue empty
    EXPECT_EQ(MessageBox("note", "t", BoxButtons::Ok), BoxAnswer::Ok);
}

TEST_F(RunnerInputTest, CloseRequestsTheCloseBox) {
    const RunnerInput input = Parse("4 close\n");
    bool closed = false;
    static bool* flag = nullptr;
    flag = &closed;
    SetWindowHandlers({[] { *flag = true; }, nullptr, nullptr});
    input.ApplyFrame(4);
    DoEvents();
    EXPECT_TRUE(closed);
}

TEST_F(RunnerInputTest, MistakesNameTheirLine) {
    EXPECT_EQ(ParseError("1 down z\n2 push z\n"), "input line 2: unknown command \"push\"");
    EXPECT_EQ(ParseError("1 down q\n"), "input line 1: unknown key \"q\"");
    EXPECT_EQ(ParseError("0 down z\n"), "input line 1: frames count from 1");
    EXPECT_EQ(ParseError("msgbox maybe\n"), "input line 1: msgbox takes ok or cancel");
    EXPECT_EQ(ParseError("x1 down z\n"), "input line 1: unknown command \"x1\"");
}

TEST(RunnerTrace, EscapesTextsForJson) {
    EXPECT_EQ(JsonString("a\"b\\c\nd"), "\"a\\\"b\\\\c\\u000ad\"");
    EXPECT_EQ(JsonString("終了しますか"), "\"終了しますか\"");
}

TEST_F(RunnerInputTest, TraceLineHoldsEveryField) {
    GameMode = ModeStage;
    StageTimer = 12;
    Score = 340;
    Player = {226, 500, 0, 0, 5, ShipNormal};
    PlayerShots[3].Active = True16;
    EnemyBullets[0].Active = True16;
    EnemyBullets[1].Active = True16;
    Enemies.assign(3, EnemyRecord{});
    Enemies[1].Active = True16;
    Enemies[2].Active = True16;
    Enemies[2].Exploding = True16;
    MidiOn = True16;
    BossFight.BossX = 250;
    BossFight.BossY = -250;
    BossFight.BossHP = 400;
    BossFight.BossPhase = PhaseEntering;
    MessageBox("こんにちは", "t", BoxButtons::Ok);
    headless::SetClock(123456);
    EXPECT_EQ(TraceLine(9),
              "{\"frame\":9,\"mode\":2,\"timer\":12,\"score\":340,\"player\":[226,500,5,1],"
              "\"shots\":1,\"bullets\":2,\"enemies\":1,\"exploding\":1,\"boss\":[250,-250,400,2],"
              "\"difficulty\":2,\"midi\":-1,\"wav\":0,\"sounds\":0,\"music\":[],"
              "\"boxes\":[\"こんにちは\"],\"tick\":123456}");
}
