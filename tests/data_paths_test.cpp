// Where the game looks for its data files and keeps data.ini: in a build or an unpacked folder,
// installed under a prefix (bin/ with share/vexlan, or Debian's games/ with share/games/vexlan),
// and for a player with or without XDG_DATA_HOME.
#include "platform/data_paths.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "support/test_support.h"

namespace {

PathQuery Among(std::set<std::string> paths) {
    return [paths](const std::string& path) { return paths.count(path) > 0; };
}

TEST(ProgramDirChoice, TheDataBesideTheBinaryWinsOverAnInstalledCopy) {
    const PathQuery both =
        Among({"/home/p/vexlan/build/game", "/home/p/vexlan/build/share/vexlan"});
    EXPECT_EQ(ChooseProgramDir("/home/p/vexlan/build/game", both), "/home/p/vexlan/build/game");
    EXPECT_EQ(ChooseProgramDir("/home/p/vexlan/build/game/", both), "/home/p/vexlan/build/game");
}

TEST(ProgramDirChoice, AnInstalledBinaryFindsItsShareFolderUnderItsOwnPrefix) {
    EXPECT_EQ(ChooseProgramDir("/usr/local/bin", Among({"/usr/local/share/vexlan"})),
              "/usr/local/share/vexlan");
    EXPECT_EQ(ChooseProgramDir("/usr/games", Among({"/usr/share/games/vexlan"})),
              "/usr/share/games/vexlan");
    EXPECT_EQ(ChooseProgramDir("/tmp/x/opt/v/bin", Among({"/tmp/x/opt/v/share/vexlan"})),
              "/tmp/x/opt/v/share/vexlan");
    // Another prefix's copy is not this binary's.
    EXPECT_EQ(ChooseProgramDir("/opt/v/bin", Among({"/usr/share/games/vexlan"})), "/opt/v/bin");
}

TEST(ProgramDirChoice, WithTheDataNowhereItIsTheBinarysFolder) {
    EXPECT_EQ(ChooseProgramDir("/usr/bin", Among({})), "/usr/bin");
    EXPECT_EQ(ChooseProgramDir("/", Among({})), "/");
}

SettingsFacts Facts(const std::string& programDir, bool besideBinary) {
    SettingsFacts facts;
    facts.ProgramDir = programDir;
    facts.BesideBinary = besideBinary;
    facts.Home = "/home/ann";
    facts.Writable = Among({"/home/ann/game", "/usr/share/games/vexlan"});
    facts.Exists = Among({});
    return facts;
}

TEST(SettingsFileChoice, AGameInItsOwnWritableFolderKeepsDataIniThere) {
    const SettingsFiles files = ChooseSettingsFiles(Facts("/home/ann/game", true));
    EXPECT_EQ(files.Read, "/home/ann/game/data.ini");
    EXPECT_EQ(files.Write, "/home/ann/game/data.ini");
}

TEST(SettingsFileChoice, AnUnwritableGameFolderSendsDataIniToThePlayersDataFolder) {
    const SettingsFiles files = ChooseSettingsFiles(Facts("/mnt/cd/vexlan", true));
    EXPECT_EQ(files.Write, "/home/ann/.local/share/vexlan/data.ini");
    EXPECT_EQ(files.Read, "/mnt/cd/vexlan/data.ini");
}

// Even where it could (root), an installed game leaves its share folder alone.
TEST(SettingsFileChoice, AnInstalledGameReadsTheShippedFileUntilThePlayerHasOne) {
    SettingsFacts facts = Facts("/usr/share/games/vexlan", false);
    SettingsFiles files = ChooseSettingsFiles(facts);
    EXPECT_EQ(files.Read, "/usr/share/games/vexlan/data.ini");
    EXPECT_EQ(files.Write, "/home/ann/.local/share/vexlan/data.ini");

    facts.Exists = Among({"/home/ann/.local/share/vexlan/data.ini"});
    files = ChooseSettingsFiles(facts);
    EXPECT_EQ(files.Read, "/home/ann/.local/share/vexlan/data.ini");
    EXPECT_EQ(files.Write, "/home/ann/.local/share/vexlan/data.ini");
}

TEST(SettingsFileChoice, XdgDataHomeCountsOnlyWhenAbsolute) {
    SettingsFacts facts = Facts("/usr/share/vexlan", false);
    facts.XdgDataHome = "/data/ann/";
    EXPECT_EQ(ChooseSettingsFiles(facts).Write, "/data/ann/vexlan/data.ini");
    facts.XdgDataHome = "relative/dir";
    EXPECT_EQ(ChooseSettingsFiles(facts).Write, "/home/ann/.local/share/vexlan/data.ini");
    // No home at all: the shipped file gives the settings, and nothing is written anywhere.
    facts.XdgDataHome = "";
    facts.Home = "";
    EXPECT_EQ(ChooseSettingsFiles(facts).Read, "/usr/share/vexlan/data.ini");
    EXPECT_EQ(ChooseSettingsFiles(facts).Write, "");
}

// root started with an empty environment still has a home: the password database's.
TEST(SettingsFileChoice, WithoutHomeSetTheAccountsHomeIsThePlayersFolder) {
    const passwd* account = getpwuid(getuid());
    if (!account || !account->pw_dir || !*account->pw_dir)
        GTEST_SKIP() << "this account has no home in the password database";
    const std::string home = account->pw_dir;
    std::map<std::string, std::optional<std::string>> saved;
    for (const char* name : {"HOME", "XDG_DATA_HOME"}) {
        const char* value = std::getenv(name);
        saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
        unsetenv(name);
    }
    const SettingsFiles files = LocateSettingsFiles("/nowhere/share/vexlan", "/nowhere/bin");
    for (const auto& [name, value] : saved)
        if (value) setenv(name.c_str(), value->c_str(), 1);
    EXPECT_EQ(files.Write, home + "/.local/share/vexlan/data.ini");
}

// As the XDG base directory rules ask: what the game makes for the player is the player's alone.
TEST(SettingsFileChoice, FoldersMadeForThePlayerAreTheirsAlone) {
    const std::string top = MakeScratchDir();
    const mode_t savedMask = umask(022);
    std::string reason;
    const bool made = MakeFolderFor(top + "/share/vexlan/data.ini", reason);
    umask(savedMask);
    ASSERT_TRUE(made) << reason;
    for (const char* folder : {"/share", "/share/vexlan"})
        EXPECT_EQ(std::filesystem::status(top + folder).permissions(),
                  std::filesystem::perms::owner_all)
            << folder;
    std::filesystem::remove_all(top);
}

}  // namespace
