// Profile files as the desktop keeps them: names in any letter case, CP932 text, keys rewritten
// where they stand, everything else left alone, garbage read without harm, and a write that
// either lands whole or changes nothing.
#include "platform/profile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = MakeScratchDir();
        file = dir + "/data.ini";
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(dir);
    }
    std::string Get(const std::string& key, const std::string& section = "data",
                    size_t maxBytes = 49) {
        return GetProfileString(file, section, key, "<none>", maxBytes);
    }
    size_t FilesInDir() const {
        return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    std::string dir;
    std::string file;
};

TEST_F(ProfileTest, NamesMatchWhateverTheirLetterCase) {
    WriteFile(file, "[Data]\r\nSCORE1=10\r\nMidi=-1\r\n");
    EXPECT_EQ(Get("score1"), "10");
    EXPECT_EQ(Get("midi", "DATA"), "-1");
}

// The second byte of a double-byte character is not a letter, whatever it looks like.
TEST_F(ProfileTest, LetterCaseIsNotFoldedInsideDoubleByteCharacters) {
    WriteFile(file, "[data]\r\n\x83\x41=1\r\n");  // ア; its second byte is 'A'
    EXPECT_EQ(Get("ア"), "1");
    EXPECT_EQ(Get("ヂ"), "<none>");  // 83 61: the same with 'a'
}

TEST_F(ProfileTest, MissingFileSectionOrKeyGiveTheFallback) {
    EXPECT_EQ(Get("score1"), "<none>");
    WriteFile(file, "[other]\r\nscore1=5\r\n[data]\r\nname1=x\r\n");
    EXPECT_EQ(Get("score1"), "<none>");
    EXPECT_EQ(Get("score1", "nothing"), "<none>");
    EXPECT_EQ(Get("score1", "other"), "5");
}

TEST_F(ProfileTest, ValuesLoseSurroundingBlanksAndQuotes) {
    WriteFile(file, "[data]\r\n  name1 =  ab c   \r\nname2=\"quoted\"\r\nname3='x'\r\nname4=\r\n");
    EXPECT_EQ(Get("name1"), "ab c");
    EXPECT_EQ(Get("name2"), "quoted");
    EXPECT_EQ(Get("name3"), "x");
    EXPECT_EQ(Get("name4"), "");
}

TEST_F(ProfileTest, ReadsAtMostMaxBytesWithoutSplittingACharacter) {
    WriteFile(file, "[data]\r\nlong=" + std::string(60, 'a') + "\r\nzero=ab" +
                        std::string(1, '\0') + "cd\r\n");
    EXPECT_EQ(Get("long"), std::string(49, 'a'));
    EXPECT_EQ(Get("zero"), "ab");  // a text ends at a zero byte
    std::string oddCp932 = "a", evenCp932 = "aa";
    for (int i = 0; i < 30; ++i) {
        oddCp932 += "\x83\x65";  // テ
        evenCp932 += "\x83\x65";
    }
    WriteFile(file, "[data]\r\nodd=" + oddCp932 + "\r\neven=" + evenCp932 + "\r\n");
    std::string expectOdd = "a", expectEven = "aa";
    for (int i = 0; i < 24; ++i) expectOdd += "テ";
    for (int i = 0; i < 23; ++i) expectEven += "テ";
    EXPECT_EQ(Get("odd"), expectOdd);    // 1 + 48 bytes
    EXPECT_EQ(Get("even"), expectEven);  // 2 + 46 bytes: half a character is dropped
}

TEST_F(ProfileTest, JapaneseTextIsStoredAsCp932) {
    ASSERT_TRUE(WriteProfileString(file, "data", "name1", "山田ソ"));
    EXPECT_EQ(ReadFile(file), "[data]\r\nname1=\x8e\x52\x93\x63\x83\x5c\r\n");
    EXPECT_EQ(Get("name1"), "山田ソ");
}

