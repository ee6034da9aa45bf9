// The bindings' lines in the settings file: names read into keys, what is skipped and said, a
// key never on two actions, and the lines written back as they are read.
#include "platform/bindings.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace {

// A few names of keys, as a back end would give them; names match whatever their case.
const std::map<std::string, InputCode> KeyCodes = {
    {"up", 1}, {"keypad 8", 2}, {"z", 3}, {"space", 4}, {"return", 5}, {"escape", 6}, {"p", 7}};

InputNames TestNames() {
    return {[](const std::string& name) {
                std::string lower;
                for (const char c : name)
                    lower += char(std::tolower(static_cast<unsigned char>(c)));
                const auto found = KeyCodes.find(lower);
                return found == KeyCodes.end() ? 0 : found->second;
            },
            [](InputCode code) {
                for (const auto& [name, known] : KeyCodes)
                    if (known == code) return name;
                return std::string("?");
            }};
}

const Bindings Defaults({{{1, 2}, {}, {}, {}, {3}, {5}, {6}, {7}}});

ProfileDocument Document(const std::vector<std::string>& lines) {
    ProfileDocument document;
    for (const std::string& line : lines) document.Lines.push_back({line, "\r\n"});
    return document;
}

struct Read {
    Bindings Result;
    std::vector<std::string> Complaints;
};

Read ReadKeys(const std::vector<std::string>& lines) {
    Read read;
    read.Result =
        ReadBindings(Document(lines), "keys", Defaults, TestNames(),
                     [&read](const std::string& line) { read.Complaints.push_back(line); });
    return read;
}

TEST(Bindings, ALineNamesEveryKeyOfItsActionAndTheOthersKeepTheirDefaults) {
    const Read read = ReadKeys({"[keys]", "fire=Space"});
    EXPECT_EQ(read.Result.KeysOf(Action::Fire), std::vector<InputCode>{4});
    EXPECT_EQ(read.Result.KeysOf(Action::Up), (std::vector<InputCode>{1, 2}));
    Action action{};
    EXPECT_FALSE(read.Result.FindAction(3, action)) << "Z fires no longer";
    EXPECT_TRUE(read.Complaints.empty());
}

TEST(Bindings, NamesAreTrimmedMatchedInAnyCaseAndEmptyEntriesSkipped) {
    const Read read = ReadKeys({"[keys]", "up= keypad 8 ,, UP ,", "", "fire=,space"});
    EXPECT_EQ(read.Result.KeysOf(Action::Up), (std::vector<InputCode>{2, 1}));
    EXPECT_EQ(read.Result.KeysOf(Action::Fire), std::vector<InputCode>{4});
    EXPECT_TRUE(read.Complaints.empty());
}

TEST(Bindings, UnknownNamesAreSkippedWithOneLineEach) {
    const Read read = ReadKeys({"[keys]", "fire=Spcae,Space,Zed"});
    EXPECT_EQ(read.Result.KeysOf(Action::Fire), std::vector<InputCode>{4});
    ASSERT_EQ(read.Complaints.size(), 2u);
    EXPECT_NE(read.Complaints[0].find("\"Spcae\""), std::string::npos) << read.Complaints[0];
    EXPECT_NE(read.Complaints[1].find("\"Zed\""), std::string::npos) << read.Complaints[1];
}

TEST(Bindings, ALineWithNoKnownKeyLeavesTheDefaultsRatherThanNoFire) {
    for (const char* line : {"fire=", "fire=Nothing"}) {
        const Read read = ReadKeys({"[keys]", line});
        EXPECT_EQ(read.Result.KeysOf(Action::Fire), std::vector<InputCode>{3}) << line;
    }
}

TEST(Bindings, AKeyOnTwoLinesStaysOnTheFirstAndADefaultTakenByALineIsTheLines) {
    const Read read = ReadKeys({"[keys]", "up=Up,Up", "fire=Up,Return", "pause=Z"});
    EXPECT_EQ(read.Result.KeysOf(Action::Up), std::vector<InputCode>{1});
    EXPECT_EQ(read.Result.KeysOf(Action::Fire), std::vector<InputCode>{5});
    EXPECT_EQ(read.Result.KeysOf(Action::Pause), std::vector<InputCode>{3});
    // Return was choose's by default, but fire's line took it: choose is left with none.
    EXPECT_TRUE(read.Result.KeysOf(Action::Choose).empty());
    ASSERT_EQ(read.Complaints.size(), 1u);
    EXPECT_NE(read.Complaints[0].find("fire"), std::string::npos) << read.Complaints[0];
}

TEST(Bindings, ARebindMovesTheKeyFromTheActionThatHadIt) {
    Bindings bindings = Defaults;
    Action from{};
    EXPECT_TRUE(bindings.Rebind(Action::Fire, 5, from));
    EXPECT_EQ(from, Action::Choose);
    EXPECT_EQ(bindings.KeysOf(Action::Fire), std::vector<InputCode>{5});
    EXPECT_TRUE(bindings.KeysOf(Action::Choose).empty());
    EXPECT_FALSE(bindings.Rebind(Action::Fire, 4, from)) << "Space was nobody's";
    EXPECT_EQ(bindings.KeysOf(Action::Fire), std::vector<InputCode>{4});
}

TEST(Bindings, TheLinesWrittenReadBackAsTheSameBindings) {
    Bindings bindings = Defaults;
    Action from{};
    bindings.Rebind(Action::Fire, 4, from);
    ProfileDocument document;
    PutBindings(document, "keys", bindings, TestNames());
    EXPECT_EQ(ProfileString(document, "keys", "up", "", 64), "up,keypad 8");
    EXPECT_EQ(ProfileString(document, "keys", "fire", "", 64), "space");
    const Bindings read = ReadBindings(document, "keys", Defaults, TestNames(),
                                       [](const std::string& line) { FAIL() << line; });
    EXPECT_EQ(read, bindings);
}

}  // namespace
