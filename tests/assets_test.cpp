// Checks the game's data files in assets/ against what the game relies on: picture sizes and
// cells, colour keys, the stage scripts as the game loads them, and the sound and tune headers.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "data/stage.h"
#include "game/state.h"
#include "support/test_support.h"

#ifndef VEXLAN_ASSET_DIR
#error "VEXLAN_ASSET_DIR must name the assets directory"
#endif

namespace {

std::string ReadAsset(const std::string& name) {
    std::ifstream in(std::string(VEXLAN_ASSET_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | uint8_t(b.at(at + size_t(i)));
    return v;
}
uint32_t Be(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | uint8_t(b.at(at + size_t(i)));
    return v;
}

long CountCrLf(const std::string& b) {
    long n = 0;
    for (size_t at = b.find("\r\n"); at != std::string::npos; at = b.find("\r\n", at + 2)) ++n;
    return n;
}

// ---------------------------------------------------------------- pictures

struct Bitmap {
    int W = 0, H = 0;
    std::vector<uint32_t> Px;  // top row first, 0xRRGGBB
    uint32_t At(int x, int y) const { return Px[size_t(y) * W + x]; }
    uint32_t Key() const { return At(0, 0); }
};

// Reads the file and checks the header the game's loader expects: 24-bit, uncompressed,
// BITMAPINFOHEADER, rows bottom-up and padded to four bytes.
Bitmap LoadBitmap(const std::string& name) {
    const std::string b = ReadAsset(name);
    Bitmap bmp;
    EXPECT_GE(b.size(), 54u) << name;
    if (b.size() < 54) return bmp;
    EXPECT_EQ(b.substr(0, 2), "BM") << name;
    EXPECT_EQ(Le(b, 14, 4), 40u) << name;
    EXPECT_EQ(Le(b, 28, 2), 24u) << name;
    EXPECT_EQ(Le(b, 30, 4), 0u) << name << " is compressed";
    bmp.W = int32_t(Le(b, 18, 4));
    bmp.H = int32_t(Le(b, 22, 4));
    EXPECT_GT(bmp.W, 0) << name;
    EXPECT_GT(bmp.H, 0) << name << " must be stored bottom-up";
    const size_t stride = (size_t(bmp.W) * 3 + 3) / 4 * 4, offset = Le(b, 10, 4);
    EXPECT_EQ(Le(b, 2, 4), b.size()) << name;
    EXPECT_EQ(b.size(), offset + stride * size_t(bmp.H)) << name;
    if (bmp.W <= 0 || bmp.H <= 0 || b.size() < offset + stride * size_t(bmp.H)) return Bitmap{};
    for (int y = 0; y < bmp.H; ++y) {
        const size_t row = offset + stride * size_t(bmp.H - 1 - y);
        for (int x = 0; x < bmp.W; ++x) bmp.Px.push_back(Le(b, row + size_t(x) * 3, 3));
    }
    return bmp;
}

struct Cell {
    int X, Y, W, H;
};

int Opaque(const Bitmap& b, Cell c) {
    int n = 0;
    for (int y = c.Y; y < c.Y + c.H; ++y)
        for (int x = c.X; x < c.X + c.W; ++x) n += b.At(x, y) != b.Key();
    return n;
}

// Nothing touches the cell's rim, so nothing of the sprite is cut off where the game copies it.
bool RimClear(const Bitmap& b, Cell c) {
    for (int x = c.X; x < c.X + c.W; ++x)
        if (b.At(x, c.Y) != b.Key() || b.At(x, c.Y + c.H - 1) != b.Key()) return false;
    for (int y = c.Y; y < c.Y + c.H; ++y)
        if (b.At(c.X, y) != b.Key() || b.At(c.X + c.W - 1, y) != b.Key()) return false;
    return true;
}

void ExpectCells(const std::string& name, const std::vector<Cell>& cells, bool rimClear) {
    const Bitmap b = LoadBitmap(name);
    ASSERT_FALSE(b.Px.empty()) << name;
    for (const Cell& c : cells) {
        const std::string where =
            name + " cell at " + std::to_string(c.X) + "," + std::to_string(c.Y);
        ASSERT_LE(c.X + c.W, b.W) << where << " lies outside the picture";
        ASSERT_LE(c.Y + c.H, b.H) << where << " lies outside the picture";
        EXPECT_GT(Opaque(b, c), c.W * c.H / 20) << where << " is (nearly) empty";
        EXPECT_LT(Opaque(b, c), c.W * c.H) << where << " has no transparent pixel";
        if (rimClear) {
            EXPECT_TRUE(RimClear(b, c)) << where << " is cut at its edge";
        }
    }
}

std::vector<Cell> Row(int count, int first, int stepX, int y, int w, int h) {
    std::vector<Cell> cells;
    for (int i = 0; i < count; ++i) cells.push_back({(first + i) * stepX, y, w, h});
    return cells;
}

TEST(AssetPictures, ShipShotAndStreak) {
    ExpectCells("l_jiki.bmp", {{0, 0, 48, 40}}, true);
    ExpectCells("l_tamaMe.bmp", {{0, 0, 31, 31}}, true);
    ExpectCells("l_backs.bmp", {{0, 0, 6, 18}}, false);
}

TEST(AssetPictures, ExplosionHasElevenSeparatedCells) {
    ExpectCells("l_baku.bmp", Row(11, 0, 81, 0, 80, 80), true);
    // Enemies and the boss copy 81 columns per cell: the 81st must be see-through.
    const Bitmap b = LoadBitmap("l_baku.bmp");
    ASSERT_GE(b.W, 890);
    for (int k = 0; k < 10; ++k)
        for (int y = 0; y < 80; ++y) ASSERT_EQ(b.At(81 * k + 80, y), b.Key()) << "cell " << k;
}

TEST(AssetPictures, EnemyBullets) {
    std::vector<Cell> small;
    for (int family = 0; family < 4; ++family) {
        auto row = Row(7, 1, 16, 15 * family, 15, 15);
        small.insert(small.end(), row.begin(), row.end());
    }
    ExpectCells("l_tama1234.bmp", small, true);
    ExpectCells("l_tama5.bmp", Row(2, 1, 60, 0, 60, 59), true);
    ExpectCells("l_tama6.bmp", Row(2, 1, 60, 0, 60, 59), true);
    // The game clips bullet copies to these source limits.
    EXPECT_GE(LoadBitmap("l_tama1234.bmp").W, 127);
    EXPECT_GE(LoadBitmap("l_tama1234.bmp").H, 63);
    EXPECT_GE(LoadBitmap("l_tama5.bmp").W, 181);
    EXPECT_GE(LoadBitmap("l_tama6.bmp").W, 181);
}

TEST(AssetPictures, Enemies) {
    ExpectCells("l_teki1.bmp", Row(5, 0, 85, 0, 85, 71), true);
    std::vector<Cell> dog = {{0, 0, 59, 54}};
    for (int f = 21; f <= 24; ++f) dog.push_back({84 * (f - 20) + 59, 0, 84, 53});
    ExpectCells("l_teki2.bmp", dog, true);
    ExpectCells("l_teki3.bmp", {{0, 0, 106, 71}}, true);
    ExpectCells("l_teki4.bmp", {{0, 0, 107, 103}}, true);
    ExpectCells("l_teki5.bmp", {{0, 0, 69, 51}}, true);
    // Variant 0 is copied 81 columns wide, so its last column is variant 1's first.
    ExpectCells("l_teki6.bmp", {{0, 0, 81, 71}, {80, 0, 80, 71}}, true);
    ExpectCells("l_boss1.bmp", {{0, 0, 269, 236}}, true);
}

TEST(AssetPictures, ButterflyFramesDiffer) {
    const Bitmap b = LoadBitmap("l_teki1.bmp");
    ASSERT_GE(b.W, 425);
    int previous = -1;
    for (int k = 0; k < 5; ++k) {
        const int wings = Opaque(b, {85 * k, 0, 85, 71});
        if (previous >= 0) {
            EXPECT_LT(wings, previous) << "wings should fold frame by frame";
        }
        previous = wings;
    }
}

TEST(AssetPictures, TitleGameOverAndEnding) {
    const Bitmap logo = LoadBitmap("w_vexlan.bmp");
    EXPECT_EQ(logo.W, 500);
    EXPECT_GE(logo.H, 127);
    for (const char* item : {"w_start.bmp", "w_score.bmp", "w_option.bmp", "w_end.bmp"}) {
        const Bitmap b = LoadBitmap(item);
        EXPECT_EQ(b.W, 162) << item;
        EXPECT_EQ(b.H, 66) << item;
        ExpectCells(item, {{0, 0, 162, 66}}, false);
    }
    ExpectCells("w_gameover.bmp", {{0, 0, 500, 71}}, false);
    ExpectCells("l_ending1.bmp", {{0, 0, 500, 39}}, false);
    ExpectCells("l_ending2.bmp", {{0, 0, 500, 57}}, false);
    EXPECT_EQ(LoadBitmap("w_gameover.bmp").H, 71);
    EXPECT_EQ(LoadBitmap("l_ending1.bmp").H, 39);
    EXPECT_EQ(LoadBitmap("l_ending2.bmp").H, 57);
}

TEST(AssetPictures, GameOverBottomRowIsEmpty) {
    // The block effect never draws the blocks that would reach below row 70.
    const Bitmap b = LoadBitmap("w_gameover.bmp");
    ASSERT_EQ(b.H, 71);
    for (int x = 0; x < b.W; ++x) ASSERT_EQ(b.At(x, 70), b.Key());
}

// ---------------------------------------------------------------- stage scripts
// Read through the game's own loader, so its grammar, limits and enemy courses are the ones
// checked; the tests add what a stage owes the player.

struct LoadedStage {
    std::vector<StageRecord> Records;
    StageTables Tables;
};

LoadedStage LoadScript(int difficulty) {
    const std::string name = std::string("teki_") + "enh"[difficulty - 1] + ".dat";
    const std::string bytes = ReadAsset(name);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), CountCrLf(bytes))
        << name << " has a line that does not end in CR LF";
    LoadedStage stage;
    std::string error;
    EXPECT_TRUE(ParseStage(bytes, uint8_t(difficulty), stage.Tables, error))
        << name << " " << error;
    EXPECT_TRUE(ReadStageRecords(bytes, uint8_t(difficulty), stage.Records, error))
        << name << " " << error;
    return stage;
}

bool Scheduled(const StageTables& tables, int frame) {
    return std::any_of(tables.Enemies.begin() + 1, tables.Enemies.end(), [&](const EnemyRecord& e) {
        return e.StartFrame <= frame && frame < e.EndFrame;
    });
}

class AssetStageScript : public ::testing::TestWithParam<int> {};

TEST_P(AssetStageScript, UsesEveryKindAndKeepsTheFieldBusyUntilTheBoss) {
    const LoadedStage stage = LoadScript(GetParam());
    const StageTables& tables = stage.Tables;
    ASSERT_GT(tables.Enemies.size(), 1u);
    std::set<EnemyKind> kinds;
    int bossRecords = 0;
    for (const StageRecord& record : stage.Records) {
        if (record.Block->Kind) kinds.insert(*record.Block->Kind);
        bossRecords += !record.Block->Kind;
    }
    EXPECT_EQ(kinds.size(), 6u) << "every enemy kind appears";
    EXPECT_EQ(bossRecords, 1);
    int first = StageLength, lastLeaves = 0;
    for (size_t s = 1; s < tables.Enemies.size(); ++s) {
        const EnemyRecord& e = tables.Enemies[s];
        first = std::min(first, int(e.StartFrame));
        lastLeaves = std::max(lastLeaves, int(e.EndFrame));
        // Enemies still flying when the boss comes would vanish in mid-air.
        EXPECT_LE(e.EndFrame, StageLength) << "slot " << s;
    }
    EXPECT_LE(first, 40) << "the first wave comes within two seconds";
    EXPECT_GE(lastLeaves - 1, 1990) << "the climax runs up to the boss";
    int quiet = 0;
    for (int t = 40; t < StageLength; ++t) {
        quiet = Scheduled(tables, t) ? 0 : quiet + 1;
        ASSERT_LE(quiet, 40) << "more than two seconds with no enemy, up to frame " << t;
    }
}

INSTANTIATE_TEST_SUITE_P(AllDifficulties, AssetStageScript, ::testing::Values(1, 2, 3),
                         NameByDifficulty());

TEST(AssetStageScripts, EasyIsLighterThanNormalAndNormalThanHard) {
    std::vector<size_t> counts;
    std::vector<long> hits;
    for (int d = 1; d <= 3; ++d) {
        const StageTables tables = LoadScript(d).Tables;
        long total = 0;
        for (const EnemyRecord& e : tables.Enemies) total += e.HP + 1;  // Hp + 1 hits each
        counts.push_back(tables.Enemies.size());
        hits.push_back(total);
    }
    EXPECT_LT(counts[0], counts[1]);
    EXPECT_LT(counts[1], counts[2]);
    EXPECT_LT(hits[0], hits[1]);
    EXPECT_LT(hits[1], hits[2]);
}

TEST(AssetStageScripts, ButterfliesStartAboveTheField) {
    // Butterflies borrow Y and DX from the line before them; a careless order would make
    // them pop up mid-field or fly off sideways.
    for (int d = 1; d <= 3; ++d)
        for (const StageRecord& r : LoadScript(d).Records)
            if (r.Block->Kind == EnemyKind::Butterfly) {
                EXPECT_LT(r.Values.Y, 0) << "butterfly at frame " << r.Time;
                EXPECT_LE(std::abs(r.Values.DX), 3) << "butterfly at frame " << r.Time;
            }
}

// ---------------------------------------------------------------- sound and tune

TEST(AssetSound, ExplosionIsShortUnclippedStereoPcm) {
    const std::string w = ReadAsset("wavbaku.wav");
    ASSERT_GE(w.size(), 44u);
    EXPECT_EQ(w.substr(0, 4), "RIFF");
    EXPECT_EQ(w.substr(8, 4), "WAVE");
    EXPECT_EQ(w.substr(12, 4), "fmt ");
    EXPECT_EQ(Le(w, 20, 2), 1u);      // PCM
    EXPECT_EQ(Le(w, 22, 2), 2u);      // channels
    EXPECT_EQ(Le(w, 24, 4), 22050u);  // samples per second
    EXPECT_EQ(Le(w, 28, 4), 44100u);  // bytes per second
    EXPECT_EQ(Le(w, 32, 2), 2u);      // block alignment
    EXPECT_EQ(Le(w, 34, 2), 8u);      // bits per sample
    const size_t fmtEnd = 20 + Le(w, 16, 4);
    ASSERT_EQ(w.substr(fmtEnd, 4), "data");
    const size_t size = Le(w, fmtEnd + 4, 4);
    ASSERT_EQ(w.size(), fmtEnd + 8 + size);
    EXPECT_GT(size, 0u);
    EXPECT_LT(size, 44100u) << "longer than a second";
    int loudest = 0;
    for (size_t i = fmtEnd + 8; i < w.size(); ++i) {
        const int v = uint8_t(w[i]);
        EXPECT_TRUE(v > 0 && v < 255) << "clipped sample at byte " << i;
        loudest = std::max(loudest, std::abs(v - 128));
    }
    EXPECT_GT(loudest, 64) << "too quiet to be an explosion";
}

uint32_t Vlq(const std::string& b, size_t& at) {
    uint32_t v = 0;
    uint8_t c;
    do c = uint8_t(b.at(at++)), v = v << 7 | (c & 0x7F);
    while (c & 0x80);
    return v;
}

struct TrackSummary {
    int NotesOn = 0, DrumNotes = 0;
    uint64_t EndTick = 0;
    bool Ended = false;
    uint32_t Tempo = 0;
};

TrackSummary ReadTrack(const std::string& t) {
    TrackSummary s;
    size_t at = 0;
    uint8_t status = 0;
    while (at < t.size() && !s.Ended) {
        s.EndTick += Vlq(t, at);
        if (uint8_t(t.at(at)) & 0x80) status = uint8_t(t.at(at++));
        if (status == 0xFF) {
            const uint8_t type = uint8_t(t.at(at++));
            const uint32_t len = Vlq(t, at);
            if (type == 0x51) s.Tempo = Be(t, at, 3);
            s.Ended = type == 0x2F;
            at += len;
        } else if (status == 0xF0 || status == 0xF7) {
            at += Vlq(t, at);
        } else {
            const int kind = status & 0xF0;
            const bool twoBytes = kind != 0xC0 && kind != 0xD0;
            if (kind == 0x90 && uint8_t(t.at(at + 1)) > 0) {
                ++s.NotesOn;
                s.DrumNotes += (status & 0x0F) == 9;
            }
            at += twoBytes ? 2 : 1;
        }
    }
    return s;
}

TEST(AssetMusic, BattleTuneIsAGeneralMidiFileWithNotes) {
    const std::string m = ReadAsset("m_battle.mid");
    ASSERT_GE(m.size(), 14u);
    ASSERT_EQ(m.substr(0, 4), "MThd");
    ASSERT_EQ(Be(m, 4, 4), 6u);
    const uint32_t format = Be(m, 8, 2), tracks = Be(m, 10, 2), division = Be(m, 12, 2);
    EXPECT_LE(format, 1u);
    ASSERT_GE(tracks, 1u);
    ASSERT_GT(division, 0u);
    ASSERT_LT(division, 0x8000u) << "ticks per quarter note expected";
    size_t at = 14;
    int notes = 0, drums = 0;
    uint32_t tempo = 500000;
    uint64_t length = 0;
    for (uint32_t i = 0; i < tracks; ++i) {
        ASSERT_EQ(m.substr(at, 4), "MTrk") << "track " << i;
        const uint32_t size = Be(m, at + 4, 4);
        const TrackSummary s = ReadTrack(m.substr(at + 8, size));
        EXPECT_TRUE(s.Ended) << "track " << i << " has no end";
        notes += s.NotesOn;
        drums += s.DrumNotes;
        if (s.Tempo) tempo = s.Tempo;
        length = std::max(length, s.EndTick);
        at += 8 + size;
    }
    EXPECT_EQ(at, m.size());
    EXPECT_GT(notes, 100);
    EXPECT_GT(drums, 0) << "drums belong on channel 10";
    const double seconds = double(length) / division * tempo / 1e6;
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 120.0);
}

bool Convert(const char* from, const char* to, const std::string& in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return false;
    std::string src = in;
    out.assign(src.size() * 4 + 16, '\0');
    char* inPtr = src.data();
    char* outPtr = out.data();
    size_t inLeft = src.size(), outLeft = out.size();
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return r != size_t(-1) && inLeft == 0;
}

TEST(AssetReadme, IsUtf8AndExplainsKeysAndScores) {
    const std::string text = ReadAsset("readme.txt");
    std::string check;
    ASSERT_TRUE(Convert("UTF-8", "UTF-8", text, check));
    for (const char* word : {"Z", "Esc", "Return", "keypad", "data.ini", "Options"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

}  // namespace