TEST_F(ProfileTest, ANewFileGetsTheSectionAndTheKeyWithCrLf) {
    ASSERT_TRUE(WriteProfileString(file, "data", "score1", "5"));
    ASSERT_TRUE(WriteProfileString(file, "data", "name1", "x"));
    EXPECT_EQ(ReadFile(file), "[data]\r\nscore1=5\r\nname1=x\r\n");
}

TEST_F(ProfileTest, RewritesAKeyInPlaceAndLeavesEveryOtherLineAlone) {
    const std::string before =
        "; kept comment\r\n"
        "[other]\r\nscore1=foreign\r\n\r\n"
        "[DATA]\r\nScore1=1\r\nunix=line\nScore2=2   \r\nstray line\r\n\r\n"
        "[last]\r\nz=9";
    WriteFile(file, before);
    ASSERT_TRUE(WriteProfileString(file, "data", "score2", "20"));
    const std::string after =
        "; kept comment\r\n"
        "[other]\r\nscore1=foreign\r\n\r\n"
        "[DATA]\r\nScore1=1\r\nunix=line\nScore2=20\r\nstray line\r\n\r\n"
        "[last]\r\nz=9";
    EXPECT_EQ(ReadFile(file), after);
}

TEST_F(ProfileTest, ANewKeyGoesAtTheEndOfItsSection) {
    WriteFile(file, "[data]\r\na=1\r\nb=2\r\n\r\n[other]\r\nc=3\r\n");
    ASSERT_TRUE(WriteProfileString(file, "Data", "Ver", "1.10"));
    EXPECT_EQ(ReadFile(file), "[data]\r\na=1\r\nb=2\r\nVer=1.10\r\n\r\n[other]\r\nc=3\r\n");
}

TEST_F(ProfileTest, ANewSectionGoesAtTheEndOfTheFile) {
    WriteFile(file, "[other]\r\nc=3");  // no line end on the last line
    ASSERT_TRUE(WriteProfileString(file, "data", "a", "1"));
    EXPECT_EQ(ReadFile(file), "[other]\r\nc=3\r\n[data]\r\na=1\r\n");
}

TEST_F(ProfileTest, TheFirstOfDuplicateKeysAndSectionsWins) {
    WriteFile(file, "[data]\r\nk=first\r\nK=second\r\n[data]\r\nk=third\r\nonly=later\r\n");
    EXPECT_EQ(Get("k"), "first");
    EXPECT_EQ(Get("only"), "<none>");
    ASSERT_TRUE(WriteProfileString(file, "data", "k", "new"));
    EXPECT_EQ(Get("k"), "new");
    EXPECT_NE(ReadFile(file).find("K=second\r\n[data]\r\nk=third"), std::string::npos);
}

TEST_F(ProfileTest, GarbageIsReadWithoutHarm) {
    std::string bytes = "k=before any section\r\n";
    for (int c = 0; c < 256; ++c)
        if (c != '\n') bytes += char(c);
    bytes += "\r\n" + std::string(MaxProfileBytes / 2, 'x') + "\r\n[data]\r\n";
    bytes +=
        "bad=a\x81\x20"
        "b\xA1\xFD"
        "c\r\n";  // a broken pair and two unused bytes
    bytes += "k=ok\r\nbin=\x01\x02\r\n";
    WriteFile(file, bytes);
    EXPECT_EQ(Get("k"), "ok");
    EXPECT_EQ(Get("bad"), "a?b\uFF61?c");  // A1 is a half-width stop, FD is unused
    EXPECT_EQ(Get("bin"), "\x01\x02");
    EXPECT_EQ(Get("x"), "<none>");
    ASSERT_TRUE(WriteProfileString(file, "data", "k", "new"));
    EXPECT_EQ(Get("k"), "new");
}

