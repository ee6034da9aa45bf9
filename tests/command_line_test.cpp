// What the game answers from a terminal: its version, a short help, and status 2 with an error
// for anything else, without opening a window.
#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <sstream>

#include "common/version.h"
#include "platform/answers.h"
#include "platform/controls.h"
#include "support/test_support.h"

namespace {

struct Answer {
    std::optional<int> Status;
    std::string Out;
    std::string Err;
};

Answer Ask(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const std::optional<int> status = AnswerCommandLine(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CommandLine, NoArgumentsStartsTheGame) {
    const Answer answer = Ask({});
    EXPECT_FALSE(answer.Status);
    EXPECT_EQ(answer.Out + answer.Err, "");
}

TEST(CommandLine, VersionAndHelpAnswerOnStandardOutput) {
    const Answer version = Ask({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, "Vexlan " + GameVersion + "\n");
    EXPECT_EQ(version.Err, "");

    const Answer help = Ask({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_EQ(help.Err, "");
    for (const char* told : {"usage: vexlan", "Escape", "data.ini", ".local/share/vexlan"})
        EXPECT_NE(help.Out.find(told), std::string::npos) << told;
}

TEST(CommandLine, AnythingElseIsAnErrorWithStatusTwo) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"-v"},
                                               {"--fullscreen"},
                                               {""},
                                               {"--version", "x"},
                                               {"--help", "--version"},
                                               {"data.ini"}}) {
        const Answer answer = Ask(args);
        EXPECT_EQ(answer.Status, 2) << args[0];
        EXPECT_EQ(answer.Out, "") << args[0];
        EXPECT_NE(answer.Err.find("usage: vexlan"), std::string::npos) << args[0];
    }
    EXPECT_NE(Ask({"--version", "x"}).Err.find("'x'"), std::string::npos);
    EXPECT_NE(Ask({"--fullscreen"}).Err.find("'--fullscreen'"), std::string::npos);
}

TEST(CommandLine, AReplayIsWatchedOrVerified) {
    for (const auto& [args, pace] : std::vector<std::pair<std::vector<std::string>, PlaybackPace>>{
             {{"--replay", "a.bin"}, PlaybackPace::Watching},
             {{"game.vxr"}, PlaybackPace::Watching},
             {{"--verify", "game.vxr"}, PlaybackPace::Fastest}}) {
        const std::optional<ReplayRequest> request = ReplayRequested(args);
        ASSERT_TRUE(request) << args[0];
        EXPECT_EQ(request->File, args.back());
        EXPECT_EQ(request->Pace, pace);
        EXPECT_EQ(request->At, 0);
    }
    const std::optional<ReplayRequest> at = ReplayRequested({"--replay", "a.vxr", "--at", "2051"});
    ASSERT_TRUE(at);
    EXPECT_EQ(at->File, "a.vxr");
    EXPECT_EQ(at->Pace, PlaybackPace::Watching);
    EXPECT_EQ(at->At, 2051);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--replay"},
             {"--verify", ""},
             {"data.ini"},
             {".vxr"},
             {"--verify", "a", "b"},
             {"--verify", "a.vxr", "--at", "5"},
             {"--replay", "a.vxr", "--at", "0"},
             {"--replay", "a.vxr", "--at", "-5"},
             {"--replay", "a.vxr", "--at", "12x"},
             {"--replay", "a.vxr", "--at", "99999999999999999999"},
             {"--replay", "a.vxr", "--at"}})
        EXPECT_FALSE(ReplayRequested(args)) << args[0] << " " << args.back();
}

}  // namespace

namespace {

// The keys of the rows under a heading laid out as ControlsText lays them out: two blanks, the
// keys, two blanks or more, the use; continued uses are indented further.
std::set<std::string> KeysUnder(const std::string& text, const std::string& heading) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && !line.starts_with(heading)) {
    }
    std::set<std::string> keys;
    bool rows = false;
    while (std::getline(lines, line)) {
        const bool row = line.size() > 2 && line.starts_with("  ") && line[2] != ' ';
        if (row) keys.insert(line.substr(2, line.find("  ", 2) - 2));
        if (rows && !line.starts_with(" ")) break;
        rows = rows || row;
    }
    return keys;
}

// The first column of README's table of keys.
std::set<std::string> ReadmeTableKeys(const std::string& readme) {
    std::istringstream lines(readme.substr(readme.find("\n## Keys\n") + 1));
    std::string line;
    std::getline(lines, line);
    std::set<std::string> keys;
    while (std::getline(lines, line) && !line.starts_with("## ")) {
        if (!line.starts_with("| ") || line.starts_with("| Key |")) continue;
        keys.insert(line.substr(2, line.find(" |", 2) - 2));
    }
    return keys;
}

}  // namespace

TEST(CommandLine, TheHelpTheReadMeAndReadmeListTheKeysOfTheKeyTable) {
    std::set<std::string> table;
    std::set<int> gameKeys;
    for (const ControlRow& row : Controls) {
        table.insert(row.Keys);
        for (const int key : row.GameKeys)
            if (key != 0) gameKeys.insert(key);
    }
    EXPECT_EQ(gameKeys, std::set<int>(std::begin(AnswerKeys), std::end(AnswerKeys)));
    EXPECT_EQ(KeysUnder(Ask({"--help"}).Out, "Keys"), table);
    EXPECT_EQ(KeysUnder(ReadFile(VEXLAN_SOURCE_DIR "/assets/readme.txt"), "Keys"), table);
    EXPECT_EQ(ReadmeTableKeys(ReadFile(VEXLAN_SOURCE_DIR "/README.md")), table);
}
