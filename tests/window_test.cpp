// The main window's handlers: the tune opened at load, everything saved and released at unload
// whichever way the program is left, and the version box.
#include <sstream>
#include <string>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "audio/sound.h"
#include "common/version.h"
#include "data/settings.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "platform/sjis.h"
#include "shell/main_window.h"
#include "support/test_support.h"

namespace {

class MainWindow : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ProgramDir = MakeScratchDir();
        headless::SetProgramDirectory(ProgramDir);
        // As start-up installs them.
        SetWindowHandlers({[] { Form_Unload(); }, mnuReadMe_Click, mnuAbout_Click});
    }

    std::string SettingsFile() const { return GameFile("\\data.ini"); }

    // The window's close box, acted on by the next round of window messages.
    static int CloseTheWindow() {
        headless::RequestClose();
        try {
            DoEvents();
        } catch (const headless::ProgramExit& exit) {
            return exit.Status;
        }
        ADD_FAILURE() << "the close box did not end the program";
        return -1;
    }

    std::vector<std::string> SavedLines() const {
        std::string text;
        EXPECT_TRUE(Cp932ToUtf8(ReadFile(SettingsFile()), text));
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    static std::string KeyOf(const std::string& line) { return line.substr(0, line.find('=')); }
    static std::string ValueOf(const std::string& line) {
        const std::string value = line.substr(line.find('=') + 1);
        return value.substr(0, value.find_last_not_of(' ') + 1);
    }
};

TEST_F(MainWindow, LoadingOpensTheTune) {
    Form_Load();
    EXPECT_EQ(headless::TakeMusicCommands(true),
              std::vector<std::string>{"Open m_battle.mid Alias BGM"});
}

TEST_F(MainWindow, TheCloseBoxDuringPlayClosesTheTuneReleasesTheSoundAndEnds) {
    GameMode = ModeStage;
    SoundExplosion.Handle = 7;
    SoundExplosion.Count = 8;
    Form_Load();
    headless::TakeMusicCommands(true);
    EXPECT_EQ(CloseTheWindow(), 0);
    EXPECT_EQ(headless::TakeMusicCommands(true), std::vector<std::string>{"Close BGM"});
    EXPECT_EQ(SoundExplosion.Handle, -1);
    EXPECT_TRUE(headless::TakeBoxTexts().empty()) << "no quit question on the close box";
}

// The rest needs the settings file module: until it lands, nothing reaches the file.

TEST_F(MainWindow, TheCloseBoxDuringPlaySavesTheTableAndTheSettings) {
    GameMode = ModeStage;
    Score = 12345;
    HighScoreTable = {{{900, "一位"}, {700, "b"}, {500, ""}, {300, "d"}, {-5, "neg"}, {1, "x"}}};
    MidiOn = True16;
    WavOn = False16;
    Difficulty = 3;
    ASSERT_EQ(CloseTheWindow(), 0);
    HighScoreTable = {};
    MidiOn = False16;
    WavOn = True16;
    Difficulty = 1;
    ReadSettings();
    EXPECT_EQ(HighScoreTable[0].Score, 900);
    EXPECT_EQ(HighScoreTable[0].Name, "一位");
    EXPECT_EQ(HighScoreTable[4].Score, -5);
    EXPECT_EQ(HighScoreTable[4].Name, "neg");
    EXPECT_EQ(HighScoreTable[5].Name, "") << "the spare slot is not stored";
    EXPECT_EQ(MidiOn, True16);
    EXPECT_EQ(WavOn, False16);
    EXPECT_EQ(Difficulty, 3);
}

TEST_F(MainWindow, AFreshFileHoldsTheFourteenKeysInOrder) {
    ASSERT_EQ(CloseTheWindow(), 0);
    std::vector<std::string> keys;
    std::string version;
    for (const std::string& line : SavedLines()) {
        if (line.empty()) continue;
        keys.push_back(KeyOf(line));
        if (KeyOf(line) == "Ver") version = ValueOf(line);
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"[data]", "score1", "name1", "score2", "name2",
                                              "score3", "name3", "score4", "name4", "score5",
                                              "name5", "Midi", "Wav", "Diffculty", "Ver"}));
    EXPECT_EQ(version, "1.10");
}

TEST_F(MainWindow, AnExistingFileKeepsItsForeignKeysAndOrder) {
    WriteFile(SettingsFile(),
              "; kept\r\n[other]\r\nfoo=bar\r\n[data]\r\nname1=old\r\ncustom=keep\r\n"
              "score1=1\r\n");
    HighScoreTable[0] = {42, "new"};
    ASSERT_EQ(CloseTheWindow(), 0);
    const std::vector<std::string> lines = SavedLines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "; kept");
    EXPECT_EQ(lines[1], "[other]");
    EXPECT_EQ(lines[2], "foo=bar");
    EXPECT_EQ(lines[3], "[data]");
    EXPECT_EQ(KeyOf(lines[4]), "name1");
    EXPECT_EQ(ValueOf(lines[4]), "new");
    EXPECT_EQ(lines[5], "custom=keep");
    EXPECT_EQ(KeyOf(lines[6]), "score1");
    EXPECT_EQ(ValueOf(lines[6]), "42");
}

TEST_F(MainWindow, JapaneseNamesSurviveASaveAndAReloadByteForByte) {
    // ソ and 表 end in a backslash byte in the file; the last name takes all 49 bytes.
    const std::vector<std::string> names = {"山田太郎", "ﾊﾝｶｸｶﾅ", "①～髙", "表示ソ能",
                                            "漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字a"};
    for (size_t i = 0; i < names.size(); ++i) HighScoreTable[i] = {int32_t(100 - i), names[i]};
    ASSERT_EQ(CloseTheWindow(), 0);
    HighScoreTable = {};
    ReadSettings();
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(HighScoreTable[i].Name, names[i]);
}

TEST_F(MainWindow, TheVersionBoxNamesTheGameAndItsVersion) {
    mnuAbout_Click();
    const std::vector<std::string> texts = headless::TakeBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("Vexlan"), std::string::npos);
    EXPECT_NE(texts[0].find("Version " + GameVersion), std::string::npos);
}

}  // namespace
