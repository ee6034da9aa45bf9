// data.ini: the profile-style reads and writes with their remembered file and section, the
// conversions of every key, the defaults, and the file as the game leaves it at exit.
#include "data/settings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "audio/volume.h"
#include "game/difficulty.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

class SettingsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ProgramDir = MakeScratchDir();
        file = ProgramDir + "/data.ini";
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(ProgramDir);
    }
    // The file as a new run finds it.
    void Data(const std::string& lines) {
        WriteFile(file, "[data]\r\n" + lines);
        ResetSettingsState();
    }
    std::string Padded(const std::string& value, size_t characters) {
        return value + std::string(255 - characters, ' ');
    }
    std::string file;
};

TEST_F(SettingsTest, AReadStopsAtTheFirstSemicolonAndAfter49Bytes) {
    Data("name1=ab;cd\r\nname2=" + std::string(60, 'z') + "\r\nname3=" + std::string(48, 'y') +
         ";\r\n");
    EXPECT_EQ(ReadIniValue("name1", file, "data", ""), "ab");
    EXPECT_EQ(ReadIniValue("name2", "", "", ""), std::string(49, 'z'));
    EXPECT_EQ(ReadIniValue("name3", "", "", ""), std::string(48, 'y'));
    EXPECT_EQ(ReadIniValue("none", "", "", "2"), "2");
}

TEST_F(SettingsTest, EmptyFileOrSectionMeansTheRememberedOne) {
    WriteFile(file, "[data]\r\nk=in data\r\n[more]\r\nk=in more\r\n");
    const std::string other = ProgramDir + "/other.ini";
    WriteFile(other, "[more]\r\nk=other file\r\n");
    EXPECT_EQ(ReadIniValue("k", file, "data", ""), "in data");
    EXPECT_EQ(ReadIniValue("k", "", "more", ""), "in more");
    EXPECT_EQ(ReadIniValue("k", other, "", ""), "other file");
    EXPECT_EQ(ReadIniValue("k", "", "", ""), "other file");
}

TEST_F(SettingsTest, WritesArePaddedTo255CharactersAndRememberTheirOwnFile) {
    const std::string other = ProgramDir + "/other.ini";
    ReadIniValue("k", other, "elsewhere", "");  // the reader's memory is not the writer's
    WriteIniValue("name1", "bob", file, "data");
    WriteIniValue("name2", "山田", "", "");
    WriteIniValue("name3", std::string(300, 'x'), "", "");
    EXPECT_FALSE(fs::exists(file));  // the keys wait for the save, to be written at once
    SaveIniFiles();
    EXPECT_FALSE(fs::exists(other));
    EXPECT_EQ(ReadFile(file), "[data]\r\nname1=" + Padded("bob", 3) +
                                  "\r\nname2=" + Padded("\x8e\x52\x93\x63", 2) +
                                  "\r\nname3=" + std::string(255, 'x') + "\r\n");
    EXPECT_EQ(ReadIniValue("name2", file, "data", ""), "山田");
}

TEST_F(SettingsTest, NoFileGivesFiveEmptyPlacesSilenceAndNormal) {
    HighScoreTable[2] = {500, "old"};
    Difficulty = 3;
    MidiOn = WavOn = True16;
    ReadSettings();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(HighScoreTable[i].Score, 0);
        EXPECT_EQ(HighScoreTable[i].Name, "");
    }
    EXPECT_EQ(MidiOn, False16);
    EXPECT_EQ(WavOn, False16);
    EXPECT_EQ(Difficulty, 2);
}

TEST_F(SettingsTest, ScoresTakeTheLeadingNumberRoundedHalfToEven) {
    Data(
        "score1=12.5\r\nscore2=13.5\r\nscore3= 1 2 3 points\r\nscore4=-7x\r\n"
        "score5=99999999999\r\n");
    ReadSettings();
    EXPECT_EQ(HighScoreTable[0].Score, 12);
    EXPECT_EQ(HighScoreTable[1].Score, 14);
    EXPECT_EQ(HighScoreTable[2].Score, 123);
    EXPECT_EQ(HighScoreTable[3].Score, -7);
    EXPECT_EQ(HighScoreTable[4].Score, 0);  // no score the table can hold
}