// A byte-order mark from an editor, or old Mac line ends, must not hide the table.
TEST_F(ProfileTest, AByteOrderMarkIsSkippedAndALoneCrEndsALine) {
    WriteFile(file, "\xEF\xBB\xBF[data]\r\nscore1=5\r\n");
    EXPECT_EQ(Get("score1"), "5");
    ASSERT_TRUE(WriteProfileString(file, "data", "score1", "6"));
    EXPECT_EQ(ReadFile(file), "\xEF\xBB\xBF[data]\r\nscore1=6\r\n");
    WriteFile(file, "[data]\rscore1=7\rname1=x\r\r[other]\rk=1");
    EXPECT_EQ(Get("score1"), "7");
    EXPECT_EQ(Get("name1"), "x");
    ASSERT_TRUE(WriteProfileString(file, "data", "name1", "y"));
    EXPECT_EQ(ReadFile(file), "[data]\rscore1=7\rname1=y\r\r[other]\rk=1");
}

TEST_F(ProfileTest, TextThatWouldBreakTheFileIsRefused) {
    WriteFile(file, "[data]\r\nk=1\r\n");
    EXPECT_FALSE(WriteProfileString(file, "data", "k", "two\r\nlines"));
    EXPECT_FALSE(WriteProfileString(file, "data", "a=b", "1"));
    EXPECT_FALSE(WriteProfileString(file, "da]ta", "k", "1"));
    EXPECT_FALSE(WriteProfileString(file, "data", "k", "\xFF not UTF-8"));
    EXPECT_EQ(ReadFile(file), "[data]\r\nk=1\r\n");
}

TEST_F(ProfileTest, KeepsTheFilesPermissions) {
    WriteFile(file, "[data]\r\nk=1\r\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteProfileString(file, "data", "k", "2"));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ProfileTest, AWriteThatCannotCreateItsTemporaryFileChangesNothing) {
    EXPECT_FALSE(WriteProfileString(dir + "/missing/data.ini", "data", "k", "1"));
    EXPECT_FALSE(fs::exists(dir + "/missing"));
    fs::create_directory(file);  // a directory where the file should be
    EXPECT_FALSE(WriteProfileString(file, "data", "k", "1"));
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(FilesInDir(), 1u);
}

// A player who keeps data.ini elsewhere and links it in keeps the link.
TEST_F(ProfileTest, ALinkedFileIsReplacedThroughItsLink) {
    fs::create_directory(dir + "/real");
    WriteFile(dir + "/real/data.ini", "[data]\r\nk=1\r\n");
    fs::create_symlink("real/data.ini", file);
    ASSERT_TRUE(WriteProfileString(file, "data", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(ReadFile(dir + "/real/data.ini"), "[data]\r\nk=2\r\n");
    EXPECT_EQ(FilesInDir(), 2u);  // real/ and the link: the temporary file was beside the target
}

// A save killed before its rename leaves its temporary file; the next save removes it, but not
// one that a running process may still be writing, nor a file that only looks like one.
TEST_F(ProfileTest, TemporaryFilesOfAKilledSaveGoAtTheNextSave) {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string stale = file + ".tmp" + std::to_string(gone) + "-3";
    const std::string running = file + ".tmp" + std::to_string(getppid()) + "-0";
    const std::string other = file + ".tmpnotes";
    for (const std::string& path : {stale, running, other}) WriteFile(path, "[data]\r\nk=");
    ASSERT_TRUE(WriteProfileString(file, "data", "k", "1"));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(other));
}

// The file size limit stops the temporary file part-way, as a full disk would.
TEST_F(ProfileTest, AWriteFailingPartWayLeavesTheOldFileWhole) {
    const std::string before = "[data]\r\nname1=" + std::string(5000, 'n') + "\r\nk=old\r\n";
    WriteFile(file, before);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteProfileString(file, "data", "k", "new");
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
    EXPECT_TRUE(WriteProfileString(file, "data", "k", "new"));
    EXPECT_EQ(Get("k"), "new");
}

}  // namespace