TEST_F(SettingsTest, NamesAreCutAndTrimmed) {
    Data("NAME1=  bob ;comment\r\nname2=" + std::string(60, 'n') +
         "\r\nName3=\x96\xbc\x91\x4f\r\n");
    ReadSettings();
    EXPECT_EQ(HighScoreTable[0].Name, "bob");
    EXPECT_EQ(HighScoreTable[1].Name, std::string(49, 'n'));
    EXPECT_EQ(HighScoreTable[2].Name, "名前");
}

TEST_F(SettingsTest, FlagsAreOnForAnyNumberButZero) {
    const std::pair<const char*, bool16> cases[] = {{"1", True16},     {"-1", True16},
                                                    {" -1  ", True16}, {"0", False16},
                                                    {"", False16},     {"True", False16}};
    for (const auto& [text, expected] : cases) {
        Data(std::string("Midi=") + text + "\r\nwav=" + text + "\r\n");
        ReadSettings();
        EXPECT_EQ(MidiOn, expected) << text;
        EXPECT_EQ(WavOn, expected) << text;
    }
}

TEST_F(SettingsTest, DifficultyOutsideOneToThreeFallsBackToNormal) {
    const std::pair<const char*, int> cases[] = {
        {"Diffculty= 3", 3},  {"diffculty=1", 1},   {"DIFFCULTY=2.6", 3}, {"Diffculty=2.5", 2},
        {"Diffculty=3.5", 2}, {"Diffculty=0", 2},   {"Diffculty=4", 2},   {"Diffculty=abc", 2},
        {"Diffculty=-1", 2},  {"Diffculty=259", 2}, {"Diffculty=", 2}};
    for (const auto& [line, expected] : cases) {
        Data(std::string(line) + "\r\n");
        Difficulty = 0;
        ReadSettings();
        EXPECT_EQ(Difficulty, expected) << line;
    }
}

TEST_F(SettingsTest, AtExitAFreshFileGetsTheFourteenKeysInOrder) {
    HighScoreTable[0] = {3000, "山田"};
    HighScoreTable[1] = {-5, "b"};
    HighScoreTable[5] = {99, "never saved"};
    MidiOn = True16;
    WavOn = False16;
    Difficulty = 2;
    WriteSettings();
    std::string expected = "[data]\r\n";
    const auto line = [&](const std::string& key, const std::string& value, size_t chars) {
        expected += key + "=" + Padded(value, chars) + "\r\n";
    };
    line("score1", "3000", 4);
    line("name1", "\x8e\x52\x93\x63", 2);
    line("score2", "-5", 2);
    line("name2", "b", 1);
    for (int n = 3; n <= 5; ++n) {
        line("score" + std::to_string(n), "0", 1);
        line("name" + std::to_string(n), "", 0);
    }
    line("Midi", "-1", 2);
    line("Wav", " 0", 2);
    line("Diffculty", " 2", 2);
    line("Ver", "1.10", 4);
    EXPECT_EQ(ReadFile(file), expected);
}

// The data.ini a fresh install starts from: music and effects on, Normal, an empty table, in
// exactly the bytes the game itself writes for those values.
TEST_F(SettingsTest, TheShippedFileStartsWithSoundOnAndIsWhatTheGameWrites) {
    const std::string shipped = ReadFile(VEXLAN_SOURCE_DIR "/dist/data.ini");
    WriteFile(file, shipped);
    ReadSettings();
    EXPECT_EQ(MidiOn, True16);
    EXPECT_EQ(WavOn, True16);
    EXPECT_EQ(Difficulty, DifficultyNormal);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(HighScoreTable[i].Score, 0);
    fs::remove(file);
    WriteSettings();
    EXPECT_EQ(ReadFile(file), shipped);
}

TEST_F(SettingsTest, WhatIsWrittenAtExitIsReadBackAtStart) {
    HighScoreTable[0] = {12345, "ソフト"};
    HighScoreTable[4] = {7, "last place"};
    MidiOn = False16;
    WavOn = True16;
    Difficulty = 3;
    WriteSettings();
    const auto saved = HighScoreTable;
    HighScoreTable = {};
    MidiOn = True16;
    WavOn = False16;
    Difficulty = 1;
    ReadSettings();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(HighScoreTable[i].Score, saved[i].Score);
        EXPECT_EQ(HighScoreTable[i].Name, saved[i].Name);
    }
    EXPECT_EQ(MidiOn, False16);
    EXPECT_EQ(WavOn, True16);
    EXPECT_EQ(Difficulty, 3);
}

// The volumes go in [audio] once set, at the nearest step of 5 within 0-100, and come back at the
// next start; a value that is no number is 100. Never set, they leave data.ini as it was.
TEST_F(SettingsTest, TheVolumesAreKeptInTheAudioSection) {
    WriteSettings();
    EXPECT_EQ(ReadFile(file).find("[audio]"), std::string::npos);
    SetMusicVolume(52);
    SetEffectsVolume(-3);
    WriteSettings();
    EXPECT_NE(ReadFile(file).find("[audio]\r\nmusic=50\r\neffects=0\r\n"), std::string::npos);
    ResetVolumes();
    ResetSettingsState();
    KeepWindowSettings();
    EXPECT_EQ(MusicVolume(), 50);
    EXPECT_EQ(EffectsVolume(), 0);

    WriteFile(file, "[audio]\r\nmusic=loud\r\neffects=150\r\n");
    ResetSettingsState();
    KeepWindowSettings();
    EXPECT_EQ(MusicVolume(), 100);
    EXPECT_EQ(EffectsVolume(), 100);
}

TEST_F(SettingsTest, AtExitAnOldFileKeepsItsOtherLinesWhereTheyAre) {
    WriteFile(file, "; my notes\r\n[DATA]\r\nSCORE1=1\r\nextra=kept\r\n\r\n[mine]\r\nx=1\r\n");
    WriteSettings();
    const std::string text = ReadFile(file);
    EXPECT_EQ(text.rfind("; my notes\r\n[DATA]\r\nSCORE1=0  ", 0), 0u);
    const size_t extra = text.find("\r\nextra=kept\r\nname1=");
    const size_t ver = text.find("\r\nVer=1.10");
    const std::string tail = "\r\n\r\n[mine]\r\nx=1\r\n";
    const size_t mine = text.find(tail);
    ASSERT_NE(extra, std::string::npos);
    ASSERT_NE(ver, std::string::npos);
    ASSERT_NE(mine, std::string::npos);
    EXPECT_LT(ver, mine);
    EXPECT_EQ(mine + tail.size(), text.size());
}

// Far larger than any data.ini the game writes: whatever it holds, it stays as the player has
// it. The run starts from the defaults, and the player learns why the scores are not kept.
TEST_F(SettingsTest, AFileOverOneMegabyteIsNeitherReadNorSavedOver) {
    const std::string big =
        "[data]\r\nDiffculty= 3\r\nMidi=-1\r\n; " + std::string(1024 * 1024, 'x') + "\r\n";
    WriteFile(file, big);
    ReadSettings();
    EXPECT_EQ(Difficulty, DifficultyNormal);
    EXPECT_EQ(MidiOn, False16);
    HighScoreTable[0] = {100, "new"};
    WriteSettings();
    EXPECT_TRUE(ReadFile(file) == big) << "the big file was replaced";
    const std::vector<std::string> boxes = headless::TakeBoxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(file), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find("1 MB"), std::string::npos) << boxes[0];
}

TEST_F(SettingsTest, TheFirstSaveMakesTheFolderOfTheFile) {
    const std::string top = ProgramDir;
    ProgramDir += "/new/folder";
    MidiOn = True16;
    WriteSettings();
    MidiOn = False16;
    ReadSettings();
    EXPECT_EQ(MidiOn, True16);
    EXPECT_TRUE(headless::TakeBoxTexts().empty());
    ProgramDir = top;
}

// The run's settings are lost, but the player hears of it: once, with the file and the reason,
// however many keys and saves fail; the game goes on.
TEST_F(SettingsTest, ASaveThatFailsIsToldOnceNamingTheFileAndTheReason) {
    const std::string top = ProgramDir;
    WriteFile(top + "/blocker", "a file where the folder should be");
    ProgramDir = top + "/blocker";
    WriteSettings();
    WriteSettings();
    const std::vector<std::string> boxes = headless::TakeBoxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(top + "/blocker/data.ini"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find(std::strerror(ENOTDIR)), std::string::npos) << boxes[0];
    ProgramDir = top;
}

}  // namespace
